// The input state read from the X server without dispatching a single
// event: the selection loop polls while the application's event queue stays
// untouched, and sleeps between polls until input arrives.
#pragma once

#include <xcb/xcb.h>

#include <QPointer>
#include <cstdint>

#include "platform/platform.h"

class QSocketNotifier;

namespace tarvel::platform {

// The X connection of the running QGuiApplication; NULL without one, on
// another Qt platform (offscreen has the interface but no connection) or
// after the connection broke.
xcb_connection_t* desktopConnection();

// Input is read on a connection of its own to the application's display:
// Qt's event-reader thread takes every event that arrives on Qt's. There,
// raw XInput 2 events selected on the root window (no grab: they come for
// every device, whatever window the pointer is over) tell when a button, a
// key or the pointer changed, so that a poll asks the server only then and
// a wait sleeps until then. Without that connection input is read through
// Qt's, a round trip per poll, and waits are plain sleeps.
class X11Input {
 public:
  X11Input() = default;
  X11Input(const X11Input&) = delete;
  X11Input& operator=(const X11Input&) = delete;
  ~X11Input();

  // Pointer position on the root window, buttons 1-3, the Escape key, as
  // of `nowUs` (the monotonic clock). Pointer and keymap are asked for
  // together: one round trip, made only when input changed since the last
  // one or a warp could have gone unnoticed. Zeros without a display or
  // when a reply is missing.
  InputState poll(uint64_t nowUs);

  // Sleeps `us` microseconds, or less when input arrives meanwhile.
  void wait(uint64_t us);

 private:
  xcb_connection_t* connection();
  void disconnect();
  void listen(bool on);
  bool takeEvents(bool readSocket);
  InputState read(xcb_connection_t* connection);
  void findEscape(xcb_connection_t* connection);

  // The application the state below belongs to; NULL once it is gone.
  QPointer<QObject> application_;
  xcb_connection_t* own_ = nullptr;  // NULL: reading through Qt's
  xcb_window_t root_ = 0;
  bool rawEvents_ = false;  // the server has XInput 2.2
  bool listening_ = false;  // raw events selected
  bool changed_ = true;     // input arrived since the last reading
  // Fires when Qt's event loop runs again, which it never does inside a
  // selection: raw events that nobody polls for are dropped then, rather
  // than piling up in the server.
  QPointer<QSocketNotifier> idle_;
  InputState last_{};
  uint64_t readUs_ = 0;

  xcb_connection_t* keysFor_ = nullptr;  // the connection escape_ is for
  static constexpr int maxEscapeKeys = 4;
  xcb_keycode_t escape_[maxEscapeKeys] = {};
};

}  // namespace tarvel::platform
