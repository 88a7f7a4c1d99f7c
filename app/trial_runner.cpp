#include "app/trial_runner.h"

#include "platform/platform.h"
#include "study/selection_loop.h"

uintptr_t TrialRunner::readChoice(TrialOutcome* out) {
  int positions[MENU_DEPTH_LIMIT];
  const char* labels[MENU_DEPTH_LIMIT] = {};
  int levels = mGetResult(menu_, positions, labels, nullptr, nullptr, nullptr,
                          &out->value);
  out->positions.clear();
  out->labels.clear();
  for (int i = 0; i < levels && i < MENU_DEPTH_LIMIT && positions[i] >= 0;
       i++) {
    out->positions.push_back(positions[i]);
    out->labels.push_back(labels[i] ? labels[i] : "");
  }
  return out->value;
}

TrialOutcome TrialRunner::run(Menu* menu, QPoint pressedAt, LabClock* clock,
                              const ChosenSink& onChosen) {
  menu_ = menu ? menu : practice_;
  pressedAt_ = pressedAt;
  std::vector<TrialSample> samples;
  std::function<void()> afterFeedback;
  if (onChosen)
    afterFeedback = [this, &onChosen] {
      TrialOutcome chosen;
      uintptr_t value = readChoice(&chosen);
      onChosen(value, chosen.labels);
    };
  SelectionRun run = mRunSelection(
      menu_,
      [clock] {
        if (clock) clock->refresh();
      },
      [&samples](uint32_t ms, int x, int y) {
        samples.push_back({ms, x, y});
      },
      PressPoint{pressedAt.x(), pressedAt.y()}, afterFeedback);
  TrialOutcome out;
  out.pressToRelease = run.pressToRelease;
  out.pressX = run.pressX;
  out.pressY = run.pressY;
  out.byMark = run.byMark;
  out.markAhead = menu_->markedAhead != 0;
  out.backUps = menu_->backUpCount;
  out.changes = menu_->changeCount;
  out.samples = std::move(samples);
  readChoice(&out);
  return out;
}

void TrialRunner::showMarkFor(const std::vector<int>& path, uint32_t ms) {
  if (!menu_) return;
  mShowIdealMark(menu_, path.data(), int(path.size()), pressedAt_.x(),
                 pressedAt_.y());
  platform::current().sleepMs(ms);
  mHideIdealMark(menu_);
}
