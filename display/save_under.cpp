#include "display/save_under.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/geometry.h"
#include "core/hit_test.h"
#include "core/scale.h"
#include "core/stroke.h"
#include "display/drawing.h"
#include "platform/report.h"

namespace {

// Pixels from a centre that its spokes and their outlines reach.
constexpr int spokeReach = 18;

void push(SaveStack* stack, platform::Bitmap* copy, int x, int y, int width,
          int height) {
  int i = stack->count;
  stack->bitmaps[i] = copy;
  stack->x[i] = x;
  stack->y[i] = y;
  stack->width[i] = width;
  stack->height[i] = height;
  stack->count = i + 1;
}

// Entry i holds all of [left, right) x [top, bottom).
bool holds(const SaveStack* stack, int i, int64_t left, int64_t top,
           int64_t right, int64_t bottom) {
  return stack->x[i] <= left && stack->y[i] <= top &&
         int64_t(stack->x[i]) + stack->width[i] >= right &&
         int64_t(stack->y[i]) + stack->height[i] >= bottom;
}

// Replaces the stack's copies by one of the whole screen as it was before
// them: the screen is put back, copied, and then shown as it was again.
// Restoring gives the same picture, and every later save lies inside the
// one copy and needs none of its own.
bool fold(SaveStack* stack, platform::Surface* screen) {
  int w = screen->width(), h = screen->height();
  platform::Bitmap* now = screen->copyOut(0, 0, w, h);
  if (!now) return false;
  mRestoreAll(stack);
  platform::Bitmap* before = screen->copyOut(0, 0, w, h);
  screen->copyIn(now, 0, 0);
  platform::deleteBitmap(now);
  if (!before) {
    mReportError("can't save the screen under %dx%d at (0, 0)", w, h);
    return false;
  }
  push(stack, before, 0, 0, w, h);
  return true;
}

// Saves [left, right) x [top, bottom) as far as it lies on the screen; what
// lies off the screen was never drawn and needs no copy. A stack keeps at
// most a screenful of pixels, so no input can make it grow without bound.
void saveSpan(SaveStack* stack, int64_t left, int64_t top, int64_t right,
              int64_t bottom) {
  if (!stack || stack->count >= SAVE_STACK_CAPACITY || stack->count < 0) return;
  platform::Surface* screen = drawState.screen;
  if (!screen) return;
  int64_t screenWidth = screen->width(), screenHeight = screen->height();
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min(right, screenWidth);
  bottom = std::min(bottom, screenHeight);
  if (left >= right || top >= bottom) return;
  // An older copy holding all of it puts back every pixel of it after this
  // one would have.
  for (int i = 0; i < stack->count; i++)
    if (holds(stack, i, left, top, right, bottom)) return;
  int64_t pixels = (right - left) * (bottom - top);
  if (mSavedPixels(stack) + pixels > screenWidth * screenHeight &&
      fold(stack, screen))
    return;
  int x = int(left), y = int(top);
  int width = int(right - left), height = int(bottom - top);
  platform::Bitmap* copy = screen->copyOut(x, y, width, height);
  if (!copy) {
    mReportError("can't save the screen under %dx%d at (%d, %d)", width, height,
                 x, y);
    return;
  }
  push(stack, copy, x, y, width, height);
}

// Saves around the line between two points, with room for a halo of up to
// 5 pixels on every side.
void saveAroundLine(SaveStack* stack, int x1, int y1, int x2, int y2) {
  Rect r{x1, x1, y1, y1};
  mRectExtend(&r, nullptr, &x2, &y2);
  int grow = mScaled(3);
  saveSpan(stack, int64_t(r.xmin) - grow, int64_t(r.ymin) - grow,
           int64_t(r.xmax) + grow + 1, int64_t(r.ymax) + grow + 1);
}

}  // namespace

void mSaveRect(SaveStack* stack, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  saveSpan(stack, x, y, int64_t(x) + width, int64_t(y) + height);
}

int64_t mSavedPixels(const SaveStack* stack) {
  if (!stack) return 0;
  int64_t pixels = 0;
  for (int i = 0; i < stack->count && i < SAVE_STACK_CAPACITY; i++)
    pixels += int64_t(stack->width[i]) * stack->height[i];
  return pixels;
}

void mRestoreAll(SaveStack* stack) {
  if (!stack) return;
  int count =
      stack->count > SAVE_STACK_CAPACITY ? SAVE_STACK_CAPACITY : stack->count;
  for (int i = count - 1; i >= 0; i--) {
    if (stack->width[i] != 0 && stack->height[i] != 0) {
      if (drawState.screen)
        drawState.screen->copyIn(stack->bitmaps[i], stack->x[i], stack->y[i]);
      platform::deleteBitmap(stack->bitmaps[i]);
    }
    stack->bitmaps[i] = nullptr;
  }
  stack->count = 0;
}

void mDropSaved(Menu* menu) {
  if (!menu) return;
  for (SaveStack* stack : {&menu->menuArea, &menu->inkArea, &menu->bandArea}) {
    int count = std::clamp(stack->count, 0, SAVE_STACK_CAPACITY);
    for (int i = 0; i < count; i++) {
      platform::deleteBitmap(stack->bitmaps[i]);
      stack->bitmaps[i] = nullptr;
    }
    stack->count = 0;
  }
  menu->drawnAsParent = 0;
}

void mSaveMenuArea(Menu* menu) {
  if (!menu) return;
  Rect r{menu->centreX, menu->centreX, menu->centreY, menu->centreY};
  for (int i = 0; i < menu->itemCount && i < MENU_SLOTS; i++)
    mRectExtend(&r, &menu->itemRect[i], nullptr, nullptr);
  // A menu moved to fit draws its centre and spokes at its pivot, which
  // may lie beyond its boxes.
  if (mMovedOffPivot(menu)) {
    int reach = mScaled(spokeReach);
    Rect spokes{mSatAdd(menu->pivotX, -reach), mSatAdd(menu->pivotX, reach),
                mSatAdd(menu->pivotY, -reach), mSatAdd(menu->pivotY, reach)};
    mRectExtend(&r, &spokes, nullptr, nullptr);
  }
  if (menu->parent) {
    IntPoint from = mHitCentre(menu->parent);
    mRectExtend(&r, nullptr, &from.x, &from.y);
  }
  // One pixel more right and down, where box fills and bevels reach.
  saveSpan(&menu->menuArea, r.xmin, r.ymin, int64_t(r.xmax) + 2,
           int64_t(r.ymax) + 2);
}

void mSaveBandArea(Menu* menu) {
  if (!menu) return;
  IntPoint c = mHitCentre(menu);
  saveAroundLine(&menu->bandArea, c.x, c.y, menu->lastX, menu->lastY);
}

void mSaveInkSegment(Menu* menu) {
  if (!menu || !menu->stroke || menu->stroke->count < 2) return;
  const StrokeBuffer* s = menu->stroke;
  const IntPoint& a = s->points[s->count - 2];
  const IntPoint& b = s->points[s->count - 1];
  saveAroundLine(&menu->inkArea, a.x, a.y, b.x, b.y);
}

void mRestoreMenuArea(Menu* menu) {
  if (menu) mRestoreAll(&menu->menuArea);
}

void mRestoreBandArea(Menu* menu) {
  if (menu) mRestoreAll(&menu->bandArea);
}

void mRestoreInkArea(Menu* menu) {
  if (menu) mRestoreAll(&menu->inkArea);
}

void mEraseMenu(Menu* menu) {
  if (!menu) return;
  if (!menu->drawnAsParent) mRestoreBandArea(menu);
  menu->drawnAsParent = 0;
  mRestoreMenuArea(menu);
}

int mDrawBeneath(int x, int y, int width, int height, const uint32_t* pixels,
                 int stride) {
  platform::Surface* screen = drawState.screen;
  if (!screen || screen->showsDesktop()) return 0;
  if (!pixels || width <= 0 || height <= 0 ||
      int64_t(stride) < int64_t(width) * 4)
    return 0;
  // Only the part on the screen is drawn anywhere.
  int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  int64_t right = std::min<int64_t>(int64_t(x) + width, screen->width());
  int64_t bottom = std::min<int64_t>(int64_t(y) + height, screen->height());
  if (left >= right || top >= bottom) return 1;
  std::vector<uint32_t> row(size_t(right - left));
  // Row `at` of the picture from column `from` to `to`, in screen pixels.
  auto source = [&](int64_t at, int64_t from, int64_t to) {
    const auto* line = reinterpret_cast<const uint8_t*>(pixels) +
                       size_t(at - y) * size_t(stride) + size_t(from - x) * 4;
    std::memcpy(row.data(), line, size_t(to - from) * 4);
    return row.data();
  };
  for (int64_t at = top; at < bottom; at++) {
    const uint32_t* line = source(at, left, right);
    if (!screen->putBeneath(int(left), int(at), line, int(right - left)))
      return 0;
    // The copies hold the desktop where the drawing hides it; restored,
    // they show the picture as it is now.
    platform::putBeneathCopies(int(left), int(at), line, int(right - left));
  }
  screen->flush();
  return 1;
}
