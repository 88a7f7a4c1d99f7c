#include "app/lab_clock.h"

#include <QWidget>

#include "platform/platform.h"

namespace {
constexpr int refreshMs = 20;
constexpr uint32_t pushMs = 15;  // the clock's pushes, at most
}  // namespace

void presentBeneathMenus(Canvas& canvas, const QWidget& view, QRect area) {
  canvas.present();
  qreal ratio = view.devicePixelRatioF();
  QImage picture =
      canvas.image().copy(area).convertToFormat(QImage::Format_RGB32);
  if (ratio != 1)
    picture = picture.scaled((QSizeF(area.size()) * ratio).toSize());
  QPoint onScreen = view.mapToGlobal(area.topLeft()) * ratio;
  mDrawBeneath(onScreen.x(), onScreen.y(), picture.width(), picture.height(),
               reinterpret_cast<const uint32_t*>(picture.constBits()),
               int(picture.bytesPerLine()));
}

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
  presentBeneathMenus(canvas_, view_, area);
}
