#include "platform/qt_window/window_platform.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <thread>

#include "platform/qt_settings.h"

namespace tarvel::platform {

namespace {

// A pass of a polling loop lasts until an event arrives, the library's
// next deadline or this long at most: every change of the pointer comes as
// an event, so the bound only keeps a loop that waits for something else
// from waiting for ever.
constexpr uint64_t idlePassUs = 100000;
// The shortest pass when no event arrives: a loop whose deadline is over
// before it polls again does not spin.
constexpr uint64_t passUs = 1000;
// Reads of the input a pass may make before the next read waits as a pass
// does, for a loop that never calls spinStep: without that its state
// would never change.
constexpr int readsPerPass = 4;

// Milliseconds for a Qt timer to wait at least `us`.
int timerMs(uint64_t us) {
  return int(std::min<uint64_t>((us + 999) / 1000, INT_MAX));
}

// The picture as the overlay shows it: the top byte of a pixel, set by
// drawing and clear elsewhere, is its alpha.
QImage seenThrough(const QImage& image) {
  return QImage(image.constBits(), image.width(), image.height(),
                image.bytesPerLine(), QImage::Format_ARGB32);
}

// Counts the events the application delivers: reading the input twice
// with none between means nothing can have changed.
class Deliveries : public QObject {
 public:
  uint64_t count = 0;

 protected:
  bool eventFilter(QObject*, QEvent*) override {
    count++;
    return false;
  }
};

// A transparent widget over the whole window, above all its children,
// letting every event through to them. Shows the surface's picture, one
// pixel of it to a device pixel.
class OverlayWidget : public QWidget {
 public:
  OverlayWidget(QWidget* window, ImageSurface* surface, const QImage* image)
      : QWidget(window), surface_(surface), image_(image) {
    setObjectName("MenuBackground");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window->rect());
    window->installEventFilter(this);
    raise();
  }

  // `area` in device pixels.
  void showArea(const QRect& area) {
    qreal ratio = devicePixelRatioF();
    update(QRectF(area.x() / ratio, area.y() / ratio, area.width() / ratio,
                  area.height() / ratio)
               .toAlignedRect());
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    surface_->settle();
    QImage picture = seenThrough(*image_);
    qreal ratio = devicePixelRatioF();
    QRectF target = event->rect();
    QRectF source(target.x() * ratio, target.y() * ratio,
                  target.width() * ratio, target.height() * ratio);
    // Beyond the picture (the window grew since it was made) nothing shows.
    source &= QRectF(picture.rect());
    if (source.isEmpty()) return;
    target = QRectF(source.x() / ratio, source.y() / ratio,
                    source.width() / ratio, source.height() / ratio);
    QPainter painter(this);
    painter.drawImage(target, picture, source);
  }

  // Follows the window's size, and stays above children added meanwhile.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parentWidget()) {
      if (event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
      } else if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child != this && child->isWidgetType()) raise();
      }
    }
    return false;
  }

 private:
  ImageSurface* surface_;
  const QImage* image_;
};

// The library's drawing, shown on the overlay widget as it is flushed.
// What lies beneath is the window itself, live.
class OverlaySurface : public ImageSurface {
 public:
  explicit OverlaySurface(QImage* image) : ImageSurface(image) {}
  void setWidget(OverlayWidget* widget) { widget_ = widget; }
  bool showsDesktop() const override { return true; }

 protected:
  void present(const QRect& area) override {
    if (widget_) widget_->showArea(area);
  }

 private:
  QPointer<OverlayWidget> widget_;
};

}  // namespace

struct WindowPlatform::State {
  explicit State(QWidget* host) : input(host) {}

  WindowInput input;
  QImage image;  // the surface's pixels, in device pixels
  std::unique_ptr<OverlaySurface> surface;
  QPointer<OverlayWidget> widget;
  std::function<void()> deadlineHandler;
  SoundPlayer soundPlayer;
  std::unique_ptr<QTimer> deadlineTimer;
  std::unique_ptr<Deliveries> deliveries;
  uint64_t deadlineUs = 0;   // the library's deadline for this pass, or 0
  uint64_t passStartUs = 0;  // when the last wait ended
  int readsThisPass = 0;
  uint64_t deliveriesAtPassStart = 0;
  // Inside sleepMs the library is in the middle of a call: the deadline
  // handler waits until the sleep is over.
  int sleeping = 0;
  bool deadlineWaiting = false;
  // The window's cursor while the cross is shown over it.
  QPointer<QWidget> crossWindow;
  bool windowHadCursor = false;
  QCursor windowCursor;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  void startPass(uint64_t now) {
    passStartUs = now;
    readsThisPass = 0;
    if (deliveries) deliveriesAtPassStart = deliveries->count;
  }

  void dropOverlay() {
    delete widget.data();
    surface.reset();
    image = QImage();
  }
};

WindowPlatform::WindowPlatform(QWidget* host)
    : d_(std::make_unique<State>(host)) {
  d_->startPass(microseconds());
  if (!QCoreApplication::instance()) return;
  d_->deliveries = std::make_unique<Deliveries>();
  QCoreApplication::instance()->installEventFilter(d_->deliveries.get());
  d_->deadlineTimer = std::make_unique<QTimer>();
  d_->deadlineTimer->setSingleShot(true);
  d_->deadlineTimer->setTimerType(Qt::PreciseTimer);
  QObject::connect(d_->deadlineTimer.get(), &QTimer::timeout, [this] {
    if (d_->sleeping > 0) {
      d_->deadlineWaiting = true;
      return;
    }
    // A copy: the handler may replace itself.
    std::function<void()> handler = d_->deadlineHandler;
    if (handler) handler();
  });
  if (!host) return;
  // The library forgets the overlay and the selection drawn on it before
  // they go with the window.
  QObject::connect(host, &QObject::destroyed, &d_->input, [this] {
    if (!d_->surface) return;
    announceGoing(this);
    d_->dropOverlay();
  });
}

WindowPlatform::~WindowPlatform() {
  announceGoing(this);
  closeOverlay();
  // Never left current once gone.
  Platform* installed = install(nullptr);
  if (installed != this) install(installed);
  *d_->alive = false;
}

QWidget* WindowPlatform::window() const { return d_->input.window(); }

WindowInput& WindowPlatform::input() { return d_->input; }

void WindowPlatform::setDeadlineHandler(std::function<void()> handler) {
  d_->deadlineHandler = std::move(handler);
  if (!d_->deadlineHandler && d_->deadlineTimer) d_->deadlineTimer->stop();
}

void WindowPlatform::setSoundPlayer(SoundPlayer player) {
  d_->soundPlayer = std::move(player);
}

QImage WindowPlatform::picture() const {
  if (!d_->surface) return QImage();
  d_->surface->settle();
  return seenThrough(d_->image).copy();
}

uint64_t WindowPlatform::microseconds() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return uint64_t(
      std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

void WindowPlatform::sleepMs(uint32_t ms) {
  if (ms == 0) return;
  uint64_t end = microseconds() + uint64_t(ms) * 1000;
  std::shared_ptr<bool> alive = d_->alive;
  if (QCoreApplication::instance()) {
    d_->sleeping++;
    {
      // Timers and painting go on; input waits until the sleep is over.
      QEventLoop loop;
      QTimer timer;
      timer.setSingleShot(true);
      timer.setTimerType(Qt::PreciseTimer);
      QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
      timer.start(timerMs(uint64_t(ms) * 1000));
      loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!*alive) return;
    d_->sleeping--;
    if (d_->sleeping == 0 && d_->deadlineWaiting) {
      d_->deadlineWaiting = false;
      if (d_->deadlineTimer) d_->deadlineTimer->start(0);
    }
  }
  // Without an event loop, or when the application quit its loops.
  uint64_t now = microseconds();
  if (now < end)
    std::this_thread::sleep_for(std::chrono::microseconds(end - now));
  d_->startPass(microseconds());
}

void WindowPlatform::spinStep() {
  uint64_t now = microseconds();
  uint64_t end = d_->passStartUs + idlePassUs;
  if (d_->deadlineUs != 0)
    end = std::min(end, std::max(d_->deadlineUs, d_->passStartUs + passUs));
  d_->deadlineUs = 0;
  std::shared_ptr<bool> alive = d_->alive;
  if (!QCoreApplication::instance()) {
    if (now < end)
      std::this_thread::sleep_for(std::chrono::microseconds(end - now));
  } else if (now < end) {
    // Any event ends the wait; the timer makes sure one comes by the end.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(timerMs(end - now));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  } else {
    QCoreApplication::processEvents();
  }
  if (*alive) d_->startPass(microseconds());
}

void WindowPlatform::wakeBy(uint64_t us) {
  d_->deadlineUs = us;
  if (!d_->deadlineHandler || !d_->deadlineTimer) return;
  uint64_t now = microseconds();
  d_->deadlineTimer->start(us > now ? timerMs(us - now) : 0);
}

InputState WindowPlatform::pollInput() {
  // Events delivered since the pass began (the program's own loop ran)
  // start a new pass.
  if (d_->deliveries && d_->deliveries->count != d_->deliveriesAtPassStart) {
    d_->deliveriesAtPassStart = d_->deliveries->count;
    d_->readsThisPass = 0;
  }
  if (d_->readsThisPass >= readsPerPass) {
    std::shared_ptr<bool> alive = d_->alive;
    spinStep();
    if (!*alive) return InputState{};
  }
  d_->readsThisPass++;
  return d_->input.state();
}

void WindowPlatform::setCursor(Cursor cursor) {
  bool cross = cursor == Cursor::Cross;
  if (cross == bool(d_->crossWindow)) return;
  if (!cross) {
    QWidget* top = d_->crossWindow;
    if (d_->windowHadCursor)
      top->setCursor(d_->windowCursor);
    else
      top->unsetCursor();
    d_->crossWindow = nullptr;
    return;
  }
  QWidget* top = window();
  if (!top) return;
  d_->crossWindow = top;
  d_->windowHadCursor = top->testAttribute(Qt::WA_SetCursor);
  d_->windowCursor = top->cursor();
  top->setCursor(Qt::CrossCursor);
}

// No module is looked up: a Qt program loads none the menus ask about.
bool WindowPlatform::moduleLoaded(const char*) { return false; }

Colour WindowPlatform::systemColour(SystemColour which) {
  if (!qGuiApp)
    return which == SystemColour::Menu || which == SystemColour::HighlightText
               ? rgb(255, 255, 255)
               : rgb(0, 0, 0);
  return paletteColour(which);
}

FontSpec WindowPlatform::menuFont() {
  if (!qGuiApp) return fallbackMenuFont();
  // The application's font, the system's unless the program chose its own.
  QWidget* top = window();
  QScreen* screen = top ? top->screen() : QGuiApplication::primaryScreen();
  return menuFontOf(QGuiApplication::font(),
                    screen ? screen->logicalDotsPerInchY() : 96.0,
                    devicePixelRatio());
}

Rect WindowPlatform::workArea() {
  int w = d_->input.width(), h = d_->input.height();
  if (w <= 0 || h <= 0) return Rect{0, 0, 0, 0};
  return Rect{0, w - 1, 0, h - 1};
}

Rect WindowPlatform::desktopRect() { return workArea(); }

Rect WindowPlatform::workAreaAt(int, int) { return workArea(); }

double WindowPlatform::devicePixelRatio() {
  return d_->input.devicePixelRatio();
}

Surface* WindowPlatform::openOverlay() {
  closeOverlay();
  QWidget* top = window();
  QSize size(d_->input.width(), d_->input.height());
  if (!top || size.isEmpty()) return nullptr;
  d_->image = QImage(size, QImage::Format_RGB32);
  if (d_->image.isNull()) return nullptr;
  // All clear: the window shows through everywhere.
  std::memset(d_->image.bits(), 0, size_t(d_->image.sizeInBytes()));
  d_->image.setDevicePixelRatio(1);
  d_->surface = std::make_unique<OverlaySurface>(&d_->image);
  d_->widget = new OverlayWidget(top, d_->surface.get(), &d_->image);
  d_->surface->setWidget(d_->widget);
  d_->widget->show();
  return d_->surface.get();
}

void WindowPlatform::closeOverlay() {
  // A cross set during the selection lasts no longer than it.
  setCursor(Cursor::Arrow);
  d_->dropOverlay();
}

Surface* WindowPlatform::overlay() { return d_->surface.get(); }

void WindowPlatform::playSound(const char* name, const void* wave, size_t bytes,
                               bool synchronous) {
  if (d_->soundPlayer) d_->soundPlayer(name, wave, bytes, synchronous);
}

}  // namespace tarvel::platform
