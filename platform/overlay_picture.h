// An overlay copied from the screen hides the whole screen while it is up,
// the client's own windows included: anything the client keeps drawing there
// (a clock that goes on counting during a selection) must go onto the
// overlay as well, at the same place, for the screen to show it. A live
// overlay lets the client's windows show through, so it draws in them as
// ever.
#pragma once

#include <QImage>

namespace platform {

// Draws `picture` with its top-left corner at screen pixel (x, y) onto the
// open overlay and shows it at once, with whatever else was drawn since the
// last flush. False, drawing nothing, when no overlay is open or the open
// one is live: the client then draws in its own window.
bool drawOnOverlay(const QImage& picture, int x, int y);

}  // namespace platform
