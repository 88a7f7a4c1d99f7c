#include "display/radial_menu.h"

#include <cstring>
#include <initializer_list>

#include "display/drawing.h"
#include "display/hit_test.h"
#include "display/linear_menu.h"
#include "display/save_under.h"
#include "marks/geometry.h"
#include "menu/menu_tree.h"

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
  int64_t left = int64_t(b.xmin) + labelMargin +
                 (hasBothIndicators(m, p) ? labelMargin : 0);
  int64_t right = b.xmax;
  if (m->submenu[p]) {
    if (isLeftSide(p) && !linear)
      left += arrowArea;
    else
      right -= arrowArea;
  }
  int64_t t = labelWidth(m, p);
  m->labelPoint[p].x =
      mSaturate(linear ? left + 1 : left + (right - t - left) / 2);
  m->labelPoint[p].y =
      mSaturate(int64_t(b.ymin) + mTextAscent() + drawState.pad);
  if (m->submenu[p]) {
    m->arrowPoint[p].x =
        mSaturate(isLeftSide(p) && !linear ? int64_t(b.xmin) + 11
                                           : int64_t(b.xmax) + 1 - 11);
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
  Rect square{-pullInHalf, pullInHalf, -pullInHalf, pullInHalf};
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
    mMoveItem(m, p, (s - pullInSlack) * towardCentreX[p],
              (s - pullInSlack) * towardCentreY[p]);
}

// The centre is at the origin.
void alignSides(Menu* m) {
  for (int p = 0; p < RADIAL_SLOTS; p++) {
    if (!mSlotVisible(m, p)) continue;
    const Rect& b = m->itemRect[p];
    int dx = 0;
    if (p == 1 || p == 3) dx = diagonalAlign - b.xmin;
    if (p == 2) dx = sideAlign - b.xmin;
    if (p == 5 || p == 7) dx = -diagonalAlign - b.xmax;
    if (p == 6) dx = -sideAlign - b.xmax;
    mMoveItem(m, p, dx, 0);
  }
}

PointList pointsOf(std::initializer_list<Point> points) {
  PointList list;
  list.count = 0;
  for (const Point& p : points) mListAppend(&list, &p);
  return list;
}

}  // namespace

int mItemContentWidth(const Menu* m, int p) {
  if (!m || p < 0 || p >= m->itemCount || p >= MENU_SLOTS) return 0;
  int width = labelWidth(m, p) + labelMargin;
  if (m->submenu[p]) width += arrowArea;
  if (hasBothIndicators(m, p)) width += labelMargin;
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
    int w = mItemWidthBase(m, p) + extraWidth;
    int dx = 0, dy = 0;
    switch (p) {
      case 0:
        dx = -(w / 2);
        dy = -(2 * h + 8) - h / 2;
        break;
      case 1:
        dx = h + 4;
        dy = -4 - h / 2 - h;
        break;
      case 2:
        dx = h / 2 + h + 8;
        dy = -(h / 2);
        break;
      case 3:
        dx = h + 4;
        dy = h - h / 2 + 4;
        break;
      case 4:
        dx = -(w / 2);
        dy = h / 2 + h + 8;
        break;
      case 5:
        dx = -4 - h - w;
        dy = h - h / 2 + 4;
        break;
      case 6:
        dx = -8 - h / 2 - h - w;
        dy = -(h / 2);
        break;
      case 7:
        dx = -4 - h - w;
        dy = -4 - h / 2 - h;
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
    m->centreBox = Rect{-centreHalf, centreHalf, -centreHalf, centreHalf};
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
    mRectInset(&panel, 2, 2);
    mSetColor(system(platform::SystemColour::Highlight));
    mFillRect(&panel);
  }
  auto line = [](int x0, int y0, int x1, int y1) {
    mMoveTo(x0, y0);
    mLineTo(x1, y1);
  };
  // The box's edges and the lines one pixel in from and out past them.
  const int left = b.xmin, leftIn = mSatAdd(b.xmin, 1);
  const int right = b.xmax, rightIn = mSatAdd(b.xmax, -1);
  const int rightOut = mSatAdd(b.xmax, 1);
  const int top = b.ymin, topIn = mSatAdd(b.ymin, 1);
  const int bottom = b.ymax, bottomIn = mSatAdd(b.ymax, -1);
  const int bottomOut = mSatAdd(b.ymax, 1);
  if (p < m->radialCount) {
    mSetColor(drawState.foreground);
    line(right, top, right, bottomOut);
    line(left, bottom, right, bottom);
    mSetColor(shadow);
    line(rightIn, topIn, rightIn, bottom);
    line(leftIn, bottomIn, right, bottomIn);
    mSetColor(light);
    line(left, top, left, bottomOut);
    line(leftIn, top, leftIn, bottomOut);
    line(left, top, rightOut, top);
    line(left, topIn, right, topIn);
  } else {
    mSetColor(drawState.foreground);
    line(right, top, right, bottomOut);
    mSetColor(shadow);
    line(rightIn, top, rightIn, bottom);
    mSetColor(light);
    line(left, top, left, bottomOut);
    line(leftIn, top, leftIn, bottomOut);
    if (p == m->radialCount) {
      line(left, top, rightOut, top);
      line(left, topIn, right, topIn);
    }
    if (p == m->itemCount - 1) {
      mSetColor(drawState.foreground);
      line(left, bottom, rightOut, bottom);
      mSetColor(shadow);
      line(leftIn, bottomIn, right, bottomIn);
    }
  }
  mSetColor(text);
  mMoveTo(m->labelPoint[p].x, m->labelPoint[p].y);
  if (m->enabled[p])
    mDrawText(m->label[p], m->italic[p], m->regularWeight[p]);
  else
    mDrawDisabledText(m->label[p]);
  if (m->submenu[p]) {
    mSetColor(text);
    mDrawArrow(m, p, m->arrowPoint[p].x, m->arrowPoint[p].y);
  }
}

void mDrawArrow(const Menu* m, int p, int x, int y) {
  if (!m || p < 0 || p >= MENU_SLOTS) return;
  constexpr float angles[RADIAL_SLOTS] = {0, 90, 90, 90, 180, 270, 270, 270};
  PointList arrow =
      pointsOf({{0, -4, 0, 0}, {-6, 2, 0, 0}, {6, 2, 0, 0}, {0, -4, 0, 0}});
  mListRotate(&arrow, p < m->radialCount && p < RADIAL_SLOTS ? angles[p] : 90);
  mListTranslate(&arrow, x, y);
  mSetLineWidth(1);
  if (m->enabled[p])
    mPaintPoly(&arrow);
  else
    mPaintGreyPoly(&arrow);
  mSetColor(drawState.background);
  mDrawPoly(&arrow);
}

void mDrawSpokes(const Menu* m, int x, int y) {
  if (mRadialSlotsShown(m) != RADIAL_SLOTS) return;
  const PointList longTick =
      pointsOf({{0, -17, 0, 0}, {5, 0, 0, 0}, {-5, 0, 0, 0}, {0, -17, 0, 0}});
  const PointList shortTick =
      pointsOf({{0, -14, 0, 0}, {5, 0, 0, 0}, {-5, 0, 0, 0}, {0, -14, 0, 0}});
  for (int k = 0; k < RADIAL_SLOTS; k++) {
    if (!mSlotVisible(m, k)) continue;
    PointList tick = k % 2 == 0 ? longTick : shortTick;
    mListRotate(&tick, float(k * 360 / RADIAL_SLOTS));
    mListTranslate(&tick, x, y);
    mSetLineWidth(1);
    mSetColor(drawState.background);
    mPaintPoly(&tick);
    mSetColor(drawState.foreground);
    mDrawPoly(&tick);
  }
}

void mDrawCentre(int x, int y) {
  Rect r{mSatAdd(x, -8), mSatAdd(x, 7), mSatAdd(y, -8), mSatAdd(y, 7)};
  mSetLineWidth(1);
  mSetColor(drawState.background);
  mPaintPie(&r);
  mSetColor(drawState.foreground);
  mDrawArc(&r);
}

void mDrawParentLine(const Menu* m) {
  if (!m || !m->parent) return;
  mSetColor(drawState.foreground);
  mSetLineWidth(3);
  mDrawLine(m->parent->centreX, m->parent->centreY, m->centreX, m->centreY);
  mDrawCentre(m->parent->centreX, m->parent->centreY);
}

void mDrawEmptyMarker(int x, int y) {
  Rect r{x, mSatAdd(x, 15), y, mSatAdd(y, 15)};
  mSetLineWidth(1);
  mSetColor(drawState.background);
  mFillRect(&r);
  mSetColor(drawState.foreground);
  mDrawRect(&r);
}

void mDrawBand(Menu* m) {
  if (!m) return;
  mSaveBandArea(m);
  mSetColor(drawState.background);
  mSetLineWidth(5);
  mDrawLine(m->centreX, m->centreY, m->lastX, m->lastY);
  mSetColor(drawState.foreground);
  mSetLineWidth(3);
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
