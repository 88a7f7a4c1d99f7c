// The means every picture generator draws with, and the Tarvel emblem.
#include "resources/paint_kit.h"

#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace gen {

QImage canvas(int width, int height, QColor ground) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(ground);
  return picture;
}

void prepare(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

QColor blend(QColor a, QColor b, double t) {
  auto mixChannel = [t](int x, int y) {
    return std::clamp(static_cast<int>(std::lround(x + (y - x) * t)), 0, 255);
  };
  return QColor(mixChannel(a.red(), b.red()), mixChannel(a.green(), b.green()),
                mixChannel(a.blue(), b.blue()),
                mixChannel(a.alpha(), b.alpha()));
}

QColor scaled(QColor c, double factor) {
  auto channel = [factor](int x) {
    return std::clamp(static_cast<int>(std::lround(x * factor)), 0, 255);
  };
  return QColor(channel(c.red()), channel(c.green()), channel(c.blue()),
                c.alpha());
}

namespace {
QFont family(const char* name, double pixelSize, int weight, bool italic) {
  QFont font(QString::fromLatin1(name));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}
}  // namespace

QFont sans(double pixelSize, int weight, bool italic) {
  return family("Liberation Sans", pixelSize, weight, italic);
}

QFont serif(double pixelSize, int weight, bool italic) {
  return family("Liberation Serif", pixelSize, weight, italic);
}

QLinearGradient linear(QPointF from, QPointF to, Stops stops) {
  QLinearGradient gradient(from, to);
  for (const auto& [at, colour] : stops) gradient.setColorAt(at, colour);
  return gradient;
}

QRadialGradient radial(QPointF centre, double radius, Stops stops,
                       QPointF focus) {
  QRadialGradient gradient(centre, radius, focus);
  for (const auto& [at, colour] : stops) gradient.setColorAt(at, colour);
  return gradient;
}

void dim(QImage& picture, double factor) {
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      QRgb p = line[x];
      line[x] = qRgb(static_cast<int>(qRed(p) * factor + 0.5),
                     static_cast<int>(qGreen(p) * factor + 0.5),
                     static_cast<int>(qBlue(p) * factor + 0.5));
    }
  }
}

namespace {

QPointF polar(QPointF centre, double radius, double degreesFromNorth) {
  double a = qDegreesToRadians(degreesFromNorth);
  return centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
}

// The eight sectors of the menu, the even ones (N, E, S, W) a shade lighter,
// as a radial menu shows its compass items.
void drawSectors(QPainter& p, QPointF c, double r) {
  for (int k = 0; k < 8; ++k) {
    QPainterPath sector(c);
    QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    // Qt counts angles anticlockwise from east; the menu clockwise from north.
    double startQt = 90.0 - (k * 45.0 - 22.5);
    sector.arcTo(box, startQt, -45.0);
    sector.closeSubpath();
    QColor fill =
        k % 2 == 0 ? QColor(70, 130, 205, 120) : QColor(20, 45, 95, 90);
    p.fillPath(sector, fill);
  }
  p.setPen(QPen(QColor(150, 200, 255, 110), r * 0.018));
  for (int k = 0; k < 8; ++k)
    p.drawLine(polar(c, r * 0.18, k * 45.0 + 22.5),
               polar(c, r, k * 45.0 + 22.5));
}

void drawRim(QPainter& p, QPointF c, double r) {
  QRectF outer(c.x() - r, c.y() - r, 2 * r, 2 * r);
  p.setPen(Qt::NoPen);
  p.setBrush(linear(outer.topLeft(), outer.bottomRight(),
                    {{0.0, QColor(255, 236, 160)},
                     {0.35, QColor(236, 182, 64)},
                     {0.7, QColor(176, 116, 28)},
                     {1.0, QColor(110, 66, 12)}}));
  p.drawEllipse(outer);
  double ri = r * 0.86;
  QRectF inner(c.x() - ri, c.y() - ri, 2 * ri, 2 * ri);
  p.setBrush(
      linear(inner.bottomRight(), inner.topLeft(),
             {{0.0, QColor(255, 226, 140)}, {1.0, QColor(120, 74, 14)}}));
  p.drawEllipse(inner.adjusted(-r * 0.035, -r * 0.035, r * 0.035, r * 0.035));
  // Eight notches on the rim mark the menu's directions.
  p.setBrush(QColor(90, 52, 8));
  for (int k = 0; k < 8; ++k) {
    double size = k % 2 == 0 ? 0.075 : 0.05;
    QPointF tip = polar(c, r * 0.885, k * 45.0);
    QPointF left = polar(c, r * 0.985, k * 45.0 - size * 60);
    QPointF right = polar(c, r * 0.985, k * 45.0 + size * 60);
    p.drawPolygon(QPolygonF({tip, left, right}));
  }
}

void drawMark(QPainter& p, QPointF c, double r) {
  const QPointF points[] = {
      c + QPointF(-0.50 * r, 0.30 * r), c + QPointF(-0.16 * r, -0.40 * r),
      c + QPointF(0.12 * r, 0.26 * r), c + QPointF(0.47 * r, -0.36 * r)};
  QPainterPath stroke(points[0]);
  for (int i = 1; i < 4; ++i) stroke.lineTo(points[i]);
  // The arrow's head at the end of the last segment.
  QPointF dir = points[3] - points[2];
  dir /= std::hypot(dir.x(), dir.y());
  QPointF normal(-dir.y(), dir.x());
  double head = 0.26 * r;
  QPointF tip = points[3] + dir * head * 0.55;
  QPolygonF arrow({tip, tip - dir * head + normal * head * 0.55,
                   tip - dir * head - normal * head * 0.55});

  double width = 0.12 * r;
  QPen shadowPen(QColor(0, 0, 0, 110), width * 1.25, Qt::SolidLine,
                 Qt::RoundCap, Qt::RoundJoin);
  QPointF drop(0.03 * r, 0.045 * r);
  p.setPen(shadowPen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(stroke.translated(drop));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 110));
  p.drawPolygon(arrow.translated(drop));

  QBrush ink(linear(points[0], tip,
                    {{0.0, QColor(255, 120, 30)},
                     {0.55, QColor(255, 170, 40)},
                     {1.0, QColor(255, 226, 90)}}));
  p.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(stroke);
  p.setPen(QPen(QColor(255, 226, 90), width * 0.25, Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin));
  p.setBrush(QColor(255, 226, 90));
  p.drawPolygon(arrow);
  // The press point where the mark began.
  double dot = 0.11 * r;
  p.setPen(QPen(QColor(255, 120, 30), 0.04 * r));
  p.setBrush(QColor(255, 250, 235));
  p.drawEllipse(points[0], dot, dot);
}

}  // namespace

void drawEmblem(QPainter& p, QPointF c, double r) {
  p.save();
  drawRim(p, c, r);
  double ri = r * 0.82;
  p.setPen(Qt::NoPen);
  p.setBrush(radial(c, ri,
                    {{0.0, QColor(44, 92, 160)},
                     {0.7, QColor(20, 44, 92)},
                     {1.0, QColor(8, 20, 48)}},
                    c + QPointF(-0.25 * ri, -0.3 * ri)));
  p.drawEllipse(c, ri, ri);
  drawSectors(p, c, ri);
  // A glint across the upper half, as on a glass dial.
  QPainterPath glint;
  glint.addEllipse(c + QPointF(0, -0.42 * ri), 0.78 * ri, 0.46 * ri);
  QPainterPath dial;
  dial.addEllipse(c, ri, ri);
  p.fillPath(glint.intersected(dial),
             linear(c + QPointF(0, -ri), c,
                    {{0.0, QColor(255, 255, 255, 70)},
                     {1.0, QColor(255, 255, 255, 0)}}));
  drawMark(p, c, r);
  p.restore();
}

void drawTitleText(QPainter& p, const QString& text, const QFont& font,
                   QPointF baselineCentre, const QBrush& fill, QColor shadow,
                   double letterSpacing) {
  QFont spaced = font;
  spaced.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
  QPainterPath path;
  path.addText(0, 0, spaced, text);
  QRectF box = path.boundingRect();
  path.translate(baselineCentre.x() - box.center().x(), baselineCentre.y());
  p.save();
  p.setPen(Qt::NoPen);
  for (int i = 3; i >= 1; --i) {
    QColor layer = shadow;
    layer.setAlpha(shadow.alpha() / (i + 1));
    p.fillPath(path.translated(i * 0.8, i * 1.1), layer);
  }
  p.fillPath(path, fill);
  p.restore();
}

}  // namespace gen
