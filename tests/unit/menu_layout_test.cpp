#include <climits>
#include <cstring>

#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "display/linear_menu.h"
#include "display/menu_items.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "menu_screen.h"

namespace {

using Layout = MenuScreen;

void layOutAt(Menu* m, int cx, int cy) {
  m->centreX = cx;
  m->centreY = cy;
  mLayoutMenu(m);
}

}  // namespace

TEST_F(Layout, FourMainDirectionsPullInToNinePixelSteps) {
  Menu* m = menuWith({0, 2, 4, 6});
  layOutAt(m, 500, 400);
  const Rect* r = m->itemRect;
  EXPECT_EQ(r[0].ymin, 400 - 45);
  EXPECT_EQ(r[0].ymax, 400 - 28);
  EXPECT_EQ(r[4].ymin, 400 + 28);
  EXPECT_EQ(r[4].ymax, 400 + 45);
  EXPECT_EQ(r[2].xmin, 500 + 24);
  EXPECT_EQ(r[6].xmax, 500 - 24);
  for (int p : {2, 6}) {
    EXPECT_EQ(r[p].ymin, 400 - 8);
    EXPECT_EQ(r[p].ymax, 400 + 9);
  }
  // North and south centred on the centre; the same width east and west.
  EXPECT_EQ(r[0].xmin + r[0].xmax, 2 * 500 - (r[0].xmax - r[0].xmin) % 2);
  EXPECT_EQ(mRectWidth(&r[2]), mRectWidth(&r[6]));
  EXPECT_EQ(m->radius, 45);
  EXPECT_EQ(m->centreBox.xmin, 500 - 16);
  EXPECT_EQ(m->bounds.ymin, 400 - 45);
  EXPECT_EQ(m->bounds.xmin, r[6].xmin);
}

TEST_F(Layout, DiagonalOnlyMenusArePushedOutThenAligned) {
  Menu* m = menuWith({1, 3, 5, 7});
  layOutAt(m, 300, 300);
  // Laid out at dy = -29 for north-east, pushed 3 out, aligned 16 aside.
  EXPECT_EQ(m->itemRect[1].xmin, 300 + 16);
  EXPECT_EQ(m->itemRect[1].ymin, 300 - 29 - 3);
  EXPECT_EQ(m->itemRect[3].xmin, 300 + 16);
  EXPECT_EQ(m->itemRect[3].ymin, 300 + 13 + 3);
  EXPECT_EQ(m->itemRect[5].xmax, 300 - 16);
  EXPECT_EQ(m->itemRect[7].xmax, 300 - 16);
  EXPECT_EQ(m->itemRect[7].ymax, 300 - 15);
}

TEST_F(Layout, MirrorBoxesShareAWidthAndLabelsCentreInTheirTextArea) {
  Menu* m = mCreateMenu();
  add(m, "E", 2);
  add(m, "A much longer west label", 6);
  layOutAt(m, 400, 400);
  EXPECT_EQ(mRectWidth(&m->itemRect[2]), mRectWidth(&m->itemRect[6]));
  int t = mTextWidth("E");
  const Rect& east = m->itemRect[2];
  int left = east.xmin + 17;
  EXPECT_EQ(m->labelPoint[2].x, left + (east.xmax - t - left) / 2);
  EXPECT_EQ(m->labelPoint[2].y, east.ymin + mTextAscent() + drawState.pad);
  // A plain radial label: 25 pixels to its left, 8 to its right.
  const Rect& west = m->itemRect[6];
  EXPECT_EQ(m->labelPoint[6].x - west.xmin, 25);
  EXPECT_EQ(west.xmax - (m->labelPoint[6].x + mTextWidth(m->label[6])), 8);
}

TEST_F(Layout, WestSubmenuArrowAtTheLeftEnd) {
  Menu* m = mCreateMenu();
  add(m, "West", 6);
  add(m, "East", 2);
  mNewSubmenu(m, 6);
  mNewSubmenu(m, 2);
  layOutAt(m, 400, 400);
  const Rect& west = m->itemRect[6];
  EXPECT_EQ(m->arrowPoint[6].x, west.xmin + 11);
  EXPECT_EQ(m->arrowPoint[6].y, west.ymin + 9);
  int t = mTextWidth("West");
  int left = west.xmin + 39;
  EXPECT_EQ(m->labelPoint[6].x, left + (west.xmax - t - left) / 2);
  const Rect& east = m->itemRect[2];
  EXPECT_EQ(m->arrowPoint[2].x, east.xmax - 10);
}

TEST_F(Layout, ListRowsHangFromTheirAnchor) {
  Menu* list = mCreateMenu();
  add(list, "One", 8);
  add(list, "Second row", 9);
  layOutAt(list, 100, 100);
  EXPECT_TRUE(mIsLinearOnly(list));
  int w = mItemWidthBase(list, 8) + 16;
  EXPECT_EQ(list->itemRect[8].xmin, 100);
  EXPECT_EQ(list->itemRect[8].xmax, 100 + w);
  EXPECT_EQ(list->itemRect[8].ymin, 108);
  EXPECT_EQ(list->itemRect[8].ymax, 125);
  EXPECT_EQ(list->itemRect[9].ymin, 125);
  EXPECT_EQ(list->itemRect[9].ymax, 142);
  EXPECT_EQ(mRectWidth(&list->itemRect[9]), mRectWidth(&list->itemRect[8]));
  EXPECT_EQ(list->labelPoint[8].x, 118);
  EXPECT_EQ(list->radius, 0);
  EXPECT_EQ(list->centreBox.xmin, 100);
  EXPECT_EQ(list->centreBox.xmax, 100);

  // Under a pie the list starts 8 below the south box, centred, also when
  // the south slot is empty.
  Menu* pie = menuWith({0, 2, 4, 6});
  add(pie, "Row", 8);
  add(pie, "Row two", 9);
  layOutAt(pie, 400, 300);
  int rw = mItemWidthBase(pie, 8) + 16;
  EXPECT_EQ(pie->itemRect[8].ymin, pie->itemRect[4].ymax + 8);
  EXPECT_EQ(pie->itemRect[8].xmin, 400 - rw / 2);
  Menu* noSouth = menuWith({0, 2, 6});
  add(noSouth, "Row", 8);
  layOutAt(noSouth, 400, 300);
  EXPECT_EQ(noSouth->itemRect[8].ymin, noSouth->itemRect[4].ymax + 8);
}

TEST_F(Layout, MeasuringFontFollowsTheWidestLabel) {
  auto chosenIsBold = [&](Menu* m) {
    mChooseMeasureFont(m);
    int chosen = mTextWidth("Mmmmmmmm");
    mSelectFont("BOLD_FONT");
    return chosen == mTextWidth("Mmmmmmmm");
  };
  Menu* regular = mCreateMenu();
  for (int p = 0; p < 8; p++) add(regular, "x", p);
  EXPECT_FALSE(chosenIsBold(regular));  // every slot regular

  Menu* mixed = mCreateMenu();  // empty slots count as bold
  add(mixed, "Regular label", 0);
  EXPECT_FALSE(chosenIsBold(mixed));  // measured: the regular one is wider
  mAddItem(mixed, "Bold label here", 2, 0, 0, 0, 0, 0, 1, 0, 0);
  EXPECT_TRUE(chosenIsBold(mixed));  // at least as many characters: bold
  mAddItem(mixed, "iiiiii", 2, 0, 0, 0, 0, 0, 1, 0, 0);
  add(mixed, "MMMMMMMMM", 0);
  EXPECT_FALSE(chosenIsBold(mixed));
  mAddItem(mixed, "WWWWWWWW", 2, 0, 0, 0, 0, 0, 1, 0, 0);
  add(mixed, "iiiiiiiiiiiiiiiiiiii", 0);
  EXPECT_TRUE(chosenIsBold(mixed));
}

TEST_F(Layout, PlacementMovesMenusIntoTheWorkArea) {
  Menu* m = menuWith({0, 2, 4, 6});
  mPlaceMenu(m, 400, 400);
  EXPECT_EQ(m->movedToFit, 0);
  int reach = 400 - m->bounds.xmin;
  // Pressed so that the menu reaches 60 pixels past the left edge.
  mPlaceMenu(m, reach - 60, 400);
  EXPECT_EQ(m->centreX, reach);
  EXPECT_EQ(m->bounds.xmin, 0);
  EXPECT_EQ(m->movedToFit, 1);

  sim.setWorkArea(Rect{10, 60, 0, 1023});  // narrower than the menu
  mPlaceMenu(m, 500, 400);
  EXPECT_EQ(m->centreX, 10);
  sim.setWorkArea(Rect{0, 1279, 0, 1023});

  Menu* list = mCreateMenu();
  add(list, "A row of some width", 8);
  mPlaceMenu(list, 1270, 500);
  int width = mRectWidth(&list->bounds);
  EXPECT_EQ(list->centreX, 1270 - width);  // opens to the left instead
  EXPECT_LE(list->bounds.xmax, 1279);

  mPlaceMenu(m, 1275, 1020);  // bottom-right corner: moved up and left
  EXPECT_LE(m->bounds.xmax, 1279);
  EXPECT_LE(m->bounds.ymax, 1023);
}

TEST_F(Layout, HugeLabelsAndOddMenusStillEndPlacement) {
  Menu* m = mCreateMenu();
  std::string huge(5000, 'W');
  for (int p = 0; p < MENU_SLOTS; p++) add(m, huge.c_str(), p);
  mPlaceMenu(m, 640, 500);
  EXPECT_LE(m->bounds.ymax - m->bounds.ymin, 2000);
  Menu* empty = mCreateMenu();
  mPlaceMenu(empty, 5, 5);
  EXPECT_GE(empty->radius, 16);
}

// Within the coordinate range a menu has the same shape wherever its centre
// is; beyond it, layout, placement and hit testing stay defined.
TEST_F(Layout, SameShapeAnywhereAndDefinedBeyond) {
  Menu* m = menuWith({0, 1, 2, 3, 4, 5, 6, 7});
  mNewSubmenu(m, 6);
  add(m, "A row", 8);
  layOutAt(m, 500, 400);
  Menu near = *m;
  for (int c : {COORDINATE_LIMIT, -COORDINATE_LIMIT}) {
    layOutAt(m, c, -c);
    for (int p = 0; p <= 8; p++) {
      EXPECT_EQ(m->itemRect[p].xmin - c, near.itemRect[p].xmin - 500) << p;
      EXPECT_EQ(m->itemRect[p].ymax + c, near.itemRect[p].ymax - 400) << p;
      EXPECT_EQ(m->labelPoint[p].x - c, near.labelPoint[p].x - 500) << p;
    }
    EXPECT_EQ(m->arrowPoint[6].y + c, near.arrowPoint[6].y - 400);
    EXPECT_EQ(m->bounds.xmax - c, near.bounds.xmax - 500);
    EXPECT_EQ(m->radius, near.radius);
  }

  layOutAt(m, INT_MAX, INT_MIN);
  for (int p = 0; p <= 8; p++) {
    EXPECT_LE(m->itemRect[p].xmin, m->itemRect[p].xmax);
    EXPECT_LE(m->itemRect[p].ymin, m->itemRect[p].ymax);
  }
  EXPECT_EQ(m->bounds.xmax, INT_MAX);
  EXPECT_EQ(m->bounds.ymin, INT_MIN);

  // Seen from the other end of the range the menu is far away east.
  EXPECT_FALSE(mInCentreZone(m, INT_MIN, INT_MAX));
  m->centreX = INT_MIN;
  m->centreY = 0;
  EXPECT_FALSE(mInCentreZone(m, INT_MAX, 0));
  EXPECT_TRUE(mOutsideCircle(m, INT_MAX, 0));
  EXPECT_EQ(mHitTest(m, INT_MAX, 0, nullptr), 3);

  for (int x : {INT_MAX, INT_MIN}) {
    mPlaceMenu(m, x, x == INT_MIN ? INT_MAX : INT_MIN);
    EXPECT_GE(m->bounds.xmin, 0);
    EXPECT_LE(m->bounds.xmax, 1279);
    EXPECT_GE(m->bounds.ymin, 0);
    EXPECT_LE(m->bounds.ymax, 1023);
  }
  Rect box{INT_MIN, INT_MIN + 50, INT_MAX - 20, INT_MAX};
  mFitRectToWorkArea(nullptr, &box);
  EXPECT_EQ(box.xmin, 0);
  EXPECT_EQ(box.xmax, 50);
  EXPECT_EQ(box.ymin, 1003);
}

namespace {

// Two monitors side by side; the second's panel takes its bottom 40 rows.
class TwoMonitors : public MenuScreen {
 protected:
  void SetUp() override {
    MenuScreen::SetUp();
    sim.setMonitors({{{0, 1279, 0, 1023}, {0, 1279, 0, 1023}},
                     {{1280, 2559, 0, 1023}, {1280, 2559, 0, 983}}});
  }
  static void pressAt(Menu* root, int x, int y) {
    mStrokeReset(root);
    mStrokeAdd(root, x, y);
  }
};

}  // namespace

TEST_F(TwoMonitors, MenusFitTheMonitorUnderThePressPoint) {
  Menu* root = menuWith({0, 2, 4, 6});
  Menu* sub = mNewSubmenu(root, 2);
  add(sub, "Item", 6);
  // Near the inner edge of the second monitor the menu moves right, onto
  // it, not left onto the first; near its foot it rises above the panel.
  pressAt(root, 1290, 1000);
  mPlaceMenu(root, 1290, 1000);
  EXPECT_GE(root->bounds.xmin, 1280);
  EXPECT_EQ(root->bounds.ymax, 983);
  EXPECT_EQ(root->movedToFit, 1);
  // A submenu opened with the pointer back on the first monitor still
  // fits the monitor the selection began on.
  mPlaceMenu(sub, 1275, 500);
  EXPECT_GE(sub->bounds.xmin, 1280);
  // So does the confirmation's label box.
  Rect box{1200, 1260, 990, 1010};
  mFitRectToWorkArea(sub, &box);
  EXPECT_EQ(box.xmin, 1280);
  EXPECT_EQ(box.ymax, 983);
  // A press on the first monitor keeps its menus there.
  pressAt(root, 1270, 500);
  mPlaceMenu(root, 1270, 500);
  EXPECT_EQ(root->bounds.xmax, 1279);
}

TEST_F(TwoMonitors, PointsOffEveryMonitorUseTheNearest) {
  Menu* m = menuWith({0, 2, 4, 6});
  mStrokeReset(m);
  // Without a press point the placement point picks the monitor.
  mPlaceMenu(m, 3000, -200);
  EXPECT_LE(m->bounds.xmax, 2559);
  EXPECT_GE(m->bounds.xmin, 1280);
  EXPECT_GE(m->bounds.ymin, 0);
  mPlaceMenu(m, -50, 2000);
  EXPECT_GE(m->bounds.xmin, 0);
  EXPECT_LE(m->bounds.xmax, 1279);
  EXPECT_LE(m->bounds.ymax, 1023);
  // Without monitors the one work area serves every point, as before.
  sim.setMonitors({});
  sim.setWorkArea(Rect{100, 899, 50, 649});
  mPlaceMenu(m, 3000, 500);
  EXPECT_EQ(m->bounds.xmax, 899);
}
