// One item of a menu, compass box or list row alike: measured, placed, drawn.
#include "display/menu_items.h"

#include <cstring>

#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "display/drawing.h"

namespace {

// Layout, in pixels.
constexpr int labelMargin = 17;    // left of every label
constexpr int arrowArea = 22;      // an arrow of 12 with 5 on each side
constexpr int arrowInset = 11;     // an arrow's centre from its box's end
constexpr int highlightInset = 2;  // the highlight panel inside the bevel

// Check marks are drawn only when the program asks for them.
bool indicatorsShown = false;

bool isLeftSide(int position) { return position >= 5 && position <= 7; }

bool hasBothIndicators(const Menu* m, int p) {
  return m->hasToggle[p] && m->hasChoice[p];
}

// A label is measured in the font it is drawn in: a bold one measured in the
// menu's regular font would reach past its box, and past what is saved
// under the menu.
int labelWidth(const Menu* m, int p) {
  const char* measuring = drawState.fontName;
  const char* drawn = mLabelFontName(m->italic[p], m->regularWeight[p]);
  bool other = m->label[p][0] && measuring && std::strcmp(drawn, measuring);
  if (other) mSelectFont(drawn);
  int width = mTextWidth(m->label[p]);
  if (other) mSelectFont(measuring);
  return width;
}

// A check mark in the label margin of slot p: the margin's first 17
// pixels, after the arrow area of a west-side compass box with a submenu,
// whose arrow sits where the margin is elsewhere.
void drawCheck(const Menu* m, int p, Colour colour) {
  const Rect& b = m->itemRect[p];
  int left = b.xmin;
  if (m->submenu[p] && isLeftSide(p) && p < m->radialCount)
    left = mSatAdd(left, mScaled(arrowArea));
  int middle = int((int64_t(b.ymin) + b.ymax) / 2);
  PointList check =
      mScaledPoints({{4, -1, 0, 0}, {7, 2, 0, 0}, {13, -4, 0, 0}});
  platform::Platform& platform = platform::current();
  int width = drawState.lineWidth;
  mSetLineWidth(mScaled(2));
  if (!m->enabled[p]) {
    // Engraved, as a disabled label is.
    PointList raised = check;
    mListTranslate(&raised, left + mScaled(1), middle + mScaled(1));
    mSetColor(platform.systemColour(platform::SystemColour::ButtonHighlight));
    mDrawPoly(&raised);
    colour = platform.systemColour(platform::SystemColour::ButtonShadow);
  }
  mListTranslate(&check, left, middle);
  mSetColor(colour);
  mDrawPoly(&check);
  mSetLineWidth(width);
}

}  // namespace

void mShowIndicators(int on) { indicatorsShown = on != 0; }

int mIndicatorsShown() { return indicatorsShown ? 1 : 0; }

int mItemHeight(const Menu* m, int p) {
  int text = p < m->itemCount ? mTextHeight() : 0;
  return text + 2 * drawState.pad;
}

int mItemContentWidth(const Menu* m, int p) {
  if (!m || p < 0 || p >= m->itemCount || p >= MENU_SLOTS) return 0;
  int width = labelWidth(m, p) + mScaled(labelMargin);
  if (m->submenu[p]) width += mScaled(arrowArea);
  if (hasBothIndicators(m, p)) width += mScaled(labelMargin);
  return width;
}

int mItemWidthBase(const Menu* m, int p) {
  if (!m || p < 0 || p >= m->itemCount || p >= MENU_SLOTS) return 0;
  int widest = 0;
  if (mIsLinearPosition(m, p)) {
    for (int q = m->radialCount; q < m->itemCount && q < MENU_SLOTS; q++)
      if (mItemContentWidth(m, q) > widest) widest = mItemContentWidth(m, q);
    return widest;
  }
  if (mRadialSlotsShown(m) == RADIAL_SLOTS) {
    if (p == 0 || p == 4) return mItemContentWidth(m, p);
    int a = mItemContentWidth(m, p), b = mItemContentWidth(m, 8 - p);
    return a > b ? a : b;
  }
  for (int q = 0; q < mRadialSlotsShown(m); q++)
    if (mItemContentWidth(m, q) > widest) widest = mItemContentWidth(m, q);
  return widest;
}

void mMoveItem(Menu* m, int p, int dx, int dy) {
  if (!m || p < 0 || p >= MENU_SLOTS) return;
  mRectMove(&m->itemRect[p], dx, dy);
  mPointOffset(&m->labelPoint[p], dx, dy);
  mPointOffset(&m->arrowPoint[p], dx, dy);
}

void mPlaceLabelAndArrow(Menu* m, int p) {
  const Rect& b = m->itemRect[p];
  bool linear = p >= m->radialCount;
  int64_t left = int64_t(b.xmin) + mScaled(labelMargin) +
                 (hasBothIndicators(m, p) ? mScaled(labelMargin) : 0);
  int64_t right = b.xmax;
  if (m->submenu[p]) {
    if (isLeftSide(p) && !linear)
      left += mScaled(arrowArea);
    else
      right -= mScaled(arrowArea);
  }
  int64_t t = labelWidth(m, p);
  m->labelPoint[p].x =
      mSaturate(linear ? left + 1 : left + (right - t - left) / 2);
  m->labelPoint[p].y =
      mSaturate(int64_t(b.ymin) + mTextAscent() + drawState.pad);
  if (m->submenu[p]) {
    m->arrowPoint[p].x = mSaturate(
        isLeftSide(p) && !linear ? int64_t(b.xmin) + mScaled(arrowInset)
                                 : int64_t(b.xmax) + 1 - mScaled(arrowInset));
    m->arrowPoint[p].y =
        mSaturate(int64_t(b.ymin) + (int64_t(b.ymax) - b.ymin + 1) / 2);
  }
}

PointList mScaledPoints(std::initializer_list<Point> points) {
  PointList list;
  list.count = 0;
  for (Point p : points) {
    p.x = float(mScaled(int(p.x)));
    p.y = float(mScaled(int(p.y)));
    mListAppend(&list, &p);
  }
  return list;
}

void mDrawItem(Menu* m, int n, bool highlighted) {
  if (!m || n < 1 || n > m->itemCount || n > MENU_SLOTS) return;
  int p = n - 1;
  platform::Platform& platform = platform::current();
  auto system = [&](platform::SystemColour c) {
    return platform.systemColour(c);
  };
  Colour text = system(highlighted ? platform::SystemColour::HighlightText
                                   : platform::SystemColour::MenuText);
  Colour shadow = system(platform::SystemColour::ButtonShadow);
  Colour light = system(platform::SystemColour::ButtonHighlight);
  const Rect b = m->itemRect[p];
  mSetLineWidth(1);
  mSetColor(drawState.background);
  mFillRect(&b);
  if (highlighted) {
    Rect panel = b;
    mRectInset(&panel, mScaled(highlightInset), mScaled(highlightInset));
    mSetColor(system(platform::SystemColour::Highlight));
    mFillRect(&panel);
  }
  // The bevel is made of bands one scaled pixel thick along the box's
  // edges, given here by their first and last rows and columns.
  auto band = [](int64_t x0, int64_t x1, int64_t y0, int64_t y1) {
    if (x1 < x0 || y1 < y0) return;
    Rect r{mSaturate(x0), mSaturate(x1), mSaturate(y0), mSaturate(y1)};
    mFillRect(&r);
  };
  const int64_t t = mScaled(1);
  const int64_t left = b.xmin, right = b.xmax, top = b.ymin, bottom = b.ymax;
  if (p < m->radialCount) {
    mSetColor(drawState.foreground);
    band(right - t + 1, right, top, bottom);
    band(left, right - 1, bottom - t + 1, bottom);
    mSetColor(shadow);
    band(right - 2 * t + 1, right - t, top + t, bottom - t);
    band(left + t, right - t, bottom - 2 * t + 1, bottom - t);
    mSetColor(light);
    band(left, left + 2 * t - 1, top, bottom);
    band(left, right, top, top + t - 1);
    band(left, right - t, top + t, top + 2 * t - 1);
  } else {
    mSetColor(drawState.foreground);
    band(right - t + 1, right, top, bottom);
    mSetColor(shadow);
    band(right - 2 * t + 1, right - t, top, bottom - t);
    mSetColor(light);
    band(left, left + 2 * t - 1, top, bottom);
    if (p == m->radialCount) {
      band(left, right, top, top + t - 1);
      band(left, right - t, top + t, top + 2 * t - 1);
    }
    if (p == m->itemCount - 1) {
      mSetColor(drawState.foreground);
      band(left, right, bottom - t + 1, bottom);
      mSetColor(shadow);
      band(left + t, right - t, bottom - 2 * t + 1, bottom - t);
    }
  }
  mSetColor(text);
  mMoveTo(m->labelPoint[p].x, m->labelPoint[p].y);
  if (m->enabled[p])
    mDrawText(m->label[p], m->italic[p], m->regularWeight[p]);
  else {
    // In the font it was measured in, or it reaches past its box.
    mSelectFont(mLabelFontName(m->italic[p], m->regularWeight[p]));
    mDrawDisabledText(m->label[p]);
  }
  if (m->submenu[p]) {
    mSetColor(text);
    mDrawArrow(m, p, m->arrowPoint[p].x, m->arrowPoint[p].y);
  }
  if (indicatorsShown && m->hasToggle[p] && m->toggleOn[p])
    drawCheck(m, p, text);
}

void mDrawArrow(const Menu* m, int p, int x, int y) {
  if (!m || p < 0 || p >= MENU_SLOTS) return;
  constexpr float angles[RADIAL_SLOTS] = {0, 90, 90, 90, 180, 270, 270, 270};
  PointList arrow = mScaledPoints(
      {{0, -4, 0, 0}, {-6, 2, 0, 0}, {6, 2, 0, 0}, {0, -4, 0, 0}});
  mListRotate(&arrow, p < m->radialCount && p < RADIAL_SLOTS ? angles[p] : 90);
  mListTranslate(&arrow, x, y);
  mSetLineWidth(mScaled(1));
  if (m->enabled[p])
    mPaintPoly(&arrow);
  else
    mPaintGreyPoly(&arrow);
  mSetColor(drawState.background);
  mDrawPoly(&arrow);
}

void mHighlightItem(Menu* m, int n) {
  if (mItemVisible(m, n) && mIsEnabled(m, n)) mDrawItem(m, n, true);
}

void mUnhighlightItem(Menu* m, int n) {
  if (mItemVisible(m, n)) mDrawItem(m, n, false);
}

void mRedrawItems(Menu* m) {
  if (!m) return;
  for (int n = 1; n <= m->itemCount && n <= MENU_SLOTS; n++)
    if (mItemVisible(m, n)) mDrawItem(m, n, false);
}
