#include "selection/tracking.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/geometry.h"
#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/settings.h"
#include "core/stroke.h"
#include "display/drawing.h"
#include "display/feedback.h"
#include "display/linear_menu.h"
#include "display/menu_items.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "display/save_under.h"
#include "marks/interpretation.h"
#include "marks/segmentation.h"
#include "platform/platform.h"
#include "trace/trace.h"

namespace {

constexpr int restStep = 5;        // pixels of movement that restart the delay
constexpr int markingLength = 16;  // stroke pixels after which marking is on
constexpr int inkRedrawPoints = 10;
constexpr int returnLine = 4;  // pixels above a list that leave list mode
constexpr int cascadeDx = -2;  // a cascade overlaps its row's right edge
constexpr int cascadeDy = -8;  // and its first row is level with the row
// Pointers report 100 to 1000 positions a second. The pointer's position is
// judged for movement (and recorded while marking) at most once per window,
// so that resting and the stroke's 128 positions mean the same on any of
// them. A position that arrives inside a window is taken once the window has
// passed, so the stroke always ends where the pointer rests.
constexpr uint32_t sampleWindowMs = 10;

// Where the pointer was when its position was last taken.
struct Sample {
  int x, y;
  uint32_t tick;
};

// The popup fires from mPoll once the pointer has rested for `delay` since
// `start`. Kept in whole microseconds so that "strictly later" is decided
// exactly, whatever the clock's magnitude.
struct PopupTimer {
  bool armed;
  Menu* menu;
  int64_t startUs;  // clock microseconds
  int64_t delayUs;
};

// One selection at a time: what tracking keeps between calls besides the
// root's own fields. mPress starts it afresh.
struct SelectionState {
  Menu* root;  // the root being tracked, NULL between selections
  int technique;
  int recognizer;  // how marks are read, taken at the press
  PopupTimer popup;
  Sample lastSample;
  bool samplePending;  // the root's lastX, lastY have not been taken yet
};
SelectionState selection;
// The root of the latest selection, kept past its release: until its
// confirmation is erased it still holds copies of the screen.
Menu* latestRoot = nullptr;
// The settings taken at the latest press. They last until the next press,
// so a selection's confirmation keeps the timing the selection had.
MarkingMenuSettings timing = defaultSettings;

int64_t microsecondsOf(double seconds) { return std::llround(seconds * 1e6); }

// Marks alone never pop a menu up, so the timer is never armed and no
// deadline is announced for it.
void arm(Menu* root) {
  if (selection.technique == TECHNIQUE_MARKS_ONLY) return;
  selection.popup.menu = root;
  selection.popup.startUs = mClockMicroseconds();
  selection.popup.armed = true;
}

void disarm() { selection.popup.armed = false; }

void setDelay(double seconds) {
  selection.popup.delayUs = microsecondsOf(seconds);
}

// Tells the platform when the selection next needs a poll: the popup, a
// position waiting for its sample window to pass, a cascade's rest. A
// platform that waits between polls then waits no longer.
void announceDeadline() {
  const PopupTimer& popup = selection.popup;
  Menu* root = selection.root;
  bool popupArmed = popup.armed && popup.menu;
  bool sampling = root && selection.samplePending;
  bool dwelling = root && root->dwellArmed;
  if (!popupArmed && !sampling && !dwelling) return;
  // One reading of the clock; the tick count is its milliseconds.
  int64_t now = mClockMicroseconds();
  uint32_t tick = uint32_t(now / 1000);
  // When the tick count, now `tick`, has moved on by `ticks`.
  auto afterTicks = [&](int64_t ticks) {
    return ticks <= 0 ? now : now - now % 1000 + ticks * 1000;
  };
  int64_t due = INT64_MAX;
  if (popupArmed) due = popup.startUs + popup.delayUs + 1;
  if (sampling)
    due = std::min(due, afterTicks(int64_t(sampleWindowMs) -
                                   int64_t(tick - selection.lastSample.tick)));
  if (dwelling)
    due = std::min(due, afterTicks(int64_t(timing.cascadeRestMs) + 1 -
                                   int64_t(tick - root->dwellStart)));
  platform::current().wakeBy(uint64_t(std::max(due, now)));
}

bool timerDue() {
  const PopupTimer& popup = selection.popup;
  return popup.armed && popup.menu &&
         mClockMicroseconds() > popup.startUs + popup.delayUs;
}

// Far beyond any screen, and small enough that sums and differences of
// coordinates never overflow.
int clampCoordinate(int v) {
  return v < -COORDINATE_LIMIT ? -COORDINATE_LIMIT
                               : (v > COORDINATE_LIMIT ? COORDINATE_LIMIT : v);
}

void arrowCursor() {
  platform::Platform& p = platform::current();
  if (!p.moduleLoaded("PellorRes.DLL")) p.setCursor(platform::Cursor::Arrow);
}

void crossCursor() { platform::current().setCursor(platform::Cursor::Cross); }

Menu* submenuOf(const Menu* m, int item) {
  return mHasSubmenu(m, item) ? m->submenu[item - 1] : nullptr;
}

// Opens the list hanging from slot p of `menu`, to the right of the row, or
// to its left when it had to be moved to fit.
void openCascade(Menu* root, Menu* menu, int p, int x, int y, bool retryLeft) {
  Menu* s = menu->submenu[p];
  if (!s) return;
  const Rect r = menu->itemRect[p];
  root->current = s;
  int dx = mScaled(cascadeDx), dy = mScaled(cascadeDy);
  mPlaceMenu(s, r.xmax + dx, r.ymin + dy);
  if (retryLeft && s->movedToFit && s->centreX != r.xmax + dx)
    mPlaceMenu(s, r.xmin - (s->bounds.xmax - s->bounds.xmin), r.ymin + dy);
  // A cascade still pushed to fit may come to lie under the pointer resting
  // on its row: like any menu moved off where it opened, it selects no row
  // until the pointer leaves the disc round that point.
  s->pivotX = x;
  s->pivotY = y;
  mShowLinear(s, x, y);
}

// Erases menus from the current one upwards until `stop` is current.
void eraseUpTo(Menu* root, const Menu* stop) {
  while (root->current && root->current != stop) {
    mEraseMenu(root->current);
    root->current = root->current->parent;
  }
}

// Some ancestor of m, not a list alone, has the pointer in its centre zone.
bool ancestorCentreHolds(const Menu* m, int x, int y) {
  for (const Menu* a = m->parent; a; a = a->parent)
    if (!mIsLinearOnly(a) && mInCentreZone(a, x, y)) return true;
  return false;
}

// Closes menus down to the ancestor whose centre holds the pointer and
// shows that one afresh.
void backUp(Menu* root, int x, int y) {
  Menu* m = root->current;
  do {
    m->selected = 0;
    mEraseMenu(m);
    m = m->parent;
    root->current = m;
  } while (m->parent && !mInCentreZone(m, x, y));
  mEraseMenu(m);
  mShowMenu(m, x, y);
  root->backUpCount++;
}

// The chain from the root down through the selected items, each level
// redrawn: ancestors reduced, the current menu in full.
void redrawChain(Menu* root) {
  Menu* current = root->current;
  for (Menu* m = root; m && m != current; m = submenuOf(m, m->selected)) {
    m->drawnAsParent = 1;
    mRedrawMenu(m);
  }
  mRedrawMenu(current);
  if (current->selected && current->selectedEnabled)
    mHighlightItem(current, current->selected);
  if (current->selected && !mIsLinearPosition(current, current->selected - 1))
    mDrawBand(current);
}

void openRadialSubmenu(Menu* root, Menu* m, int x, int y) {
  Menu* sub = submenuOf(m, m->selected);
  mDrawAsAncestor(m);
  root->current = sub;
  mPlaceMenu(sub, x, y);
  mShowMenu(sub, x, y);
  if (!mCentresCovered(root)) return;
  for (Menu* shown = sub; shown; shown = shown->parent) mEraseMenu(shown);
  mClearAncestorCentres(root);
  redrawChain(root);
}

IntPoint toInt(const Point& p) {
  return IntPoint{mFloatToInt(p.x), mFloatToInt(p.y)};
}

// Places `menu` centred on `at` and shows it with the pointer at `pointer`.
void placeAndShow(Menu* menu, IntPoint at, IntPoint pointer) {
  mPlaceMenu(menu, at.x, at.y);
  mShowMenu(menu, pointer.x, pointer.y);
}

// The legs of the stroke so far when it is a mark of a deeper tree, paused
// after at least one leg; false for a one-level tree or a scribble.
bool pausedMarkLegs(Menu* root, PointList* segments) {
  if (mTreeDepth(root) == 1) return false;
  PointList points;
  uint8_t scribble = 0;
  mStrokeToList(root->stroke, &points);
  mIsScribble(root, &points, segments, &scribble, selection.recognizer);
  return segments->count >= 2 && !scribble;
}

// A single straight leg that ends in the root's list: the list is shown
// with the item under the pointer, and its cascade when that has one. The
// root stays placed at the press either way.
bool showListAtEnd(Menu* root, IntPoint press, IntPoint pointer) {
  mPlaceMenu(root, press.x, press.y);
  root->selected = mHitTest(root, pointer.x, pointer.y, nullptr);
  if (!mIsLinearPosition(root, root->selected - 1)) return false;
  root->mode = modeList;
  mShowLinear(root, pointer.x, pointer.y);
  Menu* c = root->current;
  if (mHasSubmenu(c, c->selected) && mIsEnabled(c, c->selected))
    openCascade(root, c, c->selected - 1, pointer.x, pointer.y, false);
  return true;
}

// Shows each level the legs select at the leg's start, the ones above
// reduced as ancestors; the level below the last leg opens at its end.
// Tracking goes on from that end.
void showMenusAlongLegs(Menu* root, const PointList* segments) {
  root->markedAhead = 1;
  mApplySegments(root, segments);
  root->current = root;
  for (int k = 0; k + 1 < segments->count; k += 2) {
    IntPoint start = toInt(segments->points[k]);
    IntPoint end = toInt(segments->points[k + 1]);
    Menu* c = root->current;
    placeAndShow(c, start, end);
    Menu* sub = submenuOf(c, c->selected);
    if (!sub) break;
    mDrawAsAncestor(c);
    root->current = sub;
    if (k + 3 >= segments->count) placeAndShow(sub, end, end);
  }
  IntPoint end = toInt(segments->points[segments->count - 1]);
  root->lastX = end.x;
  root->lastY = end.y;
}

// The first popup: the root at the press, or the menus along a paused mark.
// Returns true when it left the root tracking a list.
bool showMenusForStroke(Menu* root) {
  const StrokeBuffer* s = root->stroke;
  IntPoint press = s->points[0];
  IntPoint pointer = s->count >= 2 ? s->points[s->count - 1] : press;
  mInkErase(root);
  PointList segments;
  if (!pausedMarkLegs(root, &segments)) {
    placeAndShow(root, press, pointer);
    return false;
  }
  if (mHasLinearPart(root) && segments.count == 2 &&
      showListAtEnd(root, press, pointer))
    return true;
  showMenusAlongLegs(root, &segments);
  return false;
}

// The pointer rested while marking: the menus pop up and tracking follows
// the one shown.
void popUp(Menu* root) {
  bool list = showMenusForStroke(root);
  // After a straight stroke into the list the list is what is shown, so
  // tracking goes on there.
  if (list || mIsLinearOnly(root) || mAllLabelsEmpty(root)) {
    root->mode = modeList;
    arrowCursor();
  } else {
    root->mode = modeRadial;
  }
  setDelay(timing.menuRestDelay);
  mFlush();
  arm(root);
}

// Resting in the centre of an ancestor closes the menus below it, unless
// the current item was reached by its box.
bool backUpToCentre(Menu* root, Menu* m, int x, int y) {
  if (m->selectedByBox || !ancestorCentreHolds(m, x, y)) return false;
  backUp(root, x, y);
  return true;
}

// Resting in a radial menu: back up, or open the submenu of the item when
// the pointer is beyond the circle or on the item's box.
void restInRadial(Menu* root, Menu* m, int x, int y) {
  if (backUpToCentre(root, m, x, y)) {
    mFlush();
    return;
  }
  if (m->selected && m->selectedEnabled &&
      (m->selectedByBox || mOutsideCircle(m, x, y)) &&
      mIsRadialPosition(m, m->selected - 1) && submenuOf(m, m->selected)) {
    openRadialSubmenu(root, m, x, y);
    mFlush();
  }
}

// Resting in a list: only backing up to an ancestor's centre, which shows a
// radial menu again. Cascades open on their own rest, in mMotion.
void restInList(Menu* root, Menu* m, int x, int y) {
  if (!backUpToCentre(root, m, x, y)) return;
  root->mode = modeRadial;
  crossCursor();
  mFlush();
}

void fire(Menu* root) {
  root->nowTime = mClock();
  disarm();
  if (root->mode == modeMarking) {
    popUp(root);
    return;
  }
  arm(root);
  Menu* m = root->current;
  if (!m) return;
  if (root->mode == modeRadial)
    restInRadial(root, m, root->lastX, root->lastY);
  else
    restInList(root, m, root->lastX, root->lastY);
}

void trackRadial(Menu* root, int x, int y) {
  Menu* c = root->current;
  int old = c->selected;
  mTrackRadial(c, x, y);
  int now = c->selected;
  if (old == 0 || now == 0 || now == old) return;
  root->changeCount++;
  if (!mIsLinearPosition(c, now - 1) || !c->selectedEnabled) return;
  root->mode = modeList;
  arrowCursor();
  if (submenuOf(c, now)) openCascade(root, c, now - 1, x, y, false);
}

void trackLinear(Menu* root, int x, int y) {
  Menu* found = nullptr;
  Menu* base = nullptr;
  int item = 0;
  mFindLinearItem(root, x, y, &found, &item, &base);
  Menu* c = root->current;
  if (found && found == c->parent && item == c->parentPosition + 1) {
    mTrackLinear(c, x, y);
    return;
  }
  if (found) {
    eraseUpTo(root, found);
    c = root->current;
    mTrackLinear(c, x, y);
    if (c->selected && c->selectedEnabled &&
        mIsLinearPosition(c, c->selected - 1) && submenuOf(c, c->selected)) {
      if (timing.cascadeRestMs == 0) {
        openCascade(root, c, c->selected - 1, x, y, true);
      } else {
        root->dwellArmed = 1;
        root->dwellItem = c->selected - 1;
        root->dwellStart = mTickCount();
      }
    }
    return;
  }
  if (base && mHasLinearPart(base) && !mIsLinearOnly(base) &&
      y < base->itemRect[base->radialCount].ymin - mScaled(returnLine)) {
    eraseUpTo(root, base);
    // A list opened along a paused mark left its base drawn reduced, as an
    // ancestor; tracked again, it is shown in full.
    if (base->drawnAsParent) mShowMenu(base, x, y);
    root->mode = modeRadial;
    crossCursor();
  }
  mTrackLinear(root->current, x, y);
}

void recordMark(Menu* root, int x, int y) {
  mStrokeAdd(root, x, y);
  mInkNewest(root);
  if (root->stroke->count < inkRedrawPoints)
    mInkRedraw(root, 0, root->stroke->count - 2);
  if (mStrokeLength(root) > mScaled(markingLength))
    setDelay(timing.markingPopupDelay);
}

// Takes a position: a move of more than a few pixels since the last one
// restarts the popup delay, and while marking it joins the stroke.
void takeSample(Menu* root, int x, int y, uint32_t tick) {
  Sample& last = selection.lastSample;
  if (std::abs(x - last.x) + std::abs(y - last.y) > mScaled(restStep)) {
    disarm();
    arm(root);
  }
  last = Sample{x, y, tick};
  selection.samplePending = false;
  if (root->mode == modeMarking) recordMark(root, x, y);
}

// The selection in progress stops being tracked: no timer, no position
// waiting to be taken, no cascade pending.
void stopTracking(Menu* root) {
  disarm();
  selection.root = nullptr;
  selection.samplePending = false;
  root->dwellArmed = 0;
}

// Takes every shown menu off the screen, from the deepest up to the root.
void eraseShownMenus(Menu* root) {
  for (Menu* m = root->current; m; m = m->parent) mEraseMenu(m);
  root->current = nullptr;
}

// The platform is going away with the screen the selection is drawn on:
// the selection ends where it is, its copies of the screen freed unused.
void platformGoing(platform::Platform* going) {
  if (going != &platform::current()) return;
  if (latestRoot) {
    mWalkTree(latestRoot, [](Menu* m, int) { mDropSaved(m); });
    latestRoot->current = nullptr;
    latestRoot->dwellArmed = 0;
  }
  latestRoot = nullptr;
  selection = SelectionState{};
}

}  // namespace

void mPress(Menu* menu, int x, int y) {
  if (!menu || !menu->stroke) return;
  platform::onGoing(platformGoing);
  latestRoot = menu;
  x = clampCoordinate(x);
  y = clampCoordinate(y);
  menu->nowTime = menu->pressTime = mClock();
  menu->current = menu;
  menu->mode = modeMarking;
  menu->releasedIn = nullptr;
  menu->dwellArmed = 0;
  strokeOverflow = 0;
  selection = SelectionState{};
  selection.root = menu;
  selection.technique = mGetTechnique();
  selection.recognizer = mGetMarkRecognizer();
  mGetSettings(&timing);
  setDelay(timing.initialPopupDelay);
  arm(menu);
  mStrokeReset(menu);
  mStrokeAdd(menu, x, y);
  selection.lastSample = Sample{x, y, mTickCount()};
  menu->lastX = x;
  menu->lastY = y;
  menu->changeCount = 0;
  menu->markedAhead = 0;
  menu->backUpCount = 0;
  // The menu alone: it comes up at the press point whatever the pointer
  // does next, as if the pointer had rested.
  if (selection.technique == TECHNIQUE_MENU_ONLY) fire(menu);
  announceDeadline();
}

void mMotion(Menu* menu, int x, int y) {
  if (!menu || !menu->current) return;
  x = clampCoordinate(x);
  y = clampCoordinate(y);
  double t = mClock();
  Menu* root = menu;
  if (root->dwellArmed) {
    const Rect& r = root->current->itemRect[root->dwellItem];
    if (!mRectContains(x, y, &r)) {
      root->dwellArmed = 0;
    } else if (mTickCount() - root->dwellStart >
               uint32_t(timing.cascadeRestMs)) {
      root->dwellArmed = 0;
      openCascade(root, root->current, root->dwellItem, x, y, true);
      mFlush();
      root->lastX = x;
      root->lastY = y;
      return;
    }
  }
  if (x == root->lastX && y == root->lastY) return;
  root->nowTime = t;
  uint32_t tick = mTickCount();
  if (root == selection.root &&
      tick - selection.lastSample.tick >= sampleWindowMs)
    takeSample(root, x, y, tick);
  else
    selection.samplePending = root == selection.root;
  if (root->mode == modeRadial)
    trackRadial(root, x, y);
  else if (root->mode != modeMarking)
    trackLinear(root, x, y);
  mFlush();
  root->lastX = x;
  root->lastY = y;
  mPoll();
}

void mPoll() {
  Menu* root = selection.root;
  if (root && selection.samplePending &&
      (mTickCount() - selection.lastSample.tick >= sampleWindowMs ||
       timerDue())) {
    takeSample(root, root->lastX, root->lastY, mTickCount());
    mFlush();
  }
  if (timerDue()) fire(selection.popup.menu);
  announceDeadline();
}

void mRelease(Menu* menu, int x, int y) {
  // Only the selection in progress ends: a release without a press, or a
  // second one, leaves the result and the trace as they are.
  if (!menu || !menu->stroke || menu != selection.root) return;
  x = clampCoordinate(x);
  y = clampCoordinate(y);
  menu->releaseTime = menu->nowTime = mClock();
  stopTracking(menu);
  if (menu->mode == modeMarking) {
    mStrokeAdd(menu, x, y);
    mInkNewest(menu);
    mInkErase(menu);
    PointList stroke;
    mStrokeToList(menu->stroke, &stroke);
    mInterpretMark(menu, &stroke, selection.recognizer);
  } else {
    menu->releasedIn = menu->current;
    eraseShownMenus(menu);
  }
  mFlush();
  if (mTraceEnabled()) mTraceWrite(menu);
}

void mCancel(Menu* menu) {
  if (!menu || !menu->stroke || menu != selection.root) return;
  menu->releaseTime = menu->nowTime = mClock();
  stopTracking(menu);
  if (menu->mode == modeMarking) {
    mInkErase(menu);
    menu->current = nullptr;
  } else {
    eraseShownMenus(menu);
  }
  // Nothing chosen, and nothing for a confirmation to show.
  menu->releasedIn = nullptr;
  menu->selected = 0;
  mFlush();
}

void mShowConfirmation(Menu* menu) {
  if (!menu || mSelectionReachesLinear(menu) || !menu->current ||
      menu->current->selected == 0)
    return;
  mDrawIdealMark(menu);
  mFlush();
  // Shown for the whole pause, asleep meanwhile.
  int64_t end = mClockMicroseconds() + microsecondsOf(timing.confirmationTime);
  platform::Platform& p = platform::current();
  for (int64_t left; (left = end - mClockMicroseconds()) > 0;)
    p.sleepMs(uint32_t((left + 999) / 1000));
  mEraseIdealMark(menu);
}

void mEraseConfirmation(Menu* menu) {
  if (menu) mEraseIdealMark(menu);
}

void mShowIdealMark(Menu* menu, const int* positions, int levels, int x,
                    int y) {
  // While a selection is tracked its menus and ink own the save-under.
  if (!menu || selection.root) return;
  mEraseIdealMark(menu);
  mDrawPathMark(menu, positions, levels, x, y);
}

void mHideIdealMark(Menu* menu) {
  if (menu && !selection.root) mEraseIdealMark(menu);
}

bool mButtonsDown() { return platform::current().pollInput().buttonsDown; }
