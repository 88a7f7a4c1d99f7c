#include "marks/interpretation.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "mark_paths.h"
#include "practice_menu.h"
#include "report_capture.h"

namespace {

const char* const compass[8] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

void add(Menu* m, int position) {
  mAddItem(m, compass[position], position, 1, 0, 0, 0, 0, 1, 0, 0);
}

// Items at the given positions on every level, `depth` levels deep.
Menu* fill(Menu* m, int depth, std::initializer_list<int> positions) {
  for (int p : positions) {
    add(m, p);
    if (depth > 1) fill(mNewSubmenu(m, p), depth - 1, positions);
  }
  return m;
}

Menu* tree(int depth, std::initializer_list<int> positions) {
  Menu* root = fill(mCreateMenu(), depth, positions);
  root->radius = 46;  // what placement gives four or fewer labels
  return root;
}

std::string path(Menu* root) { return PracticeMenu::selectedPath(root); }

// The practice root laid out with the simulated platform's menu font has a
// radius of 46 pixels.
struct PracticeMarks : ::testing::Test {
  PracticeMenu practice;
  void SetUp() override { practice.root->radius = 46; }
  void draw(std::initializer_list<XY> corners, float speed = 500) {
    drawMark(practice.root, walk(corners, 5, speed));
  }
};

TEST_F(PracticeMarks, TheThreeMarksOfTheManual) {
  draw({{0, 0}, {0, -200}});
  EXPECT_EQ(practice.path(), "Food, Apple");
  EXPECT_EQ(practice.chosen(), Apple);
  draw({{0, 0}, {0, -100}, {0, 0}});
  EXPECT_EQ(practice.path(), "Food, Banana");
  draw({{0, 0}, {100, 0}, {100, -100}});
  EXPECT_EQ(practice.path(), "Tools, Saw");
  EXPECT_EQ(practice.chosen(), Saw);
}

TEST_F(PracticeMarks, RejectedMarksSelectNothing) {
  // Each after a good mark, so that a selection left over would show.
  auto rejected = [&](const std::vector<Point>& mark) {
    drawMark(practice.root, walk({{0, 0}, {0, -200}}));
    EXPECT_EQ(practice.chosen(), Apple);
    drawMark(practice.root, mark);
    return practice.path();
  };
  EXPECT_EQ(rejected(walk({{0, 0}, {15, 0}})), "Center");  // too short
  EXPECT_EQ(rejected(walk({{0, 0}, {0, -200}}, 200, 20000)), "Center");

  std::vector<Point> long_ = walk({{0, 0}, {0, -200}}, 1);  // 201 positions
  EXPECT_EQ(rejected(long_), "Center");
  EXPECT_EQ(strokeOverflow, 1);

  std::vector<Point> zigzag = walk({{0, 0}, {0, -80}, {80, -80}, {80, -160}});
  EXPECT_EQ(rejected(zigzag), "Center");

  // A loop ending near its start: every leg is dropped, nothing is chosen.
  std::vector<Point> loop;
  for (int i = 0; i <= 33; i++) {
    float a = float(i) * 10 * float(M_PI) / 180;
    loop.push_back({48 * std::sin(a), 48 - 48 * std::cos(a), i * 0.02f, 0});
  }
  EXPECT_EQ(rejected(loop), "Center");
}

TEST_F(PracticeMarks, DiagnosticsOfRejections) {
  debugOutput = true;
  testing::internal::CaptureStdout();
  draw({{0, 0}, {0, -200}}, 20000);
  draw({{0, 0}, {0, -80}, {80, -80}, {80, -160}});
  std::string printed = testing::internal::GetCapturedStdout();
  debugOutput = false;
  EXPECT_EQ(printed.rfind("\n\nexceeded MARKSPEEDLIMIT of 15000 at 20000\n", 0),
            0u);
  EXPECT_NE(printed.find("stroke length\nrecognized as a scribble\n"),
            std::string::npos);
}

TEST(OneLevelMarks, ChordFromPressToReleaseDecides) {
  Menu* ring = tree(1, {0, 1, 2, 3, 4, 5, 6, 7});
  drawMark(ring, walk({{0, 0}, {0, 15}}, 5, 150));
  EXPECT_EQ(path(ring), "Center");
  drawMark(ring, walk({{0, 0}, {0, 16}}, 5, 160));  // 0.1 s
  EXPECT_EQ(path(ring), "S");
  // Away and back: the legs go north, east and south, the chord east.
  drawMark(ring, walk({{0, 0}, {0, -100}, {200, -100}, {200, 0}}));
  EXPECT_EQ(path(ring), "E");

  // 1875 pixels in 0.125 s is exactly the limit and passes; 1890 does not.
  drawMark(ring, walk({{0, 0}, {-1875, 0}}, 15, 15000));
  EXPECT_EQ(path(ring), "W");
  drawMark(ring, walk({{0, 0}, {-1890, 0}}, 15, 15120));
  EXPECT_EQ(path(ring), "Center");
}

TEST(DeepMarks, SecondLegTwiceAsLongIsHalvedWithoutUpperBound) {
  // Three times the first leg: over 2.5, which only depth 3 accepts.
  Menu* root = tree(3, {0, 2, 4, 6});
  drawMark(root, walk({{0, 0}, {0, -100}, {300, -100}}));
  EXPECT_EQ(path(root), "N, E, E");
  drawMark(root, walk({{0, 0}, {0, -300}}));
  EXPECT_EQ(path(root), "N, N, N");
}

TEST(DeepMarks, RepairStopsAtDepthFour) {
  Menu* four = tree(4, {0});
  drawMark(four, walk({{0, 0}, {0, -250}}));
  EXPECT_EQ(path(four), "N, N, N, N");
  Menu* five = tree(5, {0});
  drawMark(five, walk({{0, 0}, {0, -250}}));
  EXPECT_EQ(path(five), "N, Center");
}

TEST(DeepMarks, CandidatesChosenByPathThenShapeThenLength) {
  // Up then right reaches a leaf as N,E,E (second leg halved, 3 segments)
  // and as N,N,E,E (both halved, 4 segments); N,N,E stops at a submenu.
  Menu* root = mCreateMenu();
  add(root, 0);
  Menu* a = mNewSubmenu(root, 0);
  add(a, 0);
  add(a, 2);
  Menu* b = mNewSubmenu(a, 0);
  add(b, 2);
  add(mNewSubmenu(b, 2), 2);
  add(mNewSubmenu(a, 2), 2);
  root->radius = 46;

  // Legs 100 and 200: N,E,E has the shape (ratio 2) but not the length
  // (0.46); N,N,E,E the length (0.61) but not the shape.
  drawMark(root, walk({{0, 0}, {0, -100}, {200, -100}}));
  EXPECT_EQ(path(root), "N, E, E");
  // Legs 80 and 240: neither has the shape; N,N,E,E has the length (0.58).
  drawMark(root, walk({{0, 0}, {0, -80}, {240, -80}}));
  EXPECT_EQ(path(root), "N, N, E, E");
}

TEST(MarkTests, PathLengthAndShape) {
  ReportCapture reports;
  PracticeMenu practice;
  Menu* root = practice.root;
  root->radius = 45;
  PointList up = listOf({{0, 0}, {0, -45}, {0, -45}, {0, -90}});
  EXPECT_TRUE(mPathReachesLeaf(root, &up));
  PointList category = listOf({{0, 0}, {0, -90}});
  EXPECT_FALSE(mPathReachesLeaf(root, &category));
  PointList beyond = listOf({{0, 0}, {0, -9}, {0, 0}, {0, -9}, {0, 0}, {5, 0}});
  EXPECT_FALSE(mPathReachesLeaf(root, &beyond));

  EXPECT_TRUE(mLengthPlausible(root, &up));  // 2 x 45 against 90
  PointList shorter = listOf({{0, 0}, {0, -30}, {0, -30}, {0, -60}});
  EXPECT_FALSE(mLengthPlausible(root, &shorter));  // exactly 1.5
  shorter.points[3].y = -61;
  EXPECT_TRUE(mLengthPlausible(root, &shorter));
  PointList longer = listOf({{0, 0}, {0, -90}, {0, -90}, {0, -180}});
  EXPECT_FALSE(mLengthPlausible(root, &longer));  // exactly 0.5
  longer.points[3].y = -179;
  EXPECT_TRUE(mLengthPlausible(root, &longer));

  // 0.66665 lies between the decimal 0.6666 and two thirds.
  PointList similar = listOf({{0, 0}, {0, -133.33f}, {0, 0}, {200, 0}});
  EXPECT_TRUE(ProperShape(root, &similar, 2, 1));
  EXPECT_TRUE(ProperShape(root, &similar, 1, 9));  // one segment: any shape
  EXPECT_FALSE(ProperShape(root, &similar, 4, 1));
  EXPECT_TRUE(reports.all().empty());
  EXPECT_FALSE(ProperShape(root, &similar, 2, 7));
  EXPECT_EQ(reports.last(), "unknown altType in ProperShape");
  EXPECT_FALSE(ProperShape(root, &similar, 3, 5));
}

// Segments laid end to end eastwards, one per length.
PointList legs(std::initializer_list<float> lengths) {
  PointList list;
  mListClear(&list);
  float x = 0;
  for (float l : lengths) {
    Point a{x, 0, 0, 0}, b{x + l, 0, 0, 0};
    mListAppend(&list, &a);
    mListAppend(&list, &b);
    x += l;
  }
  return list;
}

bool shaped(Menu* root, std::initializer_list<float> lengths, int found,
            int candidate) {
  PointList list = legs(lengths);
  return ProperShape(root, &list, found, candidate);
}

TEST(MarkTests, EachCandidateShapeHasItsOwnProportions) {
  Menu* three = tree(3, {0});
  Menu* four = tree(4, {0});
  // Two segments found: as they are, one of them doubled, both doubled,
  // one of them tripled.
  EXPECT_TRUE(shaped(four, {100, 120}, 2, 1));
  EXPECT_FALSE(shaped(four, {100, 200}, 2, 1));
  EXPECT_TRUE(shaped(four, {50, 50, 60}, 2, 2));
  EXPECT_FALSE(shaped(four, {50, 50, 100}, 2, 2));
  EXPECT_FALSE(shaped(four, {100, 100, 50}, 2, 2));  // four times a leg
  EXPECT_TRUE(shaped(three, {100, 100, 50}, 2, 2));
  EXPECT_TRUE(shaped(four, {60, 50, 50}, 2, 3));
  EXPECT_FALSE(shaped(four, {50, 100, 100}, 2, 3));
  EXPECT_TRUE(shaped(three, {50, 100, 100}, 2, 3));
  EXPECT_TRUE(shaped(four, {50, 50, 60, 60}, 2, 4));
  EXPECT_FALSE(shaped(four, {50, 50, 100, 100}, 2, 4));
  EXPECT_TRUE(shaped(four, {30, 30, 30, 30}, 2, 5));
  EXPECT_FALSE(shaped(four, {20, 20, 20, 30}, 2, 5));
  EXPECT_TRUE(shaped(four, {10, 30, 30, 30}, 2, 6));
  EXPECT_FALSE(shaped(four, {50, 30, 30, 30}, 2, 6));
  // Three found: as they are, or one of them doubled.
  EXPECT_TRUE(shaped(four, {100, 100, 100}, 3, 1));
  EXPECT_FALSE(shaped(four, {100, 100, 250}, 3, 1));
  EXPECT_TRUE(shaped(four, {50, 50, 60, 60}, 3, 2));
  EXPECT_FALSE(shaped(four, {50, 50, 100, 60}, 3, 2));
  EXPECT_FALSE(shaped(four, {60, 60, 70, 90}, 3, 2));
  EXPECT_TRUE(shaped(four, {60, 50, 50, 60}, 3, 3));
  EXPECT_FALSE(shaped(four, {60, 50, 50, 120}, 3, 3));
  EXPECT_FALSE(shaped(four, {70, 60, 60, 90}, 3, 3));
  EXPECT_TRUE(shaped(four, {60, 60, 50, 50}, 3, 4));
  EXPECT_FALSE(shaped(four, {60, 30, 50, 50}, 3, 4));
  EXPECT_FALSE(shaped(four, {80, 60, 50, 50}, 3, 4));
  // A leg of no length makes every ratio over it infinite or undefined.
  EXPECT_TRUE(shaped(four, {30, 30, 30, 0}, 2, 5));
  EXPECT_FALSE(shaped(four, {0, 0, 0, 0}, 2, 4));
}

TEST(MarkTests, ApplyingSegmentsClearsTheLevelBelow) {
  PracticeMenu practice;
  drawMark(practice.root, walk({{0, 0}, {0, -200}}));
  PointList one = listOf({{0, 0}, {0, -50}});
  mApplySegments(practice.root, &one);
  EXPECT_EQ(practice.path(), "Food, Center");
  // A segment past a leaf is ignored.
  PointList three = listOf({{0, 0, 0, 0},
                            {50, 0, 0, 0},
                            {50, 0, 0, 0},
                            {50, 50, 0, 0},
                            {50, 50, 0, 0},
                            {0, 50, 0, 0}});
  mApplySegments(practice.root, &three);
  EXPECT_EQ(practice.path(), "Tools, Wrench");
}

}  // namespace
