// Qt's own X connection, and the input state read from it without
// dispatching a single event: the selection loop polls while the
// application's event queue stays untouched.
#pragma once

#include <xcb/xcb.h>

#include "platform/platform.h"

namespace platform {

// The X connection of the running QGuiApplication; NULL without one, on
// another Qt platform (offscreen has the interface but no connection) or
// after the connection broke.
xcb_connection_t* desktopConnection();

class X11Input {
 public:
  // Pointer position on the root window, buttons 1-3, the Escape key. Both
  // queries go out together: one round trip. Zeros when a reply is missing.
  InputState poll(xcb_connection_t* connection);

 private:
  void findEscape(xcb_connection_t* connection);

  xcb_connection_t* keysFor_ = nullptr;  // the connection escape_ is for
  static constexpr int maxEscapeKeys = 4;
  xcb_keycode_t escape_[maxEscapeKeys] = {};
};

}  // namespace platform
