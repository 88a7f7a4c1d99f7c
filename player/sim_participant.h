// A simulated participant for pilots: it answers trials on the simulated
// platform as a person would, by drawing the target's mark with some
// angular noise, or by waiting for the menu and moving into each item.
#pragma once

#include <cstdint>
#include <vector>

#include "menu/marking_menu.h"
#include "platform/sim_platform.h"

namespace player {

using tarvel::Menu;
using tarvel::platform::InputState;
using tarvel::platform::SimPlatform;

struct ParticipantStyle {
  double noiseDegrees = 0;  // standard deviation of each leg's direction
  // ms from the target shown to the press: mean and spread.
  uint32_t reactionMs = 450;
  uint32_t reactionSpreadMs = 100;
};

class SimParticipant {
 public:
  SimParticipant(uint64_t seed, ParticipantStyle style);

  // Scripts `sim`'s pointer for one trial from now on: rests its reaction
  // time, presses at (x, y), then selects the item at `path` of `root`:
  // by its mark (straight legs at the ideal directions plus noise, quick,
  // with a small hook at the start and the end now and then) when
  // `byMark`, else by the menu (waits for it, moves into the item, rests
  // on each submenu). Items in a list are always chosen by the menu.
  // Returns the reaction time scripted, in ms.
  uint32_t answer(SimPlatform& sim, const Menu* root,
                  const std::vector<int>& path, bool byMark, int x, int y);

 private:
  uint64_t state_;
  ParticipantStyle style_;
};

}  // namespace player
