// The overlay on an X desktop: a window above every other that lets all
// input through to the windows beneath, whose picture starts as a copy of
// the screen. A flush pushes the changed rectangle straight onto the window
// over Qt's own X connection, so it shows at once even inside a loop that
// dispatches no events; the window's own painting serves the same picture
// whenever the server asks for it later.
#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <memory>
#include <vector>

#include "platform/image_surface.h"
#include "platform/x11_image.h"

namespace platform {

class OverlayWindow;

class DesktopOverlay : public ImageSurface {
 public:
  // Shown over the whole virtual desktop, showing what it showed. NULL when
  // the screen cannot be copied, the window cannot be made or the server's
  // pixels are not laid out as the picture's (32 bits, xRGB, host order).
  static std::unique_ptr<DesktopOverlay> open(xcb_connection_t* connection);
  ~DesktopOverlay() override;
  DesktopOverlay(const DesktopOverlay&) = delete;
  DesktopOverlay& operator=(const DesktopOverlay&) = delete;

 protected:
  void present(const QRect& area) override;

 private:
  DesktopOverlay(xcb_connection_t* connection, QImage picture);
  bool start(const QRect& geometry);

  xcb_connection_t* connection_;
  QImage picture_;
  std::unique_ptr<OverlayWindow> window_;
  X11ImagePusher pusher_;
};

}  // namespace platform
