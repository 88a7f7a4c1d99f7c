// While the overlay is up it hides the whole screen, the client's own
// windows included: anything the client keeps drawing there (a clock that
// goes on counting during a selection) must go onto the overlay as well, at
// the same place, for the screen to show it.
#pragma once

#include <QImage>

namespace platform {

// Draws `picture` with its top-left corner at screen pixel (x, y) onto the
// open overlay and shows it at once, with whatever else was drawn since the
// last flush. False, drawing nothing, when no overlay is open.
bool drawOnOverlay(const QImage& picture, int x, int y);

}  // namespace platform
