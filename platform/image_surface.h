// SPDX-License-Identifier: MIT
// A Surface that draws into a QImage with the pixel rules of a classic
// raster display: no antialiasing of shapes, right and bottom edges of boxes
// outside, line end points not drawn. Serves the simulated screen and the
// desktop overlay's picture alike; the overlay pushes what changed in
// present(). Every call takes any int coordinates: edges are worked out in
// 64 bits and cut to the image before Qt sees them. The top byte of a pixel
// tells drawing from the desktop beneath: drawing sets it, and a picture
// marked as the desktop's has it clear (copies keep it).
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStaticText>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/platform.h"

namespace tarvel::platform {

// Only the part of a copy that lay on the surface is kept: `offset` is where
// it starts from the corner the copy was asked for, and `origin` is where
// that part lies on the surface. A copy wholly off the surface keeps no
// pixels. Every copy alive is known (putBeneathCopies reaches them all),
// however it is freed.
class TARVEL_API Bitmap {
 public:
  Bitmap(QImage pixels, QPoint offset, QPoint origin);
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  QImage image;
  QPoint offset;
  QPoint origin;
};

class TARVEL_API ImageSurface : public Surface {
 public:
  // Draws into `image`, which must outlive the surface (Format_RGB32).
  explicit ImageSurface(QImage* image);
  ~ImageSurface() override;

  int width() const override;
  int height() const override;
  void fillRect(int left, int top, int right, int bottom, Colour c) override;
  void fillEllipse(int left, int top, int right, int bottom, Colour c) override;
  void outlineEllipse(int left, int top, int right, int bottom, Colour c,
                      int penWidth) override;
  void outlineRect(int left, int top, int right, int bottom, Colour c,
                   int penWidth) override;
  void line(int x0, int y0, int x1, int y1, Colour c, int penWidth) override;
  void fillPolygon(const IntPoint* points, int count, Colour c) override;
  void polyline(const IntPoint* points, int count, Colour c,
                int penWidth) override;
  void selectFont(const FontSpec& font) override;
  int textWidth(const char* text) override;
  TextMetrics textMetrics() override;
  void drawText(int x, int y, const char* text, Colour c) override;
  Bitmap* copyOut(int x, int y, int width, int height) override;
  void copyIn(const Bitmap* bitmap, int x, int y) override;
  void putStamp(const Stamp* stamp, int x, int y) override;
  void flush() override;
  // Only the desktop's pixels as marked by markAsDesktop are written to;
  // everything drawn since covers them.
  bool putBeneath(int x, int y, const uint32_t* pixels, int count) override;

  // Marks every pixel as the desktop's, the picture beneath all drawing:
  // the top byte of the image's pixels is cleared, where drawing sets it.
  void markAsDesktop();

  QRect dirty() const { return dirty_; }

  // Finishes drawing in progress, so that the image can be read or copied.
  void settle();

 protected:
  // Shows `area` of the image; called by flush with what changed.
  virtual void present(const QRect& area);
  // Called before the image's pixels are first read or written by a call:
  // a surface whose picture comes later gets it here.
  virtual void beforePixels() {}
  QImage* image_;

 private:
  void prepare();
  QPainter& painter();
  void endPainting();
  void touch(const QRect& area);
  // The part of [left, right) x [top, bottom) on the image; empty when none.
  QRect onImage(int64_t left, int64_t top, int64_t right, int64_t bottom) const;
  void fillSpan(int64_t left, int64_t top, int64_t right, int64_t bottom,
                Colour c);
  // The image's pixels for writing, parted from any reader first; good
  // until the next call that paints through Qt or changes the image.
  struct Pixels {
    uchar* bits;
    qsizetype stride;
    int width, height;
    QRgb* row(int y) const {
      return reinterpret_cast<QRgb*>(bits + y * stride);
    }
    void set(int x, int y, QRgb c) const {
      if (unsigned(x) < unsigned(width) && unsigned(y) < unsigned(height))
        row(y)[x] = c;
    }
  };
  Pixels pixels();
  void thinLine(int x0, int y0, int x1, int y1, QRgb c);
  void wideLine(double ax, double ay, double bx, double by, double r, QRgb c);

  QPainter painter_;
  FontSpec fontSpec_{};
  std::string fontKey_;
  static constexpr size_t textCacheLimit = 512;
  std::unordered_map<std::string, QStaticText> textCache_;
  struct LoadedFont {
    QFont font;
    std::unique_ptr<QFontMetrics> metrics;
    TextMetrics text;
    int lineHeight;
  };
  static constexpr size_t fontsKept = 16;
  std::unordered_map<std::string, LoadedFont> fonts_;
  QFont font_;
  const QFontMetrics* metrics_ = nullptr;
  TextMetrics textMetrics_{};
  int lineHeight_ = 0;
  std::unordered_map<std::string, int> widthCache_;
  QRect dirty_;
};

TARVEL_API QRgb toQRgb(Colour c);

}  // namespace tarvel::platform
