// One trial: a selection from the practice menu, run as every client of the
// library runs one, pressed where the pointer is.
#pragma once

#include <cstdint>

#include "app/lab_clock.h"
#include "app/practice_menu.h"

struct TrialOutcome {
  uintptr_t value;          // the chosen item's client value, 0 for none
  uint32_t pressToRelease;  // ms from the press to the end of the selection
};

class TrialRunner {
 public:
  TrialRunner() : menu_(buildPracticeMenu(itemValues_)) {}

  // Holds the program, without dispatching events, until the buttons come
  // up or Escape goes down. `clock`, when given, is redrawn on every pass.
  TrialOutcome run(LabClock* clock);
  const Menu* menu() const { return menu_; }

 private:
  int itemValues_[practiceItemCount] = {};
  Menu* menu_;
};
