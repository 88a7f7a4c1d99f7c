// The view's picture. The trainer draws every screen here and pushes each
// frame to the window as it is drawn, so that an animation made inside one
// paint shows frame by frame and earlier frames stay until painted over.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <functional>

class Canvas {
 public:
  // Puts `area` of the picture on the screen at once.
  using Presenter = std::function<void(const QImage& picture, QRect area)>;

  void setPresenter(Presenter presenter);
  void resize(QSize size);
  const QImage& image();
  QSize size() const { return image_.size(); }

  void fill(const QColor& colour);
  void fillRect(const QRect& area, const QColor& colour);
  // The whole bitmap scaled into `to`, rows and columns dropped or repeated
  // rather than blended.
  void stretch(const QImage& bitmap, const QRect& to);
  void place(const QImage& bitmap, QPoint at);
  void roundedBox(const QRect& box, const QColor& border, const QColor& fill,
                  int corner, int borderWidth);
  // Text in Arial at `points` (96 dots an inch) with its top-left corner
  // at `at`, on a transparent ground; returns the area it covers.
  QRect text(QPoint at, int points, const QColor& colour, const QString& s);
  // The area that text() of the same arguments may change: the area it
  // covers and a margin for antialiased and overhanging edges.
  static QRect textArea(QPoint at, int points, const QString& s);
  // Text centred in `box`, at `points` or smaller so that it fits its
  // width, and cut short with an ellipsis when even 8 points is too wide.
  void fittedText(const QRect& box, int points, const QColor& colour,
                  const QString& s);
  // The same on an opaque ground, so that it overwrites what was there.
  QRect opaqueText(QPoint at, int points, const QColor& colour,
                   const QColor& ground, const QString& s);
  void disc(QPoint centre, int radius, const QColor& colour);

  // Pushes what changed since the last push.
  void present();
  // Pushes when a display frame (about 16 ms) has passed since the last
  // push: for loops that draw faster than the screen refreshes.
  void presentAtDisplayRate();
  // Pushes, then waits `ms` milliseconds.
  void pause(uint32_t ms);
  // Pushes, then waits until the tick count has reached `tick` (not at all
  // when it already has): frames paced by the clock, not by the machine.
  void pauseUntil(uint32_t tick);
  // Finishes drawing so the picture can be read.
  void settle();

 private:
  QPainter& painter();
  void touch(const QRect& area);

  QImage image_;
  QPainter painter_;
  QRect dirty_;
  Presenter presenter_;
  uint32_t lastPresentTick_ = 0;
};

// Arial (Liberation Sans where Arial itself is missing) at a point size.
QFont arialFont(int points);
