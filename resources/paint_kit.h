// Shared means of the picture generator: canvases, colours, fonts, and the
// Tarvel emblem that the title, the logo, the buttons and the results share.
#pragma once

#include <QColor>
#include <QFont>
#include <QGradient>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace gen {

inline const QColor black(0, 0, 0);
inline const QColor white(255, 255, 255);

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

// An opaque picture filled with its ground colour.
QImage canvas(int width, int height, QColor ground);

// A painter on the picture with antialiasing and smooth scaling on.
void prepare(QPainter& painter);

QColor blend(QColor a, QColor b, double t);  // t = 0 gives a, 1 gives b
QColor scaled(QColor c, double factor);      // each channel times factor

// Liberation Sans and Serif at a pixel size, so that text takes the same
// room whatever the screen's resolution.
QFont sans(double pixelSize, int weight = QFont::Normal, bool italic = false);
QFont serif(double pixelSize, int weight = QFont::Normal, bool italic = false);

using Stops = std::initializer_list<std::pair<double, QColor>>;
QLinearGradient linear(QPointF from, QPointF to, Stops stops);
QRadialGradient radial(QPointF centre, double radius, Stops stops,
                       QPointF focus);

// Every pixel of the picture times factor: the logo's fade steps.
void dim(QImage& picture, double factor);

// The Tarvel emblem, a round eight-way menu crossed by a zig-zag mark that
// starts at a press dot and ends in an arrow.
void drawEmblem(QPainter& painter, QPointF centre, double radius);

// Text drawn with its baseline centred at the point, in a gradient fill with
// a soft shadow under it.
void drawTitleText(QPainter& painter, const QString& text, const QFont& font,
                   QPointF baselineCentre, const QBrush& fill, QColor shadow,
                   double letterSpacing);

}  // namespace gen
