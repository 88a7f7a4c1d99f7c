// The training and laboratory areas: their pictures and their trial lamps.
#include "resources/draw_areas.h"

#include <QPainterPath>
#include <QtMath>
#include <cmath>

#include "resources/paint_kit.h"

namespace gen {

namespace {

const QColor lampBoxFill(192, 192, 192);  // the grey the lamps sit on

void drawFrame(QPainter& p, QRectF box, QColor colour) {
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(colour, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawRect(box.adjusted(3, 3, -3, -3));
  p.setPen(QPen(scaled(colour, 0.55), 1));
  p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(QPen(blend(colour, white, 0.55), 1));
  p.drawRect(box.adjusted(5.5, 5.5, -6.5, -6.5));
  p.setPen(QPen(scaled(colour, 0.5), 1));
  p.drawRect(box.adjusted(6.5, 6.5, -6.5, -6.5));
  p.restore();
}

void drawHazardBadge(QPainter& p, QPointF c, double r) {
  p.setPen(QPen(QColor(40, 30, 0), 0.8));
  p.setBrush(QColor(255, 214, 0));
  p.drawEllipse(c, r, r);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 20, 0));
  for (int k = 0; k < 3; ++k) {
    QPainterPath blade(c);
    QRectF box(c.x() - r * 0.82, c.y() - r * 0.82, r * 1.64, r * 1.64);
    blade.arcTo(box, 90 - 30 + k * 120, 60);
    blade.closeSubpath();
    p.drawPath(blade);
  }
  p.setBrush(QColor(255, 214, 0));
  p.drawEllipse(c, r * 0.3, r * 0.3);
  p.setBrush(QColor(30, 20, 0));
  p.drawEllipse(c, r * 0.18, r * 0.18);
}

void drawSuitFigure(QPainter& p, QPointF at) {
  const QColor suit(242, 140, 40);
  const QColor suitDark(190, 92, 20);
  const QColor line(90, 42, 10);
  auto suitFill = [&](QRectF r) {
    return linear(
        r.topLeft(), r.topRight(),
        {{0.0, blend(suit, white, 0.25)}, {0.55, suit}, {1.0, suitDark}});
  };
  p.save();
  p.translate(at);
  p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

  // Air hose from the hood down to the tank on the belt.
  QPainterPath hose(QPointF(20, -38));
  hose.cubicTo(QPointF(34, -30), QPointF(34, 2), QPointF(20, 12));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 60, 66), 3.2, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(hose);
  p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

  // Legs and boots.
  QRectF legs(-19, 18, 38, 34);
  p.setBrush(suitFill(legs));
  p.drawRoundedRect(QRectF(-18, 16, 16, 34), 5, 5);
  p.drawRoundedRect(QRectF(2, 16, 16, 34), 5, 5);
  p.setBrush(QColor(40, 40, 46));
  p.drawRoundedRect(QRectF(-20, 45, 19, 9), 3.5, 3.5);
  p.drawRoundedRect(QRectF(1, 45, 19, 9), 3.5, 3.5);

  // The bulky body with its belt.
  QPainterPath body;
  body.moveTo(-16, -22);
  body.cubicTo(-27, -20, -27, -8, -25, 4);
  body.lineTo(-22, 24);
  body.lineTo(22, 24);
  body.lineTo(25, 4);
  body.cubicTo(27, -8, 27, -20, 16, -22);
  body.closeSubpath();
  p.setBrush(suitFill(QRectF(-26, -22, 52, 46)));
  p.drawPath(body);
  p.setBrush(QColor(70, 70, 78));
  p.drawRect(QRectF(-23.5, 12, 47, 5));
  p.setBrush(QColor(200, 200, 206));
  p.drawRoundedRect(QRectF(-4, 11, 8, 7), 1.5, 1.5);
  p.setPen(QPen(suitDark, 1));
  p.drawLine(QPointF(0, -18), QPointF(0, 10));

  // Arms: one down with a glove, one raised holding a flask.
  p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath armLeft;
  armLeft.moveTo(-22, -18);
  armLeft.cubicTo(-34, -12, -34, 4, -30, 14);
  armLeft.lineTo(-22, 13);
  armLeft.cubicTo(-24, 4, -22, -6, -16, -12);
  armLeft.closeSubpath();
  p.setBrush(suitFill(QRectF(-34, -18, 18, 32)));
  p.drawPath(armLeft);
  p.setBrush(QColor(40, 40, 46));
  p.drawEllipse(QPointF(-26.5, 17), 5, 5);

  QPainterPath armRight;
  armRight.moveTo(20, -18);
  armRight.cubicTo(30, -14, 31, -4, 26, 2);
  armRight.lineTo(12, -1);
  armRight.lineTo(14, -8);
  armRight.lineTo(19, -8);
  armRight.closeSubpath();
  p.setBrush(suitFill(QRectF(12, -18, 19, 20)));
  p.drawPath(armRight);

  // The flask, green and bubbling, held in front of the chest.
  QPainterPath flask;
  flask.moveTo(6, -20);
  flask.lineTo(6, -12);
  flask.lineTo(-1, 0);
  flask.quadTo(-3, 4, 1, 4);
  flask.lineTo(17, 4);
  flask.quadTo(21, 4, 19, 0);
  flask.lineTo(12, -12);
  flask.lineTo(12, -20);
  flask.closeSubpath();
  p.setBrush(QColor(235, 250, 255, 230));
  p.setPen(QPen(QColor(60, 90, 110), 1));
  p.drawPath(flask);
  QPainterPath liquid;
  liquid.addRect(QRectF(-4, -6, 26, 11));
  p.fillPath(flask.intersected(liquid), QColor(70, 220, 80));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 255, 200));
  p.drawEllipse(QPointF(8, -3), 1.3, 1.3);
  p.drawEllipse(QPointF(12, -1), 1, 1);
  p.drawEllipse(QPointF(9, -16), 1.1, 1.1);
  p.setPen(QPen(line, 1.3));
  p.setBrush(QColor(40, 40, 46));
  p.drawEllipse(QPointF(16, -2), 4.5, 4.5);

  drawHazardBadge(p, QPointF(-11, -6), 5.5);

  // Hood and visor.
  QRectF hood(-19, -52, 38, 36);
  p.setPen(QPen(line, 1.3));
  p.setBrush(suitFill(hood));
  p.drawRoundedRect(hood, 15, 15);
  QRectF visor(-13, -45, 26, 17);
  p.setBrush(linear(visor.topLeft(), visor.bottomLeft(),
                    {{0.0, QColor(70, 130, 190)},
                     {0.5, QColor(24, 50, 96)},
                     {1.0, QColor(12, 26, 54)}}));
  p.setPen(QPen(QColor(40, 40, 46), 1.6));
  p.drawRoundedRect(visor, 7, 7);
  p.setPen(QPen(QColor(255, 255, 255, 200), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-8, -41), QPointF(-2, -43));
  p.setPen(QPen(QColor(255, 255, 255, 120), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-9, -37), QPointF(-7, -38));
  p.restore();
}

struct Person {
  QColor shirt;
  QColor hair;
  QColor skin;
  bool pointing;
};

void drawPerson(QPainter& p, QPointF at, const Person& who, bool facingRight) {
  const QColor line(30, 24, 20);
  p.save();
  p.translate(at);
  if (!facingRight) p.scale(-1, 1);
  p.setPen(QPen(line, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  // Torso, seen three-quarter from behind the bench.
  QPainterPath torso;
  torso.moveTo(-15, 40);
  torso.lineTo(-14, 4);
  torso.cubicTo(-13, -4, -6, -7, 0, -7);
  torso.cubicTo(6, -7, 13, -4, 14, 4);
  torso.lineTo(15, 40);
  torso.closeSubpath();
  p.setBrush(linear(
      QPointF(-15, 0), QPointF(15, 0),
      {{0.0, blend(who.shirt, white, 0.2)}, {1.0, scaled(who.shirt, 0.7)}}));
  p.drawPath(torso);
  // Near arm reaching forward to the bench or up to the screen.
  QPainterPath arm;
  if (who.pointing) {
    arm.moveTo(8, -2);
    arm.cubicTo(16, 2, 22, -6, 30, -16);
  } else {
    arm.moveTo(8, -2);
    arm.cubicTo(14, 10, 20, 20, 28, 24);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(line, 7.5, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(arm);
  p.setPen(QPen(scaled(who.shirt, 0.9), 5.5, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(arm);
  QPointF hand = arm.currentPosition();
  p.setPen(QPen(line, 1));
  p.setBrush(who.skin);
  p.drawEllipse(hand, 3.2, 3.2);
  if (who.pointing) {
    p.setPen(QPen(who.skin, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hand, hand + QPointF(4.5, -3.5));
  }
  // Neck, head, hair.
  p.setPen(QPen(line, 1.1));
  p.setBrush(scaled(who.skin, 0.9));
  p.drawRect(QRectF(-3, -12, 6, 7));
  p.setBrush(who.skin);
  p.drawEllipse(QPointF(1, -21), 10, 11);
  p.setBrush(who.hair);
  QPainterPath hair;
  hair.moveTo(-9.5, -19);
  hair.cubicTo(-11, -34, 11, -36, 11, -22);
  hair.cubicTo(6, -28, 0, -25, -2, -22);
  hair.cubicTo(-4, -20, -6, -16, -9.5, -19);
  p.drawPath(hair);
  p.setPen(Qt::NoPen);
  p.setBrush(line);
  p.drawEllipse(QPointF(7, -21), 1.3, 1.5);
  p.setPen(QPen(line, 0.9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(7, -14.5), QPointF(9.5, -15));
  p.restore();
}

// A screen on the bench shows the practice menu: a dial of eight.
void drawScreen(QPainter& p, QRectF box) {
  p.setPen(QPen(QColor(20, 20, 24), 1.2));
  p.setBrush(QColor(70, 74, 84));
  p.drawRect(QRectF(box.center().x() - 3, box.bottom(), 6, 7));
  p.drawRoundedRect(QRectF(box.center().x() - 10, box.bottom() + 6, 20, 3), 1,
                    1);
  p.setBrush(QColor(46, 50, 58));
  p.drawRoundedRect(box, 2.5, 2.5);
  QRectF glass = box.adjusted(2.5, 2.5, -2.5, -2.5);
  p.setPen(Qt::NoPen);
  p.setBrush(linear(glass.topLeft(), glass.bottomRight(),
                    {{0.0, QColor(40, 90, 160)}, {1.0, QColor(10, 30, 70)}}));
  p.drawRect(glass);
  QPointF c = glass.center();
  double r = glass.height() * 0.36;
  p.setPen(QPen(QColor(180, 220, 255), 1));
  p.setBrush(QColor(255, 255, 255, 40));
  p.drawEllipse(c, r, r);
  for (int k = 0; k < 8; ++k) {
    double a = qDegreesToRadians(k * 45.0 + 22.5);
    p.drawLine(c, c + QPointF(std::sin(a), -std::cos(a)) * r);
  }
  p.setPen(QPen(QColor(255, 190, 60), 1.6, Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin));
  p.drawPolyline(QPolygonF(
      {c, c + QPointF(r * 0.8, -r * 0.2), c + QPointF(r * 1.35, r * 0.5)}));
}

}  // namespace

QImage laboratoryPicture(QColor ground) {
  QImage picture = canvas(119, 134, ground);
  QPainter p(&picture);
  prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawEllipse(QPointF(59.5, 118), 30, 4.5);
  drawSuitFigure(p, QPointF(59.5, 66));
  drawFrame(p, QRectF(0, 0, 119, 134), QColor(40, 160, 60));
  return picture;
}

QImage trainingPicture(QColor ground) {
  QImage picture = canvas(119, 137, ground);
  QPainter p(&picture);
  prepare(p);
  bool dark = ground.lightness() < 128;
  // Floor, then the two people, then the bench in front of them.
  p.fillRect(QRectF(0, 112, 119, 25),
             dark ? QColor(26, 30, 44) : QColor(228, 232, 240));
  drawPerson(
      p, QPointF(30, 62),
      {QColor(220, 60, 60), QColor(70, 40, 20), QColor(240, 196, 160), true},
      true);
  drawPerson(
      p, QPointF(89, 64),
      {QColor(40, 170, 150), QColor(30, 24, 22), QColor(196, 140, 100), false},
      false);
  drawScreen(p, QRectF(44, 56, 32, 24));
  QRectF top(10, 87, 99, 8);
  p.setPen(QPen(QColor(60, 34, 14), 1));
  p.setBrush(linear(top.topLeft(), top.bottomLeft(),
                    {{0.0, QColor(214, 156, 92)}, {1.0, QColor(150, 92, 44)}}));
  p.drawRect(top);
  QRectF front(14, 95, 91, 10);
  p.setBrush(linear(front.topLeft(), front.bottomLeft(),
                    {{0.0, QColor(150, 92, 44)}, {1.0, QColor(110, 64, 28)}}));
  p.drawRect(front);
  p.setBrush(QColor(110, 64, 28));
  p.drawRect(QRectF(16, 105, 6, 18));
  p.drawRect(QRectF(97, 105, 6, 18));
  p.setPen(QPen(QColor(90, 52, 22), 1));
  p.drawLine(QPointF(22, 119), QPointF(97, 119));
  // A small tool box on the bench.
  p.setPen(QPen(QColor(30, 20, 10), 1));
  p.setBrush(QColor(220, 60, 40));
  p.drawRect(QRectF(84, 80, 16, 7));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(88, 76, 8, 8), 0, 180 * 16);
  drawFrame(p, QRectF(0, 0, 119, 137), QColor(40, 110, 220));
  return picture;
}

QImage lamp(QColor hue, bool lit) {
  QImage picture = canvas(28, 28, lampBoxFill);
  QPainter p(&picture);
  prepare(p);
  QPointF c(14, 14);
  p.setPen(Qt::NoPen);
  if (lit) {
    p.setBrush(radial(c, 14,
                      {{0.55, QColor(hue.red(), hue.green(), hue.blue(), 150)},
                       {1.0, QColor(hue.red(), hue.green(), hue.blue(), 0)}},
                      c));
    p.drawEllipse(c, 14, 14);
  }
  QRectF bezel(c.x() - 12, c.y() - 12, 24, 24);
  p.setBrush(linear(bezel.topLeft(), bezel.bottomRight(),
                    {{0.0, QColor(250, 250, 250)},
                     {0.5, QColor(150, 150, 156)},
                     {1.0, QColor(70, 70, 76)}}));
  p.drawEllipse(bezel);
  p.setBrush(linear(bezel.bottomRight(), bezel.topLeft(),
                    {{0.0, QColor(230, 230, 234)}, {1.0, QColor(90, 90, 96)}}));
  p.drawEllipse(c, 10, 10);
  if (lit) {
    p.setBrush(radial(c, 9,
                      {{0.0, QColor(255, 255, 235)},
                       {0.35, blend(hue, white, 0.35)},
                       {0.8, hue},
                       {1.0, scaled(hue, 0.7)}},
                      c + QPointF(-1.5, -1.5)));
  } else {
    p.setBrush(radial(c, 9,
                      {{0.0, scaled(hue, 0.5)},
                       {0.7, scaled(hue, 0.32)},
                       {1.0, scaled(hue, 0.2)}},
                      c + QPointF(-2, -2)));
  }
  p.drawEllipse(c, 8.8, 8.8);
  p.setBrush(QColor(255, 255, 255, lit ? 220 : 110));
  p.drawEllipse(QPointF(11, 10.5), 2.6, 1.8);
  return picture;
}

}  // namespace gen
