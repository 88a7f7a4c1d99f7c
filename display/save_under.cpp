#include "display/save_under.h"

#include "display/drawing.h"
#include "marks/stroke.h"
#include "menu/report.h"

void mSaveRect(SaveStack* stack, int x, int y, int width, int height) {
  if (!stack || width == 0 || height == 0) return;
  if (stack->count >= SAVE_STACK_CAPACITY || stack->count < 0) return;
  if (!drawState.screen) return;
  platform::Bitmap* copy = drawState.screen->copyOut(x, y, width, height);
  if (!copy) {
    mReportError("can't save the screen under %dx%d at (%d, %d)\n", width,
                 height, x, y);
    return;
  }
  int i = stack->count;
  stack->bitmaps[i] = copy;
  stack->x[i] = x;
  stack->y[i] = y;
  stack->width[i] = width;
  stack->height[i] = height;
  stack->count = i + 1;
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

void mSaveMenuArea(Menu* menu) {
  if (!menu) return;
  Rect r{menu->centreX, menu->centreX, menu->centreY, menu->centreY};
  for (int i = 0; i < menu->itemCount && i < MENU_SLOTS; i++)
    mRectExtend(&r, &menu->itemRect[i], nullptr, nullptr);
  if (menu->parent)
    mRectExtend(&r, nullptr, &menu->parent->centreX, &menu->parent->centreY);
  // One pixel more right and down, where box fills and bevels reach.
  mSaveRect(&menu->menuArea, r.xmin, r.ymin, mRectWidth(&r) + 1,
            mRectHeight(&r) + 1);
}

void mSaveBandArea(Menu* menu) {
  if (!menu) return;
  int x, y, w, h;
  mRectFromCorners(menu->centreX, menu->centreY, menu->lastX, menu->lastY, &x,
                   &y, &w, &h);
  // Room for the band's halo on every side.
  mSaveRect(&menu->bandArea, x - 3, y - 3, w + 6, h + 6);
}

void mSaveInkSegment(Menu* menu) {
  if (!menu || !menu->stroke || menu->stroke->count < 2) return;
  const StrokeBuffer* s = menu->stroke;
  const IntPoint& a = s->points[s->count - 2];
  const IntPoint& b = s->points[s->count - 1];
  int x, y, w, h;
  mRectFromCorners(a.x, a.y, b.x, b.y, &x, &y, &w, &h);
  mSaveRect(&menu->inkArea, x - 3, y - 3, w + 6, h + 6);
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
