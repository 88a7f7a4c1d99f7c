// Presses at the edges of the screen, where menus are pushed into the work
// area: a pointer held where it pressed selects nothing, directions run from
// the press, and marks read as they do anywhere else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/sim_gesture.h"
#include "practice_menu.h"

using platform::SimPlatform;
using player::Gesture;

namespace {

struct Place {
  int x, y;
  std::string name;
};

// The four corners and the middles of the four edges of a monitor, a few
// pixels in.
std::vector<Place> edgePlaces(const Rect& s, const std::string& monitor) {
  int l = s.xmin + 3, r = s.xmax - 3, t = s.ymin + 3, b = s.ymax - 3;
  int mx = (s.xmin + s.xmax) / 2, my = (s.ymin + s.ymax) / 2;
  return {{l, t, monitor + " top left"},     {mx, t, monitor + " top"},
          {r, t, monitor + " top right"},    {r, my, monitor + " right"},
          {r, b, monitor + " bottom right"}, {mx, b, monitor + " bottom"},
          {l, b, monitor + " bottom left"},  {l, my, monitor + " left"}};
}

struct Desktop {
  int width, height;
  std::vector<SimPlatform::Monitor> monitors;
  std::vector<Place> places;
};

// One monitor; and two side by side, the second with a panel along its foot.
std::vector<Desktop> desktops() {
  Rect one{0, 1279, 0, 1023}, two{1280, 2559, 0, 1023};
  Desktop single{1280, 1024, {}, edgePlaces(one, "single")};
  Desktop pair{2560, 1024, {{one, one}, {two, {1280, 2559, 0, 979}}}, {}};
  for (const Place& p : edgePlaces(one, "first")) pair.places.push_back(p);
  for (const Place& p : edgePlaces(two, "second")) pair.places.push_back(p);
  return {single, pair};
}

void add(Menu* m, const char* label, int position, uintptr_t value) {
  mAddItem(m, label, position, value, 0, 0, 0, 0, 1, 0, 0);
}

// One item in each compass direction, valued its position + 1.
Menu* compassMenu() {
  static const char* names[] = {"North", "North-east", "East", "South-east",
                                "South", "South-west", "West", "North-west"};
  Menu* m = mCreateMenu();
  for (int p = 0; p < RADIAL_SLOTS; p++) add(m, names[p], p, uintptr_t(p + 1));
  return m;
}

// A pie with two rows under it.
Menu* pieWithList() {
  Menu* m = mCreateMenu();
  for (int p : {0, 2, 4, 6}) add(m, "Pie", p, 1);
  add(m, "Other", 8, 9);
  add(m, "Recent", 9, 10);
  return m;
}

Menu* listOnly() {
  Menu* m = mCreateMenu();
  add(m, "Open", 8, 1);
  add(m, "Save as", 9, 2);
  add(m, "Print the whole document", 10, 3);
  return m;
}

// Unit steps of the compass positions, north first, clockwise.
constexpr int stepX[RADIAL_SLOTS] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int stepY[RADIAL_SLOTS] = {-1, -1, 0, 1, 1, 1, 0, -1};

bool onDesktop(const Desktop& d, int x, int y) {
  return x >= 0 && y >= 0 && x < d.width && y < d.height;
}

}  // namespace

TEST(Edges, APressHeldStillSelectsNothingWhereverTheMenuWasPushed) {
  PracticeMenu practice;
  struct Kind {
    const char* name;
    Menu* root;
  } kinds[] = {{"practice", practice.root},
               {"compass", compassMenu()},
               {"pie with list", pieWithList()},
               {"list", listOnly()}};
  for (const Desktop& d : desktops()) {
    SimPlatform sim{d.width, d.height};
    if (!d.monitors.empty()) sim.setMonitors(d.monitors);
    QImage before = sim.screenImage().copy();
    for (const Kind& k : kinds) {
      for (const Place& p : d.places) {
        SCOPED_TRACE(std::string(k.name) + " at " + p.name);
        // Past the popup and several rests, long enough for any submenu.
        auto out = player::playSelection(
            sim, k.root, Gesture().press(p.x, p.y).rest(1000).release());
        EXPECT_EQ(out.value, 0u);
        EXPECT_EQ(out.positions[0], -1);
        EXPECT_EQ(k.root->releasedIn, k.root);
        if (k.root == practice.root) {
          EXPECT_EQ(k.root->movedToFit, 1);
        }
      }
    }
    EXPECT_EQ(sim.screenImage(), before);
  }
}

TEST(Edges, DirectionsRunFromThePressNotFromTheMenuDrawn) {
  Menu* compass = compassMenu();
  for (const Desktop& d : desktops()) {
    SimPlatform sim{d.width, d.height};
    if (!d.monitors.empty()) sim.setMonitors(d.monitors);
    QImage before = sim.screenImage().copy();
    for (const Place& p : d.places) {
      for (int k = 0; k < RADIAL_SLOTS; k++) {
        int x = p.x + 80 * stepX[k], y = p.y + 80 * stepY[k];
        // The pointer cannot leave the desktop; from a monitor's inner edge
        // it goes on onto the other.
        if (!onDesktop(d, x, y)) continue;
        SCOPED_TRACE(p.name + " towards " + std::to_string(k));
        auto out = player::playSelection(
            sim, compass,
            Gesture().press(p.x, p.y).rest(300).moveTo(x, y, 150).release());
        EXPECT_EQ(out.value, uintptr_t(k + 1));
      }
    }
    EXPECT_EQ(sim.screenImage(), before);
  }
}

TEST(Edges, MarksReadAsInTheMiddleWhetherDrawnStraightOrPaused) {
  PracticeMenu menu;
  // Two legs of 80 pixels: the first picks the category, the second its
  // item.
  struct Mark {
    int first, second;
  } marks[] = {{2, 4}, {0, 4}, {4, 2}, {6, 0}, {6, 2}, {4, 6}};
  auto play = [&](SimPlatform& sim, int x, int y, Mark m, bool pause) {
    int ax = x + 80 * stepX[m.first], ay = y + 80 * stepY[m.first];
    int bx = ax + 80 * stepX[m.second], by = ay + 80 * stepY[m.second];
    Gesture g;
    g.press(x, y).moveTo(ax, ay, 100).moveTo(bx, by, 100);
    // Resting past the marking delay pops the menus up along the mark.
    if (pause) g.rest(600);
    player::playSelection(sim, menu.root, g.release());
    return menu.path();
  };
  for (const Desktop& d : desktops()) {
    SimPlatform sim{d.width, d.height};
    if (!d.monitors.empty()) sim.setMonitors(d.monitors);
    for (bool pause : {false, true}) {
      for (Mark m : marks) {
        std::string inMiddle = play(sim, 640, 512, m, pause);
        ASSERT_NE(menu.chosen(), -1) << inMiddle;
        for (const Place& p : d.places) {
          int ex = p.x + 80 * (stepX[m.first] + stepX[m.second]);
          int ey = p.y + 80 * (stepY[m.first] + stepY[m.second]);
          int ax = p.x + 80 * stepX[m.first], ay = p.y + 80 * stepY[m.first];
          if (!onDesktop(d, ax, ay) || !onDesktop(d, ex, ey)) continue;
          SCOPED_TRACE(p.name + (pause ? ", paused" : ""));
          EXPECT_EQ(play(sim, p.x, p.y, m, pause), inMiddle);
        }
      }
    }
  }
}

TEST(Edges, ASubmenuOpenedByARestAtTheEdgeIsCentredOnThatRest) {
  SimPlatform sim{1280, 1024};
  PracticeMenu menu;
  // Tools lies east: a rest near the right edge opens it there, pushed left.
  auto toEdge = [] {
    Gesture g;
    g.press(1000, 512).rest(200).moveTo(1276, 512, 150).rest(400);
    return g;
  };
  player::playSelection(sim, menu.root, toEdge().rest(600).release());
  EXPECT_EQ(menu.root->submenu[2]->movedToFit, 1);
  EXPECT_EQ(menu.path(), "Tools, Center");

  // Up from where it opened is Saw and down is Wrench, whatever boxes of
  // the pushed menu lie under the way.
  player::playSelection(sim, menu.root,
                        toEdge().moveTo(1276, 432, 100).release());
  EXPECT_EQ(menu.path(), "Tools, Saw");
  player::playSelection(sim, menu.root,
                        toEdge().moveTo(1276, 592, 100).release());
  EXPECT_EQ(menu.path(), "Tools, Wrench");
}

TEST(Edges, RowsOfAPushedMenuAreHitWhereTheyAreOnceThePointerLeavesThePress) {
  SimPlatform sim{1280, 1024};
  Menu* pie = pieWithList();
  // At the foot of the screen the rows are pushed up around the press.
  player::playSelection(sim, pie,
                        Gesture().press(640, 1020).rest(300).release());
  ASSERT_EQ(pie->movedToFit, 1);
  const Rect other = pie->itemRect[8];
  int ox = (other.xmin + other.xmax) / 2, oy = (other.ymin + other.ymax) / 2;
  auto out = player::playSelection(
      sim, pie,
      Gesture().press(640, 1020).rest(300).moveTo(ox, oy, 100).release());
  EXPECT_EQ(out.value, 9u);

  // A list pushed into the bottom right corner: rows under the pointer
  // count once it has left the disc round the press.
  Menu* list = listOnly();
  player::playSelection(sim, list,
                        Gesture().press(1276, 1020).rest(300).release());
  ASSERT_EQ(list->movedToFit, 1);
  const Rect last = list->itemRect[10];
  out = player::playSelection(
      sim, list,
      Gesture()
          .press(1276, 1020)
          .rest(300)
          .moveTo((last.xmin + last.xmax) / 2, (last.ymin + last.ymax) / 2, 100)
          .release());
  EXPECT_EQ(out.value, 3u);
}
