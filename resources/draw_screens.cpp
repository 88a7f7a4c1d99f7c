// The pictures of the trainer's screens: title, logo and its fade, the two
// area pictures, buttons, lamps, the results background and its needle.
#include <QPainterPath>
#include <QtMath>
#include <cmath>
#include <cstdint>

#include "resources/draw_items.h"
#include "resources/generator.h"
#include "resources/paint_kit.h"

namespace gen {

namespace {

const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor yellowGround(255, 222, 60);
const QColor lampBoxFill(192, 192, 192);  // the grey the lamps sit on

// A fixed generator for textures, so every build draws the same pictures.
struct Noise {
  uint32_t state = 0x1234567u;
  double next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state & 0xffffff) / double(0x1000000);
  }
};

// ---- the logo ---------------------------------------------------------------

// The main menu writes its two areas' texts over this picture, white on
// black, across its whole width: over rows 0-40 and 105-190. So the emblem
// sits small in the band between them, on a flat halo, with a rule either
// side that divides the two texts, and the text rows stay black.
constexpr double logoBandMiddle = 74;

QImage logoArt() {
  QImage picture = canvas(199, 191, black);
  QPainter p(&picture);
  prepare(p);
  QPointF centre(99.5, logoBandMiddle);
  p.setPen(Qt::NoPen);
  // The halo is a circle squashed to the band's height.
  p.save();
  p.translate(centre);
  p.scale(1.0, 0.34);
  p.setBrush(radial(QPointF(0, 0), 98,
                    {{0.0, QColor(60, 110, 200, 120)},
                     {0.4, QColor(30, 60, 140, 50)},
                     {1.0, QColor(0, 0, 0, 0)}},
                    QPointF(0, 0)));
  p.drawEllipse(QPointF(0, 0), 98, 98);
  p.restore();

  const double radius = 29;
  for (int side : {-1, 1}) {
    QPointF inner = centre + QPointF(side * (radius + 7), 0);
    QPointF outer(side < 0 ? 6 : 193, centre.y());
    p.setPen(QPen(linear(inner, outer,
                         {{0.0, QColor(240, 180, 60, 200)},
                          {1.0, QColor(240, 180, 60, 0)}}),
                  1.2));
    p.drawLine(inner, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 180, 60, 200));
    p.drawEllipse(inner, 1.6, 1.6);
  }
  drawEmblem(p, centre, radius);
  return picture;
}

QImage logoStep(int step) {
  QImage picture = logoArt();
  // Perceived brightness rises slowly near black, so the early steps of the
  // fade-in climb gently and the last ones hurry.
  double factor = std::pow(1.0 - step / 10.0, 1.5);
  if (step > 0) dim(picture, factor);
  return picture;
}

// ---- the title picture
// --------------------------------------------------------

QImage titlePicture() {
  QImage picture = canvas(600, 400, black);
  QPainter p(&picture);
  prepare(p);
  p.fillRect(picture.rect(), linear(QPointF(0, 0), QPointF(0, 400),
                                    {{0.0, QColor(14, 26, 66)},
                                     {0.6, QColor(6, 12, 34)},
                                     {1.0, QColor(2, 4, 12)}}));
  QPointF centre(170, 196);
  // A radar of rings and the eight directions, spreading from the emblem.
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 7; ++i) {
    p.setPen(QPen(QColor(90, 150, 255, 70 - i * 8), 1.2));
    p.drawEllipse(centre, 110 + i * 36.0, 110 + i * 36.0);
  }
  for (int k = 0; k < 8; ++k) {
    double a = qDegreesToRadians(k * 45.0);
    QPointF dir(std::sin(a), -std::cos(a));
    p.setPen(QPen(linear(centre, centre + dir * 600,
                         {{0.0, QColor(110, 170, 255, 90)},
                          {1.0, QColor(110, 170, 255, 0)}}),
                  1.5));
    p.drawLine(centre + dir * 118, centre + dir * 640);
  }
  Noise noise;
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 90; ++i) {
    QPointF star(noise.next() * 600, noise.next() * 400);
    double size = 0.5 + noise.next() * 1.1;
    p.setBrush(QColor(200, 220, 255, 60 + int(noise.next() * 150)));
    p.drawEllipse(star, size, size);
  }
  p.setBrush(radial(centre, 170,
                    {{0.0, QColor(70, 130, 255, 130)},
                     {0.55, QColor(40, 80, 200, 45)},
                     {1.0, QColor(0, 0, 0, 0)}},
                    centre));
  p.drawEllipse(centre, 170, 170);
  drawEmblem(p, centre, 112);

  QRectF word(310, 150, 270, 64);
  drawTitleText(p, QStringLiteral("TARVEL"), sans(64, QFont::Bold),
                QPointF(450, 214),
                linear(word.topLeft(), word.bottomLeft(),
                       {{0.0, QColor(255, 248, 214)},
                        {0.45, QColor(250, 204, 90)},
                        {1.0, QColor(200, 124, 24)}}),
                QColor(0, 0, 0, 255), 4);
  p.setPen(QPen(linear(QPointF(310, 0), QPointF(580, 0),
                       {{0.0, QColor(240, 180, 60, 0)},
                        {0.5, QColor(240, 180, 60, 255)},
                        {1.0, QColor(240, 180, 60, 0)}}),
                2));
  p.drawLine(QPointF(320, 232), QPointF(580, 232));
  drawTitleText(p, QStringLiteral("MARKING MENU TRAINER"),
                sans(17, QFont::Bold), QPointF(450, 258),
                QBrush(QColor(170, 205, 255)), QColor(0, 0, 0, 200), 3);
  drawTitleText(p, QStringLiteral("Learn the menu, then draw the mark."),
                serif(16, QFont::Normal, true), QPointF(450, 290),
                QBrush(QColor(210, 220, 240)), QColor(0, 0, 0, 160), 0.3);
  return picture;
}

// ---- the laboratory picture
// ---------------------------------------------------

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

// ---- the training picture
// -----------------------------------------------------

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

// ---- logo buttons
// -------------------------------------------------------------

QImage logoButton(QColor ground) {
  QImage picture = canvas(60, 60, ground);
  QPainter p(&picture);
  prepare(p);
  QPointF c(30, 30);
  p.setPen(Qt::NoPen);
  if (ground.lightness() < 128) {
    p.setBrush(radial(
        c, 30, {{0.6, QColor(60, 110, 220, 130)}, {1.0, QColor(0, 0, 0, 0)}},
        c));
    p.drawEllipse(c, 30, 30);
  } else {
    p.setBrush(radial(c + QPointF(1, 2), 29,
                      {{0.75, QColor(0, 0, 0, 90)}, {1.0, QColor(0, 0, 0, 0)}},
                      c + QPointF(1, 2)));
    p.drawEllipse(c + QPointF(1, 2), 29, 29);
  }
  drawEmblem(p, c, 26);
  return picture;
}

// ---- lamps
// ----------------------------------------------------------------------

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

// ---- results
// --------------------------------------------------------------------

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

// Needle directions in degrees clockwise from east, indexed by picture id -
// 166. 168 leans right and down at You Rock, where the needle comes to rest.
constexpr double needleDegrees[10] = {200, 115, 24, 295, 160,
                                      335, 245, 70, 180, 0};

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

// ---- the window's icon
// -------------------------------------------------------------------

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

QImage drawPicture(int id) {
  if (id == 130) return titlePicture();
  if (id >= 131 && id <= 140) return logoStep(id - 131);
  if (id >= 148 && id <= 158) return drawItem(id - 148);
  if (id >= 166 && id <= 175) return needleStrip(id - 166);
  switch (id) {
    case 141:
      return laboratoryPicture(white);
    case 142:
      return trainingPicture(black);
    case 143:
      return logoButton(black);
    case 145:
      return logoButton(white);
    case 146:
      return laboratoryPicture(yellowGround);
    case 147:
      return trainingPicture(white);
    case 159:
      return lamp(QColor(255, 44, 32), false);
    case 160:
      return lamp(QColor(255, 44, 32), true);
    case 161:
      return lamp(QColor(255, 170, 20), false);
    case 162:
      return lamp(QColor(255, 170, 20), true);
    case 163:
      return lamp(QColor(50, 230, 70), false);
    case 164:
      return lamp(QColor(50, 230, 70), true);
    case 165:
      return resultsBackground();
    default:
      return QImage();
  }
}

}  // namespace gen
