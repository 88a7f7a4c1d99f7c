#include "platform/desktop/desktop_platform.h"

#include <dlfcn.h>

#include <QCursor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

#include "platform/desktop/desktop_overlay.h"
#include "platform/qt_settings.h"

namespace tarvel::platform {

namespace {

// Qt measures screens in logical pixels; the library, like X, in device
// pixels. Qt keeps a screen's top left corner where X has it and scales
// lengths from there, so each screen maps about its own origin.
Rect deviceRect(const QRect& logical, const QScreen* screen) {
  QPoint origin = screen->geometry().topLeft();
  qreal ratio = screen->devicePixelRatio();
  auto x = [&](int v) {
    return origin.x() + int(std::lround((v - origin.x()) * ratio));
  };
  auto y = [&](int v) {
    return origin.y() + int(std::lround((v - origin.y()) * ratio));
  };
  return Rect{x(logical.x()), x(logical.x() + logical.width()) - 1,
              y(logical.y()), y(logical.y() + logical.height()) - 1};
}

QScreen* primaryScreen() {
  return desktopConnection() ? QGuiApplication::primaryScreen() : nullptr;
}

// A pass of a polling loop lasts until input arrives, the library's next
// deadline (a popup, a cascade, a position to take) or this long at most.
// The pointer's position is read again at least that often, for moves that
// send no input events (a warped pointer).
constexpr uint64_t idlePassUs = 10000;
// The shortest pass when no input arrives: a loop whose deadline is over
// before it polls again does not spin.
constexpr uint64_t passUs = 1000;

// The selection loop reads input twice a pass, the pointer for mMotion and
// the buttons for mButtonsDown; both get one reading.
constexpr int readsPerPass = 2;

}  // namespace

DesktopPlatform::DesktopPlatform() {
  // Once the application's event loop runs, the overlay is readied.
  if (qGuiApp)
    QTimer::singleShot(0, qGuiApp,
                       [] { DesktopOverlay::prepare(desktopConnection()); });
}

DesktopPlatform::~DesktopPlatform() = default;

uint64_t DesktopPlatform::microseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000000 + uint64_t(ts.tv_nsec) / 1000;
}

void DesktopPlatform::sleepMs(uint32_t ms) {
  timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0) {
  }
  startPass();
}

void DesktopPlatform::spinStep() {
  if (overlay_) overlay_->takeCopy();
  endPass();
}

// A loop that never calls spinStep sleeps here, once a pass.
InputState DesktopPlatform::pollInput() {
  // The first pass of a selection's loop, after its press: the overlay's
  // copy of the screen is taken while the popup's delay runs.
  if (overlay_) overlay_->takeCopy();
  if (readsThisPass_ >= readsPerPass) endPass();
  readsThisPass_++;
  return input_.poll(microseconds());
}

void DesktopPlatform::wakeBy(uint64_t us) {
  if (wakeByUs_ == 0 || us < wakeByUs_) wakeByUs_ = us;
}

void DesktopPlatform::endPass() {
  uint64_t now = microseconds();
  uint64_t end = passStartUs_ + idlePassUs;
  if (wakeByUs_ != 0)
    end = std::min(end, std::max(wakeByUs_, passStartUs_ + passUs));
  wakeByUs_ = 0;
  if (now < end) input_.wait(end - now);
  startPass();
}

void DesktopPlatform::startPass() {
  passStartUs_ = microseconds();
  readsThisPass_ = 0;
}

void DesktopPlatform::setCursor(Cursor cursor) {
  xcb_connection_t* connection = desktopConnection();
  bool cross = cursor == Cursor::Cross;
  if (!connection || cross == crossShown_) return;
  if (cross)
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  else
    QGuiApplication::restoreOverrideCursor();
  crossShown_ = cross;
  // Qt changes the windows' cursors at once; this sends the change.
  xcb_flush(connection);
}

bool DesktopPlatform::moduleLoaded(const char* name) {
  if (!name || !*name) return false;
  // Asks the dynamic loader without loading anything.
  void* module = dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
  if (!module) return false;
  dlclose(module);
  return true;
}

Colour DesktopPlatform::systemColour(SystemColour which) {
  if (!desktopConnection()) return 0;
  return paletteColour(which);
}

FontSpec DesktopPlatform::menuFont() {
  QScreen* screen = primaryScreen();
  if (!screen) return fallbackMenuFont();
  return menuFontOf(QFontDatabase::systemFont(QFontDatabase::GeneralFont),
                    screen->logicalDotsPerInchY(), screen->devicePixelRatio());
}

Rect DesktopPlatform::workArea() {
  QScreen* screen = primaryScreen();
  if (!screen) return Rect{0, 0, 0, 0};
  return deviceRect(screen->availableGeometry(), screen);
}

Rect DesktopPlatform::desktopRect() {
  QScreen* primary = primaryScreen();
  if (!primary) return Rect{0, 0, 0, 0};
  Rect all = deviceRect(primary->geometry(), primary);
  for (QScreen* screen : QGuiApplication::screens()) {
    Rect r = deviceRect(screen->geometry(), screen);
    all = Rect{std::min(all.xmin, r.xmin), std::max(all.xmax, r.xmax),
               std::min(all.ymin, r.ymin), std::max(all.ymax, r.ymax)};
  }
  return all;
}

// Qt's list of screens is kept in the process, so asking it on every
// placement costs no round trip to the server.
Rect DesktopPlatform::workAreaAt(int x, int y) {
  QScreen* nearest = primaryScreen();
  if (!nearest) return Rect{0, 0, 0, 0};
  double best = -1;
  for (QScreen* screen : QGuiApplication::screens()) {
    Rect r = deviceRect(screen->geometry(), screen);
    double dx =
        x < r.xmin ? double(r.xmin) - x : (x > r.xmax ? double(x) - r.xmax : 0);
    double dy =
        y < r.ymin ? double(r.ymin) - y : (y > r.ymax ? double(y) - r.ymax : 0);
    double d = dx * dx + dy * dy;
    if (best < 0 || d < best) {
      best = d;
      nearest = screen;
    }
  }
  return deviceRect(nearest->availableGeometry(), nearest);
}

double DesktopPlatform::devicePixelRatio() {
  QScreen* screen = primaryScreen();
  if (!screen) return 1.0;
  if (QScreen* under = QGuiApplication::screenAt(QCursor::pos()))
    screen = under;
  return screen->devicePixelRatio();
}

Surface* DesktopPlatform::openOverlay() {
  closeOverlay();
  overlay_ = DesktopOverlay::open(desktopConnection());
  return overlay_.get();
}

void DesktopPlatform::closeOverlay() {
  overlay_.reset();
  // A cross set during the selection lasts no longer than it: the windows'
  // own cursors come back as the pointer moves on.
  setCursor(Cursor::Arrow);
}

Surface* DesktopPlatform::overlay() { return overlay_.get(); }

void DesktopPlatform::playSound(const char*, const void* wave, size_t bytes,
                                bool synchronous) {
  sound_.play(wave, bytes, synchronous);
}

}  // namespace tarvel::platform
