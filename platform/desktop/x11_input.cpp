#include "platform/desktop/x11_input.h"

#include <X11/keysym.h>
#include <poll.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xinput.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <cstdlib>
#include <ctime>

#include "platform/report.h"

// Last: Xlib's macros (None, Status, Bool...) would clash with Qt's headers.
#include <X11/Xlib.h>

namespace tarvel::platform {

namespace {

// XWarpPointer (another client's, or xdotool's mousemove) moves the pointer
// without a raw event; a reading older than this is renewed all the same.
constexpr uint64_t warpCheckUs = 10000;

constexpr uint32_t rawEventMask = XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS |
                                  XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE |
                                  XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS |
                                  XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE |
                                  XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;

xcb_window_t firstRoot(xcb_connection_t* connection) {
  xcb_screen_iterator_t screens =
      xcb_setup_roots_iterator(xcb_get_setup(connection));
  return screens.rem ? screens.data->root : 0;
}

// Raw events come through every grab from XInput 2.1 on.
bool hasRawEvents(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension =
      xcb_get_extension_data(connection, &xcb_input_id);
  if (!extension || !extension->present) return false;
  xcb_input_xi_query_version_reply_t* version =
      xcb_input_xi_query_version_reply(
          connection, xcb_input_xi_query_version(connection, 2, 2), nullptr);
  bool usable =
      version && (version->major_version > 2 ||
                  (version->major_version == 2 && version->minor_version >= 1));
  std::free(version);
  return usable;
}

}  // namespace

xcb_connection_t* desktopConnection() {
  // A QCoreApplication alone is no GUI: qGuiApp would be a bad cast.
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return nullptr;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return nullptr;
  xcb_connection_t* connection = x11->connection();
  if (!connection || xcb_connection_has_error(connection)) return nullptr;
  return connection;
}

X11Input::~X11Input() { disconnect(); }

// The own connection is made once per application: when it fails, or
// breaks, input goes through Qt's from then on, and that is reported once.
xcb_connection_t* X11Input::connection() {
  QObject* app = QCoreApplication::instance();
  if (app && app == application_) {
    if (!own_) return desktopConnection();
    if (!xcb_connection_has_error(own_)) return own_;
    disconnect();
    mReportError("lost the input connection: reading input through Qt's");
    return desktopConnection();
  }
  disconnect();
  application_ = app;
  xcb_connection_t* desktop = desktopConnection();
  if (!desktop) return nullptr;

  // The display Qt opened, which its -display option may have chosen.
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 ? x11->display() : nullptr;
  own_ = xcb_connect(display ? DisplayString(display) : nullptr, nullptr);
  root_ = xcb_connection_has_error(own_) ? 0 : firstRoot(own_);
  if (!root_) {
    xcb_disconnect(own_);
    own_ = nullptr;
    mReportError("no input connection of its own: reading input through Qt's");
    return desktop;
  }
  rawEvents_ = hasRawEvents(own_);
  idle_ = new QSocketNotifier(xcb_get_file_descriptor(own_),
                              QSocketNotifier::Read, app);
  QObject::connect(idle_, &QSocketNotifier::activated, [this] {
    takeEvents(true);
    listen(false);
  });
  return own_;
}

void X11Input::disconnect() {
  delete idle_;
  if (own_) xcb_disconnect(own_);
  own_ = nullptr;
  root_ = 0;
  rawEvents_ = listening_ = false;
  changed_ = true;
  keysFor_ = nullptr;
}

void X11Input::listen(bool on) {
  if (!own_ || !rawEvents_ || on == listening_) return;
  struct {
    xcb_input_event_mask_t head;
    uint32_t bits;
  } mask = {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, on ? rawEventMask : 0};
  xcb_input_xi_select_events(own_, root_, 1, &mask.head);
  xcb_flush(own_);
  listening_ = on;
  // What happened while nobody listened is unknown.
  changed_ = true;
}

// Every event on the own connection is input (nothing else is selected);
// an error counts too, so that the next poll asks the server.
bool X11Input::takeEvents(bool readSocket) {
  bool any = false;
  while (xcb_generic_event_t* event = readSocket
                                          ? xcb_poll_for_event(own_)
                                          : xcb_poll_for_queued_event(own_)) {
    std::free(event);
    any = true;
  }
  changed_ = changed_ || any;
  if (xcb_connection_has_error(own_)) {
    // A closed socket stays readable: neither waits nor Qt's event loop
    // may keep waking up for it. The next poll reports it.
    listening_ = false;
    changed_ = true;
    if (idle_) idle_->setEnabled(false);
  }
  return any;
}

InputState X11Input::poll(uint64_t nowUs) {
  xcb_connection_t* c = connection();
  if (!c) return InputState{};
  if (c != own_) return read(c);
  listen(true);
  takeEvents(true);
  if (changed_ || !listening_ || nowUs - readUs_ >= warpCheckUs) {
    changed_ = false;
    readUs_ = nowUs;
    last_ = read(own_);
  }
  return last_;
}

void X11Input::wait(uint64_t us) {
  // Events a reply brought along sit in xcb's queue, not in the socket.
  if (listening_ && takeEvents(false)) return;
  pollfd socket{listening_ ? xcb_get_file_descriptor(own_) : -1, POLLIN, 0};
  timespec timeout{time_t(us / 1000000), long(us % 1000000) * 1000L};
  if (ppoll(&socket, listening_ ? 1 : 0, &timeout, nullptr) > 0)
    takeEvents(true);
}

void X11Input::findEscape(xcb_connection_t* connection) {
  keysFor_ = connection;
  for (xcb_keycode_t& k : escape_) k = 0;
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
  if (!symbols) return;
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XK_Escape);
  for (int i = 0; codes && i < maxEscapeKeys && codes[i] != XCB_NO_SYMBOL; i++)
    escape_[i] = codes[i];
  std::free(codes);
  xcb_key_symbols_free(symbols);
}

InputState X11Input::read(xcb_connection_t* connection) {
  InputState state{};
  if (connection != keysFor_) findEscape(connection);
  // The pointer reports root coordinates of whichever screen it is on, so
  // the first screen's root serves every screen.
  xcb_window_t root = firstRoot(connection);
  if (!root) return state;
  xcb_query_pointer_cookie_t pointerAsked = xcb_query_pointer(connection, root);
  xcb_query_keymap_cookie_t keysAsked = xcb_query_keymap(connection);
  xcb_query_pointer_reply_t* pointer =
      xcb_query_pointer_reply(connection, pointerAsked, nullptr);
  xcb_query_keymap_reply_t* keys =
      xcb_query_keymap_reply(connection, keysAsked, nullptr);
  if (pointer) {
    state.x = pointer->root_x;
    state.y = pointer->root_y;
    state.buttonsDown = (pointer->mask & (XCB_KEY_BUT_MASK_BUTTON_1 |
                                          XCB_KEY_BUT_MASK_BUTTON_2 |
                                          XCB_KEY_BUT_MASK_BUTTON_3)) != 0;
  }
  if (keys) {
    for (xcb_keycode_t k : escape_)
      if (k && (keys->keys[k / 8] & (1 << (k % 8)))) state.escapeDown = true;
  }
  std::free(pointer);
  std::free(keys);
  return state;
}

}  // namespace tarvel::platform
