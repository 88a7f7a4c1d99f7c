#include "marks/interpretation.h"

#include <climits>
#include <cstdio>
#include <limits>

#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "marks/leg_reading.h"
#include "marks/segmentation.h"
#include "platform/report.h"

namespace {

constexpr int highestRepairedDepth = 4;  // levels
constexpr int maxCandidates = 6;
constexpr float lengthRatioLow = 0.5f, lengthRatioHigh = 1.5f;

// Shape bounds. 0.6666 is the decimal the recognizer was tuned with, a
// little below two thirds.
constexpr double similarLow = 0.6666, similarHigh = 1.5;
constexpr double doubledLeg = 1.5, doubledLegHigh = 2.5;
constexpr double tripledLeg = 2.5, thirdOfLeg = 0.4;
constexpr double evenLow = 0.5, evenHigh = 1.5;

// Candidates tried per tree depth; candidate 0 is always the list as found.
int candidateCount(int depth) {
  switch (depth) {
    case 2:
      return 4;
    case 3:
      return 6;
    case 4:
      return 4;
    default:
      return 0;
  }
}

// Bounds on the ratio of two sums of adjacent legs: legs top .. top +
// topCount - 1 over legs bottom .. bottom + bottomCount - 1, both bounds
// excluded.
struct LegRatio {
  int top, topCount, bottom, bottomCount;
  double low, high;
  // A doubled leg has no upper bound in a three-level tree.
  bool openInThreeLevels;
};

// One way of reading the segments found as more levels: how many equal
// parts each found segment is cut into, and the proportions the cut legs
// must then have.
struct Shape {
  int parts[3];
  int ratioCount;
  LegRatio ratios[3];
};

constexpr double unbounded = std::numeric_limits<double>::infinity();

constexpr Shape oneLeg = {{1}, 0, {}};
constexpr Shape legInTwo = {{2}, 0, {}};
constexpr Shape legInThree = {{3}, 0, {}};
constexpr Shape legInFour = {{4}, 0, {}};

constexpr Shape twoLegs = {
    {1, 1}, 1, {{0, 1, 1, 1, similarLow, similarHigh, false}}};
constexpr Shape firstOfTwoDoubled = {
    {2, 1}, 1, {{0, 2, 2, 1, doubledLeg, doubledLegHigh, true}}};
constexpr Shape secondOfTwoDoubled = {
    {1, 2}, 1, {{1, 2, 0, 1, doubledLeg, doubledLegHigh, true}}};
constexpr Shape bothOfTwoDoubled = {
    {2, 2}, 1, {{0, 2, 2, 2, similarLow, similarHigh, false}}};
constexpr Shape firstOfTwoTripled = {
    {3, 1}, 1, {{0, 3, 3, 1, tripledLeg, unbounded, false}}};
constexpr Shape secondOfTwoTripled = {
    {1, 3}, 1, {{0, 1, 1, 3, -unbounded, thirdOfLeg, false}}};

constexpr Shape threeLegs = {{1, 1, 1},
                             3,
                             {{0, 1, 1, 1, evenLow, evenHigh, false},
                              {1, 1, 2, 1, evenLow, evenHigh, false},
                              {0, 1, 2, 1, evenLow, evenHigh, false}}};
constexpr Shape firstOfThreeDoubled = {
    {2, 1, 1},
    3,
    {{0, 2, 2, 1, doubledLeg, unbounded, false},
     {2, 1, 3, 1, evenLow, evenHigh, false},
     {0, 2, 3, 1, doubledLeg, unbounded, false}}};
constexpr Shape secondOfThreeDoubled = {
    {1, 2, 1},
    3,
    {{1, 2, 0, 1, doubledLeg, unbounded, false},
     {0, 1, 3, 1, evenLow, evenHigh, false},
     {1, 2, 3, 1, doubledLeg, unbounded, false}}};
constexpr Shape thirdOfThreeDoubled = {
    {1, 1, 2},
    3,
    {{0, 1, 1, 1, evenLow, evenHigh, false},
     {2, 2, 1, 1, doubledLeg, unbounded, false},
     {2, 2, 0, 1, doubledLeg, unbounded, false}}};

// The candidates for n segments found (n = 1..3), candidate 0 the list as
// found; a tree of depth d tries the first candidateCount(d). Past its
// shapes a row of one segment repeats the list as found.
constexpr const Shape* candidateShapes[3][maxCandidates] = {
    {&oneLeg, &legInTwo, &legInThree, &legInFour, &oneLeg, &oneLeg},
    {&twoLegs, &firstOfTwoDoubled, &secondOfTwoDoubled, &bothOfTwoDoubled,
     &firstOfTwoTripled, &secondOfTwoTripled},
    {&threeLegs, &firstOfThreeDoubled, &secondOfThreeDoubled,
     &thirdOfThreeDoubled, nullptr, nullptr},
};

constexpr float halves[] = {0.5f};
constexpr float thirds[] = {0.33333334f, 0.6666667f};
constexpr float quarters[] = {0.25f, 0.5f, 0.75f};

// Cuts segment j of the list into `parts` equal pieces: (P, Q) becomes
// (P, M1), (M1, M2), ..., (Mk, Q), fractions taken of the segment as found.
void splitSegment(PointList* list, int j, int parts) {
  const float* fractions = parts == 2 ? halves : parts == 3 ? thirds : quarters;
  Point p = list->points[2 * j], q = list->points[2 * j + 1];
  int qIndex = 2 * j + 1;
  for (int f = 0; f < parts - 1; f++) {
    Point m;
    mPointLerp(fractions[f], &p, &q, &m);
    mListInsertAfter(list, &m, qIndex - 1);
    mListInsertAfter(list, &m, qIndex);
    qIndex += 2;
  }
}

double segmentLength(const PointList* list, int j) {
  if (2 * j + 1 >= list->count) return 0.0;
  return mPointDistance(&list->points[2 * j], &list->points[2 * j + 1]);
}

// Summed from the first leg on, as the ratios were always written.
double legSum(const PointList* list, int first, int count) {
  double sum = segmentLength(list, first);
  for (int j = first + 1; j < first + count; j++) sum += segmentLength(list, j);
  return sum;
}

bool holds(const PointList* list, const LegRatio& q, bool threeLevels) {
  double r =
      legSum(list, q.top, q.topCount) / legSum(list, q.bottom, q.bottomCount);
  bool belowHigh =
      q.high == unbounded || (threeLevels && q.openInThreeLevels) || r < q.high;
  return r > q.low && belowHigh;
}

Menu* submenuOf(Menu* m) {
  return m->selected >= 1 && mHasSubmenu(m, m->selected)
             ? m->submenu[m->selected - 1]
             : nullptr;
}

}  // namespace

int mItemByDirection(const Menu* menu, const Point* a, const Point* b) {
  return mItemInDirection(menu, b->x - a->x, b->y - a->y);
}

void mApplySegments(Menu* root, const PointList* segments) {
  Menu* m = root;
  for (int i = 0; m && i < segments->count - 1; i += 2) {
    m->selected =
        mItemByDirection(m, &segments->points[i], &segments->points[i + 1]);
    m = submenuOf(m);
    if (m) m->selected = 0;
  }
}

bool mPathReachesLeaf(Menu* root, const PointList* candidate) {
  int segments = candidate->count / 2;
  Menu* m = root;
  for (int i = 0;; i += 2) {
    // A segment that selects nothing also ends the path: as the last segment
    // it counts as reaching the end.
    if (i / 2 == segments) return m == nullptr;
    if (!m) return false;
    m->selected =
        mItemByDirection(m, &candidate->points[i], &candidate->points[i + 1]);
    m = submenuOf(m);
  }
}

bool mLengthPlausible(const Menu* root, const PointList* candidate) {
  int expected = (candidate->count * root->radius) / 2;
  float length = mListLength(candidate);
  if (!(length > 0.0f)) return false;
  float r = float(expected) / length;
  return r > lengthRatioLow && r < lengthRatioHigh;
}

bool ProperShape(const Menu* root, const PointList* candidate, int n,
                 int altType) {
  if (n == 1) return true;
  if (n != 2 && n != 3) return false;
  const Shape* shape = altType >= 1 && altType <= maxCandidates
                           ? candidateShapes[n - 1][altType - 1]
                           : nullptr;
  if (!shape) {
    mReportError("unknown altType in ProperShape");
    return false;
  }
  bool threeLevels = mTreeDepth(root) == 3;
  for (int i = 0; i < shape->ratioCount; i++)
    if (!holds(candidate, shape->ratios[i], threeLevels)) return false;
  return true;
}

void mReshapeMark(Menu* root, PointList* segments) {
  int n = segments->count / 2;
  int depth = mTreeDepth(root);
  // With no segment at all no candidate can reach a leaf.
  if (n < 1 || depth <= n || depth > highestRepairedDepth) return;
  int count = candidateCount(depth);

  PointList candidates[maxCandidates];
  bool path[maxCandidates], length[maxCandidates], shape[maxCandidates];
  for (int k = 0; k < count; k++) {
    PointList* c = &candidates[k];
    mListCopy(segments, c);
    // Later segments first, so that the slots of earlier ones stay put.
    // Here n < depth <= 4, so the table covers it.
    const int* parts = candidateShapes[n - 1][k]->parts;
    for (int j = n - 1; j >= 0; j--)
      if (parts[j] > 1) splitSegment(c, j, parts[j]);
    path[k] = mPathReachesLeaf(root, c);
    length[k] = mLengthPlausible(root, c);
    shape[k] = ProperShape(root, c, n, k + 1);
  }

  int chosen = -1;
  for (int k = 0; k < count && chosen < 0; k++)
    if (path[k] && length[k] && shape[k]) chosen = k;
  for (int k = 0; k < count && chosen < 0; k++)
    if (path[k] && shape[k]) chosen = k;
  for (int k = 0; k < count && chosen < 0; k++)
    if (path[k] && length[k]) chosen = k;
  for (int k = 0; k < count && chosen < 0; k++)
    if (path[k]) chosen = k;
  if (chosen >= 0) mListCopy(&candidates[chosen], segments);
}

void mInterpretMark(Menu* root, const PointList* stroke, int recognizer) {
  if (!root || !stroke) return;
  if (debugOutput) std::printf("\n\n");
  if (mStrokeTooShort(root)) {
    root->selected = 0;
    return;
  }
  double speed = mStrokeLength(root) / (root->releaseTime - root->pressTime);
  if (speed > MARKSPEEDLIMIT) {
    root->selected = 0;
    // Press and release at one clock reading make the speed infinite.
    if (debugOutput)
      std::printf("exceeded MARKSPEEDLIMIT of %d at %d\n", MARKSPEEDLIMIT,
                  speed < INT_MAX ? int(speed) : INT_MAX);
    return;
  }
  if (strokeOverflow) {
    root->selected = 0;
    return;
  }
  if (mTreeDepth(root) == 1) {
    root->selected = stroke->count > 0
                         ? mItemByDirection(root, &stroke->points[0],
                                            &stroke->points[stroke->count - 1])
                         : 0;
    return;
  }

  PointList segments;
  uint8_t scribble = 0;
  mIsScribble(root, stroke, &segments, &scribble, recognizer);
  if (scribble) {
    root->selected = 0;
    if (debugOutput) std::printf("recognized as a scribble\n");
    return;
  }
  if (recognizer != MARK_RECOGNIZER_LEGS || !mSplitLegsEvenly(root, &segments))
    mReshapeMark(root, &segments);
  // Every leg dropped (a loop closing near its start): nothing is selected,
  // rather than whatever the last selection left in the tree.
  if (segments.count < 2) {
    root->selected = 0;
    return;
  }
  mApplySegments(root, &segments);
}
