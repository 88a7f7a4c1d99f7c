// A selection run as every client of the library runs one: pressed where
// the button went down, followed while the buttons are held, confirmed, read.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "menu/marking_menu.h"

struct SelectionRun {
  uint32_t pressTick = 0;       // the platform's tick count at the press
  uint32_t pressToRelease = 0;  // ms, press to the end of the selection
  int pressX = 0, pressY = 0;   // screen pixels
  bool byMark = false;          // no menu was shown at the release
};

// A pointer sample: ms since the press, and the position.
using SampleSink = std::function<void(uint32_t ms, int x, int y)>;

// Where the button that starts a selection went down, in screen pixels.
struct PressPoint {
  int x = 0, y = 0;
};

// Holds the program, without dispatching events, until the buttons come
// up or Escape goes down. The selection starts at `pressedAt`, where the
// caller saw the button go down, or else where the pointer is when called:
// never where it has got to once the overlay is up, which may take a while
// (copying the screen on a busy desktop) while a quick mark goes on. `onPass`,
// when given, runs on every pass, as the client's own work (a clock);
// `onSample` gets the press point and every position that differs from the
// last. `afterFeedback`, when given, runs once the mark's feedback is gone
// and the overlay is still up, to show more on it. The result is left in
// `root` for mGetResult.
SelectionRun mRunSelection(Menu* root, const std::function<void()>& onPass,
                           const SampleSink& onSample,
                           std::optional<PressPoint> pressedAt = std::nullopt,
                           const std::function<void()>& afterFeedback = {});
