#include "display/drawing.h"

#include <cmath>
#include <cstring>

DrawState tarvel::internal::drawState;

namespace {

constexpr Colour lightGrey = 0xC0C0C0;

platform::Surface* screen() { return drawState.screen; }

void dropPen() {
  drawState.pen = 0;
  drawState.penSelected = 0;
}

void dropBrush() {
  drawState.brush = 0;
  drawState.brushSelected = 0;
}

// Copies a point list into integer screen points (truncation toward zero).
int toIntPoints(const PointList* list, IntPoint* out) {
  int n = list->count;
  if (n > POINT_LIST_CAPACITY) n = POINT_LIST_CAPACITY;
  if (n < 0) n = 0;
  for (int i = 0; i < n; i++)
    out[i] = IntPoint{mFloatToInt(list->points[i].x),
                      mFloatToInt(list->points[i].y)};
  return n;
}

}  // namespace

void mSetColor(Colour colour) {
  drawState.textColour = colour;
  if (drawState.brush) dropBrush();
  if (drawState.pen) dropPen();
  drawState.colour = colour;
}

void mSetLineWidth(int width) {
  if (drawState.pen) dropPen();
  drawState.lineWidth = width;
}

void mUsePen() {
  if (!drawState.pen) {
    drawState.pen = 1;
    drawState.penColour = drawState.colour;
    drawState.penWidth = drawState.lineWidth;
  }
  drawState.penSelected = 1;
}

void mUseBrush() {
  if (!drawState.brush) {
    drawState.brush = 1;
    drawState.brushColour = drawState.colour;
  }
  drawState.brushSelected = 1;
}

bool mSelectFont(const char* name) {
  platform::FontSpec font = platform::current().menuFont();
  if (name && std::strcmp(name, "BOLD_FONT") == 0) {
    font.weight = 600;
  } else if (name && std::strcmp(name, "ITALIC_FONT") == 0) {
    font.italic = true;
    font.weight = 500;
  }
  drawState.fontName = name;
  if (screen()) screen()->selectFont(font);
  return true;
}

const char* mLabelFontName(uint8_t italic, uint8_t regular) {
  return italic ? "ITALIC_FONT" : regular ? "REGULAR_FONT" : "BOLD_FONT";
}

void mPaintPie(const Rect* r) {
  if (!screen() || !r) return;
  mUseBrush();
  int left = mSatAdd(r->xmin, 1), top = mSatAdd(r->ymin, 1);
  int right = mSatAdd(r->xmax, 2), bottom = mSatAdd(r->ymax, 1);
  screen()->fillEllipse(left, top, right, bottom, drawState.brushColour);
  if (drawState.penSelected)
    screen()->outlineEllipse(left, top, right, bottom, drawState.penColour,
                             drawState.penWidth);
}

void mDrawArc(const Rect* r) {
  if (!screen() || !r) return;
  mUsePen();
  screen()->outlineEllipse(mSatAdd(r->xmin, 1), mSatAdd(r->ymin, 1),
                           mSatAdd(r->xmax, 1), mSatAdd(r->ymax, 1),
                           drawState.penColour, drawState.penWidth);
}

void mFillRect(const Rect* r) {
  if (!screen() || !r) return;
  mUseBrush();
  screen()->fillRect(r->xmin, r->ymin, mSatAdd(r->xmax, 1), mSatAdd(r->ymax, 1),
                     drawState.brushColour);
}

void mDrawRect(const Rect* r) {
  if (!screen() || !r) return;
  drawState.brushSelected = 0;
  mUsePen();
  screen()->outlineRect(r->xmin, r->ymin, mSatAdd(r->xmax, 1),
                        mSatAdd(r->ymax, 1), drawState.penColour,
                        drawState.penWidth);
}

void mMoveTo(int x, int y) {
  drawState.currentX = x;
  drawState.currentY = y;
}

void mLineTo(int x, int y) {
  mDrawLine(drawState.currentX, drawState.currentY, x, y);
}

void mDrawLine(int x0, int y0, int x1, int y1) {
  if (!screen()) return;
  mUsePen();
  screen()->line(x0, y0, x1, y1, drawState.penColour, drawState.penWidth);
}

void mPaintPoly(const PointList* points) {
  if (!screen() || !points) return;
  IntPoint p[POINT_LIST_CAPACITY];
  int n = toIntPoints(points, p);
  mUseBrush();
  drawState.penSelected = 0;
  screen()->fillPolygon(p, n, drawState.brushColour);
}

void mPaintGreyPoly(const PointList* points) {
  if (!screen() || !points) return;
  IntPoint p[POINT_LIST_CAPACITY];
  int n = toIntPoints(points, p);
  drawState.penSelected = 0;
  screen()->fillPolygon(p, n, lightGrey);
  // The temporary grey brush is gone; the current brush stays, unselected.
  drawState.brushSelected = 0;
}

void mDrawPoly(const PointList* points) {
  if (!screen() || !points) return;
  IntPoint p[POINT_LIST_CAPACITY];
  int n = toIntPoints(points, p);
  mUsePen();
  drawState.brushSelected = 0;
  screen()->polyline(p, n, drawState.penColour, drawState.penWidth);
}

int mTextWidth(const char* text) {
  return screen() && text ? screen()->textWidth(text) : 0;
}

int mTextHeight() { return screen() ? screen()->textMetrics().height : 0; }

int mTextAscent() { return screen() ? screen()->textMetrics().ascent : 0; }

void mDrawText(const char* text, uint8_t italic, uint8_t regular) {
  mSelectFont(mLabelFontName(italic, regular));
  if (!screen() || !text) return;
  screen()->drawText(drawState.currentX, drawState.currentY, text,
                     drawState.textColour);
}

void mDrawDisabledText(const char* text) {
  if (!screen() || !text) return;
  platform::Platform& p = platform::current();
  Colour light = p.systemColour(platform::SystemColour::ButtonHighlight);
  Colour shadow = p.systemColour(platform::SystemColour::ButtonShadow);
  screen()->drawText(mSatAdd(drawState.currentX, mScaled(1)),
                     mSatAdd(drawState.currentY, mScaled(1)), text, light);
  screen()->drawText(drawState.currentX, drawState.currentY, text, shadow);
  drawState.textColour = shadow;
}

void mFlush() {
  if (screen()) screen()->flush();
}
