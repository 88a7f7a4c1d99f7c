// Tracking one selection from press to release. The public calls are in
// menu/marking_menu.h; this is the popup timer they share.
#pragma once

#include "menu/marking_menu.h"

// One for the library: it fires from mPoll once the pointer has rested for
// `delay` seconds since `start`.
struct PopupTimer {
  bool armed;
  Menu* menu;
  double start;  // clock seconds
  double delay;  // seconds
};

extern PopupTimer popupTimer;
