// The record of a training or laboratory session: which target is asked
// for, how the answers scored and how long they took. Plain data and pure
// rules, free of Qt and of the library's calls.
#pragma once

#include <cstdint>

#include "app/practice_menu.h"

class WeakItems;

// Trials in a laboratory run; the results average over all of them.
inline constexpr int labTrialCount = 10;

// Targets the training area starts with; six picks at a range widen it by one.
inline constexpr int firstTargetRange = 3;
inline constexpr int picksPerRange = 6;

struct Session {
  int targetIndex = 0;
  // Items the targets are drawn from: the practice menu's, or as many as
  // the menu practised has.
  int itemCount = practiceItemCount;
  int targetRange = practiceItemCount;
  int picksAtRange = 0;
  uint32_t totalTime = 0;  // ms, press to release, this laboratory run
  int trialsLeft = labTrialCount;
  int hits = 0;
  int misfires = 0;

  // A new run from the main menu: the scores start again.
  void startRun();
  // An area entered, asking for `items` items: few targets at first, a
  // full run of trials ahead.
  void enterArea(int items = practiceItemCount);
  // Picks the next target from a draw of 0..32767 and widens the range of
  // targets; the laboratory always picks among all of them.
  void chooseTarget(int draw, bool laboratory);
  // The same in the training area, the target drawn by how much each item
  // in range needs practice.
  void chooseWeakTarget(WeakItems& weak, int draw);
  // Scores an answer, the number of the chosen item (-1 for none), and the
  // time it took. True for a hit.
  bool score(int chosenItem, uint32_t pressToReleaseMs);
  // A client value is no item number: TrainingMenu::itemOf tells it.
  bool score(uintptr_t value, uint32_t pressToReleaseMs) = delete;
  // Whether an answer would be a hit, scoring nothing.
  bool isHit(int chosenItem) const { return chosenItem == targetIndex; }
  bool runOver() const { return trialsLeft == 0; }
  uint32_t averageTime() const { return totalTime / labTrialCount; }

 private:
  void widenRange();
};
