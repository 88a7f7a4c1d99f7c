// For the trainer's own window on X: the display it needs, frames shown the
// moment they are drawn, even in the middle of an animation, and the input
// that queued up while the application was not reading events.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>

#include "platform/desktop/x11_image.h"

// Frames for one window, pushed over Qt's own X connection. It keeps server
// resources on that connection between frames and frees them when it goes,
// so it must go before the application and its connection do: make it a
// member of the widget it draws for.
class WindowPicture {
 public:
  // Puts `area` of `picture` at `area` moved by `offset` in the window with
  // the native id `window`, at once. Does nothing without an X display.
  void show(uintptr_t window, const QImage& picture, QRect area, QPoint offset);

 private:
  tarvel::platform::X11ImagePusher pusher_;
  xcb_connection_t* connection_ = nullptr;  // the one pusher_ is attached to
};

// True when an X display can be reached, whose connection is then held
// until releaseDisplay(): an X server whose last client leaves starts over,
// and would refuse the application's own connection for that moment.
bool holdDisplay();
void releaseDisplay();

// Input made while the application held the program (a selection, an
// animation) reaches the window only afterwards: takes in every event made
// until now, with `dropping` set meanwhile, so that the handlers drop them
// rather than read them as new input.
void dropQueuedInput(bool& dropping);
