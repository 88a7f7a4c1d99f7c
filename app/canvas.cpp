#include "app/canvas.h"

#include <QFontMetrics>

#include "platform/platform.h"

namespace {
constexpr uint32_t displayFrameMs = 16;
}

QFont arialFont(int points) {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  // The screens are laid out in pixels for 96 dots an inch, whatever the
  // desktop's setting.
  font.setPixelSize(qRound(points * 96.0 / 72.0));
  return font;
}

void Canvas::setPresenter(Presenter presenter) {
  presenter_ = std::move(presenter);
}

void Canvas::resize(QSize size) {
  if (size == image_.size() || size.isEmpty()) return;
  settle();
  QImage bigger(size, QImage::Format_RGB32);
  bigger.fill(Qt::black);
  if (!image_.isNull()) {
    QPainter p(&bigger);
    p.drawImage(0, 0, image_);
  }
  image_ = bigger;
}

const QImage& Canvas::image() {
  settle();
  return image_;
}

QPainter& Canvas::painter() {
  if (!painter_.isActive()) {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  }
  return painter_;
}

void Canvas::settle() {
  if (painter_.isActive()) painter_.end();
}

void Canvas::touch(const QRect& area) { dirty_ |= area & image_.rect(); }

void Canvas::fill(const QColor& colour) { fillRect(image_.rect(), colour); }

void Canvas::fillRect(const QRect& area, const QColor& colour) {
  painter().fillRect(area, colour);
  touch(area);
}

void Canvas::stretch(const QImage& bitmap, const QRect& to) {
  if (bitmap.isNull() || to.isEmpty()) return;
  painter().drawImage(to, bitmap);
  touch(to);
}

void Canvas::place(const QImage& bitmap, QPoint at) {
  if (bitmap.isNull()) return;
  painter().drawImage(at, bitmap);
  touch(QRect(at, bitmap.size()));
}

void Canvas::roundedBox(const QRect& box, const QColor& border,
                        const QColor& fill, int corner, int borderWidth) {
  QPainter& p = painter();
  QPen pen(border);
  pen.setWidth(borderWidth);
  p.setPen(pen);
  p.setBrush(fill);
  // The border runs along the inside of the box's edges.
  QRectF inside = QRectF(box).adjusted(borderWidth / 2.0, borderWidth / 2.0,
                                       -borderWidth / 2.0, -borderWidth / 2.0);
  p.drawRoundedRect(inside, corner / 2.0, corner / 2.0);
  touch(box.adjusted(-1, -1, 1, 1));
}

QRect Canvas::text(QPoint at, int points, const QColor& colour,
                   const QString& s) {
  QFont font = arialFont(points);
  QFontMetrics metrics(font);
  QPainter& p = painter();
  p.setFont(font);
  p.setPen(colour);
  p.drawText(at.x(), at.y() + metrics.ascent(), s);
  QRect area = textArea(at, points, s);
  touch(area);
  return area.adjusted(2, 2, -2, -2);
}

QRect Canvas::textArea(QPoint at, int points, const QString& s) {
  QFontMetrics metrics(arialFont(points));
  return QRect(at.x(), at.y(), metrics.horizontalAdvance(s) + 2,
               metrics.height())
      .adjusted(-2, -2, 2, 2);
}

void Canvas::fittedText(const QRect& box, int points, const QColor& colour,
                        const QString& s) {
  constexpr int smallest = 8;
  QFont font = arialFont(points);
  while (points > smallest &&
         QFontMetrics(font).horizontalAdvance(s) > box.width()) {
    points--;
    font = arialFont(points);
  }
  QFontMetrics metrics(font);
  QString shown = metrics.elidedText(s, Qt::ElideRight, box.width());
  QPainter& p = painter();
  p.setFont(font);
  p.setPen(colour);
  p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, shown);
  touch(box);
}

QRect Canvas::opaqueText(QPoint at, int points, const QColor& colour,
                         const QColor& ground, const QString& s) {
  QFontMetrics metrics(arialFont(points));
  QRect covered(at.x(), at.y(), metrics.horizontalAdvance(s), metrics.height());
  painter().fillRect(covered, ground);
  text(at, points, colour, s);
  return covered;
}

void Canvas::disc(QPoint centre, int radius, const QColor& colour) {
  QPainter& p = painter();
  p.setPen(QPen(colour, 1));
  p.setBrush(colour);
  QRect box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  p.drawEllipse(box);
  touch(box.adjusted(-1, -1, 1, 1));
}

void Canvas::present() {
  lastPresentTick_ = platform::current().tickCount();
  if (dirty_.isEmpty()) return;
  settle();
  QRect area = dirty_;
  dirty_ = QRect();
  if (presenter_) presenter_(image_, area);
}

void Canvas::presentAtDisplayRate() {
  if (platform::current().tickCount() - lastPresentTick_ >= displayFrameMs)
    present();
}

void Canvas::pause(uint32_t ms) {
  present();
  platform::current().sleepMs(ms);
}

void Canvas::pauseUntil(uint32_t tick) {
  present();
  platform::Platform& p = platform::current();
  // Unsigned differences: right across the wrap of the tick count.
  int32_t left = int32_t(tick - p.tickCount());
  if (left > 0) p.sleepMs(uint32_t(left));
}
