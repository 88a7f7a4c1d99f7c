// Pictures put onto an X window over Qt's own connection, at once and
// without dispatching an event: the overlay's flushes and the trainer's
// animation frames both go this way.
#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace tarvel::platform {

class X11ImagePusher {
 public:
  X11ImagePusher() = default;
  ~X11ImagePusher();
  X11ImagePusher(const X11ImagePusher&) = delete;
  X11ImagePusher& operator=(const X11ImagePusher&) = delete;

  // False, and nothing is pushed later, when the window's pixels are not
  // laid out as a QImage's RGB32 or ARGB32 ones (32 bits, red, green and
  // blue in the low three bytes, host byte order). A depth-32 window takes
  // the top byte as alpha, premultiplied as the compositor expects.
  bool attach(xcb_connection_t* connection, xcb_window_t window);
  void detach();
  bool attached() const { return gc_ != 0; }
  xcb_window_t window() const { return window_; }
  // Puts `area` of the picture at `to` in the window, in bands under the
  // server's largest request, and flushes.
  void push(const QImage& picture, QRect area, QPoint to);

 private:
  bool pixelsMatch();

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t window_ = 0;
  xcb_gcontext_t gc_ = 0;
  uint8_t depth_ = 0;
  size_t maxRequestBytes_ = 0;
  // Rows of a rectangle narrower than the picture, made contiguous.
  std::vector<uint32_t> band_;
};

// Whether the window's pixels are laid out as a QImage's RGB32 or ARGB32
// ones; its depth in `depth` when given.
bool rgb32Pixels(xcb_connection_t* connection, xcb_window_t window,
                 uint8_t* depth);

// The root window's pixels in `area` (device pixels) as an RGB32 picture,
// read through memory shared with the server: no copy of them crosses the
// connection, which for a whole screen takes longer than the rest of
// putting the overlay up. A null image when the server has no shared memory
// for this client (a remote display), the area does not fit its requests or
// its pixels are laid out otherwise; the caller then asks the usual way.
QImage grabRootShared(xcb_connection_t* connection, QRect area);

}  // namespace tarvel::platform
