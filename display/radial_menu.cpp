// Compass menus: laid out round their centre, drawn, and tracked.
#include "display/radial_menu.h"

#include "core/geometry.h"
#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/scale.h"
#include "display/drawing.h"
#include "display/linear_menu.h"
#include "display/menu_items.h"
#include "display/save_under.h"

namespace {

// Layout, in pixels.
constexpr int extraWidth = 16;  // box width beyond its content
constexpr int centreHalf = 16;  // half-size of the centre box
constexpr int pullInHalf = 24;  // half-size of the square boxes stop at
constexpr int pullInSlack = 4;
constexpr int sideAlign = 24;      // east and west boxes from the centre
constexpr int diagonalAlign = 16;  // diagonal boxes from the centre
constexpr int parentLineWidth = 3;
constexpr int emptyMarker = 16;  // a square, across
constexpr int bandHaloWidth = 5;
constexpr int bandLineWidth = 3;

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

}  // namespace

void mLayoutMenu(Menu* m) {
  if (!m) return;
  // Laid out round the origin and moved to the centre at the end, so that
  // the sums stay small wherever the centre lies; only that move saturates.
  int compass = m->radialCount < RADIAL_SLOTS ? m->radialCount : RADIAL_SLOTS;
  for (int p = 0; p < compass; p++) {
    int h = mItemHeight(m, p);
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

void mDrawSpokes(const Menu* m, int x, int y) {
  if (mRadialSlotsShown(m) != RADIAL_SLOTS) return;
  const PointList longTick = mScaledPoints(
      {{0, -17, 0, 0}, {5, 0, 0, 0}, {-5, 0, 0, 0}, {0, -17, 0, 0}});
  const PointList shortTick = mScaledPoints(
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
  int half = mScaled(CENTRE_DISC) / 2;
  Rect r{mSatAdd(x, -half), mSatAdd(x, half - 1), mSatAdd(y, -half),
         mSatAdd(y, half - 1)};
  mSetLineWidth(mScaled(1));
  mSetColor(drawState.background);
  mPaintPie(&r);
  mSetColor(drawState.foreground);
  mDrawArc(&r);
}

namespace {

// Spokes and centre look the same wherever a menu is, and the band is drawn
// under them again on every motion: they are drawn once into a stamp, kept
// for as long as the slots shown, the scale and the colours stay the same.
struct Hub {
  uint32_t slots;  // a bit per spoke drawn, and one for the centre alone
  double scale;
  Colour foreground, background;
  int half;  // the centre lies at (half, half) of the stamp
  platform::Stamp* stamp;
};
constexpr int hubsKept = 4;
Hub hubs[hubsKept];
int nextHub = 0;

// The centre alone.
constexpr uint32_t centreOnly = 1u << RADIAL_SLOTS;

// The hub of m's spokes and centre, or of the centre alone for NULL.
Hub* hubFor(const Menu* m) {
  uint32_t slots = centreOnly;
  if (m && mRadialSlotsShown(m) == RADIAL_SLOTS)
    for (int k = 0; k < RADIAL_SLOTS; k++)
      if (mSlotVisible(m, k)) slots |= 1u << k;
  for (Hub& h : hubs)
    if (h.stamp && h.slots == slots && h.scale == mScale() &&
        h.foreground == drawState.foreground &&
        h.background == drawState.background)
      return &h;
  // Spokes reach 17 pixels out with their outline, the disc less.
  int half = mScaled(18) + 2;
  platform::Stamp* stamp = platform::newStamp(2 * half + 1, 2 * half + 1);
  if (!stamp) return nullptr;
  Hub& h = hubs[nextHub];
  nextHub = (nextHub + 1) % hubsKept;
  platform::deleteStamp(h.stamp);
  h = Hub{slots, mScale(), drawState.foreground, drawState.background,
          half,  stamp};
  platform::Surface* screen = drawState.screen;
  drawState.screen = platform::stampSurface(stamp);
  if (m) mDrawSpokes(m, half, half);
  mDrawCentre(half, half);
  drawState.screen = screen;
  return &h;
}

// mDrawSpokes and mDrawCentre at (x, y); mDrawCentre alone for NULL.
void drawHub(const Menu* m, int x, int y) {
  const Hub* h = drawState.screen ? hubFor(m) : nullptr;
  if (!h) {
    if (m) mDrawSpokes(m, x, y);
    mDrawCentre(x, y);
    return;
  }
  drawState.screen->putStamp(h->stamp, mSatAdd(x, -h->half),
                             mSatAdd(y, -h->half));
}

}  // namespace

void mDrawParentLine(const Menu* m) {
  if (!m || !m->parent) return;
  // From centre to centre as the pointer went: a menu moved to fit is
  // joined at the point it opened at, where its directions start.
  IntPoint from = mHitCentre(m->parent), to = mHitCentre(m);
  mSetColor(drawState.foreground);
  mSetLineWidth(mScaled(parentLineWidth));
  mDrawLine(from.x, from.y, to.x, to.y);
  drawHub(nullptr, from.x, from.y);
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
  // Stretched from where directions are measured, so that it points the
  // way the highlighted item was chosen.
  IntPoint c = mHitCentre(m);
  mSaveBandArea(m);
  mSetColor(drawState.background);
  mSetLineWidth(mScaled(bandHaloWidth));
  mDrawLine(c.x, c.y, m->lastX, m->lastY);
  mSetColor(drawState.foreground);
  mSetLineWidth(mScaled(bandLineWidth));
  mDrawLine(c.x, c.y, m->lastX, m->lastY);
  drawHub(m, c.x, c.y);
}

void mDrawMenu(Menu* m) {
  if (!m) return;
  mSaveMenuArea(m);
  // A menu moved to fit draws its centre, spokes and all, where it opened:
  // there nothing is selected and from there the directions go.
  IntPoint c = mHitCentre(m);
  if (m->drawnAsParent) {
    mDrawParentLine(m);
    drawHub(nullptr, c.x, c.y);
    return;
  }
  mDrawParentLine(m);
  if (mAllLabelsEmpty(m) && !m->parent) {
    mDrawEmptyMarker(m->centreX, m->centreY);
    return;
  }
  mRedrawItems(m);
  if ((mIsLinearOnly(m) && !m->parent) || mHangsFromLinearItem(m)) return;
  drawHub(m, c.x, c.y);
}

void mRedrawMenu(Menu* m) { mDrawMenu(m); }

void mDrawAsAncestor(Menu* m) {
  if (!m) return;
  mRestoreBandArea(m);
  mRestoreMenuArea(m);
  m->drawnAsParent = 1;
  mDrawMenu(m);
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
