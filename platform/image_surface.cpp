#include "platform/image_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <sys/mman.h>

namespace tarvel::platform {

namespace {

// Copies this large never come from the heap: taken from there,
// screen-sized copies raise the allocator's threshold for keeping freed
// memory, and the heap then grows at every new peak of copies alive at once
// and never shrinks. They are cut from one screenful of pages mapped and
// faulted in once, so that selections map, fault in and clear no pages and
// memory stays as it was after the first; a copy the screenful has no room
// for gets pages of its own, given back when it is freed.
constexpr size_t ownPagesBytes = 64 * 1024;
constexpr size_t mappingHeader = 64;  // holds an own mapping's length

void unmapPixels(void* mapping) {
  munmap(mapping, *static_cast<size_t*>(mapping));
}

class CopyArena {
 public:
  // Room for `bytes` of a copy of a screen of `screenBytes`, first fit;
  // NULL when there is none. An arena holding no copy is made again for a
  // screen of another size.
  uchar* take(size_t bytes, size_t screenBytes) {
    size_t wanted = pageRounded(screenBytes);
    if (start_ && count_ == 0 && length_ != wanted) {
      munmap(start_, length_);
      start_ = nullptr;
    }
    if (!start_) {
      void* m = mmap(nullptr, wanted, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
      if (m == MAP_FAILED) return nullptr;
      start_ = static_cast<uchar*>(m);
      length_ = wanted;
    }
    if (count_ == capacity) return nullptr;
    bytes = (bytes + alignment - 1) / alignment * alignment;
    size_t from = 0;
    int at = 0;
    for (; at < count_; at++) {
      if (blocks_[at].offset - from >= bytes) break;
      from = blocks_[at].offset + blocks_[at].length;
    }
    if (from > length_ || length_ - from < bytes) return nullptr;
    for (int i = count_; i > at; i--) blocks_[i] = blocks_[i - 1];
    blocks_[at] = Block{from, bytes};
    count_++;
    return start_ + from;
  }

  void give(const void* pixels) {
    auto offset = size_t(static_cast<const uchar*>(pixels) - start_);
    for (int i = 0; i < count_; i++) {
      if (blocks_[i].offset != offset) continue;
      for (int j = i + 1; j < count_; j++) blocks_[j - 1] = blocks_[j];
      count_--;
      return;
    }
  }

 private:
  static size_t pageRounded(size_t bytes) {
    return (bytes + 4095) / 4096 * 4096;
  }
  static constexpr size_t alignment = 64;
  // Copies of at least ownPagesBytes alive at once from one screenful.
  static constexpr int capacity = 256;
  struct Block {
    size_t offset, length;
  };
  Block blocks_[capacity];  // by offset
  int count_ = 0;
  uchar* start_ = nullptr;
  size_t length_ = 0;
};

CopyArena& copyArena() {
  static CopyArena arena;
  return arena;
}

void giveToArena(void* pixels) { copyArena().give(pixels); }

// Pages of their own for `bytes`, behind a header; NULL when none are given.
uchar* ownPages(size_t bytes, void** mapping) {
  size_t length = mappingHeader + bytes;
  void* m = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) return nullptr;
  *static_cast<size_t*>(m) = length;
  *mapping = m;
  return static_cast<uchar*>(m) + mappingHeader;
}

QImage copyOfArea(const QImage& image, const QRect& area) {
  size_t line = size_t(area.width()) * sizeof(QRgb);
  size_t bytes = line * size_t(area.height());
  if (bytes < ownPagesBytes || image.depth() != 32) return image.copy(area);
  QImageCleanupFunction release = giveToArena;
  uchar* pixels = copyArena().take(bytes, size_t(image.sizeInBytes()));
  void* info = pixels;
  if (!pixels) {
    release = unmapPixels;
    pixels = ownPages(bytes, &info);
    if (!pixels) return QImage();
  }
  for (int row = 0; row < area.height(); row++)
    std::memcpy(
        pixels + size_t(row) * line,
        image.constScanLine(area.y() + row) + size_t(area.x()) * sizeof(QRgb),
        line);
  return QImage(pixels, area.width(), area.height(), qsizetype(line),
                image.format(), release, info);
}

// Cuts the segment (x0, y0)-(x1, y1) to the part inside the box, moving an
// end point only when it lies outside (Liang-Barsky); false when nothing of
// it is inside.
bool clipToBox(double& x0, double& y0, double& x1, double& y1, double left,
               double top, double right, double bottom) {
  double dx = x1 - x0, dy = y1 - y0, t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
  for (int i = 0; i < 4; i++) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  double sx = x0, sy = y0;
  if (t1 < 1) {
    x1 = sx + t1 * dx;
    y1 = sy + t1 * dy;
  }
  if (t0 > 0) {
    x0 = sx + t0 * dx;
    y0 = sy + t0 * dy;
  }
  return true;
}

}  // namespace

QRgb toQRgb(Colour c) {
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

ImageSurface::ImageSurface(QImage* image) : image_(image) {
  FontSpec f{};
  std::strcpy(f.family, "Liberation Sans");
  f.pixelSize = 12;
  f.weight = 400;
  selectFont(f);
}

ImageSurface::~ImageSurface() { endPainting(); }

int ImageSurface::width() const { return image_->width(); }

int ImageSurface::height() const { return image_->height(); }

// The painter draws into the image's pixels, and so do the primitives that
// write pixels themselves; both are fine together while nobody else shares
// the pixels. A reader that copied the image (the simulated screen's
// users) must keep its copy, so a shared image is parted from first.
void ImageSurface::prepare() {
  beforePixels();
  if (!image_->isDetached()) {
    endPainting();
    image_->detach();
  }
}

QPainter& ImageSurface::painter() {
  prepare();
  if (!painter_.isActive()) {
    painter_.begin(image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
  }
  return painter_;
}

void ImageSurface::endPainting() {
  if (painter_.isActive()) painter_.end();
}

void ImageSurface::touch(const QRect& area) {
  dirty_ |= area.intersected(image_->rect());
}

QRect ImageSurface::onImage(int64_t left, int64_t top, int64_t right,
                            int64_t bottom) const {
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, image_->width());
  bottom = std::min<int64_t>(bottom, image_->height());
  if (left >= right || top >= bottom) return QRect();
  return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

ImageSurface::Pixels ImageSurface::pixels() {
  prepare();
  return Pixels{image_->bits(), image_->bytesPerLine(), image_->width(),
                image_->height()};
}

void ImageSurface::fillRect(int left, int top, int right, int bottom,
                            Colour c) {
  fillSpan(left, top, right, bottom, c);
}

void ImageSurface::fillSpan(int64_t left, int64_t top, int64_t right,
                            int64_t bottom, Colour c) {
  QRect r = onImage(left, top, right, bottom);
  if (r.isEmpty()) return;
  prepare();
  QRgb colour = toQRgb(c);
  for (int y = r.top(); y <= r.bottom(); y++) {
    QRgb* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
    for (int x = r.left(); x <= r.right(); x++) row[x] = colour;
  }
  touch(r);
}

void ImageSurface::fillEllipse(int left, int top, int right, int bottom,
                               Colour c) {
  if (right <= left || bottom <= top) return;
  QRect visible = onImage(left, top, right, bottom);
  if (visible.isEmpty()) return;
  QPainter& p = painter();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(toQRgb(c)));
  p.drawEllipse(QRectF(left, top, double(right) - left, double(bottom) - top));
  touch(visible);
}

void ImageSurface::outlineEllipse(int left, int top, int right, int bottom,
                                  Colour c, int penWidth) {
  if (right <= left || bottom <= top) return;
  int64_t grow = penWidth / 2 + 1;
  QRect visible = onImage(left - grow, top - grow, right + grow, bottom + grow);
  if (visible.isEmpty()) return;
  QPainter& p = painter();
  QPen pen(QColor(toQRgb(c)));
  pen.setWidth(penWidth < 1 ? 1 : penWidth);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  // The outline keeps inside the box, as the pen's centre runs half a pixel
  // in from its edges.
  p.drawEllipse(
      QRectF(left, top, double(right) - left - 1, double(bottom) - top - 1));
  touch(visible);
}

void ImageSurface::outlineRect(int left, int top, int right, int bottom,
                               Colour c, int penWidth) {
  if (right <= left || bottom <= top) return;
  int64_t l = left, t = top, r = right, b = bottom;
  if (penWidth <= 1) {
    fillSpan(l, t, r, t + 1, c);
    fillSpan(l, b - 1, r, b, c);
    fillSpan(l, t, l + 1, b, c);
    fillSpan(r - 1, t, r, b, c);
    return;
  }
  // A wide pen is centred on the one-pixel outline.
  int64_t in = penWidth / 2, out = penWidth - 1 - in;
  fillSpan(l - in, t - in, r + out, t + out + 1, c);
  fillSpan(l - in, b - 1 - in, r + out, b + out, c);
  fillSpan(l - in, t - in, l + out + 1, b + out, c);
  fillSpan(r - 1 - in, t - in, r + out, b + out, c);
}

// Bresenham from (x0, y0) towards (x1, y1), the end point left out.
void ImageSurface::thinLine(int x0, int y0, int x1, int y1, QRgb c) {
  Pixels px = pixels();
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (x0 != x1 || y0 != y1) {
    px.set(x0, y0, c);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

// A line of width 2r with round caps: every pixel whose centre lies within
// r of the segment, the far edge of each row and column left out, so that
// an upright line of width w covers w pixels across. Row by row: a row
// meets the shape in one run, made of its meetings with the two end discs
// and the band between them.
void ImageSurface::wideLine(double ax, double ay, double bx, double by,
                            double r, QRgb c) {
  Pixels px = pixels();
  double dx = bx - ax, dy = by - ay;
  double length2 = dx * dx + dy * dy;
  double reach = r * std::sqrt(length2);
  double first = std::ceil(std::min(ay, by) - r);
  double last = std::ceil(std::max(ay, by) + r) - 1;
  first = std::max(first, 0.0);
  last = std::min(last, double(px.height) - 1);
  for (double y = first; y <= last; y++) {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    auto disc = [&](double cx, double cy) {
      double h2 = r * r - (y - cy) * (y - cy);
      if (h2 < 0) return;
      double h = std::sqrt(h2);
      lo = std::min(lo, cx - h);
      hi = std::max(hi, cx + h);
    };
    disc(ax, ay);
    disc(bx, by);
    if (length2 > 0) {
      // Within r of the line through the ends: |(x - ax) dy - (y - ay) dx|
      // <= r |d|; between the ends: 0 <= (x - ax) dx + (y - ay) dy <= |d|^2.
      double s0 = -HUGE_VAL, s1 = HUGE_VAL;
      auto within = [&](double k, double low, double high) {
        // low <= (x - ax) k <= high
        if (k == 0) {
          if (low > 0 || high < 0) s0 = HUGE_VAL;
          return;
        }
        double a = low / k, b = high / k;
        s0 = std::max(s0, ax + std::min(a, b));
        s1 = std::min(s1, ax + std::max(a, b));
      };
      double across = (y - ay) * dx, along = (y - ay) * dy;
      within(dy, across - reach, across + reach);
      within(dx, -along, length2 - along);
      if (s0 <= s1) {
        lo = std::min(lo, s0);
        hi = std::max(hi, s1);
      }
    }
    if (lo > hi) continue;
    double left = std::max(std::ceil(lo), 0.0);
    double right = std::min(std::ceil(hi), double(px.width));
    QRgb* row = px.row(int(y));
    for (int x = int(left); x < int(right); x++) row[x] = c;
  }
}

void ImageSurface::line(int x0, int y0, int x1, int y1, Colour c,
                        int penWidth) {
  // Ends far off the image are brought in to just outside it, where neither
  // a cap nor a left-out end point shows: the pixel walk stays as short as
  // the image and no coordinate can wrap.
  int64_t grow = penWidth / 2 + 1;
  double margin = double(grow) + 2;
  double ax = x0, ay = y0, bx = x1, by = y1;
  if (!clipToBox(ax, ay, bx, by, -margin, -margin, image_->width() - 1 + margin,
                 image_->height() - 1 + margin))
    return;
  if (penWidth <= 1) {
    int sx = int(std::lround(ax)), sy = int(std::lround(ay));
    int ex = int(std::lround(bx)), ey = int(std::lround(by));
    prepare();
    thinLine(sx, sy, ex, ey, toQRgb(c));
    touch(onImage(std::min(sx, ex), std::min(sy, ey),
                  int64_t(std::max(sx, ex)) + 1,
                  int64_t(std::max(sy, ey)) + 1));
    return;
  }
  wideLine(ax, ay, bx, by, penWidth / 2.0, toQRgb(c));
  touch(onImage(int64_t(std::floor(std::min(ax, bx))) - grow,
                int64_t(std::floor(std::min(ay, by))) - grow,
                int64_t(std::ceil(std::max(ax, bx))) + 1 + grow,
                int64_t(std::ceil(std::max(ay, by))) + 1 + grow));
}

void ImageSurface::fillPolygon(const IntPoint* points, int count, Colour c) {
  if (count < 3) return;
  QPolygon polygon(count);
  int64_t left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (int i = 0; i < count; i++) {
    polygon[i] = QPoint(points[i].x, points[i].y);
    left = std::min<int64_t>(left, points[i].x);
    right = std::max<int64_t>(right, points[i].x);
    top = std::min<int64_t>(top, points[i].y);
    bottom = std::max<int64_t>(bottom, points[i].y);
  }
  QRect visible = onImage(left - 1, top - 1, right + 2, bottom + 2);
  if (visible.isEmpty()) return;
  QPainter& p = painter();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(toQRgb(c)));
  p.drawPolygon(polygon, Qt::OddEvenFill);
  touch(visible);
}

void ImageSurface::polyline(const IntPoint* points, int count, Colour c,
                            int penWidth) {
  for (int i = 1; i < count; i++)
    line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, c,
         penWidth);
}

void ImageSurface::selectFont(const FontSpec& spec) {
  // Menus select a font per label; making it again each time would cost
  // more than drawing the label.
  if (metrics_ &&
      std::strncmp(spec.family, fontSpec_.family, sizeof spec.family) == 0 &&
      spec.pixelSize == fontSpec_.pixelSize &&
      spec.weight == fontSpec_.weight && spec.italic == fontSpec_.italic)
    return;
  fontSpec_ = spec;
  fontKey_ =
      std::string(spec.family, strnlen(spec.family, sizeof spec.family)) + '/' +
      std::to_string(spec.pixelSize) + '/' + std::to_string(spec.weight) +
      (spec.italic ? "i/" : "/");
  // Labels of two weights alternate: each font is made once, and Qt,
  // which looks a font up again for each of its metrics, is asked once.
  auto found = fonts_.find(fontKey_);
  if (found == fonts_.end()) {
    if (fonts_.size() >= fontsKept) fonts_.clear();
    LoadedFont f;
    f.font = QFont(QString::fromUtf8(
        spec.family, int(strnlen(spec.family, sizeof spec.family))));
    f.font.setPixelSize(spec.pixelSize > 0 ? spec.pixelSize : 12);
    f.font.setWeight(QFont::Weight(spec.weight > 0 ? spec.weight : 400));
    f.font.setItalic(spec.italic);
    f.metrics = std::make_unique<QFontMetrics>(f.font);
    const QFontMetrics& m = *f.metrics;
    f.text = TextMetrics{m.ascent() + m.descent(), m.ascent(), m.descent(),
                         std::max(m.leading(), 0)};
    f.lineHeight = m.height();
    found = fonts_.emplace(fontKey_, std::move(f)).first;
  }
  font_ = found->second.font;
  metrics_ = found->second.metrics.get();
  textMetrics_ = found->second.text;
  lineHeight_ = found->second.lineHeight;
}

int ImageSurface::textWidth(const char* text) {
  if (!text) return 0;
  // Menus are laid out afresh at each popup with the same few labels.
  std::string key = fontKey_ + text;
  auto found = widthCache_.find(key);
  if (found != widthCache_.end()) return found->second;
  if (widthCache_.size() >= textCacheLimit) widthCache_.clear();
  int width = metrics_->horizontalAdvance(QString::fromUtf8(text));
  widthCache_.emplace(std::move(key), width);
  return width;
}

TextMetrics ImageSurface::textMetrics() { return textMetrics_; }

void ImageSurface::drawText(int x, int y, const char* text, Colour c) {
  if (!text || !*text) return;
  // Menus draw the same few labels over and over: laying each out once
  // makes drawing one little more than copying its glyphs.
  std::string key = fontKey_ + text;
  auto found = textCache_.find(key);
  if (found == textCache_.end()) {
    if (textCache_.size() >= textCacheLimit) textCache_.clear();
    QStaticText laidOut(QString::fromUtf8(text));
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.prepare(QTransform(), font_);
    found = textCache_.emplace(std::move(key), std::move(laidOut)).first;
  }
  const QStaticText& laidOut = found->second;
  int64_t top = int64_t(y) - textMetrics_.ascent;
  QSizeF size = laidOut.size();
  int64_t height = std::max(int(size.height()), lineHeight_);
  QRect visible =
      onImage(int64_t(x) - 2, top - 2, int64_t(x) + int64_t(size.width()) + 2,
              top + height + 2);
  if (visible.isEmpty()) return;
  QPainter& p = painter();
  p.setFont(font_);
  p.setPen(QColor(toQRgb(c)));
  p.drawStaticText(QPointF(x, double(top)), laidOut);
  touch(visible);
}

Bitmap* ImageSurface::copyOut(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  beforePixels();
  QRect kept = onImage(x, y, int64_t(x) + width, int64_t(y) + height);
  if (kept.isEmpty())
    return new (std::nothrow) Bitmap(QImage(), QPoint(), QPoint());
  QImage pixels = copyOfArea(*image_, kept);
  if (pixels.isNull()) return nullptr;
  // Less than width and height apart, so the offset fits.
  QPoint offset(int(int64_t(kept.x()) - x), int(int64_t(kept.y()) - y));
  return new (std::nothrow) Bitmap(std::move(pixels), offset, kept.topLeft());
}

void ImageSurface::copyIn(const Bitmap* bitmap, int x, int y) {
  if (!bitmap || bitmap->image.isNull()) return;
  const QImage& src = bitmap->image;
  int64_t left = int64_t(x) + bitmap->offset.x();
  int64_t top = int64_t(y) + bitmap->offset.y();
  QRect r = onImage(left, top, left + src.width(), top + src.height());
  if (r.isEmpty()) return;
  prepare();
  int bytes = r.width() * int(sizeof(QRgb));
  for (int row = r.top(); row <= r.bottom(); row++) {
    const QRgb* from =
        reinterpret_cast<const QRgb*>(src.constScanLine(int(row - top))) +
        (r.left() - left);
    QRgb* to = reinterpret_cast<QRgb*>(image_->scanLine(row)) + r.left();
    std::memcpy(to, from, size_t(bytes));
  }
  touch(r);
}

namespace {

std::vector<Bitmap*>& liveCopies() {
  static std::vector<Bitmap*> copies;
  return copies;
}

}  // namespace

Bitmap::Bitmap(QImage pixels, QPoint offset, QPoint origin)
    : image(std::move(pixels)), offset(offset), origin(origin) {
  // Without room in the list the copy is only not drawn beneath.
  try {
    liveCopies().push_back(this);
  } catch (const std::bad_alloc&) {
  }
}

Bitmap::~Bitmap() {
  auto& copies = liveCopies();
  auto found = std::find(copies.rbegin(), copies.rend(), this);
  if (found == copies.rend()) return;
  *found = copies.back();
  copies.pop_back();
}

void deleteBitmap(Bitmap* bitmap) { delete bitmap; }

// Its pixels are clear until drawn on: drawing sets the top byte. Put, it
// copies runs of drawn pixels, found again whenever it was drawn on since.
class Stamp {
 public:
  Stamp(int width, int height)
      : image(width, height, QImage::Format_ARGB32), surface(&image) {
    image.fill(0);
  }

  struct Run {
    int x, y, length;
  };
  const std::vector<Run>& drawnRuns() const {
    surface.settle();
    if (surface.dirty().isEmpty()) return runs;
    surface.flush();
    runs.clear();
    for (int y = 0; y < image.height(); y++) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width();) {
        if (qAlpha(row[x]) == 0) {
          x++;
          continue;
        }
        int start = x;
        while (x < image.width() && qAlpha(row[x]) != 0) x++;
        runs.push_back(Run{start, y, x - start});
      }
    }
    return runs;
  }

  QImage image;
  mutable ImageSurface surface;

 private:
  mutable std::vector<Run> runs;
};

Stamp* newStamp(int width, int height) {
  if (width < 1 || height < 1 || width > 1024 || height > 1024) return nullptr;
  auto* stamp = new (std::nothrow) Stamp(width, height);
  if (stamp && stamp->image.isNull()) {
    delete stamp;
    return nullptr;
  }
  return stamp;
}

Surface* stampSurface(Stamp* stamp) {
  return stamp ? &stamp->surface : nullptr;
}

void deleteStamp(Stamp* stamp) { delete stamp; }

void ImageSurface::putStamp(const Stamp* stamp, int x, int y) {
  if (!stamp) return;
  const std::vector<Stamp::Run>& runs = stamp->drawnRuns();
  const QImage& src = stamp->image;
  QRect r = onImage(x, y, int64_t(x) + src.width(), int64_t(y) + src.height());
  if (r.isEmpty()) return;
  Pixels px = pixels();
  for (const Stamp::Run& run : runs) {
    int64_t row = int64_t(y) + run.y;
    if (row < r.top() || row > r.bottom()) continue;
    int64_t left = std::max<int64_t>(int64_t(x) + run.x, r.left());
    int64_t right = std::min<int64_t>(int64_t(x) + run.x + run.length,
                                      int64_t(r.right()) + 1);
    if (left >= right) continue;
    const auto* from =
        reinterpret_cast<const QRgb*>(src.constScanLine(run.y)) + (left - x);
    std::memcpy(px.row(int(row)) + left, from, size_t(right - left) * 4);
  }
  touch(r);
}

namespace {

// Puts the part of a row of `count` pixels from (x, y) that lies on `image`
// where the image still shows the desktop (a clear top byte); returns the
// row's part on the image, empty when none.
QRect putRowBeneath(QImage& image, int64_t x, int64_t y, const uint32_t* pixels,
                    int count) {
  if (!pixels || count <= 0 || y < 0 || y >= image.height()) return QRect();
  int64_t left = std::max<int64_t>(x, 0);
  int64_t right = std::min<int64_t>(x + int64_t(count), image.width());
  if (left >= right) return QRect();
  auto* row = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
  for (int64_t i = left; i < right; i++)
    if (qAlpha(row[i]) == 0) row[i] = pixels[i - x] & 0x00FFFFFFu;
  return QRect(int(left), int(y), int(right - left), 1);
}

}  // namespace

void putBeneathCopies(int x, int y, const uint32_t* pixels, int count) {
  for (Bitmap* copy : liveCopies()) {
    if (copy->image.isNull()) continue;
    int64_t row = int64_t(y) - copy->origin.y();
    if (row < 0 || row >= copy->image.height()) continue;
    putRowBeneath(copy->image, int64_t(x) - copy->origin.x(), row, pixels,
                  count);
  }
}

void ImageSurface::markAsDesktop() {
  // A whole screen at every mInit on a plain X server: one pass over the
  // pixels, the image's size read once.
  Pixels px = pixels();
  for (int y = 0; y < px.height; y++) {
    QRgb* row = px.row(y);
    for (int x = 0; x < px.width; x++) row[x] &= 0x00FFFFFFu;
  }
}

bool ImageSurface::putBeneath(int x, int y, const uint32_t* pixels, int count) {
  if (y >= 0 && y < image_->height()) {
    prepare();
    touch(putRowBeneath(*image_, x, y, pixels, count));
  }
  return true;
}

void ImageSurface::flush() {
  if (dirty_.isEmpty()) return;
  QRect area = dirty_;
  dirty_ = QRect();
  present(area);
}

void ImageSurface::present(const QRect&) {}

void ImageSurface::settle() { endPainting(); }

}  // namespace tarvel::platform
