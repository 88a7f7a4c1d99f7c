// Timing settings of the library and its clock.
#pragma once

#include <cstdint>

#include "menu/marking_menu.h"

// What a program that changes nothing gets: a 0.15 s rest after a press
// before the menu pops up, a 0.4 s pause in a mark (stroke over 16 pixels)
// before the menus along it pop up, a 0.2 s rest in menu mode before a
// submenu opens or the menus back up, a mark's feedback up for 0.2 s, and a
// 100 ms rest on a list item before its submenu cascades.
inline constexpr MarkingMenuSettings defaultSettings{
    .initialPopupDelay = 0.15,
    .markingPopupDelay = 0.4,
    .menuRestDelay = 0.2,
    .confirmationTime = 0.2,
    .cascadeRestMs = 100,
};

// The longest any delay may be set to, seconds; a longer one is no longer a
// rest but a hang.
inline constexpr double longestDelay = 60.0;

// Fills seconds and microseconds from the platform's monotonic time;
// returns 1.
int mTimePair(int32_t* seconds, int32_t* microseconds);

// Clock reading in seconds: seconds + microseconds * 0.000001 of the pair.
double mClock();

// The same reading in whole microseconds, for comparisons that must not
// round.
int64_t mClockMicroseconds();

// The 32-bit millisecond tick count; differences are taken unsigned so that
// they stay right across its wrap.
uint32_t mTickCount();

// Counts the calls of mInit. What the library decides once per selection
// rather than once per call (whether to trace) it decides again when the
// count has moved on.
void mNoteInit();
uint32_t mInitCount();
