#include "app/trial_runner.h"

#include "study/selection_loop.h"

TrialOutcome TrialRunner::run(LabClock* clock) {
  SelectionRun run = mRunSelection(menu_,
                                   [clock] {
                                     if (clock) clock->refresh();
                                   },
                                   {});
  TrialOutcome out{0, run.pressToRelease};
  mGetResult(menu_, nullptr, nullptr, nullptr, nullptr, nullptr, &out.value);
  return out;
}
