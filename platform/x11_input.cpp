#include "platform/x11_input.h"

#include <X11/keysym.h>
#include <xcb/xcb_keysyms.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>

namespace platform {

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

InputState X11Input::poll(xcb_connection_t* connection) {
  InputState state{};
  if (!connection) return state;
  if (connection != keysFor_) findEscape(connection);
  // The pointer reports root coordinates of whichever screen it is on, so
  // the first screen's root serves every screen.
  const xcb_setup_t* setup = xcb_get_setup(connection);
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  if (!screens.rem) return state;
  xcb_query_pointer_cookie_t pointerAsked =
      xcb_query_pointer(connection, screens.data->root);
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

}  // namespace platform
