#include "marks/segmentation.h"

#include <cstdio>

#include "core/menu_tree.h"
#include "core/scale.h"
#include "marks/leg_reading.h"
#include "platform/report.h"

namespace {

constexpr int resampleDistance = 5;  // pixels
constexpr float pauseSeconds = 0.5f;
constexpr int smallestMarkBox = 16;           // pixels, both edges counted
constexpr float sectorFraction = 0.5f;        // of a sector, for a corner
constexpr double windowFraction = 0.1;        // of the expected segment
constexpr float armFraction = 0.125f;         // of the window
constexpr double shortSegmentFraction = 0.5;  // of the expected segment
constexpr int shortSegmentPixels = 100;

// Indices here are always below the list's count, so slots are read directly
// rather than through mListAt's checks.
const Point& at(const PointList* list, int i) { return list->points[i]; }

// The point of a stroke that turns it most, and by how many degrees.
struct Turn {
  int index;
  double angle;
};

// Searches the window from slot s to slot e for the point that turns the
// stroke most among those farther than `arm` from both ends, widening the
// window at e until it holds one; of equal turns the earliest wins. False
// when the stroke ends first.
bool sharpestTurn(const PointList* stroke, int s, int e, float arm,
                  Turn* turn) {
  const Point& ps = at(stroke, s);
  for (; e < stroke->count; e++) {
    const Point& pe = at(stroke, e);
    bool found = false;
    *turn = Turn{s + 1, 0.0};
    for (int m = s + 1; m < e; m++) {
      const Point& pm = at(stroke, m);
      if (!(mPointDistance(&ps, &pm) > arm && mPointDistance(&pm, &pe) > arm))
        continue;
      found = true;
      double angle = mTurnAngle(&ps, &pm, &pe);
      if (angle > turn->angle) *turn = Turn{m, angle};
    }
    if (found) return true;
  }
  return false;
}

void printCornerSearch(float threshold, float window) {
  std::printf(
      "\n\nFind Articulation Points "
      "info********************************\n");
  std::printf("threshold angle used: %3.2f\n", double(threshold));
  std::printf("angle segment length used: %3.2f (%3.2f%% stroke length\n",
              double(window), 10.0);
}

}  // namespace

void mResample(const PointList* list, float distance, PointList* out) {
  mListClear(out);
  if (list->count <= 0) return;
  mListAppend(out, &at(list, 0));
  for (int i = 1; i < list->count; i++) {
    if (mPointDistance(&out->points[out->count - 1], &at(list, i)) > distance)
      mListAppend(out, &at(list, i));
  }
}

void mFindPauses(const PointList* stroke, PointList* out) {
  // Jitter of a resting hand is skipped by the resampling, so a rest shows
  // as one long gap in time between two kept points.
  PointList kept;
  mResample(stroke, float(mScaled(resampleDistance)), &kept);
  mListClear(out);
  for (int i = 0; i + 1 < kept.count; i++) {
    if (at(&kept, i + 1).t - at(&kept, i).t > pauseSeconds)
      mListAppend(out, &at(&kept, i + 1));
  }
  if (stroke->count > 0) mListAppend(out, &at(stroke, stroke->count - 1));
}

int mArcReach(int s, int e, float length, const PointList* list) {
  if (e >= list->count) return -1;
  // Summed like mListLength, so that the whole stroke's length is reached
  // exactly at its last point.
  float acc = 0.0f;
  for (int i = s + 1; i <= e; i++)
    acc += float(mPointDistance(&at(list, i - 1), &at(list, i)));
  if (acc >= length) return e;
  for (;;) {
    e++;
    if (e >= list->count) return -1;
    acc += float(mPointDistance(&at(list, e - 1), &at(list, e)));
    if (acc >= length) return e;
  }
}

bool mLegCounts(double length, double expected) {
  return length > shortSegmentFraction * expected ||
         length > mScaled(shortSegmentPixels);
}

float mCornerAngle(const Menu* root) {
  int widest = mWidestRadialPart(root);
  if (widest < 1) widest = 1;  // no sectors at all: only reversals count
  return 360.0f / float(widest) * sectorFraction;
}

void mFindArticulationPoints(const Menu* root, const PointList* stroke,
                             float segmentLength, float tolerance,
                             PointList* out) {
  float threshold = mCornerAngle(root) / tolerance;
  float window = float(segmentLength * windowFraction);
  if (debugOutput) printCornerSearch(threshold, window);

  mListClear(out);
  for (int s = 0;;) {
    int e = mArcReach(s, s + 2, window, stroke);
    Turn turn;
    if (e < 0 || !sharpestTurn(stroke, s, e, window * armFraction, &turn))
      return;
    if (turn.angle >= threshold) {
      s = turn.index;
      Point corner = at(stroke, s);
      corner.a = float(turn.angle);
      mListAppend(out, &corner);
    } else {
      s++;
    }
  }
}

void mSegmentMark(const Menu* root, const PointList* stroke, PointList* out) {
  // The length each leg would have if the mark used every level of the tree.
  float expected = mListLength(stroke) / float(mTreeDepth(root));
  mFindArticulationPoints(root, stroke, expected, 1.0f, out);
  if (stroke->count > 0) {
    mListPrepend(out, &at(stroke, 0));
    mListAppend(out, &at(stroke, stroke->count - 1));
  }
  // A dropped leg leaves its neighbours with their own end points, so pairs
  // need not share points.
  PointList pairs;
  mListClear(&pairs);
  for (int i = 0; i + 1 < out->count; i++) {
    if (mLegCounts(mPointDistance(&at(out, i), &at(out, i + 1)), expected)) {
      mListAppend(&pairs, &at(out, i));
      mListAppend(&pairs, &at(out, i + 1));
    }
  }
  mListCopy(&pairs, out);
}

void mIsScribble(const Menu* root, const PointList* stroke, PointList* out,
                 uint8_t* scribble, int recognizer) {
  *scribble = 0;
  int depth = mTreeDepth(root);
  mFindPauses(stroke, out);
  if (out->count > depth) {
    *scribble = 1;
    return;
  }
  Rect box;
  mListBounds(stroke, &box);
  if (mRectWidth(&box) < mScaled(smallestMarkBox) &&
      mRectHeight(&box) < mScaled(smallestMarkBox)) {
    *scribble = 1;
    return;
  }
  if (recognizer == MARK_RECOGNIZER_LEGS)
    mSegmentLegs(root, stroke, out);
  else
    mSegmentMark(root, stroke, out);
  if (out->count / 2 > depth) *scribble = 1;
}
