#include "marks/leg_reading.h"

#include <algorithm>
#include <cmath>

#include "core/menu_tree.h"
#include "marks/interpretation.h"
#include "marks/segmentation.h"

// Why corners are found this way. A hand draws each level as one reach and
// rounds the turn between two reaches over a stretch that grows with the
// legs, not with the sampling: a window of fixed length sees a 45-degree
// turn spread over two windows, each under the threshold. Here the stroke is
// resampled evenly by arc length and the turn at each point is measured
// between the chords to the points an arm's length before and after it, the
// arm a fifth of the leg the mark would have if it used every level. An arm
// that long spans the whole rounding, so a rounded turn measures nearly its
// full angle. No turn is measured within one and a half arms of either end:
// a hook there (a short flick as the pen lands or lifts) would bend the arm
// that reaches it; it stays part of the leg beside it, whose middle part
// leaves it out.
// Corners are the turns that are largest within an arm on either side and
// reach half a sector. When that leaves fewer legs than the tree has levels,
// weaker turns (a quarter sector) are taken too, strongest first, where they
// split a leg into two legs long enough for a level whose directions differ
// by as much: two levels in neighbouring directions drawn with a shallow
// turn, sharply or where the hand slowed down as it does at a corner. A
// split of a straight leg would read one item twice, which the repair of
// too few legs already does; a bowed leg turns as much, but gradually and at
// speed.
//
// Each leg's direction is the chord of its middle three fifths, where
// neither the rounding of its corners nor a hook reaches. The resampling has
// a fixed number of points (more for very deep trees), so the work is linear
// in the stroke's points.

namespace {

constexpr int leastSamples = 192;      // resampled spans of the whole stroke
constexpr int samplesPerLevel = 12;    // at least, for very deep trees
constexpr double armFraction = 0.2;    // of the expected leg
constexpr float weakFraction = 0.5f;   // of the corner angle
constexpr double middleMargin = 0.2;   // of a leg, left out at either end
constexpr double hookReach = 1.5;      // arms from either end with no corner
constexpr double slowFraction = 0.6;   // of the top speed, at a weak corner
constexpr double sharpFraction = 0.8;  // of its turn, within half an arm

constexpr double degreesPerRadian = 180.0 / M_PI;

Point lerp(const Point& a, const Point& b, double f) {
  auto mix = [f](float u, float v) { return float(u + (v - u) * f); };
  return Point{mix(a.x, b.x), mix(a.y, b.y), mix(a.t, b.t), 0.0f};
}

double distance(const Point& a, const Point& b) {
  return std::hypot(double(b.x) - a.x, double(b.y) - a.y);
}

// Degrees from East, counter-clockwise with y up; 0 for a zero vector.
double directionOf(const Point& a, const Point& b) {
  return std::atan2(double(a.y) - b.y, double(b.x) - a.x) * degreesPerRadian;
}

// 0 straight on, 180 a reversal; 0 when either chord has no length.
double turnAt(const Point& before, const Point& at, const Point& after) {
  double ux = double(at.x) - before.x, uy = double(at.y) - before.y;
  double vx = double(after.x) - at.x, vy = double(after.y) - at.y;
  return std::fabs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy)) *
         degreesPerRadian;
}

double angleBetween(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

// The stroke resampled at `spans` + 1 points evenly spaced along its length.
std::vector<Point> resample(const PointList* stroke, double length, int spans) {
  std::vector<Point> out;
  out.reserve(size_t(spans) + 1);
  const Point* p = stroke->points;
  int last = stroke->count - 1;
  int i = 1;
  double before = 0, span = distance(p[0], p[1]);
  for (int j = 0; j <= spans; j++) {
    double s = length * j / spans;
    while (i < last && before + span < s) {
      before += span;
      i++;
      span = distance(p[i - 1], p[i]);
    }
    double f = span > 0 ? std::clamp((s - before) / span, 0.0, 1.0) : 1.0;
    out.push_back(lerp(p[i - 1], p[i], f));
  }
  return out;
}

// The resampled stroke at a fractional index.
Point pointAt(const std::vector<Point>& r, double index) {
  int i = std::clamp(int(std::floor(index)), 0, int(r.size()) - 2);
  return lerp(r[size_t(i)], r[size_t(i) + 1], index - i);
}

struct Reader {
  std::vector<Point> r;
  std::vector<double> turn;  // at each resampled point, degrees
  int arm;                   // in resampled spans
  double expected;           // pixels, a leg if every level is used

  // A leg between resampled indices u < v; false when too short for a
  // level.
  bool leg(int u, int v, MarkLeg* out) const {
    const Point& from = r[size_t(u)];
    const Point& to = r[size_t(v)];
    if (!mLegCounts(distance(from, to), expected)) return false;
    double margin = middleMargin * (v - u);
    double direction =
        directionOf(pointAt(r, u + margin), pointAt(r, v - margin));
    *out = MarkLeg{from, to, float(direction)};
    return true;
  }

  // The legs between the corners, in order, those too short left out.
  std::vector<MarkLeg> legs(const std::vector<int>& corners) const {
    std::vector<MarkLeg> out;
    int u = 0;
    for (size_t k = 0; k <= corners.size(); k++) {
      int v = k < corners.size() ? corners[k] : int(r.size()) - 1;
      MarkLeg l;
      if (leg(u, v, &l)) out.push_back(l);
      u = v;
    }
    return out;
  }

  // Points whose turn is the largest within an arm on either side and at
  // least `least` degrees; of a run of equal turns (a reversal measures 180
  // degrees over half an arm around its tip) the middle one.
  std::vector<int> peaks(double least) const {
    std::vector<int> out;
    int end = int(r.size()) - 1 - arm;
    for (int i = arm; i <= end; i++) {
      double t = turn[size_t(i)];
      if (!(t >= least) || t <= 0) continue;
      int run = i;
      while (run < end && turn[size_t(run) + 1] == t) run++;
      bool highest = true;
      for (int j = std::max(arm, i - arm);
           highest && j <= std::min(end, run + arm); j++)
        highest = (j >= i && j <= run) || turn[size_t(j)] < t ||
                  (turn[size_t(j)] == t && j > run);
      if (highest) out.push_back((i + run) / 2);
      i = run;
    }
    return out;
  }

  // Resampled spans per second around index i, over half an arm either
  // side; -1 when the stroke's times do not move on there.
  double speed(int i) const {
    int h = std::max(1, arm / 2);
    int lo = std::max(0, i - h), hi = std::min(int(r.size()) - 1, i + h);
    double dt = double(r[size_t(hi)].t) - r[size_t(lo)].t;
    return dt > 0 ? (hi - lo) / dt : -1.0;
  }

  // Whether a weak turn at index c, inside the stretch u..v between corners,
  // splits it into two legs of a level each that point apart by at least
  // `least` degrees, and is a corner rather than a bow: the hand slowed
  // down there (to at most 60 % of its top speed over the stretch), or the
  // turn is sharp (nearly all of it within half an arm). A leg bowed as it
  // is drawn turns as much, but gradually and at speed.
  bool splits(int u, int c, int v, double least) const {
    MarkLeg a, b;
    double top = 0;
    for (int i = u; i <= v; i++) top = std::max(top, speed(i));
    double here = speed(c);
    int h = std::max(1, arm / 2);
    bool sharp = turnAt(r[size_t(c - h)], r[size_t(c)], r[size_t(c + h)]) >=
                 sharpFraction * turn[size_t(c)];
    if (!sharp && top > 0 && here >= 0 && here > slowFraction * top)
      return false;
    return leg(u, c, &a) && leg(c, v, &b) &&
           angleBetween(a.directionDegrees, b.directionDegrees) >= least;
  }
};

bool finite(const PointList* stroke) {
  for (int i = 0; i < stroke->count; i++) {
    const Point& p = stroke->points[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.t))
      return false;
  }
  return true;
}

}  // namespace

LegReading mReadLegs(const Menu* root, const PointList* stroke) {
  LegReading reading;
  if (!root || !stroke || stroke->count < 2 ||
      stroke->count > POINT_LIST_CAPACITY || !finite(stroke))
    return reading;
  double length = 0;
  for (int i = 1; i < stroke->count; i++)
    length += distance(stroke->points[i - 1], stroke->points[i]);
  if (!(length > 0) || !std::isfinite(length)) return reading;

  int depth = std::max(1, mTreeDepth(root));
  int spans = std::max(leastSamples, samplesPerLevel * depth);
  Reader reader;
  reader.r = resample(stroke, length, spans);
  reader.expected = length / depth;
  reader.arm = std::max(
      1, int(std::lround(armFraction * reader.expected / (length / spans))));
  reader.turn.assign(reader.r.size(), 0.0);
  // Where an arm folds back on itself (near the tip of a reversal) its
  // chord is too short to have a direction, and no turn is measured. Nor is
  // one within half an arm more of either end: a hook there bends the arm
  // that reaches it, and the piece it would cut off is a hook, not a level.
  double shortest = 0.5 * reader.arm * (length / spans);
  int reach = int(std::lround(hookReach * reader.arm));
  for (int i = reach; i + reach <= spans; i++) {
    const Point& before = reader.r[size_t(i - reader.arm)];
    const Point& at = reader.r[size_t(i)];
    const Point& after = reader.r[size_t(i + reader.arm)];
    if (distance(before, at) >= shortest && distance(at, after) >= shortest)
      reader.turn[size_t(i)] = turnAt(before, at, after);
  }

  double strong = mCornerAngle(root);
  double weak = strong * weakFraction;
  std::vector<int> corners, candidates;
  for (int i : reader.peaks(weak))
    (reader.turn[size_t(i)] >= strong ? corners : candidates).push_back(i);
  // A piece too short for a level at either end of the stroke is not cut
  // off but left to the leg beside it, whose middle part leaves it out.
  MarkLeg unused;
  while (!corners.empty() && !reader.leg(0, corners.front(), &unused))
    corners.erase(corners.begin());
  while (!corners.empty() && !reader.leg(corners.back(), spans, &unused))
    corners.pop_back();
  std::vector<MarkLeg> legs = reader.legs(corners);

  // Weaker turns, strongest first, while levels are left unread.
  std::stable_sort(candidates.begin(), candidates.end(), [&](int a, int b) {
    return reader.turn[size_t(a)] > reader.turn[size_t(b)];
  });
  for (int c : candidates) {
    if (int(legs.size()) >= depth) break;
    auto next = std::upper_bound(corners.begin(), corners.end(), c);
    int u = next == corners.begin() ? 0 : *(next - 1);
    int v = next == corners.end() ? spans : *next;
    if (!reader.splits(u, c, v, weak)) continue;
    corners.insert(next, c);
    legs = reader.legs(corners);
  }

  for (int c : corners) {
    Point at = reader.r[size_t(c)];
    at.a = float(reader.turn[size_t(c)]);
    reading.corners.push_back(MarkCorner{at, at.a});
  }
  reading.legs = std::move(legs);
  return reading;
}

void mSegmentLegs(const Menu* root, const PointList* stroke, PointList* out) {
  mListClear(out);
  LegReading reading = mReadLegs(root, stroke);
  for (const MarkLeg& leg : reading.legs) {
    double length = distance(leg.from, leg.to);
    double radians = leg.directionDegrees / degreesPerRadian;
    Point end = leg.from;
    end.x = float(leg.from.x + length * std::cos(radians));
    end.y = float(leg.from.y - length * std::sin(radians));
    end.t = leg.to.t;
    end.a = 0.0f;
    Point start = leg.from;
    start.a = 0.0f;
    mListAppend(out, &start);
    mListAppend(out, &end);
  }
}

namespace {

constexpr int highestEvenSplit = 8;  // levels; past them no search

// Every way of cutting `n` legs into `total` levels, each leg at least one.
void compositions(int n, int total, std::vector<int>* parts,
                  std::vector<std::vector<int>>* out) {
  if (int(parts->size()) == n - 1) {
    parts->push_back(total);
    out->push_back(*parts);
    parts->pop_back();
    return;
  }
  for (int p = 1; p <= total - (n - 1 - int(parts->size())); p++) {
    parts->push_back(p);
    compositions(n, total - p, parts, out);
    parts->pop_back();
  }
}

// How uneven the levels are when each leg is cut into its parts: the
// longest level over the shortest.
double unevenness(const PointList* segments, const std::vector<int>& parts) {
  double low = INFINITY, high = 0;
  for (size_t j = 0; j < parts.size(); j++) {
    double level =
        distance(segments->points[2 * j], segments->points[2 * j + 1]) /
        parts[j];
    low = std::min(low, level);
    high = std::max(high, level);
  }
  return low > 0 ? high / low : INFINITY;
}

PointList cut(const PointList* segments, const std::vector<int>& parts) {
  PointList out;
  mListClear(&out);
  for (size_t j = 0; j < parts.size(); j++) {
    const Point& p = segments->points[2 * j];
    const Point& q = segments->points[2 * j + 1];
    for (int k = 0; k < parts[j]; k++) {
      Point a = lerp(p, q, double(k) / parts[j]);
      Point b = lerp(p, q, double(k + 1) / parts[j]);
      mListAppend(&out, &a);
      mListAppend(&out, &b);
    }
  }
  return out;
}

}  // namespace

bool mSplitLegsEvenly(Menu* root, PointList* segments) {
  int n = segments->count / 2;
  int depth = mTreeDepth(root);
  if (n < 1 || n >= depth || depth > highestEvenSplit) return false;
  for (int total = depth; total > n; total--) {
    std::vector<std::vector<int>> ways;
    std::vector<int> parts;
    compositions(n, total, &parts, &ways);
    std::stable_sort(ways.begin(), ways.end(),
                     [&](const auto& a, const auto& b) {
                       return unevenness(segments, a) < unevenness(segments, b);
                     });
    for (const std::vector<int>& way : ways) {
      PointList candidate = cut(segments, way);
      if (mPathReachesLeaf(root, &candidate)) {
        *segments = candidate;
        return true;
      }
    }
  }
  return false;
}
