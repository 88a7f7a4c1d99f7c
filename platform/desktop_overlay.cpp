#include "platform/desktop_overlay.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QSysInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

// Serves the overlay's picture whenever the server asks for it (a first
// expose, a window that was over it going away). Between those, flushes go
// to the server directly and this window's backing store is never used.
class OverlayWindow : public QRasterWindow {
 public:
  OverlayWindow(ImageSurface* surface, const QImage* picture)
      : surface_(surface), picture_(picture) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    surface_->settle();
    // The picture is in device pixels, the paint event in Qt's logical ones.
    qreal ratio = devicePixelRatio();
    QRectF target = event->rect();
    QRectF source(target.x() * ratio, target.y() * ratio,
                  target.width() * ratio, target.height() * ratio);
    QPainter painter(this);
    painter.drawImage(target, *picture_, source);
  }

 private:
  ImageSurface* surface_;
  const QImage* picture_;
};

DesktopOverlay::DesktopOverlay(xcb_connection_t* connection, QImage picture)
    : ImageSurface(&picture_),
      connection_(connection),
      picture_(std::move(picture)) {}

DesktopOverlay::~DesktopOverlay() {
  // The picture goes before the base class, whose painter may still be on it.
  settle();
  if (gc_) xcb_free_gc(connection_, gc_);
  if (window_) {
    window_->hide();
    window_->destroy();
    window_.reset();
  }
  xcb_flush(connection_);
}

std::unique_ptr<DesktopOverlay> DesktopOverlay::open(
    xcb_connection_t* connection) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!connection || !screen) return nullptr;
  QRect desktop = screen->virtualGeometry();
  QPoint offset = desktop.topLeft() - screen->geometry().topLeft();
  // One copy of the root window over all screens, taken before the overlay
  // is up so that it shows what lies beneath.
  QImage picture = screen
                       ->grabWindow(0, offset.x(), offset.y(), desktop.width(),
                                    desktop.height())
                       .toImage();
  QSize devicePixels =
      (QSizeF(desktop.size()) * screen->devicePixelRatio()).toSize();
  if (picture.isNull() || picture.size() != devicePixels) return nullptr;
  picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
  // Library drawing is in device pixels, whatever Qt's scaling.
  picture.setDevicePixelRatio(1);
  std::unique_ptr<DesktopOverlay> overlay(
      new DesktopOverlay(connection, std::move(picture)));
  if (!overlay->start(desktop)) return nullptr;
  return overlay;
}

bool DesktopOverlay::start(const QRect& geometry) {
  window_ = std::make_unique<OverlayWindow>(this, &picture_);
  // Bypassing the window manager matters most: a managed window is framed
  // and placed, and the frame takes the clicks meant for what is beneath.
  window_->setFlags(Qt::Tool | Qt::FramelessWindowHint |
                    Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                    Qt::WindowDoesNotAcceptFocus |
                    Qt::X11BypassWindowManagerHint);
  // Qt's xcb plugin reads this for windows that are no widgets.
  window_->setProperty("_q_showWithoutActivating", true);
  window_->setGeometry(geometry);
  window_->create();
  xid_ = xcb_window_t(window_->winId());
  if (!xid_ || !pixelsMatch(xid_)) return false;
  gc_ = xcb_generate_id(connection_);
  uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, xid_, XCB_GC_GRAPHICS_EXPOSURES,
                &noExposures);
  maxRequestBytes_ = size_t(xcb_get_maximum_request_length(connection_)) * 4;
  window_->show();
  // The window has no background, so the server leaves the screen as it
  // was when mapping it; pushing the copy at once keeps it that way before
  // Qt ever gets round to painting.
  present(picture_.rect());
  return !xcb_connection_has_error(connection_);
}

bool DesktopOverlay::pixelsMatch(xcb_window_t window) {
  xcb_get_geometry_cookie_t geometryAsked =
      xcb_get_geometry(connection_, window);
  xcb_get_window_attributes_cookie_t attributesAsked =
      xcb_get_window_attributes(connection_, window);
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection_, geometryAsked, nullptr);
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(connection_, attributesAsked, nullptr);
  bool match = false;
  if (geometry && attributes) {
    depth_ = geometry->depth;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    bool hostLsbFirst = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    bool serverLsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    bool fourBytes = false;
    for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup);
         f.rem; xcb_format_next(&f))
      if (f.data->depth == depth_) fourBytes = f.data->bits_per_pixel == 32;
    bool xrgb = false;
    for (xcb_screen_iterator_t s = xcb_setup_roots_iterator(setup); s.rem;
         xcb_screen_next(&s))
      for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(s.data);
           d.rem; xcb_depth_next(&d))
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data);
             v.rem; xcb_visualtype_next(&v))
          if (v.data->visual_id == attributes->visual)
            xrgb = v.data->red_mask == 0xFF0000 &&
                   v.data->green_mask == 0xFF00 && v.data->blue_mask == 0xFF;
    match = hostLsbFirst == serverLsbFirst && fourBytes && xrgb;
  }
  std::free(geometry);
  std::free(attributes);
  return match;
}

void DesktopOverlay::present(const QRect& area) {
  QRect r = area.intersected(picture_.rect());
  if (r.isEmpty() || !gc_ || xcb_connection_has_error(connection_)) return;
  size_t rowBytes = size_t(r.width()) * 4;
  // Room for the request's header, big-requests length field included.
  size_t room = maxRequestBytes_ > 64 ? maxRequestBytes_ - 64 : 0;
  int bandRows = std::max(1, int(room / rowBytes));
  bool wholeRows = r.width() == picture_.width() &&
                   size_t(picture_.bytesPerLine()) == rowBytes;
  for (int top = r.top(); top <= r.bottom(); top += bandRows) {
    int rows = std::min(bandRows, r.bottom() + 1 - top);
    const uint8_t* data;
    if (wholeRows) {
      data = picture_.constScanLine(top);
    } else {
      band_.resize(size_t(rows) * size_t(r.width()));
      for (int y = 0; y < rows; y++)
        std::memcpy(
            band_.data() + size_t(y) * size_t(r.width()),
            reinterpret_cast<const uint32_t*>(picture_.constScanLine(top + y)) +
                r.left(),
            rowBytes);
      data = reinterpret_cast<const uint8_t*>(band_.data());
    }
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, xid_, gc_,
                  uint16_t(r.width()), uint16_t(rows), int16_t(r.left()),
                  int16_t(top), 0, depth_, uint32_t(rowBytes * size_t(rows)),
                  data);
  }
  xcb_flush(connection_);
}

}  // namespace platform
