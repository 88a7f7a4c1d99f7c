#include "marks/feedback.h"

#include <cmath>

#include "app/practice_menu.h"
#include "display/radial_menu.h"
#include "marks/stroke.h"
#include "menu/placement.h"
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
  Menu* root = nullptr;
  int values[practiceItemCount];
};

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
