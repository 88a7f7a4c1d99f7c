// Each item is drawn in a 104 x 104 box on white, large and plain enough to
// be told apart at a glance during a timed trial.
#include "resources/draw_items.h"

#include <QPainterPath>
#include <QtMath>
#include <cmath>

#include "resources/paint_kit.h"

namespace gen {

namespace {

void groundShadow(QPainter& p, QPointF centre, double rx, double ry) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(radial(centre, rx,
                    {{0.0, QColor(0, 0, 0, 60)}, {1.0, QColor(0, 0, 0, 0)}},
                    centre));
  p.translate(centre);
  p.scale(1.0, ry / rx);
  p.translate(-centre);
  p.drawEllipse(centre, rx, rx);
  p.restore();
}

QPen outline(QColor c, double width = 1.6) {
  return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void eye(QPainter& p, QPointF c, double r) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 16, 14));
  p.drawEllipse(c, r, r * 1.1);
  p.setBrush(white);
  p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.4), r * 0.38, r * 0.38);
}

// ---- animals
// ------------------------------------------------------------------

void duck(QPainter& p) {
  groundShadow(p, QPointF(56, 92), 40, 6);
  const QColor line(150, 96, 0);
  QPainterPath body;
  body.moveTo(30, 58);
  body.cubicTo(26, 80, 44, 90, 62, 90);
  body.cubicTo(84, 90, 96, 78, 96, 62);
  body.cubicTo(96, 52, 94, 42, 92, 36);
  body.cubicTo(86, 44, 80, 50, 70, 50);
  body.cubicTo(58, 50, 44, 48, 30, 58);
  body.closeSubpath();
  QBrush yellow(radial(QPointF(50, 50), 60,
                       {{0.0, QColor(255, 246, 150)},
                        {0.6, QColor(255, 214, 40)},
                        {1.0, QColor(236, 164, 0)}},
                       QPointF(44, 44)));
  p.setPen(outline(line));
  p.setBrush(yellow);
  p.drawPath(body);
  QPainterPath wing;
  wing.moveTo(50, 66);
  wing.cubicTo(58, 58, 76, 58, 84, 64);
  wing.cubicTo(80, 76, 64, 80, 52, 74);
  wing.closeSubpath();
  p.setBrush(QColor(246, 184, 10));
  p.drawPath(wing);
  p.setPen(outline(line, 1.1));
  p.drawLine(QPointF(58, 68), QPointF(76, 66));
  p.drawLine(QPointF(60, 73), QPointF(74, 72));
  // Head and beak.
  p.setPen(outline(line));
  p.setBrush(yellow);
  p.drawEllipse(QPointF(38, 36), 19, 18);
  QPainterPath beak;
  beak.moveTo(22, 36);
  beak.cubicTo(14, 32, 6, 36, 5, 41);
  beak.cubicTo(8, 44, 14, 46, 24, 45);
  beak.closeSubpath();
  p.setPen(outline(QColor(170, 70, 0)));
  p.setBrush(linear(QPointF(5, 36), QPointF(5, 46),
                    {{0.0, QColor(255, 150, 40)}, {1.0, QColor(230, 90, 10)}}));
  p.drawPath(beak);
  p.drawLine(QPointF(7, 41), QPointF(22, 41.5));
  eye(p, QPointF(35, 31), 3.2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawEllipse(QPointF(44, 26), 5, 3);
}

void pig(QPainter& p) {
  p.scale(79.0 / 104.0, 79.0 / 104.0);
  groundShadow(p, QPointF(56, 94), 40, 6);
  const QColor line(170, 72, 96);
  QBrush pink(radial(QPointF(50, 50), 56,
                     {{0.0, QColor(255, 214, 222)},
                      {0.7, QColor(248, 164, 182)},
                      {1.0, QColor(226, 124, 150)}},
                     QPointF(44, 40)));
  p.setPen(outline(line, 2));
  p.setBrush(pink);
  // Legs behind the body.
  for (double x : {34.0, 48.0, 68.0, 82.0}) {
    p.setBrush(x == 48.0 || x == 82.0 ? QBrush(QColor(224, 130, 152)) : pink);
    p.drawRoundedRect(QRectF(x - 5.5, 68, 11, 24), 4, 4);
  }
  p.setBrush(QColor(150, 70, 90));
  for (double x : {34.0, 48.0, 68.0, 82.0})
    p.drawRect(QRectF(x - 5.5, 88, 11, 4));
  // Curly tail.
  p.setBrush(Qt::NoBrush);
  p.setPen(outline(line, 2.6));
  QPainterPath tail(QPointF(92, 50));
  tail.cubicTo(100, 46, 102, 38, 96, 38);
  tail.cubicTo(90, 38, 92, 46, 98, 44);
  p.drawPath(tail);
  p.setPen(outline(line, 2));
  p.setBrush(pink);
  p.drawEllipse(QPointF(60, 56), 34, 24);
  // Head with ears and snout.
  QPainterPath ear;
  ear.moveTo(22, 32);
  ear.lineTo(26, 14);
  ear.lineTo(38, 28);
  ear.closeSubpath();
  p.setBrush(QColor(240, 140, 164));
  p.drawPath(ear);
  p.setBrush(pink);
  p.drawEllipse(QPointF(28, 48), 19, 18);
  QPainterPath ear2;
  ear2.moveTo(30, 33);
  ear2.lineTo(38, 18);
  ear2.lineTo(44, 36);
  ear2.closeSubpath();
  p.setBrush(QColor(252, 176, 194));
  p.drawPath(ear2);
  p.setBrush(QColor(246, 150, 172));
  p.drawEllipse(QPointF(12, 54), 8, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(150, 60, 84));
  p.drawEllipse(QPointF(10, 50.5), 1.8, 2.6);
  p.drawEllipse(QPointF(10.5, 58), 1.8, 2.6);
  eye(p, QPointF(26, 42), 2.8);
  p.setPen(outline(line, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(16, 56, 14, 8), 200 * 16, 120 * 16);
}

// ---- food
// -------------------------------------------------------------------------

void apple(QPainter& p) {
  groundShadow(p, QPointF(52, 94), 34, 5);
  QPainterPath body;
  body.moveTo(52, 28);
  body.cubicTo(64, 18, 92, 22, 92, 50);
  body.cubicTo(92, 74, 76, 94, 62, 92);
  body.cubicTo(56, 91, 54, 89, 52, 89);
  body.cubicTo(50, 89, 48, 91, 42, 92);
  body.cubicTo(28, 94, 12, 74, 12, 50);
  body.cubicTo(12, 22, 40, 18, 52, 28);
  body.closeSubpath();
  p.setPen(outline(QColor(110, 8, 8), 1.8));
  p.setBrush(radial(QPointF(52, 58), 48,
                    {{0.0, QColor(255, 110, 90)},
                     {0.45, QColor(226, 30, 30)},
                     {1.0, QColor(130, 8, 10)}},
                    QPointF(38, 44)));
  p.drawPath(body);
  // Stem and leaf.
  p.setPen(outline(QColor(80, 46, 16), 4));
  p.setBrush(Qt::NoBrush);
  QPainterPath stem(QPointF(52, 31));
  stem.cubicTo(52, 22, 54, 14, 58, 8);
  p.drawPath(stem);
  QPainterPath leaf;
  leaf.moveTo(56, 18);
  leaf.cubicTo(62, 4, 80, 4, 86, 10);
  leaf.cubicTo(78, 22, 64, 24, 56, 18);
  leaf.closeSubpath();
  p.setPen(outline(QColor(30, 100, 20), 1.5));
  p.setBrush(linear(QPointF(56, 18), QPointF(86, 8),
                    {{0.0, QColor(60, 150, 30)}, {1.0, QColor(140, 210, 60)}}));
  p.drawPath(leaf);
  p.drawLine(QPointF(58, 17), QPointF(80, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));
  p.save();
  p.translate(30, 44);
  p.rotate(-30);
  p.drawEllipse(QPointF(0, 0), 5, 10);
  p.restore();
}

void bananas(QPainter& p) {
  groundShadow(p, QPointF(54, 92), 38, 5);
  p.translate(8, 14);
  p.scale(0.8, 0.8);
  const QPointF stem(24, 20);
  auto banana = [&](double angle, double shade) {
    p.save();
    p.translate(stem);
    p.rotate(angle);
    QPainterPath b;
    b.moveTo(0, 0);
    b.cubicTo(8, 44, 40, 70, 78, 62);
    b.cubicTo(80, 60, 80, 57, 77, 56);
    b.cubicTo(44, 58, 20, 36, 10, -2);
    b.closeSubpath();
    p.setPen(outline(QColor(140, 96, 0), 1.5));
    p.setBrush(linear(QPointF(0, 60), QPointF(30, 20),
                      {{0.0, scaled(QColor(240, 184, 20), shade)},
                       {0.6, scaled(QColor(255, 226, 70), shade)},
                       {1.0, scaled(QColor(255, 240, 140), shade)}}));
    p.drawPath(b);
    p.setPen(outline(QColor(196, 150, 20), 1));
    QPainterPath ridge(QPointF(5, 4));
    ridge.cubicTo(14, 40, 40, 60, 76, 59);
    p.setBrush(Qt::NoBrush);
    p.drawPath(ridge);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 44, 14));
    p.drawEllipse(QPointF(78.5, 59), 2.6, 3);
    p.restore();
  };
  banana(-10, 0.86);
  banana(4, 0.93);
  banana(18, 1.0);
  // The crown where the fingers join.
  p.setPen(outline(QColor(60, 40, 10), 1.2));
  p.setBrush(QColor(120, 150, 40));
  QPainterPath crown;
  crown.moveTo(stem + QPointF(-6, 2));
  crown.lineTo(stem + QPointF(-2, -14));
  crown.lineTo(stem + QPointF(8, -12));
  crown.lineTo(stem + QPointF(10, 4));
  crown.closeSubpath();
  p.drawPath(crown);
  p.setBrush(QColor(80, 56, 20));
  p.drawRect(QRectF(stem.x() - 4, stem.y() - 18, 10, 5));
}

// ---- tools
// --------------------------------------------------------------------------

QBrush steel(QPointF a, QPointF b) {
  return linear(a, b,
                {{0.0, QColor(246, 248, 252)},
                 {0.45, QColor(196, 204, 214)},
                 {0.55, QColor(160, 170, 182)},
                 {1.0, QColor(110, 120, 134)}});
}

QBrush wood(QPointF a, QPointF b) {
  return linear(a, b,
                {{0.0, QColor(222, 150, 80)},
                 {0.5, QColor(190, 110, 46)},
                 {1.0, QColor(130, 70, 24)}});
}

void saw(QPainter& p) {
  groundShadow(p, QPointF(52, 92), 44, 5);
  p.translate(52, 54);
  p.rotate(-24);
  // The blade, toothed along its lower edge.
  QPainterPath blade;
  blade.moveTo(-48, -2);
  blade.lineTo(18, -14);
  blade.lineTo(18, 12);
  for (double x = 18; x > -46; x -= 4.2) {
    blade.lineTo(x - 2.1, 15.5);
    blade.lineTo(x - 4.2, 12);
  }
  blade.lineTo(-48, 6);
  blade.closeSubpath();
  p.setPen(outline(QColor(70, 78, 90), 1.2));
  p.setBrush(steel(QPointF(0, -14), QPointF(0, 15)));
  p.drawPath(blade);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 140));
  p.drawPolygon(QPolygonF(
      {QPointF(-44, -1), QPointF(14, -11), QPointF(14, -8), QPointF(-44, 1)}));
  // The handle: a closed grip with a hole for the fingers.
  QPainterPath handle;
  handle.moveTo(14, -18);
  handle.cubicTo(28, -24, 46, -20, 50, -8);
  handle.cubicTo(54, 6, 50, 18, 44, 24);
  handle.lineTo(34, 24);
  handle.cubicTo(28, 18, 22, 16, 14, 16);
  handle.closeSubpath();
  QPainterPath hole;
  hole.addRoundedRect(QRectF(25, -9, 16, 22), 7, 7);
  p.setPen(outline(QColor(80, 40, 10), 1.6));
  p.setBrush(wood(QPointF(14, -20), QPointF(50, 24)));
  p.drawPath(handle.subtracted(hole));
  p.setBrush(QColor(220, 200, 120));
  p.setPen(outline(QColor(90, 70, 20), 1));
  p.drawEllipse(QPointF(19, -6), 2.2, 2.2);
  p.drawEllipse(QPointF(19, 6), 2.2, 2.2);
}

void hammer(QPainter& p) {
  groundShadow(p, QPointF(52, 94), 40, 5);
  p.translate(54, 58);
  p.rotate(36);
  p.scale(0.86, 0.86);
  // Handle, running up into the head.
  QRectF shaft(-5.5, -48, 11, 92);
  p.setPen(outline(QColor(90, 44, 12), 1.5));
  p.setBrush(wood(shaft.topLeft(), shaft.topRight()));
  p.drawRoundedRect(shaft, 4.5, 4.5);
  QRectF grip(-6.5, 14, 13, 30);
  p.setBrush(linear(grip.topLeft(), grip.topRight(),
                    {{0.0, QColor(70, 70, 80)}, {1.0, QColor(20, 20, 26)}}));
  p.drawRoundedRect(grip, 5, 5);
  p.setPen(QPen(QColor(90, 90, 100), 1));
  for (double y = 19; y < 42; y += 4) p.drawLine(QPointF(-5, y), QPointF(5, y));
  // Head: the striking face on one side, the curved claw on the other.
  QPainterPath head;
  head.moveTo(-22, -50);
  head.lineTo(-12, -52);
  head.lineTo(10, -52);
  head.cubicTo(20, -52, 30, -46, 36, -34);
  head.cubicTo(28, -38, 20, -38, 10, -34);
  head.lineTo(-12, -34);
  head.lineTo(-22, -36);
  head.closeSubpath();
  p.setPen(outline(QColor(50, 56, 66), 1.5));
  p.setBrush(steel(QPointF(0, -52), QPointF(0, -34)));
  p.drawPath(head);
  QRectF face(-34, -56, 13, 26);
  p.setBrush(steel(face.topLeft(), face.bottomLeft()));
  p.drawRoundedRect(face, 3, 3);
  p.setPen(outline(QColor(70, 76, 88), 1.2));
  p.drawLine(QPointF(-12, -51), QPointF(-12, -35));
  p.drawLine(QPointF(12, -44), QPointF(28, -40));
}

void wrench(QPainter& p) {
  groundShadow(p, QPointF(52, 94), 40, 5);
  p.translate(52, 52);
  p.rotate(-42);
  QPainterPath shape;
  shape.addRoundedRect(QRectF(-34, -6, 68, 12), 5, 5);
  shape.addEllipse(QPointF(-38, 0), 14, 14);
  shape.addEllipse(QPointF(38, 0), 15, 15);
  shape = shape.simplified();
  // Open jaw at one end, a twelve-point ring at the other.
  QPainterPath jaw;
  jaw.addRect(QRectF(36, -7.5, 22, 15));
  QPainterPath ring;
  QPolygonF star;
  for (int k = 0; k < 12; ++k) {
    double a = qDegreesToRadians(k * 30.0);
    double r = k % 2 == 0 ? 8.5 : 7.2;
    star << QPointF(-38 + r * std::cos(a), r * std::sin(a));
  }
  ring.addPolygon(star);
  ring.closeSubpath();
  shape = shape.subtracted(jaw).subtracted(ring);
  p.setPen(outline(QColor(60, 66, 78), 1.5));
  p.setBrush(steel(QPointF(0, -15), QPointF(0, 15)));
  p.drawPath(shape);
  p.setPen(outline(QColor(110, 118, 130), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(-20, -2.5, 40, 5), 2.5, 2.5);
}

// ---- vehicles
// ---------------------------------------------------------------------

void wheel(QPainter& p, QPointF c, double r, bool spokes = false) {
  p.setPen(outline(QColor(10, 10, 12), 1.2));
  p.setBrush(QColor(34, 34, 38));
  p.drawEllipse(c, r, r);
  p.setBrush(steel(c - QPointF(0, r * 0.6), c + QPointF(0, r * 0.6)));
  double hub = spokes ? r * 0.82 : r * 0.55;
  p.drawEllipse(c, hub, hub);
  if (spokes) {
    p.setPen(QPen(QColor(120, 124, 132), 1));
    for (int k = 0; k < 12; ++k) {
      double a = qDegreesToRadians(k * 30.0);
      p.drawLine(c, c + QPointF(std::cos(a), std::sin(a)) * hub);
    }
    p.setPen(outline(QColor(10, 10, 12), 1));
  }
  p.setBrush(QColor(90, 94, 102));
  p.drawEllipse(c, r * 0.18, r * 0.18);
}

void car(QPainter& p) {
  groundShadow(p, QPointF(52, 86), 48, 5);
  const QColor line(100, 10, 10);
  QPainterPath body;
  body.moveTo(6, 72);
  body.lineTo(5, 58);
  body.cubicTo(6, 52, 12, 50, 26, 48);
  body.lineTo(34, 34);
  body.cubicTo(36, 31, 40, 30, 46, 30);
  body.lineTo(66, 30);
  body.cubicTo(70, 30, 74, 32, 78, 36);
  body.lineTo(88, 48);
  body.cubicTo(96, 50, 100, 54, 99, 60);
  body.lineTo(98, 72);
  body.closeSubpath();
  p.setPen(outline(line, 1.6));
  p.setBrush(linear(QPointF(0, 30), QPointF(0, 74),
                    {{0.0, QColor(255, 110, 100)},
                     {0.45, QColor(220, 30, 30)},
                     {1.0, QColor(140, 10, 14)}}));
  p.drawPath(body);
  // Windows with the door pillar between them.
  QPainterPath glass;
  glass.moveTo(30, 48);
  glass.lineTo(37, 35);
  glass.lineTo(54, 35);
  glass.lineTo(54, 48);
  glass.closeSubpath();
  glass.moveTo(58, 48);
  glass.lineTo(58, 35);
  glass.lineTo(67, 35);
  glass.cubicTo(70, 35, 72, 37, 74, 39);
  glass.lineTo(82, 48);
  glass.closeSubpath();
  p.setPen(outline(QColor(40, 40, 60), 1.2));
  p.setBrush(
      linear(QPointF(0, 35), QPointF(0, 48),
             {{0.0, QColor(210, 236, 255)}, {1.0, QColor(120, 170, 220)}}));
  p.drawPath(glass);
  p.setPen(outline(line, 1.1));
  p.drawLine(QPointF(56, 50), QPointF(56, 70));
  p.drawLine(QPointF(30, 50), QPointF(31, 70));
  p.setPen(outline(QColor(60, 60, 60), 1.6));
  p.drawLine(QPointF(44, 54), QPointF(49, 54));
  p.drawLine(QPointF(62, 54), QPointF(67, 54));
  p.setPen(outline(QColor(120, 90, 0), 1));
  p.setBrush(QColor(255, 236, 120));
  p.drawRoundedRect(QRectF(92, 54, 6, 5), 2, 2);
  p.setBrush(QColor(255, 60, 40));
  p.drawRoundedRect(QRectF(5.5, 55, 4, 6), 1.5, 1.5);
  p.setBrush(QColor(60, 60, 66));
  p.drawRoundedRect(QRectF(3, 68, 12, 5), 2, 2);
  p.drawRoundedRect(QRectF(90, 68, 11, 5), 2, 2);
  wheel(p, QPointF(26, 73), 11);
  wheel(p, QPointF(78, 73), 11);
}

void forklift(QPainter& p) {
  groundShadow(p, QPointF(54, 96), 48, 5);
  const QColor line(110, 70, 0);
  // Mast and forks at the front.
  p.setPen(outline(QColor(30, 30, 34), 1.2));
  p.setBrush(linear(QPointF(70, 0), QPointF(78, 0),
                    {{0.0, QColor(120, 124, 132)}, {1.0, QColor(50, 52, 58)}}));
  p.drawRect(QRectF(70, 10, 7, 80));
  p.setBrush(QColor(60, 62, 70));
  p.drawRect(QRectF(77, 44, 4, 44));
  p.drawRect(QRectF(77, 86, 24, 4));
  // A crate on the forks.
  QRectF crate(81, 60, 20, 26);
  p.setPen(outline(QColor(90, 50, 14), 1.2));
  p.setBrush(wood(crate.topLeft(), crate.bottomRight()));
  p.drawRect(crate);
  p.drawLine(crate.topLeft(), crate.bottomRight());
  p.drawLine(QPointF(crate.left(), crate.center().y()),
             QPointF(crate.right(), crate.center().y()));
  // Body with its counterweight at the back.
  QPainterPath body;
  body.moveTo(8, 88);
  body.lineTo(8, 62);
  body.cubicTo(8, 56, 12, 54, 18, 54);
  body.lineTo(50, 54);
  body.lineTo(58, 66);
  body.lineTo(70, 66);
  body.lineTo(70, 88);
  body.closeSubpath();
  p.setPen(outline(line, 1.6));
  p.setBrush(linear(QPointF(0, 54), QPointF(0, 88),
                    {{0.0, QColor(255, 214, 80)},
                     {0.5, QColor(246, 176, 20)},
                     {1.0, QColor(196, 126, 0)}}));
  p.drawPath(body);
  p.setBrush(QColor(60, 60, 66));
  p.drawRoundedRect(QRectF(6, 62, 8, 24), 2, 2);
  // Seat, wheel and the overhead guard.
  p.setPen(outline(QColor(20, 20, 24), 1.2));
  p.setBrush(QColor(40, 40, 46));
  p.drawRoundedRect(QRectF(26, 44, 14, 10), 3, 3);
  p.drawRoundedRect(QRectF(24, 30, 6, 18), 3, 3);
  p.setPen(outline(QColor(20, 20, 24), 2.4));
  p.drawLine(QPointF(56, 56), QPointF(50, 42));
  p.drawLine(QPointF(46, 42), QPointF(54, 42));
  p.setPen(outline(QColor(30, 30, 34), 3));
  p.drawLine(QPointF(20, 54), QPointF(20, 18));
  p.drawLine(QPointF(64, 66), QPointF(62, 18));
  p.drawLine(QPointF(16, 18), QPointF(66, 18));
  wheel(p, QPointF(56, 88), 11);
  wheel(p, QPointF(22, 90), 9);
}

void tricycle(QPainter& p) {
  groundShadow(p, QPointF(52, 96), 46, 5);
  const QColor frame(210, 30, 40);
  // The far rear wheel, a step behind the near one.
  p.setOpacity(0.55);
  wheel(p, QPointF(30, 80), 12, true);
  p.setOpacity(1.0);
  // Frame: from the rear axle up to the steering head.
  p.setBrush(Qt::NoBrush);
  p.setPen(outline(QColor(100, 10, 16), 6.5));
  QPainterPath tube(QPointF(22, 82));
  tube.lineTo(36, 82);
  tube.cubicTo(48, 80, 56, 60, 62, 36);
  p.drawPath(tube);
  p.drawLine(QPointF(40, 82), QPointF(40, 52));
  p.setPen(outline(frame, 4.5));
  p.drawPath(tube);
  p.drawLine(QPointF(40, 82), QPointF(40, 52));
  wheel(p, QPointF(20, 82), 12, true);
  wheel(p, QPointF(70, 70), 24, true);
  // Fork, handlebar and grips.
  p.setPen(outline(QColor(100, 10, 16), 5.5));
  p.drawLine(QPointF(70, 70), QPointF(62, 32));
  p.setPen(outline(frame, 3.5));
  p.drawLine(QPointF(70, 70), QPointF(62, 32));
  p.setPen(outline(QColor(120, 124, 132), 3));
  p.drawLine(QPointF(62, 32), QPointF(58, 22));
  p.drawLine(QPointF(50, 22), QPointF(64, 20));
  p.setPen(outline(QColor(30, 30, 34), 4.5));
  p.drawLine(QPointF(47, 22.5), QPointF(52, 22));
  // Seat.
  p.setPen(outline(QColor(20, 20, 24), 1.2));
  p.setBrush(QColor(40, 40, 46));
  QPainterPath seat;
  seat.moveTo(30, 50);
  seat.cubicTo(34, 44, 46, 44, 50, 48);
  seat.cubicTo(46, 54, 36, 54, 30, 50);
  seat.closeSubpath();
  p.drawPath(seat);
  // Pedals on the front hub.
  p.setPen(outline(QColor(40, 40, 46), 2.5));
  p.drawLine(QPointF(70, 70), QPointF(64, 80));
  p.drawLine(QPointF(70, 70), QPointF(76, 60));
  p.setBrush(QColor(60, 60, 66));
  p.setPen(outline(QColor(20, 20, 24), 1));
  p.drawRect(QRectF(59, 79, 9, 3.5));
  p.drawRect(QRectF(72, 58, 9, 3.5));
}

void truck(QPainter& p) {
  groundShadow(p, QPointF(52, 90), 50, 5);
  // Trailer box.
  QRectF box(4, 22, 62, 52);
  p.setPen(outline(QColor(70, 76, 90), 1.6));
  p.setBrush(
      linear(box.topLeft(), box.bottomLeft(),
             {{0.0, QColor(250, 250, 252)}, {1.0, QColor(196, 202, 212)}}));
  p.drawRect(box);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 110, 220));
  p.drawRect(QRectF(5, 52, 60, 7));
  p.setPen(QPen(QColor(170, 176, 188), 1));
  for (double x = 16; x < 66; x += 12)
    p.drawLine(QPointF(x, 24), QPointF(x, 50));
  // Cab.
  QPainterPath cab;
  cab.moveTo(68, 76);
  cab.lineTo(68, 34);
  cab.cubicTo(68, 31, 70, 30, 73, 30);
  cab.lineTo(86, 30);
  cab.cubicTo(90, 30, 92, 32, 94, 36);
  cab.lineTo(99, 50);
  cab.lineTo(100, 76);
  cab.closeSubpath();
  p.setPen(outline(QColor(20, 50, 110), 1.6));
  p.setBrush(linear(QPointF(0, 30), QPointF(0, 76),
                    {{0.0, QColor(110, 170, 255)},
                     {0.5, QColor(40, 110, 220)},
                     {1.0, QColor(20, 60, 150)}}));
  p.drawPath(cab);
  QPainterPath window;
  window.moveTo(82, 35);
  window.lineTo(89, 35);
  window.cubicTo(90.5, 35, 91.5, 36, 92, 37.5);
  window.lineTo(96, 49);
  window.lineTo(82, 49);
  window.closeSubpath();
  p.setPen(outline(QColor(30, 40, 70), 1.1));
  p.setBrush(
      linear(QPointF(0, 35), QPointF(0, 49),
             {{0.0, QColor(214, 238, 255)}, {1.0, QColor(120, 170, 220)}}));
  p.drawPath(window);
  p.setPen(outline(QColor(20, 50, 110), 1));
  p.drawLine(QPointF(79, 38), QPointF(79, 72));
  p.setBrush(QColor(255, 236, 120));
  p.drawRect(QRectF(96, 60, 4, 5));
  // Chassis, bumper and wheels.
  p.setPen(outline(QColor(20, 20, 24), 1));
  p.setBrush(QColor(50, 52, 58));
  p.drawRect(QRectF(4, 74, 97, 5));
  wheel(p, QPointF(18, 80), 9);
  wheel(p, QPointF(38, 80), 9);
  wheel(p, QPointF(86, 80), 9);
}

}  // namespace

QImage drawItem(int number) {
  using Painting = void (*)(QPainter&);
  static constexpr Painting items[itemPictureCount] = {
      duck,   pig, apple,    bananas,  saw,  hammer,
      wrench, car, forklift, tricycle, truck};
  if (number < 0 || number >= itemPictureCount) return QImage();
  int side = number == 1 ? 79 : 104;
  QImage picture = canvas(side, side, white);
  QPainter p(&picture);
  prepare(p);
  items[number](p);
  return picture;
}

}  // namespace gen
