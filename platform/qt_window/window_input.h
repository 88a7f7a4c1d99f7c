// SPDX-License-Identifier: MIT
// The pointer and keys of one top-level Qt window, from the events Qt
// delivers to it: mouse, tablet and touch alike (a pen or a finger is a
// pointer with its button down while it touches), and Escape. Watches every
// event of the application before its widgets see it, and while capturing
// consumes the window's pointer, key and context-menu events, so that the
// window's widgets see nothing of a selection.
//
// Positions are in device pixels, both in the window (its top-left corner
// is 0, 0) and in Qt's global coordinates scaled by the screen's ratio, as
// the desktop platform gives them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/platform.h"

namespace tarvel::platform {

struct PointerEvent {
  enum Kind {
    Press,    // a button, pen or finger went down
    Move,     // the pointer moved (a button held or not)
    Release,  // the button that pressed, or the pen or finger, came up
    Escape,   // Escape went down
    Gone,     // the window was closed, hidden or destroyed
    Resized,  // the window's size changed
  };
  Kind kind;
  int x, y;              // in the window, device pixels
  int globalX, globalY;  // Qt's global position, device pixels
};

class TARVEL_API WindowInput : public QObject {
 public:
  // Watches `window`'s top-level window. NULL, or a widget not yet in a
  // window, watches nothing: the state stays all up and nothing is told.
  explicit WindowInput(QWidget* window);
  ~WindowInput() override;

  QWidget* window() const;
  // The pointer as last seen over or grabbed by the window, in window
  // device pixels, and whether a button, pen or finger is down.
  InputState state() const;
  // The window's size in device pixels.
  int width() const;
  int height() const;
  double devicePixelRatio() const;
  // A global point, as Qt's events give it in logical pixels, in window
  // device pixels.
  IntPoint fromGlobal(QPointF global) const;

  // Every change is told to `listener` (one at a time; an empty one stops
  // telling). While capturing, the window's mouse, tablet, touch, key,
  // wheel and context-menu events are consumed; after capturing ends, the
  // context-menu event Qt makes of the release that ended it is consumed
  // too.
  void setListener(std::function<void(const PointerEvent&)> listener);
  void setCapturing(bool capturing);
  bool capturing() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct State;
  State* d_;
};

}  // namespace tarvel::platform
