// Timing settings of the library and its clock.
#pragma once

#include <cstdint>

// Rest before the menu pops up after a press, in seconds.
inline constexpr double initialPopupDelay = 0.15;
// Pause in the middle of a mark (stroke over 16 pixels) before the menus
// along it pop up, in seconds.
inline constexpr double markingPopupDelay = 0.4;
// Rest in menu mode before a submenu opens or the menus back up, seconds.
inline constexpr double menuRestDelay = 0.2;
// How long the feedback of a mark selection stays up, in seconds.
inline constexpr double confirmationTime = 0.2;
// Rest on a list item before its submenu cascades open, in milliseconds.
inline constexpr int cascadeRestMs = 100;

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
