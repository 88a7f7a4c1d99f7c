#include "marks/feedback.h"

#include "display/drawing.h"
#include "display/radial_menu.h"
#include "display/save_under.h"
#include "marks/stroke.h"
#include "menu/menu_tree.h"
#include "menu/placement.h"

PointList idealMark;

namespace {

constexpr int reversalClearance = 6;  // pixels between the legs' far ends
constexpr int clearStep = 10;         // pixels per move of an ancestor

}  // namespace

void mInkSegment(Menu* root, int i) {
  if (!root || !root->stroke || i < 0 || i + 1 >= STROKE_CAPACITY) return;
  const IntPoint& a = root->stroke->points[i];
  const IntPoint& b = root->stroke->points[i + 1];
  mSetColor(drawState.background);
  mSetLineWidth(5);
  mDrawLine(a.x, a.y, b.x, b.y);
  mSetColor(drawState.foreground);
  mSetLineWidth(3);
  mDrawLine(a.x, a.y, b.x, b.y);
}

void mInkNewest(Menu* root) {
  if (!root || !root->stroke) return;
  int count = root->stroke->count;
  if (count < 2 || count == STROKE_CAPACITY) return;
  mSaveInkSegment(root);
  mInkSegment(root, count - 2);
}

void mInkRedraw(Menu* root, int a, int b) {
  if (!root || !root->stroke) return;
  int n = root->stroke->count - 2;
  int first = a < 0 ? 0 : a;
  if (first > n) first = n;
  int last = b > n ? n : b;
  if (last < 0) last = 0;
  for (int i = first; i <= last; i++) mInkSegment(root, i);
}

void mInkErase(Menu* root) { mRestoreInkArea(root); }

void mAddIdealSegment(PointList* list, const Point* q, const Menu* m, int L) {
  if (!list || !q || !m || m->selected == 0) return;
  int n = mRadialSlotsShown(m);
  if (n <= 0) return;
  double theta = double(m->selected - 1) * 360 / n;
  Point up{0, float(-L), 0, 0}, v{}, end{};
  mPointRotate(&up, float(theta), &v);
  mPointAdd(q, &v, &end);
  mListAppend(list, q);
  mListAppend(list, &end);
}

void mSeparateReversal(PointList* list) {
  if (!list) return;
  Point* p = list->points;
  for (int k = 4; k <= list->count; k += 4) {
    if (mTurnAngle(&p[k - 4], &p[k - 3], &p[k - 1]) == 180.0) {
      do {
        Point v{}, w{}, turn{};
        mPointSub(&p[k - 1], &p[k - 2], &v);
        mPointRotate(&v, 1.0f, &w);
        mPointSub(&w, &v, &turn);
        mPointAdd(&p[k - 1], &turn, &p[k - 1]);
      } while (mPointDistance(&p[k - 4], &p[k - 1]) < reversalClearance);
    }
    if (k < list->count) p[k] = p[k - 1];
  }
}

void mDrawIdealMark(Menu* root) {
  mListClear(&idealMark);
  if (!root || root->selected == 0 || mSelectionReachesLinear(root)) return;
  PointList stroke;
  mStrokeToList(root->stroke, &stroke);
  if (stroke.count == 0) return;
  Point q = stroke.points[0];
  int depth = mSelectionDepth(root);
  int L = depth > 0 ? mStrokeLength(root) / depth : 0;

  Menu* m = root;
  while (m->selected >= 1 && m->selected <= MENU_SLOTS) {
    mAddIdealSegment(&idealMark, &q, m, L);
    if (idealMark.count > 0) q = idealMark.points[idealMark.count - 1];
    Menu* sub = m->submenu[m->selected - 1];
    if (!sub || m == root->releasedIn) break;
    m = sub;
  }
  mSeparateReversal(&idealMark);

  if (idealMark.count == 0) return;
  Point d{};
  mPointSub(&idealMark.points[idealMark.count - 1],
            &stroke.points[stroke.count - 1], &d);
  mListTranslate(&idealMark, -int(d.x), -int(d.y));

  Rect box;
  mListBounds(&idealMark, &box);
  mRectInset(&box, -3, -3);
  mSaveRect(&root->inkArea, box.xmin, box.ymin, mRectWidth(&box),
            mRectHeight(&box));
  mSetColor(drawState.foreground);
  mSetLineWidth(3);
  for (int k = 0; k + 1 < idealMark.count; k += 2) {
    const Point& a = idealMark.points[k];
    const Point& b = idealMark.points[k + 1];
    mDrawLine(int(a.x), int(a.y), int(b.x), int(b.y));
  }

  // The chosen item's box, centred on the end of the idealised mark.
  mPlaceMenu(m, 0, 0);
  int n = m->selected;
  if (n >= 1 && n <= m->itemCount && n <= MENU_SLOTS) {
    int p = n - 1;
    const Point& e = idealMark.points[idealMark.count - 1];
    Rect& r = m->itemRect[p];
    int cx = r.xmin + mRectWidth(&r) / 2, cy = r.ymin + mRectHeight(&r) / 2;
    mMoveItem(m, p, int(e.x) - cx, int(e.y) - cy);
    mSaveRect(&root->menuArea, r.xmin, r.ymin, mRectWidth(&r) + 1,
              mRectHeight(&r) + 1);
    mDrawItem(m, n, true);
  }
  mFlush();
}

void mEraseIdealMark(Menu* root) {
  mRestoreMenuArea(root);
  mRestoreInkArea(root);
  mFlush();
}

bool mCentresCovered(const Menu* root) {
  if (!root || !root->current) return false;
  const Menu* c = root->current;
  for (int p = 0; p < mRadialSlotsShown(c); p++)
    for (const Menu* a = c->parent; a; a = a->parent)
      if (mRectOverlap(&c->itemRect[p], &a->centreBox)) return true;
  return false;
}

void mClearAncestorCentres(Menu* root) {
  if (!root || !root->current) return;
  Menu* c = root->current;
  for (int p = 0; p < mRadialSlotsShown(c); p++) {
    for (Menu* a = c->parent; a; a = a->parent) {
      Rect box;
      mRectSet(&box, a->centreX - 8, a->centreY - 8, a->centreX + 8,
               a->centreY + 8);
      if (!mRectOverlap(&box, &c->itemRect[p])) continue;
      // An ancestor without a compass item selected has no way back; it
      // stays where it is.
      if (a->selected < 1 || a->selected > RADIAL_SLOTS) continue;
      // Back along the mark: opposite to the selected item's direction.
      int dx = towardCentreX[a->selected - 1] * clearStep;
      int dy = towardCentreY[a->selected - 1] * clearStep;
      while (mRectOverlap(&box, &c->itemRect[p])) mRectMove(&box, dx, dy);
      mPlaceMenu(a, (box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2);
    }
  }
}
