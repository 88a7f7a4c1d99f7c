#include "display/placement.h"

#include <cstring>

#include "core/geometry.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "display/drawing.h"
#include "display/radial_menu.h"
#include "platform/platform.h"

namespace {

// Moving a menu into the work area settles in two passes; the bound keeps
// a menu that cannot fit either way from moving for ever.
constexpr int maxFitPasses = 8;

// The new coordinate along one axis for a menu spanning lo..hi placed at
// `at`, in a work area spanning areaLo..areaHi. In 64 bits: a menu laid out
// near the ends of the int range is far from any work area.
int fitAxis(int64_t at, int64_t lo, int64_t hi, int64_t areaLo, int64_t areaHi,
            bool flipToLeft) {
  int64_t size = hi - lo + 1, areaSize = areaHi - areaLo + 1;
  if (size > areaSize) return int(areaLo);
  if (lo < areaLo) return mSaturate(at + (areaLo - lo));
  if (hi > areaHi)
    return mSaturate(flipToLeft ? at - size : at + (areaHi - hi));
  return int(at);
}

}  // namespace

void mPlaceMenu(Menu* menu, int x, int y) {
  if (!menu) return;
  mChooseMeasureFont(menu);
  menu->movedToFit = 0;
  menu->pivotX = x;
  menu->pivotY = y;
  mFitToWorkArea(menu, x, y);
}

void mWorkArea(Rect* out) {
  if (out) *out = platform::current().workArea();
}

void mWorkAreaFor(const Menu* menu, int x, int y, Rect* out) {
  if (!out) return;
  const Menu* root = menu;
  while (root && root->parent) root = root->parent;
  if (root && root->stroke && root->stroke->count > 0) {
    x = root->stroke->points[0].x;
    y = root->stroke->points[0].y;
  }
  *out = platform::current().workAreaAt(x, y);
}

void mChooseMeasureFont(const Menu* m) {
  if (!m) return;
  int longestBold = -1, longestRegular = -1;
  size_t boldLength = 0, regularLength = 0;
  bool allRegular = true;
  for (int p = 0; p < m->itemCount && p < MENU_SLOTS; p++) {
    size_t n = std::strlen(m->label[p]);
    if (!m->regularWeight[p]) allRegular = false;
    if (n == 0) continue;
    if (m->regularWeight[p]) {
      if (longestRegular < 0 || n > regularLength) {
        longestRegular = p;
        regularLength = n;
      }
    } else if (longestBold < 0 || n > boldLength) {
      longestBold = p;
      boldLength = n;
    }
  }
  if (allRegular) {
    mSelectFont("REGULAR_FONT");
    return;
  }
  if (longestRegular < 0 || boldLength >= regularLength) {
    mSelectFont("BOLD_FONT");
    return;
  }
  mSelectFont("BOLD_FONT");
  int boldWidth = longestBold < 0 ? 0 : mTextWidth(m->label[longestBold]);
  mSelectFont("REGULAR_FONT");
  int regularWidth = mTextWidth(m->label[longestRegular]);
  if (boldWidth > regularWidth) mSelectFont("BOLD_FONT");
}

void mFitToWorkArea(Menu* menu, int x, int y) {
  if (!menu) return;
  for (int pass = 0; pass < maxFitPasses; pass++) {
    menu->centreX = x;
    menu->centreY = y;
    mLayoutMenu(menu);
    Rect area;
    mWorkAreaFor(menu, x, y, &area);
    const Rect& b = menu->bounds;
    bool list = mIsLinearOnly(menu);
    int nx = fitAxis(x, b.xmin, b.xmax, area.xmin, area.xmax, list);
    int ny = fitAxis(y, b.ymin, b.ymax, area.ymin, area.ymax, list);
    if (list && mRectHeight(&b) <= mRectHeight(&area) && b.ymin >= area.ymin &&
        b.ymax > area.ymax && int64_t(ny) - menu->radius < area.ymin)
      ny = mSatAdd(area.ymin, menu->radius);
    if (nx == menu->centreX && (ny == menu->centreY || menu->movedToFit))
      return;
    menu->movedToFit = 1;
    x = nx;
    y = ny;
  }
}

void mFitRectToWorkArea(const Menu* menu, Rect* box) {
  if (!box) return;
  Rect area;
  mWorkAreaFor(menu, box->xmin, box->ymin, &area);
  int x = fitAxis(box->xmin, box->xmin, box->xmax, area.xmin, area.xmax, false);
  int y = fitAxis(box->ymin, box->ymin, box->ymax, area.ymin, area.ymax, false);
  // Moved in 64 bits: the distance from one end of the int range fits no
  // int.
  int64_t dx = int64_t(x) - box->xmin, dy = int64_t(y) - box->ymin;
  *box = Rect{x, mSaturate(box->xmax + dx), y, mSaturate(box->ymax + dy)};
}
