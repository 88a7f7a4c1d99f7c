#include "study/selection_loop.h"

#include "platform/platform.h"

namespace {
// A pause after the confirmation before the overlay goes. The mark's
// feedback is gone by then: mShowConfirmation shows it for the
// confirmation time and erases it.
constexpr uint32_t confirmationPauseMs = 100;
}  // namespace

SelectionRun mRunSelection(Menu* root, const std::function<void()>& onPass,
                           const SampleSink& onSample,
                           std::optional<PressPoint> pressedAt,
                           const std::function<void()>& afterFeedback) {
  platform::Platform& p = platform::current();
  SelectionRun run;
  // The press point is taken before the overlay comes up: the stroke
  // starts there, however far the pointer has gone by the time it is up.
  platform::InputState in{};
  if (!pressedAt) {
    in = p.pollInput();
    pressedAt = PressPoint{in.x, in.y};
  }
  mInit(0, 0, 0, 0, 0, 0);
  run.pressX = pressedAt->x;
  run.pressY = pressedAt->y;
  mPress(root, run.pressX, run.pressY);
  run.pressTick = p.tickCount();
  int lastX = run.pressX, lastY = run.pressY;
  if (onSample) onSample(0, run.pressX, run.pressY);
  auto sample = [&](const platform::InputState& s) {
    if (!onSample || (s.x == lastX && s.y == lastY)) return;
    lastX = s.x;
    lastY = s.y;
    onSample(p.tickCount() - run.pressTick, s.x, s.y);
  };
  // Escape is read with the position of the same pass, which still goes to
  // the menu: the selection ends where the pointer was when Escape went
  // down. Once it is down there is nothing left to wait for.
  while (mButtonsDown()) {
    in = p.pollInput();
    mMotion(root, in.x, in.y);
    mPoll();
    sample(in);
    if (onPass) onPass();
    if (in.escapeDown) break;
    p.spinStep();
  }
  run.pressToRelease = p.tickCount() - run.pressTick;
  in = p.pollInput();
  sample(in);
  mRelease(root, in.x, in.y);
  run.byMark = root && root->mode == 0;
  mShowConfirmation(root);
  if (afterFeedback) {
    mEraseConfirmation(root);
    afterFeedback();
  }
  p.sleepMs(confirmationPauseMs);
  mEraseConfirmation(root);
  mShutdown();
  return run;
}
