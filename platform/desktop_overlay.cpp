#include "platform/desktop_overlay.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
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
  pusher_.detach();
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
  if (!pusher_.attach(connection_, xcb_window_t(window_->winId())))
    return false;
  window_->show();
  // The window has no background, so the server leaves the screen as it
  // was when mapping it; pushing the copy at once keeps it that way before
  // Qt ever gets round to painting.
  present(picture_.rect());
  return !xcb_connection_has_error(connection_);
}

void DesktopOverlay::present(const QRect& area) {
  pusher_.push(picture_, area, area.topLeft());
}

}  // namespace platform
