#include "platform/desktop/x11_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

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
  return rgb32Pixels(connection_, window_, &depth_);
}

bool rgb32Pixels(xcb_connection_t* connection, xcb_window_t window,
                 uint8_t* depth) {
  xcb_get_geometry_cookie_t geometryAsked =
      xcb_get_geometry(connection, window);
  xcb_get_window_attributes_cookie_t attributesAsked =
      xcb_get_window_attributes(connection, window);
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection, geometryAsked, nullptr);
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(connection, attributesAsked, nullptr);
  bool match = false;
  if (geometry && attributes) {
    if (depth) *depth = geometry->depth;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    bool hostLsbFirst = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    bool serverLsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    bool fourBytes = false;
    for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup);
         f.rem; xcb_format_next(&f))
      if (f.data->depth == geometry->depth)
        fourBytes = f.data->bits_per_pixel == 32;
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

namespace {

void detachShared(void* pixels) { shmdt(pixels); }

}  // namespace

QImage grabRootShared(xcb_connection_t* connection, QRect area) {
  if (!connection || area.isEmpty() || xcb_connection_has_error(connection))
    return QImage();
  const xcb_query_extension_reply_t* shm =
      xcb_get_extension_data(connection, &xcb_shm_id);
  if (!shm || !shm->present) return QImage();
  xcb_window_t root =
      xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  if (!rgb32Pixels(connection, root, nullptr)) return QImage();
  size_t bytes = size_t(area.width()) * size_t(area.height()) * 4;
  int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return QImage();
  void* pixels = shmat(id, nullptr, 0);
  xcb_shm_seg_t segment = xcb_generate_id(connection);
  xcb_generic_error_t* refused = nullptr;
  if (pixels != reinterpret_cast<void*>(-1))
    refused = xcb_request_check(
        connection,
        xcb_shm_attach_checked(connection, segment, uint32_t(id), 0));
  // Marked for removal at once: it goes when both sides have let go, however
  // the program ends.
  shmctl(id, IPC_RMID, nullptr);
  if (pixels == reinterpret_cast<void*>(-1)) return QImage();
  if (refused) {
    std::free(refused);
    shmdt(pixels);
    return QImage();
  }
  xcb_shm_get_image_reply_t* got = xcb_shm_get_image_reply(
      connection,
      xcb_shm_get_image(connection, root, int16_t(area.x()), int16_t(area.y()),
                        uint16_t(area.width()), uint16_t(area.height()), ~0u,
                        XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
      nullptr);
  xcb_shm_detach(connection, segment);
  if (!got) {
    shmdt(pixels);
    return QImage();
  }
  std::free(got);
  return QImage(static_cast<uchar*>(pixels), area.width(), area.height(),
                qsizetype(area.width()) * 4, QImage::Format_RGB32, detachShared,
                pixels);
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
