// Points, point lists and rectangles: the value types of mark recognition
// and of the library's screen geometry. Nothing here allocates.
//
// Coordinates are screen pixels, x to the right and y down. The public calls
// that take the pointer (mPress, mMotion, mRelease) clamp it to
// +-COORDINATE_LIMIT, far beyond any screen, so that centres, boxes and
// strokes derived from it keep well inside 32 bits. Below those calls every
// function is still defined for any int: a sum or difference that would
// leave 32 bits saturates at INT32_MIN or INT32_MAX, and drawing or saving
// keeps only what lies on the drawing surface.
#pragma once

#include <cstdint>

#include "menu/marking_menu.h"

inline constexpr int COORDINATE_LIMIT = 1 << 24;

// v limited to the range of int.
int mSaturate(int64_t v);
// a + b, limited to the range of int.
int mSatAdd(int a, int b);
// Truncated toward zero as a cast would, limited to the range of int; NaN
// gives 0.
int mFloatToInt(double v);

inline constexpr int POINT_LIST_CAPACITY = 128;

// The library's own records and globals live in this namespace, so that
// their common names never meet a program's own; the library's files name
// them unqualified.
namespace tarvel::internal {

// A pointer sample: position in screen pixels, time in seconds since the
// press, and a spare value (an articulation point's turning angle, degrees).
struct Point {
  float x, y, t, a;
};

// At most 128 points, kept by value: assigning a list copies it.
struct PointList {
  int32_t count;
  Point points[POINT_LIST_CAPACITY];
};

}  // namespace tarvel::internal

using tarvel::internal::Point;
using tarvel::internal::PointList;

void mListClear(PointList* list);
int mListCount(const PointList* list);
// Slot i for 0 <= i < count. Outside that: reported, and a pointer to a
// zeroed spare point is returned.
Point* mListAt(PointList* list, int i);
Point* mListFirst(PointList* list);
Point* mListLast(PointList* list);
// A full list is left unchanged, without a report.
void mListAppend(PointList* list, const Point* p);
void mListPrepend(PointList* list, const Point* p);
// Inserts p so that it becomes slot i + 1; needs 0 <= i <= count - 1.
void mListInsertAfter(PointList* list, const Point* p, int i);
void mListCopy(const PointList* source, PointList* destination);
void mListBounds(const PointList* list, Rect* out);
void mListTranslate(PointList* list, int dx, int dy);
void mListRotate(PointList* list, float angle);
// Polyline length, summed in single precision.
float mListLength(const PointList* list);

void mPointAdd(const Point* a, const Point* b, Point* out);
void mPointSub(const Point* a, const Point* b, Point* out);
// Turns clockwise on the screen for a positive angle in degrees.
void mPointRotate(const Point* p, float angle, Point* out);
// Writes x and y only.
void mPointDivide(const Point* p, float s, Point* out);
bool mPointEqual(const Point* a, const Point* b);
void mPointCopy(const Point* a, Point* out);
double mPointDistance(const Point* a, const Point* b);
double mPointDot(const Point* a, const Point* b);
// Turning angle at p1 in degrees: 0 straight on, 180 a full reversal.
double mTurnAngle(const Point* p0, const Point* p1, const Point* p2);
void mPointLerp(float s, const Point* a, const Point* b, Point* out);
// Integer part of the distance; squares summed in 32-bit integers.
int mIntDistance(int x1, int y1, int x2, int y2);

// The rectangle functions saturate as said at the top.
//
// Note the argument order: xmin, ymin, xmax, ymax.
void mRectSet(Rect* rect, int xmin, int ymin, int xmax, int ymax);
bool mRectContains(int x, int y, const Rect* rect);
void mRectMove(Rect* rect, int dx, int dy);
int mRectWidth(const Rect* rect);
int mRectHeight(const Rect* rect);
void mRectInset(Rect* rect, int dx, int dy);
// Touching edges overlap.
bool mRectOverlap(const Rect* a, const Rect* b);
// Grows rect over `other`, then over the x and the y value; each is
// optional (NULL to leave it out).
void mRectExtend(Rect* rect, const Rect* other, const int* x, const int* y);
void mRectFromCorners(int x1, int y1, int x2, int y2, int* x, int* y,
                      int* width, int* height);
void mPointOffset(IntPoint* point, int dx, int dy);
