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
//
// Qt hands each event to the window's Qt window and then to the widget it
// is for; both are read, so a change is told once whichever comes, and an
// event is consumed at the widget, once Qt has kept its account of grabs
// and clicks. Mouse events Qt or the system made of a pen or a finger are
// not read again: the pen's and the finger's own events are.
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
  // Watches `window`'s top-level window: the one it is in at each event,
  // so a widget put into a window later is followed there. NULL watches
  // nothing: the state stays all up and nothing is told. When `window`
  // is destroyed (with its window or alone) Gone is told and nothing more
  // is watched.
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

  // Every change is told to `listener` (one at a time: a change made while
  // it runs is told after it returns; an empty one stops telling). The
  // listener may destroy the WindowInput. While capturing, the window's
  // mouse, tablet, touch, key (shortcuts included), wheel, tooltip and
  // context-menu events are consumed. After capturing ends, the rest of
  // the press that was under way (its moves and its release) and the first
  // context-menu event the mouse makes before the next press are consumed
  // too: Qt makes one right after a right press on X11, after the release
  // elsewhere.
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
