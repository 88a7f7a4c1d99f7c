// Scripted gestures played on the simulated platform through the calling
// order every client of the library follows, for tests, benchmarks and
// replays.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sim_platform.h"

namespace player {

using tarvel::Menu;
using tarvel::platform::InputState;
using tarvel::platform::SimPlatform;

// Pointer positions and button state over virtual time. The pointer moves
// in straight lines at constant speed and reports its position `reportHz`
// times a second, like a mouse.
class Gesture {
 public:
  explicit Gesture(int reportHz = 100);
  Gesture& press(int x, int y);
  Gesture& moveTo(int x, int y, uint32_t ms);
  Gesture& rest(uint32_t ms);
  Gesture& escape();  // Escape goes down, the button still held
  Gesture& release();

  // Makes `sim` follow this gesture from now on, as a scripted mouse.
  void playOn(SimPlatform& sim) const;

  // The state a poll sees `ms` after the gesture began.
  InputState at(uint32_t ms) const;
  uint32_t duration() const;

 private:
  struct Key {
    uint32_t ms;
    int x, y;
    bool down, escape;
  };
  const Key& last() const;
  std::vector<Key> keys_;
  uint32_t reportMs_;
};

inline constexpr int maxOutcomeLevels = 16;

struct SelectionOutcome {
  int levels;  // entries mGetResult wrote
  int positions[maxOutcomeLevels];
  const char* labels[maxOutcomeLevels];
  uintptr_t value;
  uint32_t releasedAfterMs;  // virtual time from press to release
};

// mInit, mPress, then mMotion and mPoll once per virtual millisecond while
// mButtonsDown(), up to and including the pass that reads Escape, mRelease,
// mShowConfirmation (the mark's feedback, shown and erased), a 100 ms wait
// as the trainer's trials keep, mEraseConfirmation, mShutdown and
// mGetResult. `afterPoll`, when given, runs after every mPoll, as a client's
// own work would.
SelectionOutcome playSelection(SimPlatform& sim, Menu* root,
                               const Gesture& gesture,
                               void (*afterPoll)(void*) = nullptr,
                               void* context = nullptr);

}  // namespace player
