#include "core/hit_test.h"

#include <cmath>
#include <cstdlib>

#include "core/geometry.h"
#include "core/menu_tree.h"
#include "core/scale.h"

namespace {

constexpr double twoPi = 2 * M_PI;
constexpr int centreZone = 16;  // pixels, Manhattan distance

}  // namespace

bool mSlotVisible(const Menu* menu, int position) {
  if (!menu || position < 0 || position >= MENU_SLOTS) return false;
  return menu->label[position][0] != '\0' || mAllLabelsEmpty(menu);
}

bool mItemVisible(const Menu* menu, int n) {
  return menu && n >= 1 && n <= menu->itemCount && mSlotVisible(menu, n - 1);
}

bool mInCentreZone(const Menu* menu, int x, int y) {
  if (!menu) return false;
  // Wider than 32 bits so that far-off points cannot overflow.
  int64_t dx = int64_t(menu->centreX) - x, dy = int64_t(menu->centreY) - y;
  return std::abs(dx) + std::abs(dy) < mScaled(centreZone);
}

bool mOutsideCircle(const Menu* menu, int x, int y) {
  if (!menu) return false;
  // Squares of differences up to 2^32 overflow even 64 bits; doubles hold
  // them closely enough for a comparison and exactly at screen distances.
  double dx = double(menu->centreX) - x, dy = double(menu->centreY) - y;
  return dx * dx + dy * dy > double(menu->radius) * menu->radius;
}

int mHitByDirection(const Menu* menu, float dx, float dy) {
  int n = mRadialSlotsShown(menu);
  if (n <= 0 || mAllRadialLabelsEmpty(menu) || (dx == 0.0f && dy == 0.0f))
    return 0;
  double sector = twoPi / n;
  double a = std::atan2(double(dx), -double(dy));
  if (a < 0) a += twoPi;
  a = a + sector * 0.5;
  if (a > twoPi) a -= twoPi;
  int k = int(a / sector) + 1;
  // Exactly on the last boundary the sector count comes out one too high;
  // that direction belongs to the first sector.
  if (k > n) k = 1;
  if (n != RADIAL_SLOTS || mItemVisible(menu, k)) return k;

  // An empty slot of an eight-slot menu: search half-sector by half-sector
  // both ways for the nearest labelled slot.
  int s = 1 + int(a * 8 / M_PI);
  if (s > 16) s = 16;
  int cw = s + 1, cwCount = 1;
  bool cwFound = false;
  while (cw != s) {
    if (cw == 17) cw = 1;
    if (cw == s) break;
    if (mItemVisible(menu, (cw + 1) / 2)) {
      cwFound = true;
      break;
    }
    cw++;
    cwCount++;
  }
  int ccw = s - 1, ccwCount = 1;
  bool ccwFound = false;
  while (ccw != s) {
    if (ccw == 0) ccw = 16;
    if (ccw == s) break;
    if (mItemVisible(menu, (ccw + 1) / 2)) {
      ccwFound = true;
      break;
    }
    ccw--;
    ccwCount++;
  }
  if (!cwFound || !ccwFound) return 0;
  return cwCount < ccwCount ? (cw + 1) / 2 : (ccw + 1) / 2;
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
  for (int n = 1; n <= menu->itemCount && n <= MENU_SLOTS; n++) {
    if (mSlotVisible(menu, n - 1) &&
        mRectContains(x, y, &menu->itemRect[n - 1])) {
      if (byBox) *byBox = 1;
      return n;
    }
  }
  return mHitByDirection(menu, float(int64_t(x) - menu->centreX),
                         float(int64_t(y) - menu->centreY));
}
