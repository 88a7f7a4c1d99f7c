#include "platform/image_surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

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

void ImageSurface::setPixel(int x, int y, QRgb c) {
  if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return;
  reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = c;
}

void ImageSurface::fillRect(int left, int top, int right, int bottom,
                            Colour c) {
  QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))
                .intersected(image_->rect());
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
  QPainter& p = painter();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(toQRgb(c)));
  p.drawEllipse(QRectF(left, top, right - left, bottom - top));
  touch(QRect(left, top, right - left, bottom - top));
}

void ImageSurface::outlineEllipse(int left, int top, int right, int bottom,
                                  Colour c, int penWidth) {
  if (right <= left || bottom <= top) return;
  QPainter& p = painter();
  QPen pen(QColor(toQRgb(c)));
  pen.setWidth(penWidth < 1 ? 1 : penWidth);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  // The outline keeps inside the box, as the pen's centre runs half a pixel
  // in from its edges.
  p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
  int grow = penWidth / 2 + 1;
  touch(QRect(left, top, right - left, bottom - top)
            .adjusted(-grow, -grow, grow, grow));
}

void ImageSurface::outlineRect(int left, int top, int right, int bottom,
                               Colour c, int penWidth) {
  if (right <= left || bottom <= top) return;
  if (penWidth <= 1) {
    fillRect(left, top, right, top + 1, c);
    fillRect(left, bottom - 1, right, bottom, c);
    fillRect(left, top, left + 1, bottom, c);
    fillRect(right - 1, top, right, bottom, c);
    return;
  }
  // A wide pen is centred on the one-pixel outline.
  int in = penWidth / 2, out = penWidth - 1 - in;
  fillRect(left - in, top - in, right + out, top + out + 1, c);
  fillRect(left - in, bottom - 1 - in, right + out, bottom + out, c);
  fillRect(left - in, top - in, left + out + 1, bottom + out, c);
  fillRect(right - 1 - in, top - in, right + out, bottom + out, c);
}

// Bresenham from (x0, y0) towards (x1, y1), the end point left out.
void ImageSurface::thinLine(int x0, int y0, int x1, int y1, QRgb c) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (x0 != x1 || y0 != y1) {
    setPixel(x0, y0, c);
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

void ImageSurface::line(int x0, int y0, int x1, int y1, Colour c,
                        int penWidth) {
  QRect box = QRect(QPoint(std::min(x0, x1), std::min(y0, y1)),
                    QPoint(std::max(x0, x1), std::max(y0, y1)));
  if (penWidth <= 1) {
    prepare();
    thinLine(x0, y0, x1, y1, toQRgb(c));
    touch(box);
    return;
  }
  QPainter& p = painter();
  QPen pen(QColor(toQRgb(c)));
  pen.setWidth(penWidth);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  p.drawLine(x0, y0, x1, y1);
  int grow = penWidth / 2 + 1;
  touch(box.adjusted(-grow, -grow, grow, grow));
}

void ImageSurface::fillPolygon(const IntPoint* points, int count, Colour c) {
  if (count < 3) return;
  QPolygon polygon(count);
  for (int i = 0; i < count; i++) polygon[i] = QPoint(points[i].x, points[i].y);
  QPainter& p = painter();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(toQRgb(c)));
  p.drawPolygon(polygon, Qt::OddEvenFill);
  touch(polygon.boundingRect().adjusted(-1, -1, 1, 1));
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
  font_ = QFont(QString::fromUtf8(
      spec.family, int(strnlen(spec.family, sizeof spec.family))));
  font_.setPixelSize(spec.pixelSize > 0 ? spec.pixelSize : 12);
  font_.setWeight(QFont::Weight(spec.weight > 0 ? spec.weight : 400));
  font_.setItalic(spec.italic);
  metrics_ = std::make_unique<QFontMetrics>(font_);
}

int ImageSurface::textWidth(const char* text) {
  return text ? metrics_->horizontalAdvance(QString::fromUtf8(text)) : 0;
}

TextMetrics ImageSurface::textMetrics() {
  return TextMetrics{metrics_->ascent() + metrics_->descent(),
                     metrics_->ascent(), metrics_->descent(),
                     metrics_->leading() > 0 ? metrics_->leading() : 0};
}

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
  QPainter& p = painter();
  p.setFont(font_);
  p.setPen(QColor(toQRgb(c)));
  int top = y - metrics_->ascent();
  p.drawStaticText(x, top, laidOut);
  QSizeF size = laidOut.size();
  touch(QRect(x - 2, top - 2, int(size.width()) + 4,
              std::max(int(size.height()), metrics_->height()) + 4));
}

Bitmap* ImageSurface::copyOut(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  QImage pixels = image_->copy(x, y, width, height);
  if (pixels.isNull()) return nullptr;
  return new (std::nothrow) Bitmap(std::move(pixels));
}

void ImageSurface::copyIn(const Bitmap* bitmap, int x, int y) {
  if (!bitmap) return;
  const QImage& src = bitmap->image;
  QRect r = QRect(x, y, src.width(), src.height()).intersected(image_->rect());
  if (r.isEmpty()) return;
  prepare();
  int bytes = r.width() * int(sizeof(QRgb));
  for (int row = r.top(); row <= r.bottom(); row++) {
    const QRgb* from =
        reinterpret_cast<const QRgb*>(src.constScanLine(row - y)) +
        (r.left() - x);
    QRgb* to = reinterpret_cast<QRgb*>(image_->scanLine(row)) + r.left();
    std::memcpy(to, from, size_t(bytes));
  }
  touch(r);
}

void deleteBitmap(Bitmap* bitmap) { delete bitmap; }

void ImageSurface::putImage(int x, int y, const QImage& picture) {
  QPainter& p = painter();
  p.drawImage(x, y, picture);
  touch(QRect(x, y, picture.width(), picture.height()));
}

void ImageSurface::flush() {
  if (dirty_.isEmpty()) return;
  QRect area = dirty_;
  dirty_ = QRect();
  present(area);
}

void ImageSurface::present(const QRect&) {}

void ImageSurface::settle() { endPainting(); }

}  // namespace platform
