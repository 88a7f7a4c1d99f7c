// One trial: a selection from the practice menu or another, run as every
// client of the library runs one, pressed where the button went down.
#pragma once

#include <QPoint>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/lab_clock.h"
#include "app/practice_menu.h"

// A pointer sample of a trial: ms since the press, screen position.
struct TrialSample {
  uint32_t ms;
  int x, y;
};

struct TrialOutcome {
  uintptr_t value = 0;          // the chosen item's client value, 0 for none
  uint32_t pressToRelease = 0;  // ms from the press to the end of the selection
  int pressX = 0, pressY = 0;   // screen pixels
  bool byMark = false;          // no menu was shown at the release
  bool markAhead = false;
  int backUps = 0;
  int changes = 0;
  // The chosen path, a position and a label for each level, empty when
  // nothing was chosen.
  std::vector<int> positions;
  std::vector<std::string> labels;
  std::vector<TrialSample> samples;
};

class TrialRunner {
 public:
  TrialRunner() : practice_(buildPracticeMenu(itemValues_)) {}

  // Selects from `menu`, the practice menu when NULL. Holds the program,
  // without dispatching events, until the buttons come up or Escape goes down.
  // The selection starts at `pressedAt`, where the button went down (screen
  // pixels). `clock`, when given, is redrawn on every pass. `onChosen`, when
  // given, gets the chosen item's client value (0 for none) and the labels of
  // the chosen path once the selection's own feedback is gone, while the
  // library's overlay is still up: it may show more there.
  using ChosenSink = std::function<void(
      uintptr_t value, const std::vector<std::string>& labels)>;
  TrialOutcome run(Menu* menu, QPoint pressedAt, LabClock* clock,
                   const ChosenSink& onChosen = {});
  // Only from within onChosen: shows the ideal mark of the item at `path`
  // from the press point for `ms`, then erases it.
  void showMarkFor(const std::vector<int>& path, uint32_t ms);
  Menu* practiceMenu() const { return practice_; }

 private:
  int itemValues_[practiceItemCount] = {};
  // The chosen item's value, and its path into `out`.
  uintptr_t readChoice(TrialOutcome* out);

  Menu* practice_;
  Menu* menu_ = nullptr;  // the menu of the trial under way
  QPoint pressedAt_;
};
