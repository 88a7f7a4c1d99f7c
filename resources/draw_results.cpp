// The results screen: its background and the strips of its needle.
#include "resources/draw_results.h"

#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "resources/paint_kit.h"

namespace gen {

namespace {

void drawCaption(QPainter& p, const QString& text, QPointF baselineStart) {
  QFont font = serif(22, QFont::Bold, true);
  QPainterPath path;
  path.addText(baselineStart, font, text);
  QRectF box = path.boundingRect();
  // A brushed swash under the words, as if painted on.
  QPainterPath swash;
  swash.moveTo(box.left() - 4, box.bottom() + 3);
  swash.quadTo(box.center().x(), box.bottom() - 1, box.right() + 6,
               box.bottom() + 2);
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(140, 40, 20, 200), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(swash);
  p.setPen(Qt::NoPen);
  p.fillPath(path.translated(1.2, 1.4), QColor(255, 240, 190, 170));
  p.fillPath(path, QColor(96, 30, 10));
  p.restore();
}

void drawTrophy(QPainter& p, QPointF base, double scale) {
  p.save();
  p.translate(base);
  p.scale(scale, scale);
  QPainterPath cup;
  cup.moveTo(-22, -70);
  cup.lineTo(22, -70);
  cup.cubicTo(22, -44, 12, -32, 4, -30);
  cup.lineTo(4, -18);
  cup.lineTo(14, -10);
  cup.lineTo(-14, -10);
  cup.lineTo(-4, -18);
  cup.lineTo(-4, -30);
  cup.cubicTo(-12, -32, -22, -44, -22, -70);
  cup.closeSubpath();
  QBrush gold(linear(QPointF(-22, 0), QPointF(22, 0),
                     {{0.0, QColor(255, 246, 200)},
                      {0.4, QColor(250, 206, 90)},
                      {1.0, QColor(170, 106, 20)}}));
  p.setPen(QPen(QColor(110, 60, 8), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(-34, -66, 20, 22), 90 * 16, 180 * 16);
  p.drawArc(QRectF(14, -66, 20, 22), -90 * 16, 180 * 16);
  p.setBrush(gold);
  p.drawPath(cup);
  p.setBrush(linear(QPointF(-18, 0), QPointF(18, 0),
                    {{0.0, QColor(120, 70, 30)}, {1.0, QColor(70, 36, 12)}}));
  p.drawRect(QRectF(-18, -10, 36, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 120));
  p.drawEllipse(QPointF(-10, -58), 3, 8);
  p.restore();
}

// Needle directions in degrees clockwise from east, indexed by picture id -
// 166. 168 leans right and down at You Rock, where the needle comes to rest.
constexpr double needleDegrees[10] = {200, 115, 24, 295, 160,
                                      335, 245, 70, 180, 0};

}  // namespace

QImage resultsBackground() {
  QImage picture = canvas(600, 400, QColor(214, 160, 50));
  QPainter p(&picture);
  prepare(p);
  p.fillRect(picture.rect(), linear(QPointF(0, 0), QPointF(600, 400),
                                    {{0.0, QColor(252, 222, 130)},
                                     {0.45, QColor(224, 168, 58)},
                                     {1.0, QColor(150, 98, 24)}}));
  // Brushed grain.
  Noise noise;
  for (int y = 0; y < 400; ++y) {
    double v = noise.next();
    QColor grain = v < 0.5 ? QColor(255, 240, 200, int(v * 40))
                           : QColor(90, 50, 0, int((v - 0.5) * 36));
    p.setPen(QPen(grain, 1));
    double from = noise.next() * 200;
    p.drawLine(QPointF(from, y + 0.5),
               QPointF(from + 250 + noise.next() * 350, y + 0.5));
  }
  // A sheen from the top left and a darker rim, as in a photograph.
  p.setPen(Qt::NoPen);
  p.setBrush(radial(
      QPointF(170, 90), 360,
      {{0.0, QColor(255, 250, 220, 120)}, {1.0, QColor(255, 250, 220, 0)}},
      QPointF(170, 90)));
  p.drawRect(picture.rect());
  p.setBrush(
      radial(QPointF(300, 200), 420,
             {{0.6, QColor(60, 30, 0, 0)}, {1.0, QColor(60, 30, 0, 150)}},
             QPointF(300, 200)));
  p.drawRect(picture.rect());
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(120, 70, 10, 200), 2));
  p.drawRoundedRect(QRectF(8, 8, 584, 384), 10, 10);
  p.setPen(QPen(QColor(255, 236, 170, 150), 1));
  p.drawRoundedRect(QRectF(11, 11, 578, 378), 8, 8);

  // The panel the program writes its white figures on.
  p.setPen(QPen(QColor(255, 220, 140, 120), 1.2));
  p.setBrush(QColor(70, 36, 4, 150));
  p.drawRoundedRect(QRectF(118, 28, 404, 180), 12, 12);

  // The medal that carries the logo: the square (48, 130)-(109, 191).
  QPointF medal(78.5, 160.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 30, 0, 90));
  p.drawEllipse(medal + QPointF(2, 3), 35, 35);
  drawEmblem(p, medal, 30.5);

  // The gauge slot the needle strip is shown in, and its two captions.
  QRectF slot(236, 224, 146, 62);
  p.setPen(QPen(QColor(110, 64, 10), 1.5));
  p.setBrush(
      linear(slot.topLeft(), slot.bottomLeft(),
             {{0.0, QColor(120, 70, 12)}, {1.0, QColor(250, 214, 120)}}));
  p.drawRoundedRect(slot, 8, 8);
  drawCaption(p, QStringLiteral("Try Again"), QPointF(132, 263));
  drawCaption(p, QStringLiteral("You Rock"), QPointF(390, 263));

  drawTrophy(p, QPointF(557, 196), 0.78);

  // The picture's own title, engraved along the foot.
  QRectF plate(170, 316, 260, 56);
  p.setPen(QPen(QColor(110, 64, 10), 1.5));
  p.setBrush(linear(plate.topLeft(), plate.bottomLeft(),
                    {{0.0, QColor(255, 232, 150)},
                     {0.5, QColor(222, 170, 60)},
                     {1.0, QColor(170, 112, 26)}}));
  p.drawRoundedRect(plate, 10, 10);
  QFont font = serif(30, QFont::Bold);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
  QPainterPath title;
  title.addText(0, 0, font, QStringLiteral("RESULTS"));
  QRectF box = title.boundingRect();
  title.translate(plate.center().x() - box.center().x(),
                  plate.center().y() - box.center().y());
  p.setPen(Qt::NoPen);
  p.fillPath(title.translated(0, 1.3), QColor(255, 246, 210, 200));
  p.fillPath(title, QColor(92, 48, 6));
  for (double side : {-1.0, 1.0}) {
    QPointF at(plate.center().x() + side * 112, plate.center().y());
    p.setBrush(QColor(92, 48, 6));
    p.drawEllipse(at, 3.5, 3.5);
  }
  return picture;
}

QImage needleStrip(int index) {
  QImage picture = canvas(135, 50, QColor(230, 180, 70));
  QPainter p(&picture);
  prepare(p);
  QRectF strip(0, 0, 135, 50);
  p.fillRect(strip, linear(strip.topLeft(), strip.bottomLeft(),
                           {{0.0, QColor(176, 120, 32)},
                            {0.3, QColor(255, 230, 150)},
                            {0.55, QColor(236, 188, 80)},
                            {1.0, QColor(168, 112, 28)}}));
  p.setPen(QPen(QColor(150, 100, 26), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(strip.adjusted(0.5, 0.5, -0.5, -0.5));
  // Scale ticks along the top and bottom edges.
  p.setPen(QPen(QColor(150, 100, 26), 1));
  for (int x = 12; x < 130; x += 11) {
    p.drawLine(QPointF(x + 0.5, 2), QPointF(x + 0.5, 6));
    p.drawLine(QPointF(x + 0.5, 44), QPointF(x + 0.5, 48));
  }
  QPointF dot(67.5, 25);
  double a = qDegreesToRadians(needleDegrees[index]);
  QPointF dir(std::cos(a), std::sin(a));
  // As long as the strip allows in that direction.
  double reach =
      std::min(std::abs(dir.x()) > 1e-6 ? 58 / std::abs(dir.x()) : 1e9,
               std::abs(dir.y()) > 1e-6 ? 20 / std::abs(dir.y()) : 1e9);
  QPointF tip = dot + dir * reach;
  QPointF normal(-dir.y(), dir.x());
  double head = std::min(11.0, reach * 0.45);
  QPointF neck = tip - dir * head;
  const QColor ink(40, 24, 6);
  p.setPen(QPen(QColor(255, 240, 190, 160), 4.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(dot + QPointF(0.6, 0.8), neck + QPointF(0.6, 0.8));
  p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(dot, neck);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPolygon(QPolygonF(
      {tip, neck + normal * head * 0.55, neck - normal * head * 0.55}));
  p.setBrush(radial(dot, 6,
                    {{0.0, QColor(255, 140, 120)},
                     {0.45, QColor(200, 24, 20)},
                     {1.0, QColor(120, 10, 8)}},
                    dot + QPointF(-1.5, -1.5)));
  p.drawEllipse(dot, 5.5, 5.5);
  return picture;
}

}  // namespace gen
