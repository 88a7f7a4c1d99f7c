#include "core/geometry.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/report.h"

namespace {
// Handed out for an index outside a list, so that a caller never reads or
// writes past it. Zeroed again at every use.
Point sparePoint;

Point* outOfBounds() {
  mReportError("index out of bounds");
  sparePoint = Point{};
  return &sparePoint;
}

constexpr double degreesToRadians = 0.017453292519943295;
constexpr double radiansToDegrees = 57.29577951308232;
}  // namespace

int mSaturate(int64_t v) {
  constexpr int64_t lo = std::numeric_limits<int>::min();
  constexpr int64_t hi = std::numeric_limits<int>::max();
  return int(v < lo ? lo : v > hi ? hi : v);
}

int mSatAdd(int a, int b) { return mSaturate(int64_t(a) + b); }

int mFloatToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v <= double(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  if (v >= double(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  return int(v);
}

void mListClear(PointList* list) { std::memset(list, 0, sizeof *list); }

int mListCount(const PointList* list) { return list->count; }

Point* mListAt(PointList* list, int i) {
  if (i < 0 || i >= list->count || i >= POINT_LIST_CAPACITY)
    return outOfBounds();
  return &list->points[i];
}

Point* mListFirst(PointList* list) { return mListAt(list, 0); }

Point* mListLast(PointList* list) { return mListAt(list, list->count - 1); }

void mListAppend(PointList* list, const Point* p) {
  if (list->count >= POINT_LIST_CAPACITY) return;
  list->points[list->count++] = *p;
}

void mListPrepend(PointList* list, const Point* p) {
  if (list->count >= POINT_LIST_CAPACITY) {
    mReportError("point list overflow");
    return;
  }
  std::memmove(&list->points[1], &list->points[0],
               sizeof(Point) * size_t(list->count));
  list->points[0] = *p;
  list->count++;
}

void mListInsertAfter(PointList* list, const Point* p, int i) {
  if (list->count + 1 > POINT_LIST_CAPACITY) {
    mReportError("list overflow");
    return;
  }
  if (i < 0 || i > list->count - 1) {
    mReportError("inserting outside a list");
    return;
  }
  std::memmove(&list->points[i + 2], &list->points[i + 1],
               sizeof(Point) * size_t(list->count - i - 1));
  list->points[i + 1] = *p;
  list->count++;
}

void mListCopy(const PointList* source, PointList* destination) {
  destination->count = source->count;
  std::memcpy(destination->points, source->points,
              sizeof(Point) * size_t(source->count));
}

void mListBounds(const PointList* list, Rect* out) {
  if (list->count <= 0) {
    *out = Rect{0, 0, 0, 0};
    return;
  }
  int x = mFloatToInt(list->points[0].x), y = mFloatToInt(list->points[0].y);
  *out = Rect{x, x, y, y};
  for (int i = 0; i < list->count; i++) {
    x = mFloatToInt(list->points[i].x);
    y = mFloatToInt(list->points[i].y);
    if (x < out->xmin) out->xmin = x;
    if (x > out->xmax) out->xmax = x;
    if (y < out->ymin) out->ymin = y;
    if (y > out->ymax) out->ymax = y;
  }
}

void mListTranslate(PointList* list, int dx, int dy) {
  for (int i = 0; i < list->count; i++) {
    list->points[i].x += float(dx);
    list->points[i].y += float(dy);
  }
}

void mListRotate(PointList* list, float angle) {
  for (int i = 0; i < list->count; i++)
    mPointRotate(&list->points[i], angle, &list->points[i]);
}

float mListLength(const PointList* list) {
  float length = 0.0f;
  for (int i = 1; i < list->count; i++)
    length += float(mPointDistance(&list->points[i - 1], &list->points[i]));
  return length;
}

void mPointAdd(const Point* a, const Point* b, Point* out) {
  *out = Point{a->x + b->x, a->y + b->y, a->t + b->t, a->a + b->a};
}

void mPointSub(const Point* a, const Point* b, Point* out) {
  *out = Point{a->x - b->x, a->y - b->y, a->t - b->t, a->a - b->a};
}

void mPointRotate(const Point* p, float angle, Point* out) {
  double r = angle * degreesToRadians;
  double c = std::cos(r), s = std::sin(r);
  Point q = *p;
  q.x = float(p->x * c - p->y * s);
  q.y = float(p->x * s + p->y * c);
  *out = q;
}

void mPointDivide(const Point* p, float s, Point* out) {
  float x = p->x / s, y = p->y / s;
  out->x = x;
  out->y = y;
}

bool mPointEqual(const Point* a, const Point* b) {
  return a->x == b->x && a->y == b->y;
}

void mPointCopy(const Point* a, Point* out) { *out = *a; }

double mPointDistance(const Point* a, const Point* b) {
  return std::hypot(double(b->x) - a->x, double(b->y) - a->y);
}

double mPointDot(const Point* a, const Point* b) {
  return double(a->x) * b->x + double(a->y) * b->y;
}

double mTurnAngle(const Point* p0, const Point* p1, const Point* p2) {
  if (mPointEqual(p0, p1) || mPointEqual(p1, p2)) mReportError("equal points");
  Point u{}, v{};
  mPointSub(p2, p1, &u);
  mPointDivide(&u, float(mPointDistance(p1, p2)), &u);
  mPointSub(p1, p0, &v);
  mPointDivide(&v, float(mPointDistance(p0, p1)), &v);
  float k = float(mPointDot(&u, &v));
  if (k > 1.0f || std::isnan(k))
    k = 1.0f;
  else if (k < -1.0f)
    k = -1.0f;
  return std::acos(double(k)) * radiansToDegrees;
}

void mPointLerp(float s, const Point* a, const Point* b, Point* out) {
  Point q{};
  q.x = (b->x - a->x) * s + a->x;
  q.y = (b->y - a->y) * s + a->y;
  q.t = (b->t - a->t) * s + a->t;
  q.a = 0.0f;
  *out = q;
}

int mIntDistance(int x1, int y1, int x2, int y2) {
  // Squares in 32 bits as the recognizer's thresholds were set with; the
  // wrap for far-apart points is done in unsigned arithmetic to stay defined.
  uint32_t dx = uint32_t(x2) - uint32_t(x1), dy = uint32_t(y2) - uint32_t(y1);
  int32_t sum = int32_t(dx * dx + dy * dy);
  return int(std::sqrt(double(sum < 0 ? 0 : sum)));
}

void mRectSet(Rect* rect, int xmin, int ymin, int xmax, int ymax) {
  *rect = Rect{xmin, xmax, ymin, ymax};
}

bool mRectContains(int x, int y, const Rect* rect) {
  return rect->xmin <= x && x <= rect->xmax && rect->ymin <= y &&
         y <= rect->ymax;
}

void mRectMove(Rect* rect, int dx, int dy) {
  rect->xmin = mSatAdd(rect->xmin, dx);
  rect->xmax = mSatAdd(rect->xmax, dx);
  rect->ymin = mSatAdd(rect->ymin, dy);
  rect->ymax = mSatAdd(rect->ymax, dy);
}

int mRectWidth(const Rect* rect) {
  return mSaturate(int64_t(rect->xmax) - rect->xmin + 1);
}

int mRectHeight(const Rect* rect) {
  return mSaturate(int64_t(rect->ymax) - rect->ymin + 1);
}

void mRectInset(Rect* rect, int dx, int dy) {
  rect->xmin = mSatAdd(rect->xmin, dx);
  rect->xmax = mSaturate(int64_t(rect->xmax) - dx);
  rect->ymin = mSatAdd(rect->ymin, dy);
  rect->ymax = mSaturate(int64_t(rect->ymax) - dy);
}

bool mRectOverlap(const Rect* a, const Rect* b) {
  return b->xmin <= a->xmax && b->xmax >= a->xmin && b->ymin <= a->ymax &&
         b->ymax >= a->ymin;
}

void mRectExtend(Rect* rect, const Rect* other, const int* x, const int* y) {
  if (other) {
    if (other->xmin < rect->xmin) rect->xmin = other->xmin;
    if (other->xmax > rect->xmax) rect->xmax = other->xmax;
    if (other->ymin < rect->ymin) rect->ymin = other->ymin;
    if (other->ymax > rect->ymax) rect->ymax = other->ymax;
  }
  if (x) {
    if (*x < rect->xmin) rect->xmin = *x;
    if (*x > rect->xmax) rect->xmax = *x;
  }
  if (y) {
    if (*y < rect->ymin) rect->ymin = *y;
    if (*y > rect->ymax) rect->ymax = *y;
  }
}

void mRectFromCorners(int x1, int y1, int x2, int y2, int* x, int* y,
                      int* width, int* height) {
  int xlo = x1 < x2 ? x1 : x2, xhi = x1 < x2 ? x2 : x1;
  int ylo = y1 < y2 ? y1 : y2, yhi = y1 < y2 ? y2 : y1;
  *x = xlo;
  *width = mSaturate(int64_t(xhi) - xlo + 1);
  *y = ylo;
  *height = mSaturate(int64_t(yhi) - ylo + 1);
}

void mPointOffset(IntPoint* point, int dx, int dy) {
  point->x = mSatAdd(point->x, dx);
  point->y = mSatAdd(point->y, dy);
}
