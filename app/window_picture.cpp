#include "app/window_picture.h"

#include <QCoreApplication>
#include <cstdlib>

#include "platform/desktop/x11_input.h"

namespace {
xcb_connection_t* heldDisplay = nullptr;
}  // namespace

bool holdDisplay() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return false;
  }
  releaseDisplay();
  heldDisplay = connection;
  return true;
}

void releaseDisplay() {
  if (heldDisplay) xcb_disconnect(heldDisplay);
  heldDisplay = nullptr;
}

void WindowPicture::show(uintptr_t window, const QImage& picture, QRect area,
                         QPoint offset) {
  xcb_connection_t* connection = tarvel::platform::desktopConnection();
  if (!connection || !window) return;
  if (pusher_.window() != xcb_window_t(window) || connection_ != connection) {
    connection_ = connection;
    if (!pusher_.attach(connection, xcb_window_t(window))) return;
  }
  if (pusher_.attached()) pusher_.push(picture, area, area.topLeft() + offset);
}

void waitForQueuedInput() {
  xcb_connection_t* connection = tarvel::platform::desktopConnection();
  if (!connection) return;
  std::free(xcb_get_input_focus_reply(
      connection, xcb_get_input_focus(connection), nullptr));
}

void dropQueuedInput(bool& dropping) {
  dropping = true;
  waitForQueuedInput();
  QCoreApplication::processEvents();
  dropping = false;
}
