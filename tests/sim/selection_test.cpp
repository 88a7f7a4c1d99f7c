// Whole selections on the simulated platform, played through the calling
// order every client follows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "marks/feedback.h"
#include "menu/tracking.h"
#include "platform/sim_gesture.h"
#include "practice_menu.h"
#include "trace/trace.h"

using platform::Gesture;

namespace {

constexpr int cx = 640, cy = 512;

class Selection : public ::testing::Test {
 protected:
  void SetUp() override { before = sim.screenImage().copy(); }
  void TearDown() override {
    // Whatever happened, the screen is as it was.
    EXPECT_EQ(sim.screenImage(), before);
  }
  platform::SelectionOutcome play(const Gesture& g, Menu* root = nullptr) {
    return platform::playSelection(sim, root ? root : menu.root, g,
                                   &Selection::watch, this);
  }
  // Notes when the first menu came up, in ms after the press.
  static void watch(void* self) {
    auto* s = static_cast<Selection*>(self);
    if (s->poppedAt < 0 && s->watched()->mode != 0)
      s->poppedAt = int(s->sim.tickCount() - s->pressTick);
  }
  Menu* watched() { return menu.root; }
  Gesture pressAtCentre(int hz = 100) {
    pressTick = sim.tickCount();
    return Gesture(hz).press(cx, cy);
  }

  platform::SimPlatform sim{1280, 1024};
  QImage before;
  PracticeMenu menu;
  int poppedAt = -1;
  uint32_t pressTick = 0;
};

}  // namespace

TEST_F(Selection, HoldingStillPopsTheMenuUpOnceTheDelayHasPassed) {
  auto out = play(pressAtCentre().rest(400).release());
  // Strictly later than 0.15 s: the first poll after 150 ms, on a 1 ms grid.
  EXPECT_EQ(poppedAt, 151);
  EXPECT_EQ(menu.root->centreX, cx);
  EXPECT_EQ(menu.root->centreY, cy);
  EXPECT_EQ(out.positions[0], -1);  // released in the centre
  EXPECT_EQ(menu.path(), "Center");
}

TEST_F(Selection, SlowStepsNeverRestartTheDelay) {
  // 5 pixels every 10 ms (a 100 Hz mouse): resting, as far as the menu
  // goes. The stroke is longer than 16 pixels, so the delay is 0.4 s.
  play(pressAtCentre().moveTo(cx + 50, cy, 100).rest(400).release());
  EXPECT_EQ(poppedAt, 401);
  poppedAt = -1;
  // 6 pixels every 10 ms restart it each time; it pops 0.4 s after that.
  play(pressAtCentre().moveTo(cx + 60, cy, 100).rest(500).release());
  EXPECT_EQ(poppedAt, 100 + 401);
}

TEST_F(Selection, AClickSelectsNothingAndConfirmsNothing) {
  mListClear(&idealMark);
  auto out = play(pressAtCentre().rest(50).release());
  EXPECT_EQ(poppedAt, -1);
  EXPECT_EQ(out.levels, 1);
  EXPECT_STREQ(out.labels[0], "Center");
  EXPECT_EQ(out.value, 0u);
  EXPECT_EQ(idealMark.count, 0);
}

TEST_F(Selection, MarksSelectWithoutTheMenu) {
  play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
  EXPECT_EQ(menu.path(), "Food, Apple");
  EXPECT_EQ(poppedAt, -1);
  EXPECT_EQ(idealMark.count, 4);  // the confirmation was drawn

  play(pressAtCentre().moveTo(cx, cy - 100, 120).moveTo(cx, cy, 120).release());
  EXPECT_EQ(menu.path(), "Food, Banana");

  play(pressAtCentre()
           .moveTo(cx + 100, cy, 120)
           .moveTo(cx + 100, cy - 100, 120)
           .release());
  EXPECT_EQ(menu.path(), "Tools, Saw");
  EXPECT_EQ(menu.chosen(), Saw);
}

TEST_F(Selection, TheSameMarkOnAnyMouseSelectsTheSame) {
  for (int hz : {125, 1000}) {
    play(pressAtCentre(hz)
             .moveTo(cx + 150, cy, 350)
             .moveTo(cx + 150, cy - 150, 350)
             .release());
    EXPECT_EQ(menu.path(), "Tools, Saw") << hz << " Hz";
  }
}

TEST_F(Selection, ASteadyMarkOnAFastMouseIsNoRest) {
  // 1000 pixels a second for 600 ms, reported every millisecond.
  play(pressAtCentre(1000).moveTo(cx, cy - 600, 600).release());
  EXPECT_EQ(poppedAt, -1);
  EXPECT_EQ(menu.root->mode, 0);
  EXPECT_EQ(menu.path(), "Food, Apple");
}

TEST_F(Selection, APausedZigZagPopsTheMenusUpAlongTheMark) {
  play(pressAtCentre()
           .moveTo(cx + 90, cy, 120)
           .moveTo(cx + 90, cy - 90, 120)
           .rest(500)
           .release());
  EXPECT_EQ(menu.root->markedAhead, 1);
  EXPECT_NE(menu.root->mode, 0);
  EXPECT_GT(poppedAt, 240 + 400);
  // The root came up at the press, Tools' menu at the corner.
  EXPECT_EQ(menu.root->centreX, cx);
  Menu* tools = menu.root->submenu[2];
  EXPECT_NEAR(tools->centreX, cx + 90, 2);
  EXPECT_NEAR(tools->centreY, cy, 2);
  EXPECT_EQ(menu.path(), "Tools, Saw");
}

TEST_F(Selection, RestingOpensSubmenusAndTheParentsCentreBacksUp) {
  auto out = play(pressAtCentre()
                      .rest(200)                 // the root pops up
                      .moveTo(cx, cy - 90, 60)   // up, past Food
                      .rest(300)                 // Food opens here
                      .moveTo(cx, cy - 150, 60)  // towards Apple
                      .rest(100)
                      .release());
  Menu* food = menu.root->submenu[0];
  EXPECT_EQ(food->centreY, cy - 90);
  EXPECT_EQ(menu.path(), "Food, Apple");
  EXPECT_EQ(menu.root->backUpCount, 0);
  EXPECT_EQ(menu.root->releasedIn, food);
  (void)out;

  play(pressAtCentre()
           .rest(200)
           .moveTo(cx, cy - 90, 60)
           .rest(300)
           .moveTo(cx + 1, cy, 60)  // back into the root's centre
           .rest(300)
           .moveTo(cx + 120, cy, 60)  // and out to Tools
           .rest(50)
           .release());
  EXPECT_EQ(menu.root->backUpCount, 1);
  EXPECT_EQ(menu.path(), "Tools, Center");
}

TEST_F(Selection, EscapeEndsTheSelectionLikeARelease) {
  auto byRelease = play(
      pressAtCentre().rest(200).moveTo(cx + 120, cy, 50).rest(50).release());
  auto byEscape = play(pressAtCentre()
                           .rest(200)
                           .moveTo(cx + 120, cy, 50)
                           .rest(50)
                           .escape()
                           .rest(50)
                           .release());
  EXPECT_EQ(byEscape.levels, byRelease.levels);
  EXPECT_EQ(byEscape.positions[0], byRelease.positions[0]);
  EXPECT_EQ(byEscape.positions[0], 2);
  EXPECT_EQ(byEscape.releasedAfterMs, byRelease.releasedAfterMs);
}

namespace {

// A pie with a list under it: "Other" and "Recent" rows, Recent cascading.
struct ListMenu {
  ListMenu() {
    for (int p : {0, 2, 4, 6}) add(root, "Pie", p);
    add(root, "Other", 8);
    add(root, "Recent", 9);
    Menu* recent = mNewSubmenu(root, 9);
    add(recent, "first.txt", 8);
    add(recent, "second.txt", 9);
  }
  static void add(Menu* m, const char* label, int p) {
    mAddItem(m, label, p, 1, 0, 0, 0, 0, 1, 0, 0);
  }
  Menu* root = mCreateMenu();
};

}  // namespace

TEST_F(Selection, ListsCascadeAfterARestAndTheReturnLineLeavesThem) {
  ListMenu list;
  // Find where the rows lie once the menu is up at the centre.
  play(pressAtCentre().rest(200).release(), list.root);
  const Rect other = list.root->itemRect[8];
  const Rect recent = list.root->itemRect[9];
  int rowX = (other.xmin + other.xmax) / 2;
  int otherY = (other.ymin + other.ymax) / 2;
  int recentY = (recent.ymin + recent.ymax) / 2;
  Menu* cascade = list.root->submenu[9];

  // South, then onto Other: list mode; then a rest on Recent cascades.
  play(pressAtCentre()
           .rest(200)
           .moveTo(cx, cy + 35, 30)
           .moveTo(rowX, otherY, 30)
           .moveTo(rowX, recentY, 20)
           .rest(150)
           .release(),
       list.root);
  EXPECT_EQ(list.root->mode, 2);
  EXPECT_EQ(list.root->releasedIn, cascade);
  EXPECT_EQ(cascade->centreX, recent.xmax - 2);

  // Moving off before 100 ms: no cascade.
  play(pressAtCentre()
           .rest(200)
           .moveTo(cx, cy + 35, 30)
           .moveTo(rowX, otherY, 30)
           .moveTo(rowX, recentY, 20)
           .rest(50)
           .moveTo(rowX, otherY, 20)
           .rest(200)
           .release(),
       list.root);
  EXPECT_EQ(list.root->releasedIn, list.root);
  EXPECT_EQ(list.root->selected, 9);  // Other

  // Above the return line the pie is tracked again.
  play(pressAtCentre()
           .rest(200)
           .moveTo(cx, cy + 35, 30)
           .moveTo(rowX, otherY, 30)
           .moveTo(cx + 100, cy - 10, 40)
           .rest(50)
           .release(),
       list.root);
  EXPECT_EQ(list.root->mode, 1);
  EXPECT_EQ(list.root->selected, 3);
}

TEST_F(Selection, TraceLinesForMarksMenusAndRejections) {
  namespace fs = std::filesystem;
  fs::path base = fs::temp_directory_path() /
                  ("tarvel-trace-" + std::to_string(::getpid()));
  fs::create_directories(base / "unknown");
  mTraceUseBaseForTesting(base.c_str());

  play(pressAtCentre().moveTo(cx, cy - 200, 200).release());  // a mark
  play(pressAtCentre()                                        // a menu
           .rest(200)
           .moveTo(cx, cy - 90, 60)
           .rest(300)
           .moveTo(cx + 1, cy, 60)
           .rest(300)
           .moveTo(cx + 120, cy, 60)
           .moveTo(cx, cy + 120, 60)
           .moveTo(cx - 120, cy, 60)
           .release());
  play(pressAtCentre().moveTo(cx, cy - 300, 10).release());  // too fast
  play(pressAtCentre()                                       // paused mark
           .moveTo(cx + 90, cy, 120)
           .moveTo(cx + 90, cy - 90, 120)
           .rest(500)
           .release());

  std::ifstream file(base / "unknown" / "user.trc");
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 4u);
  auto fields = [](const std::string& line) {
    return line.substr(line.find(' ') + 1);  // after the press time
  };
  EXPECT_EQ(fields(lines[0]), "m 0.20 11   ");
  EXPECT_EQ(fields(lines[1]).substr(0, 2), "M ");
  EXPECT_NE(lines[1].find(" 70  b1 r"), std::string::npos) << lines[1];
  EXPECT_EQ(fields(lines[2]), "m 0.01 0   ");
  EXPECT_NE(lines[3].find(" 31 c   "), std::string::npos) << lines[3];
  EXPECT_EQ(lines[3].substr(lines[3].find(' ') + 1, 1), "M");

  mTraceUseBaseForTesting(nullptr);
  fs::remove_all(base);
}
