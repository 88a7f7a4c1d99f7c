// The library's drawing state and the primitives every display module draws
// with. All drawing goes onto the overlay the platform provides between
// mInit and mShutdown; without an overlay the primitives draw nothing.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "core/scale.h"
#include "menu/marking_menu.h"
#include "platform/platform.h"

using platform::Colour;

namespace tarvel::internal {

struct DrawState {
  platform::Surface* overlay;  // the overlay window, NULL when none
  platform::Surface* screen;   // where the primitives draw
  uint8_t pen;                 // a pen exists (made from colour, lineWidth)
  uint8_t penSelected;         // ... and outlines shapes
  uint8_t brush;               // a brush exists (made from colour)
  uint8_t brushSelected;       // ... and fills shapes
  const char* fontName;        // the name it was selected by
  Colour penColour;
  int penWidth;
  Colour brushColour;
  Colour colour;  // current drawing colour: text, pen and brush
  Colour textColour;
  int lineWidth = 1;       // width of pens made from now on, pixels
  Colour foreground;       // menu text colour, read at mInit
  Colour background;       // menu background colour, read at mInit
  int currentX, currentY;  // the library's own pen position
  int pad;  // padding above and below a label in an item box, pixels
};

extern DrawState drawState;

}  // namespace tarvel::internal

using tarvel::internal::DrawState;
using tarvel::internal::drawState;

void mSetColor(Colour colour);
void mSetLineWidth(int width);
void mUsePen();
void mUseBrush();
// "BOLD_FONT" (weight 600), "ITALIC_FONT" (italic, weight 500) or any other
// name for the desktop's menu font as it is. Returns true.
bool mSelectFont(const char* name);
// The name of the font a label with these flags is drawn in: italic wins,
// then regular, else bold.
const char* mLabelFontName(uint8_t italic, uint8_t regular);

// A filled ellipse inside r; outlined only when a pen is selected.
void mPaintPie(const Rect* r);
void mDrawArc(const Rect* r);
void mFillRect(const Rect* r);  // every pixel of r
void mDrawRect(const Rect* r);  // the outline of r
void mMoveTo(int x, int y);
// From the current point to (x, y), end point left out; the current point
// stays where it is.
void mLineTo(int x, int y);
void mDrawLine(int x0, int y0, int x1, int y1);
void mPaintPoly(const PointList* points);
void mPaintGreyPoly(const PointList* points);
void mDrawPoly(const PointList* points);
int mTextWidth(const char* text);
int mTextHeight();
int mTextAscent();
// Draws text with the left end of its baseline at the current point, in the
// font chosen by the flags (italic wins, then regular, else bold).
void mDrawText(const char* text, uint8_t italic, uint8_t regular);
// Engraved: highlight colour one pixel down and right, shadow on top.
void mDrawDisabledText(const char* text);
// Shows what was drawn since the last flush.
void mFlush();
