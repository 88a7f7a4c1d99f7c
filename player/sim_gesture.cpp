#include "player/sim_gesture.h"

#include "core/menu_tree.h"

namespace player {

Gesture::Gesture(int reportHz)
    : reportMs_(reportHz > 0 && reportHz <= 1000 ? uint32_t(1000 / reportHz)
                                                 : 10) {
  keys_.push_back(Key{0, 0, 0, false, false});
}

const Gesture::Key& Gesture::last() const { return keys_.back(); }

Gesture& Gesture::press(int x, int y) {
  keys_.push_back(Key{last().ms, x, y, true, last().escape});
  return *this;
}

Gesture& Gesture::moveTo(int x, int y, uint32_t ms) {
  keys_.push_back(Key{last().ms + ms, x, y, last().down, last().escape});
  return *this;
}

Gesture& Gesture::rest(uint32_t ms) {
  Key k = last();
  k.ms += ms;
  keys_.push_back(k);
  return *this;
}

Gesture& Gesture::escape() {
  Key k = last();
  k.escape = true;
  keys_.push_back(k);
  return *this;
}

Gesture& Gesture::release() {
  Key k = last();
  k.down = false;
  keys_.push_back(k);
  return *this;
}

uint32_t Gesture::duration() const { return last().ms; }

void Gesture::playOn(SimPlatform& sim) const {
  Gesture copy = *this;
  sim.setInputScript([copy](uint32_t ms) { return copy.at(ms); });
}

InputState Gesture::at(uint32_t ms) const {
  // Buttons and keys change at once; the position only at report times.
  const Key* now = &keys_.front();
  for (const Key& k : keys_)
    if (k.ms <= ms) now = &k;
  uint32_t reported = ms - ms % reportMs_;
  const Key* from = &keys_.front();
  const Key* to = nullptr;
  for (const Key& k : keys_) {
    if (k.ms <= reported) {
      from = &k;
    } else {
      to = &k;
      break;
    }
  }
  int x = from->x, y = from->y;
  if (to && to->ms > from->ms) {
    double f = double(reported - from->ms) / double(to->ms - from->ms);
    x = from->x + int((to->x - from->x) * f);
    y = from->y + int((to->y - from->y) * f);
  }
  return InputState{x, y, now->down, now->escape};
}

namespace {

void apply(SimPlatform& sim, const InputState& in) {
  sim.setPointer(in.x, in.y);
  sim.setButtonDown(in.buttonsDown);
  sim.setEscapeDown(in.escapeDown);
}

}  // namespace

SelectionOutcome playSelection(SimPlatform& sim, Menu* root,
                               const Gesture& gesture, void (*afterPoll)(void*),
                               void* context) {
  SelectionOutcome out{};
  uint32_t start = sim.tickCount();
  // A gesture that never lets go is released a minute after it ends.
  uint32_t limit = gesture.duration() + 60000;
  apply(sim, gesture.at(0));
  mInit(0, 0, 0, 0, 0, 0);
  InputState in = sim.pollInput();
  mPress(root, in.x, in.y);
  // Escape is read with the position of the same pass, which still goes to
  // the menu, as the trainer's loop does.
  for (;;) {
    uint32_t t = sim.tickCount() - start;
    apply(sim, gesture.at(t));
    if (!mButtonsDown() || t > limit) break;
    in = sim.pollInput();
    mMotion(root, in.x, in.y);
    mPoll();
    if (afterPoll) afterPoll(context);
    if (in.escapeDown) break;
    sim.advance(1);
  }
  in = sim.pollInput();
  mRelease(root, in.x, in.y);
  out.releasedAfterMs = sim.tickCount() - start;
  mShowConfirmation(root);
  uint32_t waitStart = sim.tickCount();
  while (sim.tickCount() - waitStart < 100) sim.spinStep();
  mEraseConfirmation(root);
  mShutdown();
  // mGetResult writes one entry per level: a tree deeper than the outcome
  // holds reports its value alone.
  bool fits = mTreeDepth(root) <= maxOutcomeLevels;
  out.levels = mGetResult(root, fits ? out.positions : nullptr,
                          fits ? out.labels : nullptr, nullptr, nullptr,
                          nullptr, &out.value);
  return out;
}

}  // namespace player
