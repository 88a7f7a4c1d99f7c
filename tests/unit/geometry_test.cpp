#include "core/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "report_capture.h"

namespace {

Point P(float x, float y, float t = 0) { return Point{x, y, t, 0}; }

PointList listOf(std::initializer_list<Point> points) {
  PointList list;
  mListClear(&list);
  for (const Point& p : points) mListAppend(&list, &p);
  return list;
}

PointList fullList() {
  PointList list;
  mListClear(&list);
  for (int i = 0; i < POINT_LIST_CAPACITY; i++) {
    Point p = P(float(i), 0);
    mListAppend(&list, &p);
  }
  return list;
}

}  // namespace

TEST(TurnAngle, StraightReversalQuarterAndRepeatedPoints) {
  Point a = P(0, 0), b = P(10, 0), c = P(20, 0), down = P(10, 10);
  EXPECT_EQ(mTurnAngle(&a, &b, &c), 0.0);
  EXPECT_EQ(mTurnAngle(&a, &b, &a), 180.0);  // exact: tested for equality
  EXPECT_NEAR(mTurnAngle(&a, &b, &down), 90.0, 1e-9);

  ReportCapture reports;
  EXPECT_EQ(mTurnAngle(&a, &a, &c), 0.0);
  EXPECT_EQ(reports.last(), "equal points");
}

TEST(PointList, InsertAfterKeepsOrderAndRefusesBadPlaces) {
  Point a = P(1, 1), b = P(2, 2), m = P(9, 9);
  PointList list = listOf({a, b});
  mListInsertAfter(&list, &m, 0);
  mListInsertAfter(&list, &m, 0);
  ASSERT_EQ(mListCount(&list), 4);
  EXPECT_EQ(mListAt(&list, 0)->x, 1);
  EXPECT_EQ(mListAt(&list, 1)->x, 9);
  EXPECT_EQ(mListAt(&list, 2)->x, 9);
  EXPECT_EQ(mListAt(&list, 3)->x, 2);

  ReportCapture reports;
  PointList two = listOf({a, b});
  mListInsertAfter(&two, &m, 2);
  EXPECT_EQ(reports.last(), "inserting outside a list");
  EXPECT_EQ(mListCount(&two), 2);
  PointList empty = listOf({});
  mListInsertAfter(&empty, &m, 0);
  EXPECT_EQ(mListCount(&empty), 0);

  PointList full = fullList();
  mListInsertAfter(&full, &m, -5);  // overflow is tested first
  EXPECT_EQ(reports.last(), "list overflow");
  EXPECT_EQ(mListCount(&full), POINT_LIST_CAPACITY);
}

TEST(PointList, FullListAppendIsSilentPrependReports) {
  ReportCapture reports;
  PointList full = fullList();
  Point extra = P(-1, -1);
  mListAppend(&full, &extra);
  EXPECT_EQ(mListCount(&full), POINT_LIST_CAPACITY);
  EXPECT_TRUE(reports.all().empty());
  mListPrepend(&full, &extra);
  EXPECT_EQ(reports.last(), "point list overflow");
  EXPECT_EQ(mListFirst(&full)->x, 0);

  PointList list = listOf({P(5, 5)});
  mListPrepend(&list, &extra);
  EXPECT_EQ(mListFirst(&list)->x, -1);
  EXPECT_EQ(mListLast(&list)->x, 5);
}

TEST(PointList, OutOfRangeIndexGivesAZeroedSparePoint) {
  ReportCapture reports;
  PointList list = listOf({P(3, 4)});
  for (int i : {-1, 1, 500}) {
    Point* p = mListAt(&list, i);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reports.last(), "index out of bounds");
    EXPECT_EQ(p->x, 0);
    p->x = 99;  // scribbling on it harms nothing and is forgotten
  }
  PointList empty = listOf({});
  EXPECT_EQ(mListLast(&empty)->x, 0);
  EXPECT_EQ(mListCount(&list), 1);
}

TEST(PointList, BoundsTruncateTowardZero) {
  Rect r;
  PointList list = listOf({P(-0.5f, 2.9f), P(3.7f, -1.2f)});
  mListBounds(&list, &r);
  EXPECT_EQ(r.xmin, 0);
  EXPECT_EQ(r.xmax, 3);
  EXPECT_EQ(r.ymin, -1);
  EXPECT_EQ(r.ymax, 2);
  PointList empty = listOf({});
  mListBounds(&empty, &r);
  EXPECT_EQ(r.xmin, 0);
  EXPECT_EQ(r.xmax, 0);
  EXPECT_EQ(r.ymin, 0);
  EXPECT_EQ(r.ymax, 0);
}

TEST(PointList, CopyLengthTranslateRotate) {
  PointList list = listOf({P(0, 0), P(3, 4), P(3, 10)});
  EXPECT_FLOAT_EQ(mListLength(&list), 11.0f);
  PointList one = listOf({P(7, 7)});
  EXPECT_EQ(mListLength(&one), 0.0f);

  PointList copy = listOf({P(1, 1), P(1, 1), P(1, 1), P(42, 42)});
  mListCopy(&list, &copy);
  EXPECT_EQ(mListCount(&copy), 3);
  EXPECT_EQ(copy.points[3].x, 42);  // slots past count are left alone

  mListTranslate(&list, 10, -2);
  EXPECT_EQ(mListAt(&list, 1)->x, 13);
  EXPECT_EQ(mListAt(&list, 1)->y, 2);

  // Straight up, turned 90 degrees, points right: clockwise on the screen.
  PointList up = listOf({P(0, -100, 0.5f)});
  mListRotate(&up, 90.0f);
  EXPECT_NEAR(mListFirst(&up)->x, 100, 1e-3);
  EXPECT_NEAR(mListFirst(&up)->y, 0, 1e-3);
  EXPECT_EQ(mListFirst(&up)->t, 0.5f);
}

TEST(PointOps, ArithmeticLerpDivide) {
  Point a{1, 2, 3, 4}, b{10, 20, 30, 40}, out{};
  mPointAdd(&a, &b, &out);
  EXPECT_EQ(out.a, 44);
  mPointSub(&b, &a, &out);
  EXPECT_EQ(out.t, 27);
  Point d{0, 0, 7, 8};
  mPointDivide(&b, 2, &d);
  EXPECT_EQ(d.x, 5);
  EXPECT_EQ(d.t, 7);  // t and a untouched
  mPointLerp(0.5f, &a, &b, &out);
  EXPECT_EQ(out.x, 5.5f);
  EXPECT_EQ(out.t, 16.5f);
  EXPECT_EQ(out.a, 0);
  EXPECT_DOUBLE_EQ(mPointDot(&a, &b), 50.0);
  EXPECT_TRUE(mPointEqual(&a, &a));
}

TEST(IntegerGeometry, DistanceAndRectangles) {
  EXPECT_EQ(mIntDistance(0, 0, 3, 4), 5);
  EXPECT_EQ(mIntDistance(0, 0, 1, 1), 1);
  EXPECT_EQ(mIntDistance(5, 5, 5, 5), 0);

  Rect a{0, 10, 0, 10}, b{10, 20, 10, 20}, c{11, 20, 0, 10};
  EXPECT_TRUE(mRectOverlap(&a, &b));
  EXPECT_FALSE(mRectOverlap(&a, &c));

  int x, y, w, h;
  mRectFromCorners(5, 9, 2, 1, &x, &y, &w, &h);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(h, 9);

  Rect r;
  mRectSet(&r, 1, 2, 3, 4);  // xmin, ymin, xmax, ymax
  EXPECT_EQ(r.xmax, 3);
  EXPECT_EQ(r.ymin, 2);
  EXPECT_EQ(mRectWidth(&r), 3);
  EXPECT_TRUE(mRectContains(3, 4, &r));
  EXPECT_FALSE(mRectContains(4, 4, &r));
  mRectInset(&r, -2, -1);
  EXPECT_EQ(mRectHeight(&r), 5);
  int px = 50, py = -7;
  mRectExtend(&r, nullptr, &px, nullptr);
  EXPECT_EQ(r.xmax, 50);
  EXPECT_EQ(r.ymin, 1);  // y not given, not grown
  mRectExtend(&r, &a, nullptr, &py);
  EXPECT_EQ(r.xmin, -1);
  EXPECT_EQ(r.ymin, -7);
  EXPECT_EQ(r.ymax, 10);
}

TEST(IntegerGeometry, RectanglesSaturateAtTheEndsOfTheIntRange) {
  Rect all{INT_MIN, INT_MAX, INT_MIN, INT_MAX};
  EXPECT_EQ(mRectWidth(&all), INT_MAX);
  EXPECT_EQ(mRectHeight(&all), INT_MAX);
  mRectInset(&all, -3, INT_MIN);
  EXPECT_EQ(all.xmin, INT_MIN);
  EXPECT_EQ(all.xmax, INT_MAX);
  EXPECT_EQ(all.ymin, INT_MIN);
  EXPECT_EQ(all.ymax, INT_MAX);

  Rect r{INT_MAX - 5, INT_MAX, -10, 10};
  mRectMove(&r, 10, INT_MIN);
  EXPECT_EQ(r.xmin, INT_MAX);
  EXPECT_EQ(r.xmax, INT_MAX);
  EXPECT_EQ(r.ymin, INT_MIN);
  EXPECT_EQ(r.ymax, INT_MIN + 10);

  int x, y, w, h;
  mRectFromCorners(INT_MAX, 7, INT_MIN, 7, &x, &y, &w, &h);
  EXPECT_EQ(x, INT_MIN);
  EXPECT_EQ(w, INT_MAX);
  EXPECT_EQ(h, 1);

  IntPoint p{INT_MAX, INT_MIN};
  mPointOffset(&p, 1, -1);
  EXPECT_EQ(p.x, INT_MAX);
  EXPECT_EQ(p.y, INT_MIN);
}

TEST(PointList, BoundsOfPointsBeyondTheIntRangeSaturate) {
  Rect r;
  PointList list = listOf({P(3e9f, -1e12f), P(-3e9f, NAN), P(5, 5)});
  mListBounds(&list, &r);
  EXPECT_EQ(r.xmin, INT_MIN);
  EXPECT_EQ(r.xmax, INT_MAX);
  EXPECT_EQ(r.ymin, INT_MIN);
  EXPECT_EQ(r.ymax, 5);
}
