// Tracking one selection from press to release. The public calls are in
// menu/marking_menu.h; this names what a root's `mode` field holds.
#pragma once

#include <cstdint>

#include "menu/marking_menu.h"

namespace tarvel::internal {

// What the pointer is doing in a selection, kept in the root's `mode`.
enum TrackingMode : int32_t {
  modeMarking = 0,  // no menu shown: the pointer draws a mark
  modeRadial = 1,   // a radial menu is shown and follows the pointer
  modeList = 2,     // a linear list is shown and follows the pointer
};

}  // namespace tarvel::internal

using tarvel::internal::TrackingMode;
using enum tarvel::internal::TrackingMode;
