// The pointing hand. A cursor has two colours and no half tones, so the hand
// is drawn large and smooth, reduced to a coverage mask, and then outlined in
// black around a white inside.
#include <QPainterPath>
#include <QTransform>

#include "resources/generator.h"
#include "resources/paint_kit.h"

namespace gen {

namespace {

constexpr int side = 32;
constexpr int detail = 8;  // drawing pixels per cursor pixel

// The hand with its index finger straight up and its tip at the origin; the
// other fingers curl to the right, seen from the side, the thumb lies along
// the left.
QPainterPath handShape() {
  QPainterPath hand;
  hand.setFillRule(Qt::WindingFill);
  hand.addRoundedRect(QRectF(-2.3, 0, 4.6, 16), 2.3, 2.3);
  for (int k = 0; k < 3; ++k)
    hand.addRoundedRect(QRectF(0.5, 9.0 + k * 3.6, 10.8 - k * 0.6, 3.9), 1.9,
                        1.9);
  hand.addRoundedRect(QRectF(-2.8, 12, 12.8, 10.5), 3, 3);
  QPainterPath thumb;
  thumb.addRoundedRect(QRectF(-4.5, -2, 9, 4), 2, 2);
  hand.addPath(QTransform().translate(-2.6, 15.4).rotate(-68).map(thumb));
  hand.addRoundedRect(QRectF(-2.2, 21.5, 11.6, 5.5), 1.2, 1.2);
  return hand.simplified();
}

// Creases between the curled fingers and above the cuff, inside the white.
QPainterPath handCreases() {
  QPainterPath lines;
  for (int k = 1; k < 3; ++k) {
    lines.moveTo(2.6, 9.0 + k * 3.6);
    lines.lineTo(10.6 - k * 0.6, 9.0 + k * 3.6);
  }
  lines.moveTo(2.3, 9.5);
  lines.lineTo(2.3, 17);
  lines.moveTo(-1.2, 21.5);
  lines.lineTo(8.6, 21.5);
  return lines;
}

}  // namespace

QImage drawCursor() {
  // Tilt the hand so the finger leans to the top-left corner, the hot spot.
  QTransform place;
  place.translate(0.3, 0.7);
  place.rotate(-28);
  place.scale(1.12, 1.12);
  QImage big(side * detail, side * detail, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    prepare(p);
    p.scale(detail, detail);
    p.setTransform(place, true);
    p.fillPath(handShape(), Qt::black);
  }
  QImage creases(big.size(), QImage::Format_ARGB32_Premultiplied);
  creases.fill(Qt::transparent);
  {
    QPainter p(&creases);
    prepare(p);
    p.scale(detail, detail);
    p.setTransform(place, true);
    p.setPen(QPen(Qt::black, 0.9));
    p.drawPath(handCreases());
  }
  auto coverage = [](const QImage& image, int cx, int cy) {
    int sum = 0;
    for (int y = cy * detail; y < (cy + 1) * detail; ++y)
      for (int x = cx * detail; x < (cx + 1) * detail; ++x)
        sum += qAlpha(image.pixel(x, y));
    return sum / double(255 * detail * detail);
  };
  bool inside[side][side];
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) inside[y][x] = coverage(big, x, y) >= 0.45;
  inside[0][0] = true;  // the fingertip is the hot spot

  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < side && y < side && inside[y][x];
  };
  QImage cursor(side, side, QImage::Format_ARGB32);
  cursor.fill(Qt::transparent);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      if (!inside[y][x]) continue;
      bool edge =
          !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
      bool crease = coverage(creases, x, y) >= 0.3;
      cursor.setPixel(
          x, y,
          edge || crease ? qRgba(0, 0, 0, 255) : qRgba(255, 255, 255, 255));
    }
  }
  return cursor;
}

}  // namespace gen
