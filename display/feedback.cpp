#include "display/feedback.h"

#include <cmath>

#include "core/geometry.h"
#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "display/drawing.h"
#include "display/menu_items.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "display/save_under.h"

PointList tarvel::internal::idealMark;

namespace {

constexpr int inkHaloWidth = 5;  // pixels, in the menu background colour
constexpr int inkLineWidth = 3;  // pixels, in the menu text colour
// A segment's halo reaches over the text line of the segments that end
// within this many pixels back along the trail; the count bounds the redraw
// where the pointer rested and repeated its position.
constexpr int inkJoinReach = 8;
constexpr int inkJoinSegments = 8;
constexpr int reversalClearance = 6;  // pixels between the legs' far ends
// One-degree turns at most: by then the leg points straight on, and a leg
// too short to get clear would otherwise turn for ever.
constexpr int maxReversalTurns = 180;
constexpr int clearStep = 10;          // pixels per move of an ancestor
constexpr int ancestorCentreHalf = 8;  // half-size of its box kept clear
constexpr int idealMarkWidth = 3;
constexpr int idealMarkMargin = 3;  // round the mark, for its line width
constexpr int pathLegLength = 80;   // pixels, each leg of a path's mark

void inkLine(const StrokeBuffer* s, int i) {
  const IntPoint& a = s->points[i];
  const IntPoint& b = s->points[i + 1];
  mDrawLine(a.x, a.y, b.x, b.y);
}

// Legs carry their items' directions, which are exact; the drawn angle
// between them is not after rotation in floats.
bool legsReverse(const Point* leg, const Point* next) {
  return std::fabs(next->a - leg->a) == 180.0f;
}

// Appends the leg from q of length L towards item n of m.
void addLeg(PointList* list, const Point* q, const Menu* m, int n, int L) {
  if (n == 0) return;
  int slots = mRadialSlotsShown(m);
  if (slots <= 0) return;
  double theta = double(n - 1) * 360 / slots;
  Point up{0, float(-L), 0, 0}, v{}, end{};
  mPointRotate(&up, float(theta), &v);
  Point start = *q;
  mPointAdd(&start, &v, &end);
  start.a = end.a = float(theta);
  mListAppend(list, &start);
  mListAppend(list, &end);
}

// Draws the legs of idealMark over the screen, saved in the root's inkArea,
// and item n of m, the last level, in its box centred on the mark's end,
// saved in the root's menuArea.
void drawIdealMark(Menu* root, Menu* m, int n) {
  Rect box;
  mListBounds(&idealMark, &box);
  mRectInset(&box, -mScaled(idealMarkMargin), -mScaled(idealMarkMargin));
  mSaveRect(&root->inkArea, box.xmin, box.ymin, mRectWidth(&box),
            mRectHeight(&box));
  mSetColor(drawState.foreground);
  mSetLineWidth(mScaled(idealMarkWidth));
  for (int k = 0; k + 1 < idealMark.count; k += 2) {
    const Point& a = idealMark.points[k];
    const Point& b = idealMark.points[k + 1];
    mDrawLine(mFloatToInt(a.x), mFloatToInt(a.y), mFloatToInt(b.x),
              mFloatToInt(b.y));
  }

  mPlaceMenu(m, 0, 0);
  if (n >= 1 && n <= m->itemCount && n <= MENU_SLOTS) {
    int p = n - 1;
    const Point& e = idealMark.points[idealMark.count - 1];
    Rect& r = m->itemRect[p];
    int cx = r.xmin + mRectWidth(&r) / 2, cy = r.ymin + mRectHeight(&r) / 2;
    mMoveItem(m, p, mSaturate(int64_t(mFloatToInt(e.x)) - cx),
              mSaturate(int64_t(mFloatToInt(e.y)) - cy));
    // Near an edge the box moves into the work area, as a menu would, so
    // that the label can be read; the mark stays where it is.
    Rect fitted = r;
    mFitRectToWorkArea(root, &fitted);
    mMoveItem(m, p, mSaturate(int64_t(fitted.xmin) - r.xmin),
              mSaturate(int64_t(fitted.ymin) - r.ymin));
    mSaveRect(&root->menuArea, r.xmin, r.ymin, mRectWidth(&r) + 1,
              mRectHeight(&r) + 1);
    mDrawItem(m, n, true);
  }
  mFlush();
}

}  // namespace

void mInkSegment(Menu* root, int i) {
  if (!root || !root->stroke) return;
  const StrokeBuffer* s = root->stroke;
  if (i < 0 || i + 1 >= s->count || i + 1 >= STROKE_CAPACITY) return;
  mSetColor(drawState.background);
  mSetLineWidth(mScaled(inkHaloWidth));
  inkLine(s, i);
  // The halo's round cap cuts across the text line just behind the joint.
  // Drawing that text again keeps it continuous; it was text colour before
  // this halo, so only pixels under the halo change, all inside the area
  // saved for this segment.
  int first = i;
  double back = 0;
  while (first > 0 && i - first < inkJoinSegments &&
         back < mScaled(inkJoinReach)) {
    first--;
    const IntPoint& a = s->points[first];
    const IntPoint& b = s->points[first + 1];
    back += std::hypot(double(b.x - a.x), double(b.y - a.y));
  }
  mSetColor(drawState.foreground);
  mSetLineWidth(mScaled(inkLineWidth));
  for (int j = first; j <= i; j++) inkLine(s, j);
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
  if (!list || !q || !m) return;
  addLeg(list, q, m, m->selected, L);
}

void mSeparateReversal(PointList* list) {
  if (!list) return;
  Point* p = list->points;
  int count =
      list->count < POINT_LIST_CAPACITY ? list->count : POINT_LIST_CAPACITY;
  for (int k = 4; k <= count; k += 4) {
    if (!legsReverse(&p[k - 4], &p[k - 2])) continue;
    Point end = p[k - 1];
    for (int turns = 0; turns < maxReversalTurns; turns++) {
      Point v{}, w{}, turn{};
      mPointSub(&p[k - 1], &p[k - 2], &v);
      mPointRotate(&v, 1.0f, &w);
      mPointSub(&w, &v, &turn);
      mPointAdd(&p[k - 1], &turn, &p[k - 1]);
      if (mPointDistance(&p[k - 4], &p[k - 1]) >= mScaled(reversalClearance))
        break;
    }
    // The rest of the mark moves with this leg's end, so that the next leg
    // starts there and every later leg keeps its item's direction.
    float dx = p[k - 1].x - end.x, dy = p[k - 1].y - end.y;
    for (int j = k; j < count; j++) {
      p[j].x += dx;
      p[j].y += dy;
    }
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
  for (int level = 0; level < MENU_DEPTH_LIMIT && m->selected >= 1 &&
                      m->selected <= MENU_SLOTS;
       level++) {
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
  mListTranslate(&idealMark, mSaturate(-int64_t(mFloatToInt(d.x))),
                 mSaturate(-int64_t(mFloatToInt(d.y))));

  drawIdealMark(root, m, m->selected);
}

void mDrawPathMark(Menu* root, const int* positions, int levels, int x, int y) {
  mListClear(&idealMark);
  if (!root || !positions || levels <= 0) return;
  Point q{float(x), float(y), 0, 0};
  int L = mScaled(pathLegLength);
  Menu* m = root;
  Menu* last = nullptr;
  int n = 0;
  for (int level = 0; level < levels && level < MENU_DEPTH_LIMIT; level++) {
    if (last) {
      if (!last->submenu[n - 1]) break;
      m = last->submenu[n - 1];
    }
    // Only compass items have a direction to draw.
    int p = positions[level];
    if (p < 0 || p >= mRadialSlotsShown(m) || p >= m->itemCount ||
        !m->label[p][0])
      break;
    n = p + 1;
    addLeg(&idealMark, &q, m, n, L);
    if (idealMark.count == 0) break;
    q = idealMark.points[idealMark.count - 1];
    last = m;
  }
  mSeparateReversal(&idealMark);
  if (idealMark.count == 0) return;
  drawIdealMark(root, last, n);
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
    for (const Menu* a = c->parent; a; a = a->parent) {
      // An ancestor moved to fit shows its centre at its pivot.
      IntPoint h = mHitCentre(a);
      Rect centre = a->centreBox;
      mRectMove(&centre, mSaturate(int64_t(h.x) - a->centreX),
                mSaturate(int64_t(h.y) - a->centreY));
      if (mRectOverlap(&c->itemRect[p], &centre)) return true;
    }
  return false;
}

void mClearAncestorCentres(Menu* root) {
  if (!root || !root->current) return;
  Menu* c = root->current;
  for (int p = 0; p < mRadialSlotsShown(c); p++) {
    for (Menu* a = c->parent; a; a = a->parent) {
      Rect box;
      int half = mScaled(ancestorCentreHalf);
      IntPoint h = mHitCentre(a);
      mRectSet(&box, mSatAdd(h.x, -half), mSatAdd(h.y, -half),
               mSatAdd(h.x, half), mSatAdd(h.y, half));
      if (!mRectOverlap(&box, &c->itemRect[p])) continue;
      // An ancestor without a compass item selected has no way back; it
      // stays where it is.
      if (a->selected < 1 || a->selected > RADIAL_SLOTS) continue;
      // Back along the mark: opposite to the selected item's direction.
      int step = mScaled(clearStep);
      int dx = towardCentreX[a->selected - 1] * step;
      int dy = towardCentreY[a->selected - 1] * step;
      // Clear after crossing the item's box at most; a box pinned at the
      // end of the int range never would be.
      const Rect& item = c->itemRect[p];
      int64_t steps =
          (int64_t(mRectWidth(&item)) + mRectHeight(&item) + 2 * half + 1) /
              step +
          1;
      while (steps-- > 0 && mRectOverlap(&box, &item)) mRectMove(&box, dx, dy);
      mPlaceMenu(a, int((int64_t(box.xmin) + box.xmax) / 2),
                 int((int64_t(box.ymin) + box.ymax) / 2));
    }
  }
}
