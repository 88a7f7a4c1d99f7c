#include "app/lab_clock.h"

#include <QWidget>

#include "platform/platform.h"

namespace {
constexpr int refreshMs = 20;
constexpr uint32_t pushMs = 15;  // the clock's pushes, at most
}  // namespace

LabClock::LabClock(ScreenDrawing& screens, Canvas& canvas, QWidget& view)
    : screens_(screens), canvas_(canvas), view_(view) {
  timer_.setInterval(refreshMs);
  connect(&timer_, &QTimer::timeout, this, &LabClock::refresh);
}

void LabClock::start() {
  if (timer_.isActive()) return;
  timer_.start();
  startTick_ = platform::current().tickCount();
  lastValue_ = -1;
}

void LabClock::stop() { timer_.stop(); }

void LabClock::refresh() {
  uint32_t now = platform::current().tickCount();
  int value = int(now - startTick_);
  if (value == lastValue_) return;
  lastValue_ = value;
  QRect area = screens_.clockFigure(value);
  if (now - lastPush_ < pushMs) return;
  lastPush_ = now;
  canvas_.present();
  // An overlay that shows a picture of the screen hides the view during a
  // selection: the clock goes into that picture, beneath the menus.
  qreal ratio = view_.devicePixelRatioF();
  QImage clock =
      canvas_.image().copy(area).convertToFormat(QImage::Format_RGB32);
  if (ratio != 1) clock = clock.scaled((QSizeF(area.size()) * ratio).toSize());
  QPoint onScreen = view_.mapToGlobal(area.topLeft()) * ratio;
  mDrawBeneath(onScreen.x(), onScreen.y(), clock.width(), clock.height(),
               reinterpret_cast<const uint32_t*>(clock.constBits()),
               int(clock.bytesPerLine()));
}
