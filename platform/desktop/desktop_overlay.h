// The overlay on an X desktop: a window above every other that lets all
// input through to the windows beneath. A flush pushes the changed
// rectangle straight onto the window over Qt's own X connection, so it
// shows at once even inside a loop that dispatches no events; the window's
// own painting serves the same picture whenever the server asks for it
// later.
//
// Two ways to show what lies beneath, chosen each time one opens:
// - live, where a compositing manager runs (XWayland always has one): the
//   window has an alpha channel and starts fully transparent, so the
//   desktop beneath goes on changing; the library draws opaquely on it and
//   restoring saved pixels makes them transparent again. Compositors fade
//   windows in as they map and out as they unmap, so the window stays
//   mapped between selections, cleared and shrunk to one pixel (a resize
//   has no fade), and goes only when the application ends;
// - a copy of the screen, on a plain X server: an opaque window whose
//   picture starts as a screenshot, exact to the pixel.
#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <memory>
#include <vector>

#include "platform/desktop/x11_image.h"
#include "platform/image_surface.h"

namespace tarvel::platform {

class OverlayWindow;
struct LiveParts;

class DesktopOverlay : public ImageSurface {
 public:
  // Shown over the whole virtual desktop, showing what it showed. NULL when
  // there is no X connection (reported once when Qt runs on Wayland), the
  // screen cannot be copied, the window cannot be made or the server's
  // pixels are not laid out as the picture's (32 bits, host order).
  static std::unique_ptr<DesktopOverlay> open(xcb_connection_t* connection);
  // Over a compositor, maps the live overlay's window now, clear, so that
  // the compositor's fade-in of a newly mapped window is over before the
  // first selection needs it. Nothing elsewhere.
  static void prepare(xcb_connection_t* connection);
  ~DesktopOverlay() override;
  DesktopOverlay(const DesktopOverlay&) = delete;
  DesktopOverlay& operator=(const DesktopOverlay&) = delete;

  // The desktop beneath stays live, the client's own windows included.
  bool showsDesktop() const override { return live_; }

  // On a plain X server the overlay opens without its copy of the screen,
  // so that the press is not kept waiting for it; this takes it and puts
  // the overlay up, the first time it is called or drawing needs it.
  void takeCopy();

 protected:
  void present(const QRect& area) override;
  void beforePixels() override { takeCopy(); }

 private:
  DesktopOverlay(xcb_connection_t* connection, QImage picture, bool live);
  bool start(const QRect& geometry);
  bool startLive(const QRect& geometry);

  xcb_connection_t* connection_;
  QImage picture_;
  bool live_;
  bool copyPending_ = false;
  QPoint copyOffset_;  // of the desktop from the primary screen
  QRect geometry_;     // the desktop it covers, in Qt's logical pixels
  // Everything pushed since opening: what a live overlay clears at the end.
  QRect shown_;
  std::unique_ptr<OverlayWindow> window_;
  std::unique_ptr<X11ImagePusher> pusher_;
};

// Whether a compositing manager owns the selection of the display's
// default screen.
bool compositorRuns(xcb_connection_t* connection);

}  // namespace tarvel::platform
