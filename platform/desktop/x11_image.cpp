#include "platform/desktop/x11_image.h"

#include <QSysInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tarvel::platform {

X11ImagePusher::~X11ImagePusher() { detach(); }

bool X11ImagePusher::attach(xcb_connection_t* connection, xcb_window_t window) {
  detach();
  if (!connection || !window || xcb_connection_has_error(connection))
    return false;
  connection_ = connection;
  window_ = window;
  if (!pixelsMatch()) {
    window_ = 0;
    return false;
  }
  gc_ = xcb_generate_id(connection_);
  uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, window_, XCB_GC_GRAPHICS_EXPOSURES,
                &noExposures);
  maxRequestBytes_ = size_t(xcb_get_maximum_request_length(connection_)) * 4;
  return true;
}

void X11ImagePusher::detach() {
  if (gc_ && connection_ && !xcb_connection_has_error(connection_))
    xcb_free_gc(connection_, gc_);
  gc_ = 0;
  window_ = 0;
}

bool X11ImagePusher::pixelsMatch() {
  xcb_get_geometry_cookie_t geometryAsked =
      xcb_get_geometry(connection_, window_);
  xcb_get_window_attributes_cookie_t attributesAsked =
      xcb_get_window_attributes(connection_, window_);
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection_, geometryAsked, nullptr);
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(connection_, attributesAsked, nullptr);
  bool match = false;
  if (geometry && attributes) {
    depth_ = geometry->depth;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    bool hostLsbFirst = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    bool serverLsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    bool fourBytes = false;
    for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup);
         f.rem; xcb_format_next(&f))
      if (f.data->depth == depth_) fourBytes = f.data->bits_per_pixel == 32;
    bool xrgb = false;
    for (xcb_screen_iterator_t s = xcb_setup_roots_iterator(setup); s.rem;
         xcb_screen_next(&s))
      for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(s.data);
           d.rem; xcb_depth_next(&d))
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data);
             v.rem; xcb_visualtype_next(&v))
          if (v.data->visual_id == attributes->visual)
            xrgb = v.data->red_mask == 0xFF0000 &&
                   v.data->green_mask == 0xFF00 && v.data->blue_mask == 0xFF;
    match = hostLsbFirst == serverLsbFirst && fourBytes && xrgb;
  }
  std::free(geometry);
  std::free(attributes);
  return match;
}

void X11ImagePusher::push(const QImage& picture, QRect area, QPoint to) {
  QRect r = area.intersected(picture.rect());
  if (r.isEmpty() || !gc_ || xcb_connection_has_error(connection_)) return;
  size_t rowBytes = size_t(r.width()) * 4;
  // Room for the request's header, big-requests length field included.
  size_t room = maxRequestBytes_ > 64 ? maxRequestBytes_ - 64 : 0;
  int bandRows = std::max(1, int(room / rowBytes));
  bool wholeRows = r.width() == picture.width() &&
                   size_t(picture.bytesPerLine()) == rowBytes;
  for (int top = r.top(); top <= r.bottom(); top += bandRows) {
    int rows = std::min(bandRows, r.bottom() + 1 - top);
    const uint8_t* data;
    if (wholeRows) {
      data = picture.constScanLine(top);
    } else {
      band_.resize(size_t(rows) * size_t(r.width()));
      for (int y = 0; y < rows; y++)
        std::memcpy(
            band_.data() + size_t(y) * size_t(r.width()),
            reinterpret_cast<const uint32_t*>(picture.constScanLine(top + y)) +
                r.left(),
            rowBytes);
      data = reinterpret_cast<const uint8_t*>(band_.data());
    }
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                  uint16_t(r.width()), uint16_t(rows),
                  int16_t(r.left() + to.x() - area.left()),
                  int16_t(top + to.y() - area.top()), 0, depth_,
                  uint32_t(rowBytes * size_t(rows)), data);
  }
  xcb_flush(connection_);
}

}  // namespace tarvel::platform
