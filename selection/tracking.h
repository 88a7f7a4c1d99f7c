// Tracking one selection from press to release. The public calls are in
// menu/marking_menu.h; this is the popup timer they share.
#pragma once

#include "menu/marking_menu.h"

// One for the library: it fires from mPoll once the pointer has rested for
// `delay` seconds since `start`. Kept in whole microseconds so that
// "strictly later" is decided exactly, whatever the clock's magnitude.
struct PopupTimer {
  bool armed;
  Menu* menu;
  int64_t startUs;  // clock microseconds
  int64_t delayUs;
};

extern PopupTimer popupTimer;
