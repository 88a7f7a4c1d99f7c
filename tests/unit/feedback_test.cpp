#include "display/feedback.h"

#include <cmath>
#include <vector>

#include "app/practice_menu.h"
#include "core/stroke.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "mark_paths.h"
#include "menu_screen.h"

namespace {

class Feedback : public MenuScreen {
 protected:
  void SetUp() override {
    MenuScreen::SetUp();
    root = buildPracticeMenu(values);
    mPlaceMenu(root, 640, 600);
  }
  // Records a stroke of the given positions, 10 ms apart.
  void stroke(std::initializer_list<QPoint> points) {
    mStrokeReset(root);
    root->pressTime = root->nowTime = 100.0;
    for (const QPoint& p : points) {
      mStrokeAdd(root, p.x(), p.y());
      root->nowTime += 0.01;
    }
    root->releaseTime = root->nowTime;
  }
  // Records and inks a stroke as tracking does while marking: the press
  // position alone, then each new segment, the whole trail again while short.
  void ink(const std::vector<Point>& points) {
    mStrokeReset(root);
    for (const Point& p : points) {
      mStrokeAdd(root, int(std::lround(p.x)), int(std::lround(p.y)));
      if (root->stroke->count < 2) continue;
      mInkNewest(root);
      if (root->stroke->count < 10)
        mInkRedraw(root, 0, root->stroke->count - 2);
    }
  }
  // Pixels of the one-pixel line through the stroke, ends included, that do
  // not show the text colour.
  int centreLineGaps() {
    QRgb fg = platform::toQRgb(drawState.foreground);
    const StrokeBuffer* s = root->stroke;
    int gaps = 0;
    for (int i = 0; i + 1 < s->count; i++) {
      int x = s->points[i].x, y = s->points[i].y;
      int x1 = s->points[i + 1].x, y1 = s->points[i + 1].y;
      int dx = std::abs(x1 - x), dy = -std::abs(y1 - y), err = dx + dy;
      for (;;) {
        if (at(x, y) != fg) gaps++;
        if (x == x1 && y == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += x < x1 ? 1 : -1;
        if (e2 <= dx) err += dx, y += y < y1 ? 1 : -1;
      }
    }
    return gaps;
  }
  // A chain of one-item menus whose items are selected in these compass
  // directions (0 north, clockwise).
  static Menu* chainOf(std::initializer_list<int> directions) {
    Menu* top = nullptr;
    Menu* m = nullptr;
    for (int d : directions) {
      m = m ? mNewSubmenu(m, m->selected - 1) : (top = mCreateMenu());
      add(m, "Item", d);
      m->selected = d + 1;
    }
    return top;
  }
  Menu* root = nullptr;
  int values[practiceItemCount];
};

Point legVector(const PointList& list, int leg) {
  const Point& a = list.points[2 * leg];
  const Point& b = list.points[2 * leg + 1];
  return Point{b.x - a.x, b.y - a.y, 0, 0};
}

}  // namespace

TEST_F(Feedback, InkIsATextLineInABackgroundHaloAndErasesExactly) {
  QImage before = sim.screenImage().copy();
  stroke({{600, 600}, {700, 600}});
  mInkNewest(root);
  QRgb fg = platform::toQRgb(drawState.foreground);
  QRgb bg = platform::toQRgb(drawState.background);
  EXPECT_EQ(at(650, 599), fg);
  EXPECT_EQ(at(650, 601), fg);
  EXPECT_EQ(at(650, 598), bg);
  EXPECT_EQ(at(650, 602), bg);
  EXPECT_EQ(root->inkArea.count, 1);
  mInkRedraw(root, -5, 50);  // clamped to the one segment
  mInkErase(root);
  EXPECT_EQ(sim.screenImage(), before);

  // A full stroke's last position draws nothing more.
  mStrokeReset(root);
  for (int i = 0; i < STROKE_CAPACITY; i++) mStrokeAdd(root, 300 + i, 300);
  mInkNewest(root);
  EXPECT_EQ(root->inkArea.count, 0);
  strokeOverflow = 0;

  // A lone press position has no segment to redraw.
  mStrokeReset(root);
  mStrokeAdd(root, 500, 500);
  before = sim.screenImage().copy();
  mInkRedraw(root, 0, -1);
  EXPECT_EQ(sim.screenImage(), before);
}

TEST_F(Feedback, InkTextRunsUnbrokenThroughEveryJoint) {
  std::vector<Point> curve;
  for (int i = 0; i <= 40; i++) {
    double a = M_PI * i / 40;
    curve.push_back(Point{float(500 + 80 * std::cos(a)),
                          float(400 + 80 * std::sin(a)), 0, 0});
  }
  // Slow: one pixel at a time, resting on every position once.
  std::vector<Point> slow;
  for (int i = 0; i <= 60; i++)
    for (int twice = 0; twice < 2; twice++)
      slow.push_back(Point{float(400 + i), float(700 + i / 3), 0, 0});
  const std::vector<Point> marks[] = {walk({{540, 300}, {740, 300}}, 8),
                                      walk({{400, 400}, {520, 490}}, 7), curve,
                                      slow};
  for (const std::vector<Point>& mark : marks) {
    QImage before = sim.screenImage().copy();
    ink(mark);
    EXPECT_EQ(centreLineGaps(), 0) << "mark from " << mark[0].x;
    mInkErase(root);
    EXPECT_EQ(sim.screenImage(), before);
  }
}

TEST_F(Feedback, IdealMarkOfAStraightTwoLevelMark) {
  QImage before = sim.screenImage().copy();
  stroke({{640, 600}, {640, 500}, {641, 400}});
  ASSERT_EQ(mStrokeLength(root), 200);
  root->selected = 1;              // Food
  root->submenu[0]->selected = 1;  // Apple
  mDrawIdealMark(root);
  ASSERT_EQ(idealMark.count, 4);
  // Two collinear legs of 100, ending where the pointer was released.
  EXPECT_FLOAT_EQ(idealMark.points[1].y - idealMark.points[0].y, -100);
  EXPECT_FLOAT_EQ(idealMark.points[3].y - idealMark.points[2].y, -100);
  EXPECT_EQ(idealMark.points[3].x, 641);
  EXPECT_EQ(idealMark.points[3].y, 400);
  const Rect& apple = root->submenu[0]->itemRect[0];
  EXPECT_EQ(apple.xmin + mRectWidth(&apple) / 2, 641);
  EXPECT_EQ(apple.ymin + mRectHeight(&apple) / 2, 400);
  EXPECT_EQ(at(apple.xmin + 3, apple.ymin + 3),
            system(platform::SystemColour::Highlight));
  EXPECT_EQ(root->menuArea.count, 1);
  mEraseIdealMark(root);
  EXPECT_EQ(sim.screenImage(), before);

  // 201 pixels over two levels still gives legs of 100.
  stroke({{640, 600}, {640, 399}});
  mDrawIdealMark(root);
  EXPECT_FLOAT_EQ(idealMark.points[0].y - idealMark.points[1].y, 100);
  mEraseIdealMark(root);
}

TEST_F(Feedback, CategoryOnlyAndRejectedMarks) {
  stroke({{640, 600}, {640, 550}});
  root->selected = 1;
  root->submenu[0]->selected = 0;
  mDrawIdealMark(root);
  EXPECT_EQ(idealMark.count, 2);       // the category's leg alone
  EXPECT_EQ(root->menuArea.count, 0);  // and no label box
  mEraseIdealMark(root);

  root->selected = 0;
  mDrawIdealMark(root);
  EXPECT_EQ(idealMark.count, 0);
  EXPECT_EQ(root->inkArea.count, 0);
}

TEST_F(Feedback, ReversedLegsTurnApartByWholeDegrees) {
  PointList list;
  mListClear(&list);
  Menu* north = menuWith({0});
  Menu* south = menuWith({4});
  north->selected = 1;
  south->selected = 5;
  Point q{200, 300, 0, 0};
  mAddIdealSegment(&list, &q, north, 100);
  mAddIdealSegment(&list, &list.points[1], south, 100);
  mSeparateReversal(&list);
  // Four one-degree turns: the end 7 pixels from the first leg's start.
  double d = mPointDistance(&list.points[0], &list.points[3]);
  EXPECT_NEAR(d, 2 * 100 * std::sin(2 * M_PI / 180), 0.01);
  EXPECT_GE(d, 6.0);
  EXPECT_LT(list.points[3].x, 200);  // south turned clockwise: to the west

  // Legs that are not exactly opposite stay as they are.
  PointList bent;
  mListClear(&bent);
  Menu* east = menuWith({2});
  east->selected = 3;
  mAddIdealSegment(&bent, &q, north, 100);
  mAddIdealSegment(&bent, &bent.points[1], east, 100);
  PointList copy = bent;
  mSeparateReversal(&bent);
  EXPECT_EQ(bent.points[3].x, copy.points[3].x);
  EXPECT_EQ(bent.points[3].y, copy.points[3].y);
}

TEST_F(Feedback, ReversalsAreFoundFromTheItemsDirections) {
  Menu* legs[RADIAL_SLOTS];
  for (int d = 0; d < RADIAL_SLOTS; d++) {
    legs[d] = menuWith({d});
    legs[d]->selected = d + 1;
  }
  Point q{400, 400, 0, 0};
  for (int a = 0; a < RADIAL_SLOTS; a++) {
    for (int b = 0; b < RADIAL_SLOTS; b++) {
      PointList list;
      mListClear(&list);
      mAddIdealSegment(&list, &q, legs[a], 100);
      mAddIdealSegment(&list, &list.points[1], legs[b], 100);
      PointList drawn = list;
      mSeparateReversal(&list);
      double d = mPointDistance(&list.points[0], &list.points[3]);
      if (b == (a + 4) % RADIAL_SLOTS) {
        EXPECT_NEAR(d, 2 * 100 * std::sin(2 * M_PI / 180), 0.01) << a << b;
      } else {
        EXPECT_EQ(list.points[3].x, drawn.points[3].x) << a << b;
        EXPECT_EQ(list.points[3].y, drawn.points[3].y) << a << b;
      }
    }
  }

  // Back and forth twice: every leg stays in sight and in its direction.
  for (int d : {0, 2}) {
    PointList list;
    mListClear(&list);
    for (Menu* m : {legs[d], legs[d + 4], legs[d], legs[d + 4]}) {
      Point start = list.count ? list.points[list.count - 1] : q;
      mAddIdealSegment(&list, &start, m, 100);
    }
    mSeparateReversal(&list);
    for (int k = 1; k < 4; k++) {
      EXPECT_EQ(list.points[2 * k].x, list.points[2 * k - 1].x);
      EXPECT_EQ(list.points[2 * k].y, list.points[2 * k - 1].y);
    }
    Point first = legVector(list, 0), third = legVector(list, 2);
    EXPECT_EQ(third.x, first.x);
    EXPECT_EQ(third.y, first.y);
    EXPECT_GE(mPointDistance(&list.points[0], &list.points[3]), 6.0);
    EXPECT_GE(mPointDistance(&list.points[4], &list.points[7]), 6.0);
    EXPECT_GE(mPointDistance(&list.points[0], &list.points[7]), 6.0);
  }
}

TEST_F(Feedback, ReversalsOfTinyLegsAndThroughATree) {
  // Legs too short to get 6 pixels clear turn until they point straight on.
  Menu* north = chainOf({0});
  Menu* south = chainOf({4});
  for (int L : {1, 2, 3}) {
    PointList list;
    mListClear(&list);
    Point q{400, 400, 0, 0};
    mAddIdealSegment(&list, &q, north, L);
    mAddIdealSegment(&list, &list.points[1], south, L);
    mSeparateReversal(&list);
    EXPECT_NEAR(list.points[3].x, 400, 0.01) << L;
    EXPECT_NEAR(list.points[3].y, 400 - 2 * L, 0.01) << L;
  }

  // North-east, south-west, north-east: a zigzag, not one line.
  QImage before = sim.screenImage().copy();
  root = chainOf({1, 5, 1});
  stroke({{400, 400}, {640, 400}});
  mDrawIdealMark(root);
  ASSERT_EQ(idealMark.count, 6);
  EXPECT_GE(mPointDistance(&idealMark.points[0], &idealMark.points[3]), 6.0);
  Point first = legVector(idealMark, 0), third = legVector(idealMark, 2);
  EXPECT_EQ(third.x, first.x);
  EXPECT_EQ(third.y, first.y);
  EXPECT_NEAR(idealMark.points[5].x, 640, 1);  // the move is whole pixels
  EXPECT_NEAR(idealMark.points[5].y, 400, 1);
  mEraseIdealMark(root);
  EXPECT_EQ(sim.screenImage(), before);

  // Eight levels of north and south over the shortest mark: 2-pixel legs.
  root = chainOf({0, 4, 0, 4, 0, 4, 0, 4});
  stroke({{400, 400}, {416, 400}});
  mDrawIdealMark(root);
  EXPECT_EQ(idealMark.count, 16);
  mEraseIdealMark(root);
  EXPECT_EQ(sim.screenImage(), before);
}

TEST_F(Feedback, TheLabelBoxIsFittedIntoTheWorkAreaAndTheMarkIsNot) {
  Rect area{0, 1279, 0, 983};  // a panel along the bottom
  sim.setWorkArea(area);
  struct Case {
    int category, item;
    QPoint press, release;
  };
  const Case cases[] = {
      {7, 5, {100, 900}, {2, 1022}},      // Tricycle, bottom left
      {3, 3, {1100, 500}, {1278, 500}},   // Hammer, right
      {1, 1, {3, 150}, {3, 1}},           // Apple, top left
      {1, 1, {1277, 150}, {1277, 1}},     // Apple, top right
      {3, 5, {1200, 900}, {1278, 1022}},  // Wrench, bottom right
      {7, 7, {200, 500}, {0, 500}},       // Truck, left
      {3, 1, {600, 100}, {640, 0}},       // Saw, top
      {1, 5, {640, 900}, {640, 1023}},    // Banana, bottom
  };
  for (const Case& c : cases) {
    QImage before = sim.screenImage().copy();
    stroke({c.press, c.release});
    root->selected = c.category;
    Menu* sub = root->submenu[c.category - 1];
    sub->selected = c.item;
    mDrawIdealMark(root);
    const Point& end = idealMark.points[idealMark.count - 1];
    EXPECT_NEAR(end.x, c.release.x(), 1);
    EXPECT_NEAR(end.y, c.release.y(), 1);
    const Rect& box = sub->itemRect[c.item - 1];
    const char* label = sub->label[c.item - 1];
    EXPECT_TRUE(box.xmin >= area.xmin && box.xmax <= area.xmax &&
                box.ymin >= area.ymin && box.ymax <= area.ymax)
        << label;
    // Moved no further than it takes: centred on the mark's end, or on the
    // edge it was pushed from.
    int cx = box.xmin + mRectWidth(&box) / 2;
    int cy = box.ymin + mRectHeight(&box) / 2;
    EXPECT_TRUE(cx == int(end.x) || box.xmin == area.xmin ||
                box.xmax == area.xmax)
        << label;
    EXPECT_TRUE(cy == int(end.y) || box.ymin == area.ymin ||
                box.ymax == area.ymax)
        << label;
    EXPECT_EQ(at(box.xmin + 3, box.ymin + 3),
              system(platform::SystemColour::Highlight));
    mEraseIdealMark(root);
    EXPECT_EQ(sim.screenImage(), before);
    sub->selected = 0;
  }
}

TEST_F(Feedback, AncestorsMoveBackAlongTheMarkUntilClear) {
  Menu* food = root->submenu[0];
  root->selected = 1;  // north
  mPlaceMenu(root, 640, 600);
  // Food opened just above the root's centre: its south box covers it.
  mPlaceMenu(food, 640, 560);
  root->current = food;
  ASSERT_TRUE(mCentresCovered(root));
  mClearAncestorCentres(root);
  EXPECT_EQ(root->centreX, 640);
  EXPECT_GT(root->centreY, 600);
  EXPECT_EQ((root->centreY - 600) % 10, 0);  // in 10-pixel steps
  Rect disc{632, 648, root->centreY - 8, root->centreY + 8};
  EXPECT_FALSE(mRectOverlap(&disc, &food->itemRect[4]));
  disc.ymin -= 10;
  EXPECT_TRUE(mRectOverlap(&disc, &food->itemRect[4]));  // no further

  // Without a compass item selected there is no way back: left alone.
  mPlaceMenu(root, 640, 600);
  root->selected = 0;
  mClearAncestorCentres(root);
  EXPECT_EQ(root->centreY, 600);
}
