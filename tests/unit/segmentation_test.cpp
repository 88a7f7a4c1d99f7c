#include "marks/segmentation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mark_paths.h"
#include "platform/report.h"
#include "practice_menu.h"

namespace {

// The practice menu: depth 2, eight radial slots, so corners need 22.5
// degrees.
struct Segmenting : ::testing::Test {
  PracticeMenu practice;
  PointList out;
  uint8_t scribble = 9;

  void segment(const std::vector<Point>& points) {
    PointList stroke = listOf(points);
    mIsScribble(practice.root, &stroke, &out, &scribble);
  }
};

// Rests for 0.8 s at the last point, sampled every 0.1 s, the hand
// trembling by 2 pixels and coming back to where it was.
void rest(std::vector<Point>* points) {
  Point at = points->back();
  for (int i = 1; i <= 8; i++)
    points->push_back({at.x + (i % 2 ? 2.f : 0.f), at.y, at.t + 0.1f * i, 0});
}

// Continues the stroke from its last point, shifted in time.
void append(std::vector<Point>* points, const std::vector<Point>& more) {
  Point from = points->back();
  for (size_t i = 1; i < more.size(); i++)
    points->push_back(
        {from.x + more[i].x, from.y + more[i].y, from.t + more[i].t, 0});
}

TEST_F(Segmenting, BoxUnder16PixelsEitherWayIsAScribble) {
  segment(walk({{0, 0}, {14, 14}, {0, 14}, {14, 0}}));
  EXPECT_EQ(scribble, 1);
  EXPECT_EQ(mListCount(&out), 1);  // the pause points: the last one only

  segment(walk({{0, 0}, {15, 0}}));  // x 0..15 is 16 pixels wide
  EXPECT_EQ(scribble, 0);
  ASSERT_EQ(mListCount(&out), 2);
  EXPECT_EQ(out.points[1].x, 15);
}

TEST_F(Segmenting, PausesAreLongGapsBetweenPointsFivePixelsApart) {
  // Each rest is sampled every 0.1 s, so only the resampling shows it.
  std::vector<Point> points = walk({{0, 0}, {0, -100}});
  rest(&points);
  append(&points, walk({{0, 0}, {100, 0}}));
  PointList stroke = listOf(points);
  mFindPauses(&stroke, &out);
  ASSERT_EQ(mListCount(&out), 2);
  EXPECT_EQ(out.points[0].x, 10);  // the first point over 5 pixels away
  EXPECT_EQ(out.points[1].x, 100);

  segment(points);  // one pause with depth 2 passes
  EXPECT_EQ(scribble, 0);
  EXPECT_EQ(mListCount(&out), 4);

  rest(&points);
  append(&points, walk({{0, 0}, {0, 100}}));
  segment(points);
  EXPECT_EQ(scribble, 1);
  EXPECT_EQ(mListCount(&out), 3);
}

TEST_F(Segmenting, MoreLegsThanLevelsIsAScribble) {
  segment(walk({{0, 0}, {0, -80}, {80, -80}, {80, -160}}));
  EXPECT_EQ(scribble, 1);
  EXPECT_EQ(mListCount(&out), 6);
}

TEST_F(Segmenting, UpThenRightCutsAtTheCorner) {
  segment(walk({{0, 0}, {0, -100}, {100, -100}}));
  EXPECT_EQ(scribble, 0);
  ASSERT_EQ(mListCount(&out), 4);
  EXPECT_EQ(out.points[1].y, -100);
  EXPECT_EQ(out.points[1].x, 0);
  EXPECT_NEAR(out.points[1].a, 90, 1e-3);  // the corner carries its angle
  EXPECT_EQ(out.points[2].y, -100);
  EXPECT_EQ(out.points[3].x, 100);

  segment(walk({{0, 0}, {0, -200}}));  // straight: one pair, start to end
  ASSERT_EQ(mListCount(&out), 2);
  EXPECT_EQ(out.points[1].y, -200);
}

TEST_F(Segmenting, ShortLegIsDropped) {
  // 240 pixels in all for depth 2: a leg must beat 60 or 100 pixels.
  segment(walk({{0, 0}, {0, -200}, {40, -200}}));
  EXPECT_EQ(scribble, 0);
  ASSERT_EQ(mListCount(&out), 2);
  EXPECT_EQ(out.points[1].y, -200);
  EXPECT_EQ(out.points[1].x, 0);

  // 650 pixels: 150 is under half of 325 but over 100, and stays.
  segment(walk({{0, 0}, {0, -500}, {150, -500}}, 10));
  ASSERT_EQ(mListCount(&out), 4);
  EXPECT_EQ(out.points[3].x, 150);
}

TEST_F(Segmenting, CornerNeedsHalfASector) {
  for (float turn : {20.0f, 25.0f}) {
    float r = turn * float(M_PI) / 180;
    PointList stroke = listOf(walk(
        {{0, 0}, {0, -150}, {150 * std::sin(r), -150 - 150 * std::cos(r)}}));
    mFindArticulationPoints(practice.root, &stroke, mListLength(&stroke) / 2,
                            1.0f, &out);
    if (turn < 22.5f) {
      EXPECT_EQ(mListCount(&out), 0);
    } else {
      ASSERT_EQ(mListCount(&out), 1);
      EXPECT_NEAR(out.points[0].a, 25, 1e-3);
    }
  }
}

TEST_F(Segmenting, EqualAnglesInOneWindowTakeTheEarlierPoint) {
  // Both middle points lie on the circle over the first and last: both turn
  // by 90 degrees, and the window (12 pixels) holds them both.
  PointList stroke =
      listOf({{0, 0, 0, 0}, {2, 4, 0, 0}, {8, 4, 0, 0}, {10, 0, 0, 0}});
  mFindArticulationPoints(practice.root, &stroke, 120, 1.0f, &out);
  ASSERT_EQ(mListCount(&out), 1);
  EXPECT_EQ(out.points[0].x, 2);
}

TEST(ArcReach, FirstIndexReachingTheLength) {
  PointList list = listOf(walk({{0, 0}, {15, 0}}));  // x = 0, 5, 10, 15
  EXPECT_EQ(mArcReach(0, 2, 10, &list), 2);          // reaching exactly counts
  EXPECT_EQ(mArcReach(0, 2, 11, &list), 3);
  EXPECT_EQ(mArcReach(1, 2, 5, &list), 2);
  EXPECT_EQ(mArcReach(0, 2, 16, &list), -1);
  EXPECT_EQ(mArcReach(0, 4, 1, &list), -1);

  // Summed as the stroke's length is, the whole length is reached at the
  // last point even where the steps are not whole pixels.
  // (Here a double sum falls short of it, and so does rounding each
  // double sum to float.)
  PointList wavy = listOf(
      walk({{0, 0}, {32.7f, 18.7f}, {71.9f, -3.7f}, {90.1f, 57.5f}}, 3.7f));
  EXPECT_EQ(mArcReach(0, 2, mListLength(&wavy), &wavy), wavy.count - 1);
}

TEST(Resample, KeepsPointsStrictlyFartherThanTheDistance) {
  PointList list = listOf({{0, 0, 0, 0},
                           {3, 4, 1, 0},
                           {6, 8, 2, 0},
                           {12, 8, 3, 0},
                           {12, 8.5f, 4, 0}});
  PointList out;
  mResample(&list, 5.0f, &out);
  ASSERT_EQ(mListCount(&out), 3);
  EXPECT_EQ(out.points[1].t, 2);  // (3, 4) is exactly 5 away: skipped
  EXPECT_EQ(out.points[2].t, 3);
}

TEST_F(Segmenting, DiagnosticsWhenSwitchedOn) {
  PointList stroke = listOf(walk({{0, 0}, {0, -200}}));
  debugOutput = true;
  testing::internal::CaptureStdout();
  mFindArticulationPoints(practice.root, &stroke, 100, 1.0f, &out);
  std::string printed = testing::internal::GetCapturedStdout();
  debugOutput = false;
  EXPECT_EQ(
      printed,
      "\n\nFind Articulation Points info********************************\n"
      "threshold angle used: 22.50\n"
      "angle segment length used: 10.00 (10.00% stroke length\n");
}

}  // namespace
