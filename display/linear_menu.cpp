// List menus: rows under the compass or a whole menu of them, and cascades.
#include "display/linear_menu.h"

#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/scale.h"
#include "display/menu_items.h"
#include "display/save_under.h"

namespace {

constexpr int rowGap = 8;  // pixels between the anchor and the first row

// Only rows count in a list: a compass item found by direction is none.
int rowHit(const Menu* m, int x, int y, uint8_t* byBox) {
  int k = mHitTest(m, x, y, byBox);
  return mIsRadialPosition(m, k - 1) ? 0 : k;
}

}  // namespace

void mLayoutRows(Menu* m) {
  if (!mHasLinearPart(m)) return;
  int first = m->radialCount;
  int h = mItemHeight(m, first);
  int w = mItemWidthBase(m, first) + 16;
  int left = 0, y0 = 0, gap = mScaled(rowGap);
  if (!mIsLinearOnly(m)) {
    int south = mRadialSlotsShown(m) / 2;
    y0 = m->itemRect[south].ymax;
    left = -(w / 2);
  }
  int d = 0;
  for (int p = first; p < m->itemCount && p < MENU_SLOTS; p++) {
    m->itemRect[p] = Rect{left, left + w, y0 + gap + d, y0 + gap + d + h};
    mPlaceLabelAndArrow(m, p);
    d += h;
  }
}

void mShowLinear(Menu* m, int x, int y) {
  if (!m) return;
  if (!(mHangsFromLinearItem(m) && mAllLabelsEmpty(m))) {
    mSaveMenuArea(m);
    for (int p = m->radialCount; p < m->itemCount && p < MENU_SLOTS; p++)
      mDrawItem(m, p + 1, false);
  }
  m->lastX = x;
  m->lastY = y;
  m->selected = mHitTest(m, x, y, &m->selectedByBox);
  if (m->selected != 0) m->selectedEnabled = m->enabled[m->selected - 1];
  if (mIsRadialPosition(m, m->selected - 1)) m->selected = 0;
  if (m->selected != 0 && m->selectedEnabled) mHighlightItem(m, m->selected);
}

void mTrackLinear(Menu* m, int x, int y) {
  if (!m || (x == m->lastX && y == m->lastY)) return;
  m->lastX = x;
  m->lastY = y;
  if (mAllLabelsEmpty(m) && !m->parent) return;
  int k = rowHit(m, x, y, &m->selectedByBox);
  if (k == m->selected) return;
  if (m->selected != 0 && m->selectedEnabled) mUnhighlightItem(m, m->selected);
  m->selected = k;
  m->selectedEnabled = k != 0 && mIsEnabled(m, k);
  if (k != 0) {
    mRedrawItems(m);
    if (m->selectedEnabled) mHighlightItem(m, k);
  }
}

void mFindLinearItem(const Menu* root, int x, int y, Menu** found, int* item,
                     Menu** base) {
  if (found) *found = nullptr;
  if (item) *item = 0;
  if (base) *base = nullptr;
  if (!root || !root->current) return;
  Menu* b = root->current;
  while (mIsLinearOnly(b) && b->parent && mHangsFromLinearItem(b))
    b = b->parent;
  if (base) *base = b;
  for (Menu* m = root->current; m; m = m->parent) {
    int k = rowHit(m, x, y, nullptr);
    if (k != 0) {
      if (found) *found = m;
      if (item) *item = k;
      return;
    }
    if (m == b) return;
  }
}
