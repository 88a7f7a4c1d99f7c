// For the trainer's own window: frames shown the moment they are drawn,
// even in the middle of a paint, and the input that queued up while the
// application was not reading events.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>

namespace platform {

// Puts `area` of `picture` at `area` moved by `offset` in the window with
// the native id `window`, at once. Does nothing without an X display.
void showOnWindow(uintptr_t window, const QImage& picture, QRect area,
                  QPoint offset);

// Returns once every input event that happened until now has reached the
// application's queue (one round trip to the X server).
void waitForQueuedInput();

}  // namespace platform
