#include <climits>
#include <cmath>

#include "app/practice_menu.h"
#include "core/hit_test.h"
#include "display/linear_menu.h"
#include "display/menu_items.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "display/save_under.h"
#include "menu_screen.h"

namespace {

using HitTest = MenuScreen;
using MenuDrawing = MenuScreen;

// A point `distance` pixels from (cx, cy) at `degrees` clockwise from up.
QPoint towards(int cx, int cy, double degrees, double distance) {
  double a = degrees * M_PI / 180;
  return QPoint(cx + int(std::lround(distance * std::sin(a))),
                cy - int(std::lround(distance * std::cos(a))));
}

}  // namespace

TEST_F(HitTest, CentreZoneBoxesAndDirections) {
  Menu* m = menuWith({0, 2, 4, 6});
  mPlaceMenu(m, 600, 500);
  uint8_t byBox = 9;
  EXPECT_EQ(mHitTest(m, 615, 500, &byBox), 0);  // Manhattan 15: centre
  EXPECT_EQ(byBox, 0);
  EXPECT_NE(mHitTest(m, 608, 508, nullptr), 0);  // 16: outside the zone

  auto hitAt = [&](double degrees) {
    QPoint p = towards(600, 500, degrees, 300);
    return mHitTest(m, p.x(), p.y(), nullptr);
  };
  EXPECT_EQ(hitAt(350), 1);  // north
  EXPECT_EQ(hitAt(30), 1);   // north-east slot, first half: north
  EXPECT_EQ(hitAt(60), 3);   // second half: east
  EXPECT_EQ(hitAt(180), 5);
  EXPECT_EQ(hitAt(225), 5);  // exactly half-way: counter-clockwise wins

  // Inside the north box but in the east item's direction: the box wins.
  const Rect& north = m->itemRect[0];
  EXPECT_EQ(mHitTest(m, north.xmax, north.ymax, &byBox), 1);
  EXPECT_EQ(byBox, 1);

  m->radius = 45;
  EXPECT_FALSE(mOutsideCircle(m, 645, 500));
  EXPECT_TRUE(mOutsideCircle(m, 646, 500));
  EXPECT_EQ(mHitByDirection(m, 0, 0), 0);
  EXPECT_EQ(mHitByDirection(nullptr, 1, 0), 0);
}

TEST_F(HitTest, DirectionNeedsAVisibleEnabledItem) {
  Menu* m = mCreateMenu();
  add(m, "North", 0);
  add(m, "East", 2, 0);
  EXPECT_EQ(mHitByDirection(m, 10, 0), 3);
  EXPECT_EQ(mItemInDirection(m, 10, 0), 0);  // disabled
  EXPECT_EQ(mItemInDirection(m, 0, -10), 1);
  EXPECT_EQ(mItemInDirection(m, -10, 0), 1);  // west snaps to north (tie)
  Menu* blank = mCreateMenu();
  EXPECT_EQ(mHitByDirection(blank, 5, 5), 0);
}

TEST_F(MenuDrawing, RaisedBoxWithBevelAndHighlightPanel) {
  Menu* m = menuWith({0, 2, 4, 6});
  mPlaceMenu(m, 400, 400);
  mDrawItem(m, 3, false);
  const Rect b = m->itemRect[2];
  QRgb fg = platform::toQRgb(drawState.foreground);
  QRgb bg = platform::toQRgb(drawState.background);
  QRgb light = system(platform::SystemColour::ButtonHighlight);
  QRgb shadow = system(platform::SystemColour::ButtonShadow);
  EXPECT_EQ(at(b.xmax, b.ymin + 3), fg);
  EXPECT_EQ(at(b.xmin + 3, b.ymax), fg);
  EXPECT_EQ(at(b.xmax - 1, b.ymin + 3), shadow);
  EXPECT_EQ(at(b.xmin + 3, b.ymax - 1), shadow);
  EXPECT_EQ(at(b.xmin, b.ymin), light);
  EXPECT_EQ(at(b.xmin + 1, b.ymin + 5), light);
  EXPECT_EQ(at(b.xmin + 5, b.ymin + 1), light);
  EXPECT_EQ(at(b.xmin + 3, b.ymin + 3), bg);
  EXPECT_NE(at(b.xmax + 1, b.ymin + 3), fg);  // nothing past the box

  mDrawItem(m, 3, true);
  QRgb highlight = system(platform::SystemColour::Highlight);
  EXPECT_EQ(at(b.xmin + 2, b.ymin + 2), highlight);
  EXPECT_EQ(at(b.xmax - 2, b.ymax - 2), highlight);
  EXPECT_EQ(at(b.xmin + 5, b.ymin + 1), light);  // bevel stays
}

TEST_F(MenuDrawing, CentreDiscHasARimAndNoOutlineOverflow) {
  mDrawCentre(200, 200);
  QRgb fg = platform::toQRgb(drawState.foreground);
  QRgb bg = platform::toQRgb(drawState.background);
  EXPECT_EQ(at(200, 200), bg);
  EXPECT_EQ(at(200, 193), fg);  // the rim, one pixel wide at the top
  EXPECT_NE(at(200, 191), fg);
  mDrawEmptyMarker(300, 300);
  EXPECT_EQ(at(300, 300), fg);
  EXPECT_EQ(at(315, 315), fg);
  EXPECT_EQ(at(307, 307), bg);
}

TEST_F(MenuDrawing, HighlightFollowsThePointerAndBandFollowsEveryMove) {
  Menu* m = menuWith({0, 2, 4, 6});
  add(m, "Off", 2, 0);
  mPlaceMenu(m, 500, 500);
  mShowMenu(m, 500, 400);
  EXPECT_EQ(m->selected, 1);
  EXPECT_EQ(m->selectedEnabled, 1);
  EXPECT_EQ(m->bandArea.count, 1);
  int menuSaves = m->menuArea.count;

  mTrackRadial(m, 505, 380);  // same sector
  EXPECT_EQ(m->selected, 1);
  EXPECT_EQ(m->bandArea.count, 1);  // restored and drawn again
  EXPECT_EQ(m->bandArea.x[0], 497);

  mTrackRadial(m, 505, 500);  // centre zone: nothing, no band
  EXPECT_EQ(m->selected, 0);
  EXPECT_EQ(m->bandArea.count, 0);

  mTrackRadial(m, 700, 500);  // onto the disabled east item
  EXPECT_EQ(m->selected, 3);
  EXPECT_EQ(m->selectedEnabled, 0);
  const Rect& east = m->itemRect[2];
  EXPECT_NE(at(east.xmin + 3, east.ymin + 3),
            system(platform::SystemColour::Highlight));
  EXPECT_EQ(m->menuArea.count, menuSaves);
}

TEST_F(MenuDrawing, ErasingMenusBandsAndAncestorsRestoresTheScreen) {
  QImage before = sim.screenImage().copy();
  int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  mPlaceMenu(root, 640, 500);
  mShowMenu(root, 640, 420);
  mTrackRadial(root, 650, 410);
  mDrawAsAncestor(root);
  Menu* food = root->submenu[0];
  mPlaceMenu(food, 640, 420);
  mShowMenu(food, 640, 380);
  mTrackRadial(food, 600, 420);
  EXPECT_NE(sim.screenImage(), before);
  mEraseMenu(food);
  mEraseMenu(root);
  mFlush();
  EXPECT_EQ(sim.screenImage(), before);
  EXPECT_EQ(root->drawnAsParent, 0);
}

TEST_F(MenuDrawing, ListsTrackRowsAndCascadesAreFound) {
  Menu* root = mCreateMenu();
  add(root, "First row", 8);
  add(root, "Second", 9);
  add(root, "Third", 10, 0);
  Menu* sub = mNewSubmenu(root, 9);
  add(sub, "Inner", 8);
  mPlaceMenu(root, 100, 100);
  mShowLinear(root, 0, 0);
  EXPECT_EQ(root->selected, 0);
  const Rect first = root->itemRect[8];
  // The shared edge of two rows belongs to the upper one.
  mTrackLinear(root, first.xmin + 5, first.ymax);
  EXPECT_EQ(root->selected, 9);
  mTrackLinear(root, first.xmax + 40, first.ymax);  // off to the right
  EXPECT_EQ(root->selected, 0);
  mTrackLinear(root, first.xmin + 5, first.ymax - 1);
  EXPECT_EQ(root->selected, 9);
  EXPECT_EQ(at(first.xmin + 3, first.ymin + 3),
            system(platform::SystemColour::Highlight));
  const Rect third = root->itemRect[10];
  mTrackLinear(root, third.xmin + 5, third.ymin + 5);
  EXPECT_EQ(root->selected, 11);
  EXPECT_EQ(root->selectedEnabled, 0);

  const Rect row = root->itemRect[9];
  mPlaceMenu(sub, row.xmax - 2, row.ymin - 8);
  EXPECT_EQ(sub->itemRect[8].ymin, row.ymin);  // level with its parent row
  mShowLinear(sub, 0, 0);
  root->current = sub;
  Menu* found = nullptr;
  Menu* base = nullptr;
  int item = 0;
  mFindLinearItem(root, sub->itemRect[8].xmin + 5, sub->itemRect[8].ymin + 5,
                  &found, &item, &base);
  EXPECT_EQ(found, sub);
  EXPECT_EQ(item, 9);
  EXPECT_EQ(base, root);
  mFindLinearItem(root, first.xmin + 5, first.ymin + 5, &found, &item, &base);
  EXPECT_EQ(found, root);
  EXPECT_EQ(item, 9);
  mFindLinearItem(root, 1000, 1000, &found, &item, &base);
  EXPECT_EQ(found, nullptr);
  mEraseMenu(sub);
  mEraseMenu(root);
}

// The band to a pointer far beyond the screen saves only what the screen
// shows of it, and erasing still puts back every pixel.
TEST_F(MenuDrawing, AFarPointerSavesNoMoreThanTheScreen) {
  QImage before = sim.screenImage().copy();
  int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  mPlaceMenu(root, 1100, 900);
  mShowMenu(root, 1100, 800);
  mTrackRadial(root, 20000, 20000);
  ASSERT_EQ(root->bandArea.count, 1);
  EXPECT_EQ(root->bandArea.x[0] + root->bandArea.width[0], 1280);
  EXPECT_EQ(root->bandArea.y[0] + root->bandArea.height[0], 1024);
  EXPECT_LE(mSavedPixels(&root->menuArea) + mSavedPixels(&root->bandArea),
            1280 * 1024);
  mEraseMenu(root);
  mFlush();
  EXPECT_EQ(sim.screenImage(), before);
}

// Menus where no screen is (the library's coordinates reach 2^24 either
// way) save nothing; a menu half off the screen saves the half on it.
TEST_F(MenuDrawing, MenusOffTheScreenSaveOnlyWhatIsOnIt) {
  QImage before = sim.screenImage().copy();
  int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  for (int c : {COORDINATE_LIMIT, -COORDINATE_LIMIT}) {
    root->centreX = root->centreY = c;
    mLayoutMenu(root);
    mShowMenu(root, c + 300, c);
    EXPECT_EQ(mSavedPixels(&root->menuArea), 0);
    EXPECT_EQ(mSavedPixels(&root->bandArea), 0);
    mEraseMenu(root);
  }
  EXPECT_EQ(sim.screenImage(), before);

  root->centreX = 10;
  root->centreY = 20;
  mLayoutMenu(root);
  mShowMenu(root, -40000, 25);  // west, the band far off the left edge
  EXPECT_NE(sim.screenImage(), before);
  ASSERT_EQ(root->menuArea.count, 1);
  EXPECT_EQ(root->menuArea.x[0], 0);
  EXPECT_EQ(root->menuArea.y[0], 0);
  EXPECT_EQ(root->bandArea.x[0], 0);
  mEraseMenu(root);
  mFlush();
  EXPECT_EQ(sim.screenImage(), before);
}

TEST_F(MenuDrawing, LabelsOfMixedWeightsStayInsideTheirBoxes) {
  // The longest label is regular, so the menu is measured in the regular
  // font; the bold and italic labels are wider drawn than measured that way.
  Menu* m = mCreateMenu();
  mAddItem(m, "abcdefghijklmnopqrstuvw", 0, 0, 0, 0, 0, 0, 1, 0, 1);
  mAddItem(m, "Short", 4, 0, 0, 0, 0, 0, 1, 0, 0);
  mAddItem(m, "iiiiiiiilllllllltttt", 2, 0, 0, 0, 0, 0, 1, 0, 0);
  mAddItem(m, "iiiiiiiilllllll", 6, 0, 0, 0, 0, 0, 1, 1, 0);
  const QImage before = sim.screenImage().copy();
  mPlaceMenu(m, 640, 500);
  mShowMenu(m, 640, 500);
  const QImage shown = sim.screenImage().copy();
  // Nothing is drawn to the right of the east box or left of the west one.
  for (int p : {2, 6}) {
    const Rect& r = m->itemRect[p];
    int outside = p == 2 ? r.xmax + 1 : r.xmin - 1;
    for (int y = r.ymin; y <= r.ymax; y++)
      for (int x = outside; x != outside + (p == 2 ? 4 : -4);
           x += (p == 2 ? 1 : -1))
        ASSERT_EQ(shown.pixel(x, y), before.pixel(x, y))
            << "label " << p << " reaches out at " << x << "," << y;
  }
  mEraseMenu(m);
  EXPECT_EQ(sim.screenImage(), before);
}

// Check marks appear only when shown, and only in the label margin of a
// toggle that is on: compass boxes and list rows alike, after the arrow of
// a west-side box with a submenu, engraved on a disabled item, in the
// highlight's text colour on a highlighted one. Everything else is drawn
// as without them.
TEST_F(MenuDrawing, CheckMarksInTheMarginOfTogglesThatAreOn) {
  struct Off {
    ~Off() { mShowIndicators(0); }
  } off;
  Menu* m = mCreateMenu();
  auto toggle = [&](const char* label, int p, uint8_t on, uint8_t enabled = 1) {
    mAddItem(m, label, p, 0, 1, on, 0, 0, enabled, 0, 1);
  };
  toggle("Grid", 2, 1);
  toggle("Rulers", 6, 0);
  toggle("Layers", 5, 1);
  mNewSubmenu(m, 5);
  toggle("Snap", 8, 1);
  toggle("Guides", 9, 0);
  toggle("Locked", 10, 1, 0);
  add(m, "Plain", 0);
  m->toggleOn[0] = 1;  // on, but no toggle
  mPlaceMenu(m, 600, 400);

  ASSERT_EQ(mIndicatorsShown(), 0);
  mRedrawItems(m);
  const QImage plain = sim.screenImage().copy();
  mShowIndicators(1);
  EXPECT_EQ(mIndicatorsShown(), 1);
  mRedrawItems(m);
  const QImage checked = sim.screenImage().copy();

  // The margin: the first 17 pixels of the box inside the bevel, after the
  // arrow area of the west-side box with a submenu.
  auto margin = [&](int p) {
    const Rect& b = m->itemRect[p];
    int left = b.xmin + (p == 5 ? 22 : 0);
    return QRect(QPoint(left + 2, b.ymin + 2), QPoint(left + 16, b.ymax - 2));
  };
  auto count = [](const QImage& image, const QRect& area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); y++)
      for (int x = area.left(); x <= area.right(); x++)
        n += image.pixel(x, y) == colour;
    return n;
  };
  const QRgb text = system(platform::SystemColour::MenuText);
  const QRgb shadow = system(platform::SystemColour::ButtonShadow);
  for (int p : {2, 5, 8}) {
    EXPECT_EQ(count(plain, margin(p), text), 0) << p;
    EXPECT_GE(count(checked, margin(p), text), 12) << p;
  }
  EXPECT_GE(count(checked, margin(10), shadow),
            count(plain, margin(10), shadow) + 12);

  // Only those margins changed.
  QRegion changed;
  for (int p : {2, 5, 8, 10}) changed += margin(p);
  EXPECT_EQ(count(checked, margin(0), text), 0);
  int elsewhere = 0;
  for (int y = 0; y < plain.height(); y++)
    for (int x = 0; x < plain.width(); x++)
      if (!changed.contains(QPoint(x, y)))
        elsewhere += plain.pixel(x, y) != checked.pixel(x, y);
  EXPECT_EQ(elsewhere, 0);

  const QRgb highlightText = system(platform::SystemColour::HighlightText);
  mDrawItem(m, 9, true);
  mDrawItem(m, 3, true);
  EXPECT_GE(count(sim.screenImage(), margin(8), highlightText), 12);
  EXPECT_GE(count(sim.screenImage(), margin(2), highlightText), 12);
}

// The spokes and centre a menu shows are stamped from a picture drawn once:
// the screen must show what drawing the menu piece by piece gives, at the
// screen's edge too, and follow a change of colours.
TEST_F(MenuDrawing, StampedSpokesAndCentreMatchDrawingThem) {
  Menu* m = menuWith({0, 1, 2, 3, 4, 5, 6, 7});
  const QImage blank = sim.screenImage().copy();
  for (QPoint at : {QPoint(640, 500), QPoint(4, 1019)}) {
    for (Colour fg : {platform::rgb(0, 0, 0), platform::rgb(200, 0, 0)}) {
      drawState.foreground = fg;
      mPlaceMenu(m, at.x(), at.y());
      mShowMenu(m, at.x(), at.y());
      QImage stamped = sim.screenImage().copy();
      mEraseMenu(m);
      ASSERT_EQ(sim.screenImage(), blank);
      mSaveMenuArea(m);
      mRedrawItems(m);
      IntPoint c = mHitCentre(m);
      mDrawSpokes(m, c.x, c.y);
      mDrawCentre(c.x, c.y);
      EXPECT_TRUE(stamped == sim.screenImage())
          << "at " << at.x() << ", " << at.y() << " in " << fg;
      mEraseMenu(m);
    }
  }
}
