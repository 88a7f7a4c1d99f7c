// The title and main menu: the title picture, the logo's fade, its buttons.
#include "resources/draw_title.h"

#include <QtMath>
#include <cmath>

#include "resources/paint_kit.h"

namespace gen {

namespace {

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

}  // namespace

QImage logoStep(int step) {
  QImage picture = logoArt();
  // Perceived brightness rises slowly near black, so the early steps of the
  // fade-in climb gently and the last ones hurry.
  double factor = std::pow(1.0 - step / 10.0, 1.5);
  if (step > 0) dim(picture, factor);
  return picture;
}

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

}  // namespace gen
