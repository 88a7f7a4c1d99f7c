// The window's icon: the emblem, or at small sizes a plainer one.
#include "resources/generator.h"
#include "resources/paint_kit.h"

namespace gen {

namespace {

// The emblem with only what a few pixels can show: the golden rim, the
// blue dial and a bold zig-zag mark.
void drawSmallEmblem(QPainter& p, QPointF c, double r) {
  p.setPen(Qt::NoPen);
  p.setBrush(linear(c - QPointF(r, r), c + QPointF(r, r),
                    {{0.0, QColor(255, 236, 160)},
                     {0.5, QColor(236, 182, 64)},
                     {1.0, QColor(150, 96, 20)}}));
  p.drawEllipse(c, r, r);
  double ri = r * 0.78;
  p.setBrush(radial(c, ri,
                    {{0.0, QColor(54, 108, 186)}, {1.0, QColor(14, 32, 76)}},
                    c + QPointF(-0.3 * ri, -0.3 * ri)));
  p.drawEllipse(c, ri, ri);
  QPolygonF mark(
      {c + QPointF(-0.5 * r, 0.3 * r), c + QPointF(-0.16 * r, -0.4 * r),
       c + QPointF(0.12 * r, 0.26 * r), c + QPointF(0.5 * r, -0.4 * r)});
  p.setPen(QPen(QColor(255, 170, 40), 0.2 * r, Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(mark);
}

}  // namespace

QImage drawIcon(int size) {
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  prepare(p);
  QPointF centre(size / 2.0, size / 2.0);
  double radius = size / 2.0 - 0.5;
  if (size >= 32)
    drawEmblem(p, centre, radius);
  else
    drawSmallEmblem(p, centre, radius);
  return picture;
}

}  // namespace gen
