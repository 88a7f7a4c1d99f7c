#include "qt/qt_marking_menu.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <algorithm>
#include <functional>

#include "platform/sim_platform.h"
#include "report_capture.h"
#include "trace_off.h"

using tarvel::Item;
using tarvel::MarkingMenu;
using tarvel::Place;

// The lists become the tree: the compass from North clockwise, named
// places, the list after the eighth slot, submenus under their items.
TEST(QtMarkingMenu, ListsBecomeTheTree) {
  platform::SimPlatform sim;
  MarkingMenu menu{{"Colour", {{"Red", 1}, {"Blue", 2, true, Place::East}}},
                   {"Size", 3},
                   {"Tools", {{"Pen", 4}}, Place::South},
                   {"Off", 5, false},
                   {"Row", 6, true, Place::List},
                   {"Next row", 7}};
  Menu* root = menu.root();
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->label[0], "Colour");
  EXPECT_STREQ(root->label[1], "Size");
  EXPECT_STREQ(root->label[4], "Tools");
  EXPECT_STREQ(root->label[5], "Off");
  EXPECT_FALSE(root->enabled[5]);
  EXPECT_STREQ(root->label[8], "Row");
  EXPECT_STREQ(root->label[9], "Next row");
  ASSERT_NE(root->submenu[0], nullptr);
  EXPECT_STREQ(root->submenu[0]->label[2], "Blue");
  ASSERT_NE(root->submenu[4], nullptr);
  EXPECT_EQ(root->submenu[1], nullptr);
}

// A misplaced item is reported and left out alone: the items after it are
// built, and an item at a taken place leaves the first one whole.
TEST(QtMarkingMenu, MisplacedItemsAreReportedAndTheRestBuilt) {
  platform::SimPlatform sim;
  ReportCapture reports;
  MarkingMenu menu{{"Colour", {{"Red", 1}}, Place::North},
                   {"Far", 2, true, Place(MENU_SLOTS)},
                   {"Size", 3},
                   {"Again", 4, true, Place::North},
                   {"Way off", 5, true, Place(70)},
                   {"Tools", {{"Pen", 6}}, Place::South},
                   {"Row", 7, true, Place::List}};
  Menu* root = menu.root();
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->label[0], "Colour");
  ASSERT_NE(root->submenu[0], nullptr);
  EXPECT_STREQ(root->submenu[0]->label[0], "Red");
  EXPECT_STREQ(root->label[1], "Size");
  EXPECT_STREQ(root->label[4], "Tools");
  ASSERT_NE(root->submenu[4], nullptr);
  EXPECT_STREQ(root->label[8], "Row");
  EXPECT_EQ(root->itemCount, 9);
  ASSERT_EQ(reports.all().size(), 3u);
  EXPECT_NE(reports.all()[0].find("\"Far\" placed at 58"), std::string::npos)
      << reports.all()[0];
  EXPECT_NE(reports.all()[1].find("\"Again\" placed at 0, where \"Colour\""),
            std::string::npos)
      << reports.all()[1];
  EXPECT_NE(reports.all()[2].find("\"Way off\" placed at 70"),
            std::string::npos);
}

// A long label beyond ASCII is shortened between characters, never
// through one; a long ASCII one as the library shortens it.
TEST(QtMarkingMenu, LongLabelsKeepWholeCharacters) {
  platform::SimPlatform sim;
  std::string euros;
  for (int i = 0; i < 20; i++) euros += "\u20ac";  // three bytes each
  MarkingMenu menu{{euros, 1}, {std::string(60, 'a'), 2}};
  std::string kept = menu.root()->label[0];
  ASSERT_GE(kept.size(), 4u);
  EXPECT_EQ(kept.substr(kept.size() - 3), "...");
  EXPECT_LE(kept.size(), 49u);
  EXPECT_EQ(kept.substr(0, kept.size() - 3), euros.substr(0, 45));
  EXPECT_EQ(std::string(menu.root()->label[1]), std::string(46, 'a') + "...");
}

namespace {

// The simulated mouse, with Qt's cursor following it as a real one would.
void playMouse(platform::SimPlatform& sim,
               std::function<QPoint(uint32_t ms, bool* down)> mouse) {
  sim.setInputScript([mouse](uint32_t ms) {
    bool down = false;
    QPoint at = mouse(ms, &down);
    QCursor::setPos(at);
    return platform::InputState{at.x(), at.y(), down, false};
  });
}

}  // namespace

// One call runs the selection: a mark up and then right picks Colour,
// Blue; a press held still picks nothing.
TEST(QtMarkingMenu, SelectRunsTheWholeSelection) {
  platform::SimPlatform sim;
  MarkingMenu menu{{"Colour", {{"Red", 1}, {"Blue", 2, true, Place::East}}},
                   {"Size", 3}};
  const QPoint press(640, 512);
  playMouse(sim, [press](uint32_t ms, bool* down) {
    *down = ms < 300;
    if (ms < 150) return press - QPoint(0, int(ms * 100 / 150));
    return press + QPoint(std::min<int>(int(ms - 150) * 100 / 150, 100), -100);
  });
  auto choice = menu.select(press);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->value, 2);
  EXPECT_EQ(choice->labels, (std::vector<std::string>{"Colour", "Blue"}));
  EXPECT_EQ(choice->positions, (std::vector<int>{0, 2}));

  playMouse(sim, [press](uint32_t ms, bool* down) {
    *down = ms < 500;
    return press;
  });
  EXPECT_FALSE(menu.select(press).has_value());
}

// Escape ends select() with nothing chosen, the menus taken away and
// cancelled() said, where a release would have chosen the item.
TEST(QtMarkingMenu, EscapeCancelsSelect) {
  platform::SimPlatform sim;
  const QImage before = sim.screenImage().copy();
  MarkingMenu menu{{"Colour", 1}, {"Size", 2}, {"Tools", 3}};
  int cancelled = 0, triggered = 0;
  QObject::connect(&menu, &MarkingMenu::cancelled, [&] { cancelled++; });
  QObject::connect(&menu, &MarkingMenu::triggered,
                   [&](const tarvel::Choice&) { triggered++; });
  const QPoint press(640, 512);
  sim.setInputScript([press](uint32_t ms) {
    // The menu up, East highlighted, then Escape with the button held.
    QPoint at = press + QPoint(ms > 200 ? 90 : 0, 0);
    return platform::InputState{at.x(), at.y(), ms<600, ms> 400};
  });
  EXPECT_FALSE(menu.select(press).has_value());
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(sim.screenImage(), before);

  sim.setInputScript([press](uint32_t ms) {
    QPoint at = press + QPoint(ms > 200 ? 90 : 0, 0);
    return platform::InputState{at.x(), at.y(), ms < 600, false};
  });
  auto choice = menu.select(press);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->value, 3);
  EXPECT_EQ(triggered, 1);
}
