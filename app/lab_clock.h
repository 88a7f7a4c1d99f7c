// The laboratory clock: the milliseconds since the target was shown, drawn
// in the panel while the user finds it and selects it.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "app/canvas.h"
#include "app/screen_drawing.h"

class QWidget;

// Shows `area` of the canvas, the picture of `view`, beneath the menus too:
// an overlay that shows a picture of the screen hides the view during a
// selection, and this goes into that picture.
void presentBeneathMenus(Canvas& canvas, const QWidget& view, QRect area);

class LabClock : public QObject {
 public:
  // Draws through `screens` into `canvas`, the picture of `view`.
  LabClock(ScreenDrawing& screens, Canvas& canvas, QWidget& view);

  // Starts counting from now and redrawing every 20 ms, unless it already
  // does.
  void start();
  // Stops the redrawing; the figure stays as it was last drawn.
  void stop();
  bool ticking() const { return timer_.isActive(); }
  uint32_t startTick() const { return startTick_; }
  // Draws the time since the start when it has changed. During a selection
  // it also goes beneath the menus, where the overlay hides the view.
  void refresh();

 private:
  ScreenDrawing& screens_;
  Canvas& canvas_;
  QWidget& view_;
  QTimer timer_;
  uint32_t startTick_ = 0;
  int lastValue_ = -1;
  uint32_t lastPush_ = 0;
};
