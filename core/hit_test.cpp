#include "core/hit_test.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "core/geometry.h"
#include "core/menu_tree.h"
#include "core/scale.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr double twoPi = 2 * pi;
constexpr int centreZone = 16;  // pixels, Manhattan distance
constexpr int halfSectors = 2 * RADIAL_SLOTS;

// Half-sectors of an eight-slot menu are numbered 1 to 16 clockwise; slot
// k (1-based) covers half-sectors 2k - 1 and 2k.
int slotOfHalfSector(int h) { return (h + 1) / 2; }

int wrapHalfSector(int h) {
  return h > halfSectors ? 1 : (h < 1 ? halfSectors : h);
}

// Walks from half-sector h, one at a time in `step` (+1 clockwise, -1
// counter-clockwise), to the first one whose slot is visible. Gives its slot
// and the steps taken, or 0 when the walk comes round to h.
int walkToVisibleSlot(const Menu* menu, int h, int step, int* steps) {
  *steps = 1;
  for (int w = wrapHalfSector(h + step); w != h;
       w = wrapHalfSector(w + step), ++*steps)
    if (mItemVisible(menu, slotOfHalfSector(w))) return slotOfHalfSector(w);
  return 0;
}

// An empty slot of an eight-slot menu at angle a (radians clockwise from
// half a sector left of north): its direction goes to the nearer labelled
// slot by half-sectors, counter-clockwise on a tie.
int nearestVisibleSlot(const Menu* menu, double a) {
  int h = std::min(1 + int(a * 8 / pi), halfSectors);
  int cwSteps = 0, ccwSteps = 0;
  int cw = walkToVisibleSlot(menu, h, 1, &cwSteps);
  int ccw = walkToVisibleSlot(menu, h, -1, &ccwSteps);
  if (!cw || !ccw) return 0;
  return cwSteps < ccwSteps ? cw : ccw;
}

}  // namespace

bool mSlotVisible(const Menu* menu, int position) {
  if (!menu || position < 0 || position >= MENU_SLOTS) return false;
  return menu->label[position][0] != '\0' || mAllLabelsEmpty(menu);
}

bool mItemVisible(const Menu* menu, int n) {
  return menu && n >= 1 && n <= menu->itemCount && mSlotVisible(menu, n - 1);
}

bool mMovedOffPivot(const Menu* menu) {
  return menu && menu->movedToFit &&
         (menu->pivotX != menu->centreX || menu->pivotY != menu->centreY);
}

IntPoint mHitCentre(const Menu* menu) {
  if (!menu) return IntPoint{0, 0};
  if (mMovedOffPivot(menu)) return IntPoint{menu->pivotX, menu->pivotY};
  return IntPoint{menu->centreX, menu->centreY};
}

bool mInCentreZone(const Menu* menu, int x, int y) {
  if (!menu) return false;
  if (mMovedOffPivot(menu)) {
    // A round zone the size of the disc drawn there: what the user sees as
    // the centre is exactly where nothing is selected.
    double dx = double(menu->pivotX) - x, dy = double(menu->pivotY) - y;
    double r = mScaled(CENTRE_DISC) / 2;
    return dx * dx + dy * dy <= r * r;
  }
  // Wider than 32 bits so that far-off points cannot overflow.
  int64_t dx = int64_t(menu->centreX) - x, dy = int64_t(menu->centreY) - y;
  return std::abs(dx) + std::abs(dy) < mScaled(centreZone);
}

bool mOutsideCircle(const Menu* menu, int x, int y) {
  if (!menu) return false;
  // Squares of differences up to 2^32 overflow even 64 bits; doubles hold
  // them closely enough for a comparison and exactly at screen distances.
  IntPoint c = mHitCentre(menu);
  double dx = double(c.x) - x, dy = double(c.y) - y;
  return dx * dx + dy * dy > double(menu->radius) * menu->radius;
}

int mHitByDirection(const Menu* menu, float dx, float dy) {
  int n = mRadialSlotsShown(menu);
  if (n <= 0 || mAllRadialLabelsEmpty(menu) || (dx == 0.0f && dy == 0.0f))
    return 0;
  double sector = twoPi / n;
  // Clockwise from north, turned on by half a sector so that sector k
  // starts at (k - 1) sectors.
  double a = std::atan2(double(dx), -double(dy));
  if (a < 0) a += twoPi;
  a = a + sector * 0.5;
  if (a > twoPi) a -= twoPi;
  int k = int(a / sector) + 1;
  // Exactly on the last boundary the sector count comes out one too high;
  // that direction belongs to the first sector.
  if (k > n) k = 1;
  if (n != RADIAL_SLOTS || mItemVisible(menu, k)) return k;
  return nearestVisibleSlot(menu, a);
}

int mItemInDirection(const Menu* menu, float dx, float dy) {
  int k = mHitByDirection(menu, dx, dy);
  if (mItemVisible(menu, k) && mIsEnabled(menu, k)) return k;
  return 0;
}

int mHitTest(const Menu* menu, int x, int y, uint8_t* byBox) {
  if (byBox) *byBox = 0;
  if (!menu || mInCentreZone(menu, x, y)) return 0;
  if (mHangsFromLinearItem(menu) && mAllLabelsEmpty(menu)) return 0;
  // Rows have no direction: they are hit where they are drawn, once the
  // pointer has left the centre, even in a menu moved off its pivot.
  bool moved = mMovedOffPivot(menu);
  for (int n = 1; n <= menu->itemCount && n <= MENU_SLOTS; n++) {
    if (moved && mIsRadialPosition(menu, n - 1)) continue;
    if (mSlotVisible(menu, n - 1) &&
        mRectContains(x, y, &menu->itemRect[n - 1])) {
      if (byBox) *byBox = 1;
      return n;
    }
  }
  IntPoint c = mHitCentre(menu);
  return mHitByDirection(menu, float(int64_t(x) - c.x),
                         float(int64_t(y) - c.y));
}
