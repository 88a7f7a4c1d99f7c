#include "app/trial_runner.h"

#include "platform/platform.h"

namespace {
// The confirmation of a mark stays this long before it is erased.
constexpr uint32_t confirmationMs = 100;
}  // namespace

TrialOutcome TrialRunner::run(LabClock* clock) {
  platform::Platform& p = platform::current();
  mInit(0, 0, 0, 0, 0, 0);
  platform::InputState in = p.pollInput();
  mPress(menu_, in.x, in.y);
  uint32_t t0 = p.tickCount();
  // Escape is read with the position of the same pass, which still goes to
  // the menu: the selection ends where the pointer was when Escape went
  // down. Once it is down there is nothing left to wait for.
  while (mButtonsDown()) {
    in = p.pollInput();
    mMotion(menu_, in.x, in.y);
    mPoll();
    if (clock) clock->refresh();
    if (in.escapeDown) break;
    p.spinStep();
  }
  TrialOutcome out{0, p.tickCount() - t0};
  in = p.pollInput();
  mRelease(menu_, in.x, in.y);
  mShowConfirmation(menu_);
  p.sleepMs(confirmationMs);
  mEraseConfirmation(menu_);
  mShutdown();
  mGetResult(menu_, nullptr, nullptr, nullptr, nullptr, nullptr, &out.value);
  return out;
}
