#include "display/radial_menu.h"

#include <cstring>
#include <initializer_list>

#include "core/geometry.h"
#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "display/drawing.h"
#include "display/linear_menu.h"
#include "display/save_under.h"

namespace {

// Layout, in pixels.
constexpr int labelMargin = 17;  // left of every label
constexpr int arrowArea = 22;    // an arrow of 12 with 5 on each side
constexpr int extraWidth = 16;   // box width beyond its content
constexpr int centreHalf = 16;   // half-size of the centre box
constexpr int pullInHalf = 24;   // half-size of the square boxes stop at
constexpr int pullInSlack = 4;
constexpr int sideAlign = 24;      // east and west boxes from the centre
constexpr int diagonalAlign = 16;  // diagonal boxes from the centre
constexpr int arrowInset = 11;     // an arrow's centre from its box's end
constexpr int highlightInset = 2;  // the highlight panel inside the bevel
constexpr int centreDisc = 16;     // across
constexpr int parentLineWidth = 3;
constexpr int emptyMarker = 16;  // a square, across
constexpr int bandHaloWidth = 5;
constexpr int bandLineWidth = 3;

bool isLeftSide(int position) { return position >= 5 && position <= 7; }

bool hasBothIndicators(const Menu* m, int p) {
  return m->hasToggle[p] && m->hasChoice[p];
}

int boxHeight(const Menu* m, int p) {
  int text = p < m->itemCount ? mTextHeight() : 0;
  return text + 2 * drawState.pad;
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

}  // namespace

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

namespace {

// Moves the compass boxes in until two of them, or one and the square
// round the centre, touch; then sets them back to end just short of that.
// The centre is at the origin.
void pullIn(Menu* m) {
  Rect copies[RADIAL_SLOTS];
  for (int p = 0; p < RADIAL_SLOTS; p++) copies[p] = m->itemRect[p];
  Rect square{-mScaled(pullInHalf), mScaled(pullInHalf), -mScaled(pullInHalf),
              mScaled(pullInHalf)};
  int s = 0;
  bool touching = false;
  // Every visible box reaches the square within a few hundred steps; the
  // bound only guards against a layout gone wild.
  while (!touching && s < 100000) {
    for (int p = 0; p < RADIAL_SLOTS; p++)
      mRectMove(&copies[p], towardCentreX[p], towardCentreY[p]);
    s++;
    for (int p = 0; p < RADIAL_SLOTS && !touching; p++) {
      if (!mSlotVisible(m, p)) continue;
      if (mRectOverlap(&copies[p], &square)) touching = true;
      for (int q = 0; q < RADIAL_SLOTS && !touching; q++)
        if (q != p && mSlotVisible(m, q) &&
            mRectOverlap(&copies[p], &copies[q]))
          touching = true;
    }
  }
  for (int p = 0; p < RADIAL_SLOTS; p++)
    mMoveItem(m, p, (s - mScaled(pullInSlack)) * towardCentreX[p],
              (s - mScaled(pullInSlack)) * towardCentreY[p]);
}

// The centre is at the origin.
void alignSides(Menu* m) {
  for (int p = 0; p < RADIAL_SLOTS; p++) {
    if (!mSlotVisible(m, p)) continue;
    const Rect& b = m->itemRect[p];
    int dx = 0;
    if (p == 1 || p == 3) dx = mScaled(diagonalAlign) - b.xmin;
    if (p == 2) dx = mScaled(sideAlign) - b.xmin;
    if (p == 5 || p == 7) dx = -mScaled(diagonalAlign) - b.xmax;
    if (p == 6) dx = -mScaled(sideAlign) - b.xmax;
    mMoveItem(m, p, dx, 0);
  }
}

// A shape given in pixels, at the current scale.
PointList scaledPoints(std::initializer_list<Point> points) {
  PointList list;
  list.count = 0;
  for (Point p : points) {
    p.x = float(mScaled(int(p.x)));
    p.y = float(mScaled(int(p.y)));
    mListAppend(&list, &p);
  }
  return list;
}

}  // namespace

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

void mLayoutMenu(Menu* m) {
  if (!m) return;
  // Laid out round the origin and moved to the centre at the end, so that
  // the sums stay small wherever the centre lies; only that move saturates.
  int compass = m->radialCount < RADIAL_SLOTS ? m->radialCount : RADIAL_SLOTS;
  for (int p = 0; p < compass; p++) {
    int h = boxHeight(m, p);
    int w = mItemWidthBase(m, p) + mScaled(extraWidth);
    const int four = mScaled(4), eight = mScaled(8);
    int dx = 0, dy = 0;
    switch (p) {
      case 0:
        dx = -(w / 2);
        dy = -(2 * h + eight) - h / 2;
        break;
      case 1:
        dx = h + four;
        dy = -four - h / 2 - h;
        break;
      case 2:
        dx = h / 2 + h + eight;
        dy = -(h / 2);
        break;
      case 3:
        dx = h + four;
        dy = h - h / 2 + four;
        break;
      case 4:
        dx = -(w / 2);
        dy = h / 2 + h + eight;
        break;
      case 5:
        dx = -four - h - w;
        dy = h - h / 2 + four;
        break;
      case 6:
        dx = -eight - h / 2 - h - w;
        dy = -(h / 2);
        break;
      case 7:
        dx = -four - h - w;
        dy = -four - h / 2 - h;
        break;
    }
    m->itemRect[p] = Rect{dx, dx + w, dy, dy + h};
    mPlaceLabelAndArrow(m, p);
  }
  if (mRadialSlotsShown(m) == RADIAL_SLOTS && !mAllRadialLabelsEmpty(m)) {
    pullIn(m);
    alignSides(m);
  }
  if (mHasLinearPart(m)) mLayoutRows(m);

  if (mHasRadialPart(m) && !mIsLinearOnly(m))
    m->centreBox = Rect{-mScaled(centreHalf), mScaled(centreHalf),
                        -mScaled(centreHalf), mScaled(centreHalf)};
  else
    m->centreBox = Rect{0, 0, 0, 0};
  m->bounds = m->centreBox;
  Rect radial = m->centreBox;
  for (int p = 0; p < m->itemCount && p < MENU_SLOTS; p++) {
    if (!mSlotVisible(m, p)) continue;
    mRectExtend(&m->bounds, &m->itemRect[p], nullptr, nullptr);
    if (p < RADIAL_SLOTS)
      mRectExtend(&radial, &m->itemRect[p], nullptr, nullptr);
  }
  int halfWidth = (radial.xmax - radial.xmin) / 2;
  int halfHeight = (radial.ymax - radial.ymin) / 2;
  m->radius = halfWidth < halfHeight ? halfWidth : halfHeight;

  for (int p = 0; p < MENU_SLOTS; p++)
    if (p < compass || mIsLinearPosition(m, p))
      mMoveItem(m, p, m->centreX, m->centreY);
  mRectMove(&m->centreBox, m->centreX, m->centreY);
  mRectMove(&m->bounds, m->centreX, m->centreY);
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
}

void mDrawArrow(const Menu* m, int p, int x, int y) {
  if (!m || p < 0 || p >= MENU_SLOTS) return;
  constexpr float angles[RADIAL_SLOTS] = {0, 90, 90, 90, 180, 270, 270, 270};
  PointList arrow =
      scaledPoints({{0, -4, 0, 0}, {-6, 2, 0, 0}, {6, 2, 0, 0}, {0, -4, 0, 0}});
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

void mDrawSpokes(const Menu* m, int x, int y) {
  if (mRadialSlotsShown(m) != RADIAL_SLOTS) return;
  const PointList longTick = scaledPoints(
      {{0, -17, 0, 0}, {5, 0, 0, 0}, {-5, 0, 0, 0}, {0, -17, 0, 0}});
  const PointList shortTick = scaledPoints(
      {{0, -14, 0, 0}, {5, 0, 0, 0}, {-5, 0, 0, 0}, {0, -14, 0, 0}});
  for (int k = 0; k < RADIAL_SLOTS; k++) {
    if (!mSlotVisible(m, k)) continue;
    PointList tick = k % 2 == 0 ? longTick : shortTick;
    mListRotate(&tick, float(k * 360 / RADIAL_SLOTS));
    mListTranslate(&tick, x, y);
    mSetLineWidth(mScaled(1));
    mSetColor(drawState.background);
    mPaintPoly(&tick);
    mSetColor(drawState.foreground);
    mDrawPoly(&tick);
  }
}

void mDrawCentre(int x, int y) {
  int half = mScaled(centreDisc) / 2;
  Rect r{mSatAdd(x, -half), mSatAdd(x, half - 1), mSatAdd(y, -half),
         mSatAdd(y, half - 1)};
  mSetLineWidth(mScaled(1));
  mSetColor(drawState.background);
  mPaintPie(&r);
  mSetColor(drawState.foreground);
  mDrawArc(&r);
}

void mDrawParentLine(const Menu* m) {
  if (!m || !m->parent) return;
  mSetColor(drawState.foreground);
  mSetLineWidth(mScaled(parentLineWidth));
  mDrawLine(m->parent->centreX, m->parent->centreY, m->centreX, m->centreY);
  mDrawCentre(m->parent->centreX, m->parent->centreY);
}

void mDrawEmptyMarker(int x, int y) {
  int last = mScaled(emptyMarker) - 1;
  Rect r{x, mSatAdd(x, last), y, mSatAdd(y, last)};
  mSetLineWidth(mScaled(1));
  mSetColor(drawState.background);
  mFillRect(&r);
  mSetColor(drawState.foreground);
  mDrawRect(&r);
}

void mDrawBand(Menu* m) {
  if (!m) return;
  mSaveBandArea(m);
  mSetColor(drawState.background);
  mSetLineWidth(mScaled(bandHaloWidth));
  mDrawLine(m->centreX, m->centreY, m->lastX, m->lastY);
  mSetColor(drawState.foreground);
  mSetLineWidth(mScaled(bandLineWidth));
  mDrawLine(m->centreX, m->centreY, m->lastX, m->lastY);
  mDrawSpokes(m, m->centreX, m->centreY);
  mDrawCentre(m->centreX, m->centreY);
}

void mDrawMenu(Menu* m) {
  if (!m) return;
  mSaveMenuArea(m);
  if (m->drawnAsParent) {
    mDrawParentLine(m);
    mDrawCentre(m->centreX, m->centreY);
    return;
  }
  mDrawParentLine(m);
  if (mAllLabelsEmpty(m) && !m->parent) {
    mDrawEmptyMarker(m->centreX, m->centreY);
    return;
  }
  for (int n = 1; n <= m->itemCount && n <= MENU_SLOTS; n++)
    if (mItemVisible(m, n)) mDrawItem(m, n, false);
  if ((mIsLinearOnly(m) && !m->parent) || mHangsFromLinearItem(m)) return;
  mDrawSpokes(m, m->centreX, m->centreY);
  mDrawCentre(m->centreX, m->centreY);
}

void mRedrawMenu(Menu* m) { mDrawMenu(m); }

void mDrawAsAncestor(Menu* m) {
  if (!m) return;
  mRestoreBandArea(m);
  mRestoreMenuArea(m);
  m->drawnAsParent = 1;
  mDrawMenu(m);
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

void mShowMenu(Menu* m, int x, int y) {
  if (!m) return;
  if (m->drawnAsParent) mEraseMenu(m);
  mDrawMenu(m);
  m->lastX = x;
  m->lastY = y;
  m->selected = mHitTest(m, x, y, &m->selectedByBox);
  if (m->selected == 0) return;
  m->selectedEnabled = m->enabled[m->selected - 1];
  if (m->selectedEnabled) mHighlightItem(m, m->selected);
  if (!mIsLinearPosition(m, m->selected - 1)) mDrawBand(m);
}

void mTrackRadial(Menu* m, int x, int y) {
  if (!m || (x == m->lastX && y == m->lastY)) return;
  if (mAllLabelsEmpty(m) && !m->parent) return;
  mRestoreBandArea(m);
  m->lastX = x;
  m->lastY = y;
  int k = mHitTest(m, x, y, &m->selectedByBox);
  if (k != m->selected) {
    if (m->selected != 0 && m->selectedEnabled)
      mUnhighlightItem(m, m->selected);
    if (k != 0 && mIsEnabled(m, k)) mHighlightItem(m, k);
    m->selected = k;
    m->selectedEnabled = k != 0 && mIsEnabled(m, k);
    if (k == 0) return;
  }
  if (k != 0 && !mIsLinearPosition(m, k - 1)) mDrawBand(m);
}
