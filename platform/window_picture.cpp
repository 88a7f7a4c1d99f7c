#include "platform/window_picture.h"

#include <cstdlib>

#include "platform/x11_image.h"
#include "platform/x11_input.h"

namespace platform {

void showOnWindow(uintptr_t window, const QImage& picture, QRect area,
                  QPoint offset) {
  xcb_connection_t* connection = desktopConnection();
  if (!connection || !window) return;
  // One window takes the frames; a pusher for it is kept between them.
  static X11ImagePusher pusher;
  static xcb_connection_t* pusherConnection = nullptr;
  if (pusher.window() != xcb_window_t(window) ||
      pusherConnection != connection) {
    pusherConnection = connection;
    if (!pusher.attach(connection, xcb_window_t(window))) return;
  }
  if (pusher.attached()) pusher.push(picture, area, area.topLeft() + offset);
}

void waitForQueuedInput() {
  xcb_connection_t* connection = desktopConnection();
  if (!connection) return;
  std::free(xcb_get_input_focus_reply(
      connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace platform
