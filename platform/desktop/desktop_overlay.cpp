#include "platform/desktop/desktop_overlay.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/report.h"

namespace tarvel::platform {

namespace {

// A live overlay's window is left mapped after a selection, shrunk to one
// pixel: mapped again, it would be faded in by the compositor under the
// next menu, while full size it would have the compositor blend a whole
// screen of transparency over every frame any other window draws. Its
// cleared picture is kept for the next selection until none has come for
// this long.
constexpr int liveIdlePictureMs = 5 * 60 * 1000;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name),
      nullptr);
  xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return found;
}

void setProperty(xcb_connection_t* connection, xcb_window_t window,
                 xcb_atom_t property, xcb_atom_t type, uint8_t format,
                 uint32_t count, const void* data) {
  if (property == XCB_ATOM_NONE || type == XCB_ATOM_NONE) return;
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type,
                      format, count, data);
}

// Whoever looks for windows by name or class (a test, a window rule of the
// user's) finds this one as what it is, never as the application.
void nameWindow(xcb_connection_t* connection, xcb_window_t window) {
  static const char klass[] = "MMenu\0MMenu";
  setProperty(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
              sizeof klass, klass);
}

// What compositors honour: a menu gets no open or close effects from most,
// and a window that asks not to bypass the compositor is never shown
// unredirected, which would lose its transparency.
void hintCompositor(xcb_connection_t* connection, xcb_window_t window) {
  xcb_atom_t menuType = atom(connection, "_NET_WM_WINDOW_TYPE_POPUP_MENU");
  setProperty(connection, window, atom(connection, "_NET_WM_WINDOW_TYPE"),
              XCB_ATOM_ATOM, 32, 1, &menuType);
  uint32_t neverBypass = 2;
  setProperty(connection, window, atom(connection, "_NET_WM_BYPASS_COMPOSITOR"),
              XCB_ATOM_CARDINAL, 32, 1, &neverBypass);
  uint32_t skip = 1;
  setProperty(connection, window,
              atom(connection, "_KDE_NET_WM_SKIP_CLOSE_ANIMATION"),
              XCB_ATOM_CARDINAL, 32, 1, &skip);
}

void reportWaylandOnce() {
  static bool reported = false;
  if (reported) return;
  reported = true;
  mReportError(
      "Qt runs on Wayland, where no program may draw over other windows: "
      "marking menus need X11. Start the program with QT_QPA_PLATFORM=xcb "
      "(XWayland)\n");
}

}  // namespace

// Serves the overlay's picture whenever the server asks for it (a first
// expose, a window that was over it going away). Between those, flushes go
// to the server directly and this window's backing store is never used.
// Without a picture, as a live overlay between selections, it is clear.
class OverlayWindow : public QRasterWindow {
 public:
  void setPicture(ImageSurface* surface, const QImage* picture) {
    surface_ = surface;
    picture_ = picture;
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (!picture_) {
      painter.fillRect(event->rect(), Qt::transparent);
      return;
    }
    surface_->settle();
    // The picture is in device pixels, the paint event in Qt's logical ones.
    qreal ratio = devicePixelRatio();
    QRectF target = event->rect();
    QRectF source(target.x() * ratio, target.y() * ratio,
                  target.width() * ratio, target.height() * ratio);
    painter.drawImage(target, *picture_, source);
  }

 private:
  ImageSurface* surface_ = nullptr;
  const QImage* picture_ = nullptr;
};

struct LiveParts {
  std::unique_ptr<OverlayWindow> window;
  std::unique_ptr<X11ImagePusher> pusher;
  QImage picture;
};

namespace {

// The live overlay's window, its pusher and its cleared picture between
// selections, and the compositor's selection atom: opening again asks the
// server one question only. Qt's X connection goes with the application,
// so all of it goes before.
class KeptOverlay {
 public:
  static KeptOverlay* get() {
    if (!instance_) {
      instance_ = new KeptOverlay;
      qAddPostRoutine([] {
        delete instance_;
        instance_ = nullptr;
      });
    }
    return instance_;
  }

  void keep(LiveParts parts, xcb_connection_t* connection,
            const QRect& geometry) {
    parts_ = std::move(parts);
    connection_ = connection;
    geometry_ = geometry;
    // Resizing a mapped window has no fade, unlike mapping it.
    parts_.window->setGeometry(QRect(geometry_.topLeft(), QSize(1, 1)));
    xcb_flush(connection_);
    idle_.start(liveIdlePictureMs);
  }

  bool holds() const { return bool(parts_.window); }

  // What was kept, when made for this connection and desktop, grown back
  // to the desktop's size.
  LiveParts take(xcb_connection_t* connection, const QRect& geometry) {
    idle_.stop();
    LiveParts parts;
    if (parts_.window && connection == connection_ && geometry == geometry_) {
      parts = std::move(parts_);
      if (parts.window->geometry() != geometry) {
        parts.window->setGeometry(geometry);
        xcb_flush(connection);
      }
    }
    drop();
    return parts;
  }

  xcb_atom_t compositorSelection(xcb_connection_t* connection) {
    if (connection != atomConnection_ || selection_ == XCB_ATOM_NONE) {
      char* host = nullptr;
      int display = 0, screen = 0;
      if (!xcb_parse_display(nullptr, &host, &display, &screen)) screen = 0;
      std::free(host);
      std::string name = "_NET_WM_CM_S" + std::to_string(screen);
      selection_ = atom(connection, name.c_str());
      atomConnection_ = connection;
    }
    return selection_;
  }

  ~KeptOverlay() { drop(); }

 private:
  KeptOverlay() {
    idle_.setSingleShot(true);
    QObject::connect(&idle_, &QTimer::timeout,
                     [this] { parts_.picture = QImage(); });
  }

  void drop() {
    parts_.pusher.reset();
    if (parts_.window) {
      parts_.window->destroy();
      parts_.window.reset();
      xcb_flush(connection_);
    }
    parts_.picture = QImage();
  }

  static inline KeptOverlay* instance_ = nullptr;
  LiveParts parts_;
  xcb_connection_t* connection_ = nullptr;
  QRect geometry_;
  QTimer idle_;
  xcb_connection_t* atomConnection_ = nullptr;
  xcb_atom_t selection_ = XCB_ATOM_NONE;
};

}  // namespace

bool compositorRuns(xcb_connection_t* connection) {
  if (!connection) return false;
  xcb_atom_t selection = KeptOverlay::get()->compositorSelection(connection);
  if (selection == XCB_ATOM_NONE) return false;
  xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, selection), nullptr);
  bool owned = reply && reply->owner != XCB_WINDOW_NONE;
  std::free(reply);
  return owned;
}

DesktopOverlay::DesktopOverlay(xcb_connection_t* connection, QImage picture,
                               bool live)
    : ImageSurface(&picture_),
      connection_(connection),
      picture_(std::move(picture)),
      live_(live) {}

DesktopOverlay::~DesktopOverlay() {
  // The picture goes before the base class, whose painter may still be on it.
  settle();
  if (live_ && window_ && pusher_ && pusher_->attached() && qGuiApp &&
      !xcb_connection_has_error(connection_)) {
    QPainter clear(&picture_);
    clear.setCompositionMode(QPainter::CompositionMode_Source);
    clear.fillRect(shown_, Qt::transparent);
    clear.end();
    pusher_->push(picture_, shown_, shown_.topLeft());
    window_->setPicture(nullptr, nullptr);
    KeptOverlay::get()->keep(
        LiveParts{std::move(window_), std::move(pusher_), std::move(picture_)},
        connection_, geometry_);
    return;
  }
  pusher_.reset();
  if (window_) {
    window_->hide();
    window_->destroy();
    window_.reset();
  }
  xcb_flush(connection_);
}

std::unique_ptr<DesktopOverlay> DesktopOverlay::open(
    xcb_connection_t* connection) {
  if (!connection && QGuiApplication::platformName().startsWith("wayland"))
    reportWaylandOnce();
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!connection || !screen) return nullptr;
  QRect desktop = screen->virtualGeometry();
  QSize devicePixels =
      (QSizeF(desktop.size()) * screen->devicePixelRatio()).toSize();
  if (compositorRuns(connection)) {
    LiveParts kept = KeptOverlay::get()->take(connection, desktop);
    QImage picture = std::move(kept.picture);
    if (picture.size() != devicePixels) {
      picture = QImage(devicePixels, QImage::Format_ARGB32_Premultiplied);
      if (picture.isNull()) return nullptr;
      picture.fill(Qt::transparent);
      picture.setDevicePixelRatio(1);
    }
    std::unique_ptr<DesktopOverlay> overlay(
        new DesktopOverlay(connection, std::move(picture), true));
    overlay->window_ = std::move(kept.window);
    overlay->pusher_ = std::move(kept.pusher);
    if (!overlay->startLive(desktop)) return nullptr;
    return overlay;
  }
  // Made now, the window is mapped and the picture filled with the screen
  // by takeCopy, once the press has been taken.
  QImage picture(devicePixels, QImage::Format_RGB32);
  if (picture.isNull()) return nullptr;
  // Library drawing is in device pixels, whatever Qt's scaling.
  picture.setDevicePixelRatio(1);
  std::unique_ptr<DesktopOverlay> overlay(
      new DesktopOverlay(connection, std::move(picture), false));
  overlay->copyOffset_ = desktop.topLeft() - screen->geometry().topLeft();
  overlay->copyPending_ = true;
  if (!overlay->start(desktop)) return nullptr;
  return overlay;
}

void DesktopOverlay::takeCopy() {
  if (!copyPending_) return;
  copyPending_ = false;
  // One copy of the root window over all screens, taken before the overlay
  // is mapped so that it shows what lies beneath.
  QScreen* screen = QGuiApplication::primaryScreen();
  QSize size = picture_.size();
  QImage copy;
  if (screen && screen->devicePixelRatio() == 1 &&
      copyOffset_.x() >= INT16_MIN && copyOffset_.y() >= INT16_MIN &&
      size.width() <= UINT16_MAX && size.height() <= UINT16_MAX)
    copy = grabRootShared(connection_, QRect(copyOffset_, size));
  if (copy.isNull() && screen)
    copy = screen
               ->grabWindow(0, copyOffset_.x(), copyOffset_.y(),
                            geometry_.width(), geometry_.height())
               .toImage();
  if (copy.size() != size) {
    // Never a black screen in its place: the window stays unmapped, and
    // the selection goes on unseen, by mark.
    mReportError("can't copy the screen beneath the menus; they are not shown");
    return;
  }
  picture_ = std::move(copy).convertToFormat(QImage::Format_RGB32);
  picture_.setDevicePixelRatio(1);
  markAsDesktop();
  window_->show();
  // The window has no background, so the server leaves the screen as it
  // was when mapping it; pushing the copy at once keeps it that way before
  // Qt ever gets round to painting.
  present(picture_.rect());
}

void DesktopOverlay::prepare(xcb_connection_t* connection) {
  if (!connection || KeptOverlay::get()->holds() || !compositorRuns(connection))
    return;
  // Taken down at once, a live overlay is kept mapped and clear.
  open(connection).reset();
}

namespace {

// Bypassing the window manager matters most: a managed window is framed
// and placed, and the frame takes the clicks meant for what is beneath.
std::unique_ptr<OverlayWindow> makeWindow(const QRect& geometry, bool alpha) {
  auto window = std::make_unique<OverlayWindow>();
  if (alpha) {
    QSurfaceFormat format = window->format();
    format.setAlphaBufferSize(8);
    window->setFormat(format);
  }
  window->setFlags(Qt::Tool | Qt::FramelessWindowHint |
                   Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                   Qt::WindowDoesNotAcceptFocus |
                   Qt::X11BypassWindowManagerHint);
  // Qt's xcb plugin reads this for windows that are no widgets.
  window->setProperty("_q_showWithoutActivating", true);
  window->setTitle("MenuBackground");
  window->setGeometry(geometry);
  window->create();
  return window;
}

}  // namespace

bool DesktopOverlay::start(const QRect& geometry) {
  geometry_ = geometry;
  window_ = makeWindow(geometry, false);
  window_->setPicture(this, &picture_);
  xcb_window_t id = xcb_window_t(window_->winId());
  nameWindow(connection_, id);
  pusher_ = std::make_unique<X11ImagePusher>();
  if (!pusher_->attach(connection_, id)) return false;
  return !xcb_connection_has_error(connection_);
}

bool DesktopOverlay::startLive(const QRect& geometry) {
  geometry_ = geometry;
  if (!window_ || !pusher_ || !pusher_->attached()) {
    window_ = makeWindow(geometry, true);
    xcb_window_t id = xcb_window_t(window_->winId());
    nameWindow(connection_, id);
    hintCompositor(connection_, id);
    // The server clears what it shows of the window to this, transparent
    // in an ARGB visual, so nothing needs pushing before the first drawing.
    uint32_t transparent = 0;
    xcb_change_window_attributes(connection_, id, XCB_CW_BACK_PIXEL,
                                 &transparent);
    pusher_ = std::make_unique<X11ImagePusher>();
    if (!pusher_->attach(connection_, id)) return false;
    window_->setPicture(this, &picture_);
    window_->show();
    xcb_flush(connection_);
  } else {
    window_->setPicture(this, &picture_);
  }
  return !xcb_connection_has_error(connection_);
}

void DesktopOverlay::present(const QRect& area) {
  shown_ |= area;
  if (pusher_) pusher_->push(picture_, area, area.topLeft());
}

}  // namespace tarvel::platform
