#include "app/trial_runner.h"

#include "study/selection_loop.h"

TrialOutcome TrialRunner::run(QPoint pressedAt, LabClock* clock) {
  std::vector<TrialSample> samples;
  SelectionRun run = mRunSelection(
      menu_,
      [clock] {
        if (clock) clock->refresh();
      },
      [&samples](uint32_t ms, int x, int y) {
        samples.push_back({ms, x, y});
      },
      PressPoint{pressedAt.x(), pressedAt.y()});
  TrialOutcome out;
  out.pressToRelease = run.pressToRelease;
  out.pressX = run.pressX;
  out.pressY = run.pressY;
  out.byMark = run.byMark;
  out.markAhead = menu_->markedAhead != 0;
  out.backUps = menu_->backUpCount;
  out.changes = menu_->changeCount;
  out.samples = std::move(samples);
  int positions[MENU_DEPTH_LIMIT];
  const char* labels[MENU_DEPTH_LIMIT] = {};
  int levels = mGetResult(menu_, positions, labels, nullptr, nullptr, nullptr,
                          &out.value);
  for (int i = 0; i < levels && i < MENU_DEPTH_LIMIT && positions[i] >= 0;
       i++) {
    out.positions.push_back(positions[i]);
    out.labels.push_back(labels[i] ? labels[i] : "");
  }
  return out;
}
