// Whole selections on the simulated platform, played through the calling
// order every client follows.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/stroke.h"
#include "display/feedback.h"
#include "player/sim_gesture.h"
#include "practice_menu.h"
#include "report_capture.h"
#include "selection/tracking.h"
#include "trace/trace.h"
#include "trace_off.h"

using player::Gesture;

namespace {

constexpr int cx = 640, cy = 512;

class Selection : public ::testing::Test {
 protected:
  void SetUp() override { before = sim.screenImage().copy(); }
  void TearDown() override {
    // Whatever happened, the screen is as it was.
    EXPECT_EQ(sim.screenImage(), before);
  }
  player::SelectionOutcome play(const Gesture& g, Menu* root = nullptr) {
    return player::playSelection(sim, root ? root : menu.root, g,
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
  // Right, up, and a rest: Tools, Saw, the menus popped up along the way.
  Gesture pausedZigZag() {
    return pressAtCentre()
        .moveTo(cx + 90, cy, 120)
        .moveTo(cx + 90, cy - 90, 120)
        .rest(500)
        .release();
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
  play(pausedZigZag());
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

TEST_F(Selection, TheResultStopsAtTheDeepestMenuOfThisSelection) {
  play(pressAtCentre().moveTo(cx, cy - 100, 120).moveTo(cx, cy, 120).release());
  ASSERT_EQ(menu.path(), "Food, Banana");

  // Onto Food once the menu is up, let go before its submenu opens: the
  // Banana of the last selection is no part of this one.
  play(pressAtCentre().rest(200).moveTo(cx, cy - 90, 20).rest(50).release());
  EXPECT_EQ(menu.root->releasedIn, menu.root);
  EXPECT_EQ(menu.path(), "Food, Center");
  EXPECT_EQ(menu.chosen(), -1);
  EXPECT_STREQ(mPathDigits(menu.root), "10");

  // A disabled category released on gives nothing either, whatever its
  // submenu held from before.
  play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
  ASSERT_EQ(menu.path(), "Food, Apple");
  mAddItem(menu.root, "Food", 0, 0, 1, 0, 0, 0, 0, 0, 0);
  play(pressAtCentre().rest(200).moveTo(cx, cy - 90, 20).rest(50).release());
  EXPECT_EQ(menu.path(), "Food, Center");
  EXPECT_EQ(menu.chosen(), -1);

  // A mark still reads through every level it chose.
  mAddItem(menu.root, "Food", 0, 0, 1, 0, 0, 0, 1, 0, 0);
  play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
  EXPECT_EQ(menu.path(), "Food, Apple");
  EXPECT_STREQ(mPathDigits(menu.root), "11");
}

TEST_F(Selection, AMoveInsideTheSampleWindowIsTakenOnceItPasses) {
  // One 40-pixel move east, reported 8 ms (125 Hz) or 5 ms (200 Hz) after
  // the press, then a rest: the stroke is a mark, so the 0.4 s delay runs
  // from the move and the menus come up along it with Tools highlighted.
  for (int hz : {125, 200}) {
    poppedAt = -1;
    uint32_t reportMs = 1000 / hz;
    play(pressAtCentre(hz).moveTo(cx + 40, cy, reportMs).rest(600).release());
    EXPECT_GE(poppedAt, 400) << hz << " Hz";
    EXPECT_LE(poppedAt, 412) << hz << " Hz";
    EXPECT_EQ(menu.root->markedAhead, 1) << hz << " Hz";
    EXPECT_EQ(menu.root->selected, 3) << hz << " Hz";  // Tools
  }
}

namespace {

// The last recorded stroke position while the mark is still being made.
struct StrokeEnd {
  Menu* root;
  IntPoint last{};
  static void note(void* self) {
    auto* s = static_cast<StrokeEnd*>(self);
    const StrokeBuffer* b = s->root->stroke;
    if (s->root->mode == 0 && b->count > 0) s->last = b->points[b->count - 1];
  }
};

}  // namespace

TEST_F(Selection, TheStrokeEndsWhereThePointerRests) {
  for (int hz : {125, 200, 1000}) {
    StrokeEnd end{menu.root};
    player::playSelection(sim, menu.root,
                          Gesture(hz)
                              .press(cx, cy)
                              .moveTo(cx + 203, cy - 51, 197)
                              .rest(120)
                              .release(),
                          &StrokeEnd::note, &end);
    EXPECT_EQ(end.last.x, cx + 203) << hz << " Hz";
    EXPECT_EQ(end.last.y, cy - 51) << hz << " Hz";
  }
}

TEST_F(Selection, ThePopupComesAtTheFirstPollAfterTheDelayAtAnyClockReading) {
  // Press times spread over a millisecond grid, some near 10,000 s: the
  // menu is up at the first poll strictly after 150 ms, every time.
  mInit(0, 0, 0, 0, 0, 0);
  for (int i = 0; i < 400; i++) {
    sim.advance(i < 200 ? 1 + uint32_t(i % 7) : 997 + uint32_t(i) * 13);
    sim.setPointer(cx, cy);
    sim.setButtonDown(true);
    mPress(menu.root, cx, cy);
    int popped = -1;
    for (int ms = 1; ms <= 200 && popped < 0; ms++) {
      sim.advance(1);
      mMotion(menu.root, cx, cy);
      mPoll();
      if (menu.root->mode != 0) popped = ms;
    }
    sim.setButtonDown(false);
    mRelease(menu.root, cx, cy);
    ASSERT_EQ(popped, 151) << "press at " << sim.microseconds() << " us";
  }
  mShutdown();
}

TEST_F(Selection, FollowingAStraightStrokeIntoTheListHitTestsWhereItEnds) {
  // Compass items, one with a submenu, and twenty rows below.
  Menu* root = mCreateMenu();
  for (int p = 0; p < 8; p++) mAddItem(root, "Pie", p, 1, 0, 0, 0, 0, 1, 0, 0);
  for (int p = 8; p < 28; p++) mAddItem(root, "Row", p, 1, 0, 0, 0, 0, 1, 0, 0);
  Menu* sub = mNewSubmenu(root, 4);
  mAddItem(sub, "Leaf", 0, 1, 0, 0, 0, 0, 1, 0, 0);
  // 300 pixels down into the rows, a short hook to the right, a pause.
  play(pressAtCentre()
           .moveTo(cx, cy + 300, 300)
           .moveTo(cx + 75, cy + 300, 75)
           .rest(600)
           .release(),
       root);
  // Where the stroke ends is south of the centre, not on a row: the menus
  // come up along the mark instead of in the list.
  EXPECT_EQ(root->markedAhead, 1);
  EXPECT_NE(root->releasedIn, nullptr);
  EXPECT_EQ(root->selected, 5);
}

TEST_F(Selection, ARedrawForCoveredCentresKeepsTheBand) {
  // Near the top edge Food's submenu is moved down to fit, over the root's
  // centre; it opens with nothing selected at the pointer, and the first
  // item the pointer then reaches has its band.
  const int top = 70;
  struct Watch {
    Menu* root;
    bool checked = false, banded = false;
    static void note(void* self) {
      auto* w = static_cast<Watch*>(self);
      Menu* c = w->root->current;
      if (w->checked || !c || c == w->root || c->selected == 0) return;
      w->checked = true;
      w->banded = c->bandArea.count > 0;
    }
  } watch{menu.root};
  player::playSelection(sim, menu.root,
                        Gesture()
                            .press(cx, top)
                            .rest(200)
                            .moveTo(cx, top - 45, 30)
                            .rest(300)
                            .moveTo(cx + 40, top - 45, 30)
                            .release(),
                        &Watch::note, &watch);
  ASSERT_TRUE(watch.checked);
  EXPECT_TRUE(watch.banded);
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

  mTraceUseBaseForTesting(untracedBase);
  fs::remove_all(base);
}

namespace {

// A trace directory of the test's own, removed afterwards.
struct TraceDirectory {
  TraceDirectory() {
    std::filesystem::create_directories(path / "unknown");
    mTraceUseBaseForTesting(path.c_str());
  }
  ~TraceDirectory() {
    mTraceUseBaseForTesting(untracedBase);
    std::filesystem::remove_all(path);
  }
  std::filesystem::path file() const { return path / "unknown" / "user.trc"; }
  std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("tarvel-trace-faults-" + std::to_string(::getpid()));
};

}  // namespace

TEST_F(Selection, TraceFailuresAreReportedOnceWithPathAndReason) {
  const Gesture mark = pressAtCentre().moveTo(cx, cy - 200, 200).release();
  {
    // A full device takes the open but not the lines.
    TraceDirectory trace;
    std::filesystem::create_symlink("/dev/full", trace.file());
    ReportCapture reports;
    for (int i = 0; i < 3; i++) play(mark);
    ASSERT_EQ(reports.all().size(), 1u);
    EXPECT_NE(reports.last().find("can't write Marking Menu trace file " +
                                  trace.file().string() + ": " +
                                  std::strerror(ENOSPC)),
              std::string::npos)
        << reports.last();
  }
  {
    // Something that cannot be opened for appending is no trace file.
    TraceDirectory trace;
    std::filesystem::create_directory(trace.file());
    ReportCapture reports;
    for (int i = 0; i < 2; i++) play(mark);
    ASSERT_EQ(reports.all().size(), 1u);
    EXPECT_NE(reports.last().find("can't open Marking Menu trace file " +
                                  trace.file().string()),
              std::string::npos);
    EXPECT_FALSE(mTraceEnabled());
  }
  {
    // Without the directory tracing is off, and that is no failure.
    TraceDirectory trace;
    std::filesystem::remove_all(trace.path);
    ReportCapture reports;
    play(mark);
    EXPECT_FALSE(mTraceEnabled());
    EXPECT_TRUE(reports.all().empty());
  }
}

std::vector<std::string> traceLines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(Selection, AReleaseWithoutASelectionInProgressDoesNothing) {
  TraceDirectory trace;
  play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
  ASSERT_EQ(traceLines(trace.file()).size(), 1u);
  const std::string path = menu.path();
  const int chosen = menu.chosen();

  // Released again, twice: no line, and the result stays the mark's.
  mRelease(menu.root, cx + 300, cy);
  mRelease(menu.root, cx - 300, cy);
  // A menu never pressed on.
  PracticeMenu untouched;
  mRelease(untouched.root, cx, cy);

  EXPECT_EQ(traceLines(trace.file()).size(), 1u);
  EXPECT_EQ(menu.path(), path);
  EXPECT_EQ(menu.chosen(), chosen);
  EXPECT_EQ(untouched.path(), "Center");
}

namespace {

// Runs `gesture` for `ms` virtual milliseconds, as a client's loop would,
// then cancels the selection and ends it as a client ends any. Returns the
// root's mode when it was cancelled.
int cancelAfter(platform::SimPlatform& sim, Menu* root, const Gesture& gesture,
                uint32_t ms) {
  gesture.playOn(sim);
  mInit(0, 0, 0, 0, 0, 0);
  platform::InputState in = sim.pollInput();
  mPress(root, in.x, in.y);
  for (uint32_t t = 0; t < ms; t++) {
    sim.advance(1);
    in = sim.pollInput();
    mMotion(root, in.x, in.y);
    mPoll();
  }
  int mode = root->mode;
  mCancel(root);
  mShowConfirmation(root);
  mEraseConfirmation(root);
  mShutdown();
  sim.setInputScript(nullptr);
  return mode;
}

}  // namespace

// A cancelled selection chooses nothing and leaves no trace: its ink or
// menus are taken away, its timer is off, and the next selection is whole.
TEST_F(Selection, CancelTakesTheSelectionAwayWithNothingChosenOrTraced) {
  TraceDirectory trace;
  const QImage screen = sim.screenImage().copy();

  // While marking: the ink goes.
  EXPECT_EQ(
      cancelAfter(sim, menu.root,
                  pressAtCentre().moveTo(cx, cy - 120, 120).release(), 100),
      0);
  EXPECT_EQ(sim.screenImage(), screen);
  EXPECT_EQ(menu.path(), "Center");
  EXPECT_EQ(menu.chosen(), -1);

  // With the root and Food's submenu up and Apple highlighted.
  EXPECT_EQ(cancelAfter(sim, menu.root,
                        pressAtCentre()
                            .rest(200)
                            .moveTo(cx, cy - 90, 60)
                            .rest(300)
                            .moveTo(cx, cy - 160, 60)
                            .release(),
                        600),
            1);
  EXPECT_EQ(sim.screenImage(), screen);
  EXPECT_EQ(menu.path(), "Center");
  EXPECT_EQ(menu.chosen(), -1);

  // The popup timer went with it: resting on shows nothing.
  sim.advance(500);
  mPoll();
  EXPECT_EQ(sim.screenImage(), screen);
  EXPECT_TRUE(traceLines(trace.file()).empty());

  play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
  EXPECT_EQ(menu.path(), "Food, Apple");
  EXPECT_EQ(traceLines(trace.file()).size(), 1u);

  // Nothing in progress: the last result stands; NULL is harmless.
  mCancel(menu.root);
  mCancel(nullptr);
  EXPECT_EQ(menu.path(), "Food, Apple");
  EXPECT_EQ(traceLines(trace.file()).size(), 1u);
}

TEST_F(Selection, ATraceDirectoryMadeOrRemovedCountsFromTheNextInit) {
  TraceDirectory trace;
  std::filesystem::remove_all(trace.path);
  const Gesture mark = pressAtCentre().moveTo(cx, cy - 200, 200).release();
  ReportCapture reports;
  play(mark);
  EXPECT_FALSE(std::filesystem::exists(trace.file()));

  std::filesystem::create_directories(trace.file().parent_path());
  play(mark);
  play(mark);
  EXPECT_EQ(traceLines(trace.file()).size(), 2u);

  // Removed and made again: the new directory gets a file of its own.
  std::filesystem::remove_all(trace.path);
  play(mark);
  std::filesystem::create_directories(trace.file().parent_path());
  play(mark);
  EXPECT_EQ(traceLines(trace.file()).size(), 1u);
  EXPECT_TRUE(reports.all().empty()) << reports.last();
}

TEST_F(Selection, ATracePathTooLongIsRefusedNotShortened) {
  namespace fs = std::filesystem;
  // A directory that exists, whose file's path is just over the limit.
  fs::path dir =
      fs::temp_directory_path() / ("tarvel-long-" + std::to_string(::getpid()));
  fs::path top = dir;
  while (dir.string().size() < 4089 - 101) dir /= std::string(100, 'd');
  dir /= std::string(4089 - dir.string().size() - 1, 'e');
  ASSERT_EQ(dir.string().size(), 4089u);
  fs::create_directories(dir);
  setenv("TARVEL_TRACE_DIR", dir.c_str(), 1);
  mTraceUseBaseForTesting(nullptr);
  {
    ReportCapture reports;
    play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
    play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
    EXPECT_TRUE(fs::is_empty(dir));
    ASSERT_EQ(reports.all().size(), 1u);
    EXPECT_NE(reports.last().find("trace path too long"), std::string::npos)
        << reports.last();
    EXPECT_STREQ(mTraceFile(), "");
  }
  unsetenv("TARVEL_TRACE_DIR");
  mTraceUseBaseForTesting(untracedBase);
  fs::remove_all(top);
}

TEST_F(Selection, ATracePathIsReportedOnOneLine) {
  namespace fs = std::filesystem;
  fs::path base = fs::temp_directory_path() /
                  ("tarvel-line\nbreak-" + std::to_string(::getpid()));
  // A folder where the file should be: the open fails and is reported.
  fs::create_directories(base / "unknown" / "user.trc");
  mTraceUseBaseForTesting(base.c_str());
  {
    ReportCapture reports;
    play(pressAtCentre().moveTo(cx, cy - 200, 200).release());
    ASSERT_EQ(reports.all().size(), 1u);
    std::string line = reports.last();
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_NE(line.find("tarvel-line\\x0abreak-"), std::string::npos) << line;
  }
  mTraceUseBaseForTesting(untracedBase);
  fs::remove_all(base);
}

// A tree whose submenu fields were linked into a loop by hand: selections
// on it end, and the result fits arrays of the depth limit. (What such a
// tree leaves on the screen is not promised.)
TEST(DepthLimit, SelectionsOnALoopLinkedByHandEndInABoundedResult) {
  platform::SimPlatform sim{1280, 1024};
  auto play = [&](const Gesture& g, Menu* root) {
    player::playSelection(sim, root, g);
  };
  auto pressAtCentre = [] { return Gesture(100).press(cx, cy); };
  Menu* root = mCreateMenu();
  for (int p = 0; p < RADIAL_SLOTS; p++)
    mAddItem(root, "Pie", p, 1, 0, 0, 0, 0, 1, 0, 0);
  Menu* child = mNewSubmenu(root, 0);
  for (int p = 0; p < RADIAL_SLOTS; p++)
    mAddItem(child, "Back", p, 2, 0, 0, 0, 0, 1, 0, 0);
  child->submenu[4] = root;
  // A zig-zag north and south, a paused mark and a walk through the menus.
  Gesture zigzag = pressAtCentre();
  for (int k = 0; k < 6; k++) zigzag.moveTo(cx, k % 2 ? cy : cy - 80, 60);
  play(zigzag.release(), root);
  play(pressAtCentre()
           .moveTo(cx, cy - 90, 120)
           .moveTo(cx, cy, 120)
           .rest(500)
           .release(),
       root);
  play(pressAtCentre()
           .rest(200)
           .moveTo(cx, cy - 100, 60)
           .rest(300)
           .moveTo(cx, cy + 20, 60)
           .rest(300)
           .release(),
       root);
  int positions[MENU_DEPTH_LIMIT + 1];
  positions[MENU_DEPTH_LIMIT] = -7;
  EXPECT_LE(
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, nullptr),
      MENU_DEPTH_LIMIT);
  EXPECT_EQ(positions[MENU_DEPTH_LIMIT], -7);
}

// A platform that goes away with a selection open on its screen ends the
// selection: nothing is drawn on the freed screen, and the next platform
// serves the next selection whole.
TEST(PlatformGoing, EndsTheSelectionOpenOnItsScreen) {
  PracticeMenu menu;
  {
    platform::SimPlatform sim{1280, 1024};
    mInit(0, 0, 0, 0, 0, 0);
    mPress(menu.root, cx, cy);
    sim.advance(200);
    mPoll();  // the menu is up, over copies of the screen
    ASSERT_NE(menu.root->mode, 0);
    mMotion(menu.root, cx, cy - 90);
    sim.advance(300);
    mPoll();  // and its submenu
  }           // gone without mShutdown
  uint32_t pixel = 0xFFFFFF;
  EXPECT_EQ(mDrawBeneath(0, 0, 1, 1, &pixel, 4), 0);
  mMotion(menu.root, cx + 50, cy);
  mPoll();
  mRelease(menu.root, cx, cy);
  mShowConfirmation(menu.root);
  mEraseConfirmation(menu.root);
  mShutdown();

  platform::SimPlatform sim{1280, 1024};
  QImage before = sim.screenImage().copy();
  auto out = player::playSelection(
      sim, menu.root,
      Gesture(100).press(cx, cy).moveTo(cx, cy - 200, 200).release());
  EXPECT_EQ(menu.path(), "Food, Apple");
  EXPECT_GT(out.value, 0u);
  EXPECT_EQ(sim.screenImage(), before);
}

// Gone after the release, with the mark's confirmation still drawn.
TEST(PlatformGoing, FreesAConfirmationLeftOnItsScreen) {
  PracticeMenu menu;
  {
    platform::SimPlatform sim{1280, 1024};
    mInit(0, 0, 0, 0, 0, 0);
    mPress(menu.root, cx, cy);
    for (int k = 1; k <= 20; k++) {
      sim.advance(10);
      mMotion(menu.root, cx, cy - 10 * k);
    }
    mRelease(menu.root, cx, cy - 200);
    mShowConfirmation(menu.root);
  }
  mEraseConfirmation(menu.root);
  mShutdown();
  EXPECT_EQ(menu.path(), "Food, Apple");
}

TEST(Reports, GoToStandardErrorUnderTheProgramsNameWithoutAHook) {
  ReportHook hook = mSetReportHook(nullptr);
  testing::internal::CaptureStderr();
  mReportError("list overflow");
  mReportError("can't open %s: %s\n", "x.trc", "No such file");
  std::string text = testing::internal::GetCapturedStderr();
  mSetReportHook(hook);
  std::string name = program_invocation_short_name;
  EXPECT_EQ(text, name + ": list overflow\n" + name +
                      ": can't open x.trc: No such file\n");
}

TEST(Reports, ReachAHookAsOneLineWithoutItsEnding) {
  ReportCapture reports;
  mReportError("can't open %s: %s\n", "x.trc", "No such file");
  mReportError("list overflow\r\n\n");
  mReportError("two\nlines");  // only the ending goes
  mReportError("\n");
  EXPECT_EQ(reports.all(),
            (std::vector<std::string>{"can't open x.trc: No such file",
                                      "list overflow", "two\nlines", ""}));
}

TEST(Monitors, MenusOpenWhollyOnTheMonitorPressedOn) {
  // Two monitors side by side; the second has a panel along its foot.
  platform::SimPlatform sim{2560, 1024};
  sim.setMonitors({{{0, 1279, 0, 1023}, {0, 1279, 0, 1023}},
                   {{1280, 2559, 0, 1023}, {1280, 2559, 0, 979}}});
  PracticeMenu menu;
  QImage before = sim.screenImage().copy();
  struct Watch {
    Menu* root;
    int selectedAtPopup = -1;
  } watch{menu.root};
  auto notePopup = [](void* w) {
    auto* watch = static_cast<Watch*>(w);
    if (watch->selectedAtPopup < 0 && watch->root->mode != 0)
      watch->selectedAtPopup = watch->root->selected;
  };
  // In the middle of the second monitor a click opens the menu at the
  // pointer and selects nothing.
  auto out = player::playSelection(
      sim, menu.root, Gesture().press(1920, 500).rest(400).release(), notePopup,
      &watch);
  EXPECT_EQ(menu.root->centreX, 1920);
  EXPECT_EQ(menu.root->centreY, 500);
  EXPECT_EQ(watch.selectedAtPopup, 0);
  EXPECT_EQ(out.positions[0], -1);
  EXPECT_EQ(menu.path(), "Center");

  // Near its inner edge the menu moves further onto the second monitor,
  // never back onto the first.
  player::playSelection(sim, menu.root,
                        Gesture().press(1330, 500).rest(400).release());
  EXPECT_GE(menu.root->bounds.xmin, 1280);
  EXPECT_GT(menu.root->centreX, 1330);

  // Pressed just inside the second monitor's panel: the menu rises above
  // the panel and stays on that monitor.
  player::playSelection(sim, menu.root,
                        Gesture().press(1920, 1010).rest(400).release());
  EXPECT_EQ(menu.root->centreX, 1920);
  EXPECT_LE(menu.root->bounds.ymax, 979);
  EXPECT_EQ(sim.screenImage(), before);
}

namespace {

// What a menu did, on a screen of pixel ratio r with every gesture scaled
// by r.
struct ScaledRun {
  int restingPopup, restartedPopup;  // ms after the press
  std::string mark, backedUp;
  int backUps;
  Rect east, centreBox;  // relative to the centre
  int radius;
};

ScaledRun runScaled(int r) {
  platform::SimPlatform sim{1280 * r, 1024 * r};
  sim.setDevicePixelRatio(r);
  platform::FontSpec font = sim.menuFont();
  font.pixelSize *= r;
  sim.setMenuFont(font);
  PracticeMenu menu;
  const int x = 640 * r, y = 512 * r;
  struct Watch {
    platform::SimPlatform* sim;
    Menu* root;
    uint32_t press;
    int popped;
  } watch{&sim, menu.root, 0, -1};
  auto note = [](void* w) {
    auto* watch = static_cast<Watch*>(w);
    if (watch->popped < 0 && watch->root->mode != 0)
      watch->popped = int(watch->sim->tickCount() - watch->press);
  };
  auto timed = [&](const Gesture& g) {
    watch.press = sim.tickCount();
    watch.popped = -1;
    player::playSelection(sim, menu.root, g, note, &watch);
    return watch.popped;
  };
  ScaledRun run{};
  run.restingPopup = timed(
      Gesture().press(x, y).moveTo(x + 50 * r, y, 100).rest(400).release());
  run.restartedPopup = timed(
      Gesture().press(x, y).moveTo(x + 60 * r, y, 100).rest(500).release());
  player::playSelection(sim, menu.root,
                        Gesture()
                            .press(x, y)
                            .moveTo(x + 100 * r, y, 120)
                            .moveTo(x + 100 * r, y - 100 * r, 120)
                            .release());
  run.mark = menu.path();
  player::playSelection(sim, menu.root,
                        Gesture()
                            .press(x, y)
                            .rest(200)
                            .moveTo(x, y - 90 * r, 60)
                            .rest(300)
                            .moveTo(x + r, y, 60)
                            .rest(300)
                            .moveTo(x + 120 * r, y, 60)
                            .rest(50)
                            .release());
  run.backedUp = menu.path();
  run.backUps = menu.root->backUpCount;
  Menu* m = menu.root;
  run.east = m->itemRect[2];
  run.centreBox = m->centreBox;
  for (Rect* b : {&run.east, &run.centreBox})
    mRectMove(b, -m->centreX, -m->centreY);
  run.radius = m->radius;
  return run;
}

}  // namespace

TEST(PixelRatio, AtTwiceTheRatioAMenuIsTwiceTheSizeAndBehavesAlike) {
  ScaledRun one = runScaled(1), two = runScaled(2);
  EXPECT_EQ(one.restingPopup, 401);
  EXPECT_EQ(two.restingPopup, one.restingPopup);
  EXPECT_EQ(one.restartedPopup, 100 + 401);
  EXPECT_EQ(two.restartedPopup, one.restartedPopup);
  EXPECT_EQ(one.mark, "Tools, Saw");
  EXPECT_EQ(two.mark, one.mark);
  EXPECT_EQ(one.backedUp, "Tools, Center");
  EXPECT_EQ(two.backedUp, one.backedUp);
  EXPECT_EQ(two.backUps, 1);
  EXPECT_EQ(two.centreBox.xmin, 2 * one.centreBox.xmin);
  EXPECT_EQ(two.centreBox.ymax, 2 * one.centreBox.ymax);
  // Text is measured in the larger font, which need not be exactly twice
  // as wide; every fixed length is.
  EXPECT_EQ(two.east.xmin, 2 * one.east.xmin);
  EXPECT_NEAR(two.east.xmax, 2 * one.east.xmax, 4);
  EXPECT_NEAR(two.east.ymin, 2 * one.east.ymin, 2);
  EXPECT_NEAR(two.east.ymax, 2 * one.east.ymax, 2);
  EXPECT_NEAR(two.radius, 2 * one.radius, 4);
}

// The leg recognizer follows a paused mark into the menus as the standard
// one does.
TEST_F(Selection, TheLegRecognizerFollowsPausedMarksIntoTheMenus) {
  ASSERT_EQ(mSetMarkRecognizer(MARK_RECOGNIZER_LEGS), 1);
  play(pausedZigZag());
  EXPECT_EQ(menu.root->markedAhead, 1);
  EXPECT_NEAR(menu.root->submenu[2]->centreX, cx + 90, 2);
  EXPECT_EQ(menu.path(), "Tools, Saw");

  mSetMarkRecognizer(MARK_RECOGNIZER_STANDARD);
}

// A mark north-east then east as the synthetic hand draws it, slowing into
// its corner: read east, east by the standard recognizer and right by the leg
// recognizer. The recognizer in force at the press reads it, whatever is
// chosen while it is drawn.
TEST_F(Selection, TheRecognizerInForceAtThePressReadsTheMark) {
  Menu* root = mCreateMenu();
  for (int p = 0; p < 8; p++) {
    mAddItem(root, "Item", p, 0, 0, 0, 0, 0, 1, 0, 0);
    Menu* sub = mNewSubmenu(root, p);
    for (int q = 0; q < 8; q++)
      mAddItem(sub, "Leaf", q, uintptr_t(10 * p + q + 1), 0, 0, 0, 0, 1, 0, 0);
  }
  const int mark[][3] = {
      {1, -1, 20},     {2, -2, 30},     {4, -4, 40},     {8, -8, 50},
      {12, -12, 60},   {17, -17, 70},   {23, -23, 80},   {29, -29, 90},
      {35, -35, 100},  {41, -41, 110},  {46, -46, 120},  {51, -51, 130},
      {54, -54, 140},  {57, -57, 150},  {60, -59, 160},  {61, -59, 170},
      {63, -60, 210},  {65, -60, 220},  {69, -61, 230},  {74, -61, 240},
      {81, -61, 250},  {88, -61, 260},  {97, -61, 270},  {106, -61, 280},
      {115, -61, 290}, {124, -61, 300}, {132, -61, 310}, {139, -61, 320},
      {144, -61, 330}, {149, -61, 340}, {152, -61, 350}, {154, -61, 360}};
  auto drawn = [&] {
    Gesture g = pressAtCentre();
    int before = 0;
    for (const auto& m : mark) {
      // The pointer stays put until its next report.
      if (m[2] - before > 10) g.rest(uint32_t(m[2] - before - 10));
      g.moveTo(cx + m[0], cy + m[1], 10);
      before = m[2];
    }
    return g.rest(19).release();
  };
  // Chooses another recognizer after every poll of the selection.
  struct Switch {
    int to;
    static void afterPoll(void* self) {
      mSetMarkRecognizer(static_cast<Switch*>(self)->to);
    }
  };
  auto read = [&](int atPress, int whileDrawn) {
    EXPECT_EQ(mSetMarkRecognizer(atPress), 1);
    Switch change{whileDrawn};
    player::SelectionOutcome o =
        player::playSelection(sim, root, drawn(), &Switch::afterPoll, &change);
    mSetMarkRecognizer(MARK_RECOGNIZER_STANDARD);
    return o.value;
  };
  EXPECT_EQ(read(MARK_RECOGNIZER_STANDARD, MARK_RECOGNIZER_LEGS), 23u);
  EXPECT_EQ(read(MARK_RECOGNIZER_LEGS, MARK_RECOGNIZER_STANDARD), 13u);
}
