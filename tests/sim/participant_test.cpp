// The simulated participant answers through the library's own tracking and
// recogniser, and the library's settings and techniques change what a
// selection does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings.h"
#include "player/sim_gesture.h"
#include "player/sim_participant.h"
#include "practice_menu.h"
#include "trace_off.h"

using player::Gesture;
using player::ParticipantStyle;
using player::SimParticipant;

namespace {

constexpr int cx = 640, cy = 512;

// Every test leaves the library as a program that changes nothing finds it.
class Settled : public ::testing::Test {
 protected:
  void TearDown() override {
    mSetSettings(&defaultSettings);
    mSetTechnique(TECHNIQUE_MARKS_AND_MENUS);
  }
  platform::SimPlatform sim{1280, 1024};
};

struct Trial {
  std::vector<int> positions;
  uintptr_t value = 0;
  int poppedAfterMs = -1;  // first menu shown, ms after the press
  uint32_t pressedAfterMs = 0;
};

// One trial as the trainer runs it: waits for the press, then polls until
// the button comes up, a virtual millisecond a pass.
Trial runTrial(platform::SimPlatform& sim, Menu* root) {
  Trial t;
  uint32_t start = sim.tickCount();
  while (!sim.pollInput().buttonsDown && sim.tickCount() - start < 10000)
    sim.advance(1);
  t.pressedAfterMs = sim.tickCount() - start;
  mInit(0, 0, 0, 0, 0, 0);
  platform::InputState in = sim.pollInput();
  uint32_t press = sim.tickCount();
  mPress(root, in.x, in.y);
  while (mButtonsDown() && sim.tickCount() - press < 20000) {
    in = sim.pollInput();
    mMotion(root, in.x, in.y);
    mPoll();
    if (t.poppedAfterMs < 0 && root->mode != 0)
      t.poppedAfterMs = int(sim.tickCount() - press);
    sim.advance(1);
  }
  in = sim.pollInput();
  mRelease(root, in.x, in.y);
  mShowConfirmation(root);
  mEraseConfirmation(root);
  mShutdown();
  int positions[8];
  int n =
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &t.value);
  t.positions.assign(positions, positions + (n < 8 ? n : 8));
  return t;
}

void add(Menu* m, const char* label, int p, uintptr_t value = 1) {
  mAddItem(m, label, p, value, 0, 0, 0, 0, 1, 0, 0);
}

// Eight items at every level, `depth` levels deep.
Menu* fullTree(int depth) {
  Menu* root = mCreateMenu();
  std::vector<Menu*> level{root};
  for (int d = 0; d < depth; d++) {
    std::vector<Menu*> below;
    for (Menu* m : level)
      for (int p = 0; p < RADIAL_SLOTS; p++) {
        add(m, ("item " + std::to_string(p)).c_str(), p);
        if (d + 1 < depth) below.push_back(mNewSubmenu(m, p));
      }
    level = below;
  }
  return root;
}

// Every path from the root to a leaf.
void leafPaths(const Menu* m, std::vector<int> prefix,
               std::vector<std::vector<int>>* out) {
  for (int p = 0; p < m->itemCount; p++) {
    if (!m->label[p][0]) continue;
    prefix.push_back(p);
    if (m->submenu[p])
      leafPaths(m->submenu[p], prefix, out);
    else
      out->push_back(prefix);
    prefix.pop_back();
  }
}

// Answers every leaf of `root` once; returns the paths answered wrong.
std::vector<std::string> wrongAnswers(platform::SimPlatform& sim, Menu* root,
                                      SimParticipant& who, bool byMark,
                                      int rounds = 1) {
  std::vector<std::vector<int>> paths;
  leafPaths(root, {}, &paths);
  std::vector<std::string> wrong;
  for (int r = 0; r < rounds; r++)
    for (const auto& path : paths) {
      who.answer(sim, root, path, byMark, cx, cy);
      Trial t = runTrial(sim, root);
      // A mark slow enough for the menu to come up is no mark.
      bool popped = byMark && t.poppedAfterMs >= 0;
      if (t.positions != path || popped) {
        std::string s;
        for (int p : path) s += std::to_string(p) + " ";
        s += "read as";
        for (int p : t.positions) s += " " + std::to_string(p);
        if (popped) s += " (menu popped up)";
        wrong.push_back(s);
      }
    }
  return wrong;
}

}  // namespace

using SelectionSettings = Settled;
using Participant = Settled;

TEST_F(SelectionSettings, ALongerInitialDelayHoldsTheMenuBack) {
  PracticeMenu menu;
  MarkingMenuSettings s = defaultSettings;
  s.initialPopupDelay = 0.5;
  ASSERT_EQ(mSetSettings(&s), 1);
  Gesture(100).press(cx, cy).rest(800).release().playOn(sim);
  EXPECT_EQ(runTrial(sim, menu.root).poppedAfterMs, 501);
  s.initialPopupDelay = 0;
  mSetSettings(&s);
  Gesture(100).press(cx, cy).rest(100).release().playOn(sim);
  EXPECT_EQ(runTrial(sim, menu.root).poppedAfterMs, 1);
}

TEST_F(SelectionSettings, ASelectionKeepsTheSettingsItWasPressedWith) {
  PracticeMenu menu;
  mInit(0, 0, 0, 0, 0, 0);
  mPress(menu.root, cx, cy);
  MarkingMenuSettings s = defaultSettings;
  s.initialPopupDelay = 2;
  mSetSettings(&s);
  for (int ms = 0; ms < 200; ms++, sim.advance(1)) mPoll();
  EXPECT_NE(menu.root->mode, 0);
  mRelease(menu.root, cx, cy);
  mShutdown();
}

TEST_F(SelectionSettings, ConfirmationTimeIsHowLongAMarksFeedbackStays) {
  PracticeMenu menu;
  for (double seconds : {0.2, 0.05, 1.0}) {
    MarkingMenuSettings s = defaultSettings;
    s.confirmationTime = seconds;
    mSetSettings(&s);
    Gesture(100).press(cx, cy).moveTo(cx, cy - 200, 200).release().playOn(sim);
    runTrial(sim, menu.root);
    // runTrial confirmed at once after the release: measure it again.
    mInit(0, 0, 0, 0, 0, 0);
    uint32_t before = sim.tickCount();
    mShowConfirmation(menu.root);
    EXPECT_EQ(sim.tickCount() - before, uint32_t(seconds * 1000)) << seconds;
    mEraseConfirmation(menu.root);
    mShutdown();
    EXPECT_EQ(menu.chosen(), Apple);
  }
}

TEST_F(SelectionSettings, CascadeRestDecidesWhenAListOpens) {
  Menu* root = mCreateMenu();
  for (int p : {0, 2, 4, 6}) add(root, "Pie", p);
  add(root, "Other", 8);
  add(root, "Recent", 9);
  Menu* recent = mNewSubmenu(root, 9);
  add(recent, "first.txt", 8);
  // Where the rows lie once the menu is up.
  Gesture(100).press(cx, cy).rest(200).release().playOn(sim);
  runTrial(sim, root);
  const Rect other = root->itemRect[8], row = root->itemRect[9];
  int rowX = (row.xmin + row.xmax) / 2;
  auto opensWithin = [&](uint32_t restMs) {
    // Into the list by the row above, then down onto Recent and rest.
    Gesture(100)
        .press(cx, cy)
        .rest(200)
        .moveTo(rowX, (other.ymin + other.ymax) / 2, 100)
        .moveTo(rowX, (row.ymin + row.ymax) / 2, 30)
        .rest(restMs)
        .release()
        .playOn(sim);
    runTrial(sim, root);
    return root->releasedIn == recent;
  };
  EXPECT_FALSE(opensWithin(50));
  EXPECT_TRUE(opensWithin(200));
  MarkingMenuSettings s = defaultSettings;
  s.cascadeRestMs = 600;
  mSetSettings(&s);
  EXPECT_FALSE(opensWithin(400));
  EXPECT_TRUE(opensWithin(800));
  s.cascadeRestMs = 0;
  mSetSettings(&s);
  EXPECT_TRUE(opensWithin(0));
}

TEST_F(SelectionSettings, MenuOnlyPopsUpAtThePressWhateverThePointerDoes) {
  PracticeMenu menu;
  // A quick mark that selects Tools, Saw without the menu.
  Gesture quick = Gesture(100)
                      .press(cx, cy)
                      .moveTo(cx + 100, cy, 60)
                      .moveTo(cx + 100, cy - 100, 60)
                      .release();
  quick.playOn(sim);
  EXPECT_EQ(runTrial(sim, menu.root).poppedAfterMs, -1);
  EXPECT_EQ(menu.chosen(), Saw);
  ASSERT_EQ(mSetTechnique(TECHNIQUE_MENU_ONLY), 1);
  quick.playOn(sim);
  Trial t = runTrial(sim, menu.root);
  EXPECT_EQ(t.poppedAfterMs, 0);
  EXPECT_EQ(menu.root->centreX, cx);
  EXPECT_EQ(menu.root->centreY, cy);
  // No rest anywhere, so no submenu opened: the root's item is all there is.
  EXPECT_EQ(menu.root->releasedIn, menu.root);
  ASSERT_FALSE(t.positions.empty());
  EXPECT_EQ(t.positions[0], 2);
  EXPECT_EQ(t.value, 0u);
}

TEST_F(SelectionSettings, MarksOnlyNeverShowsAMenuAndReadsTheMark) {
  PracticeMenu menu;
  ASSERT_EQ(mSetTechnique(TECHNIQUE_MARKS_ONLY), 1);
  QImage before = sim.screenImage().copy();
  Gesture(100).press(cx, cy).rest(2000).release().playOn(sim);
  Trial still = runTrial(sim, menu.root);
  EXPECT_EQ(still.poppedAfterMs, -1);
  EXPECT_EQ(menu.path(), "Center");
  // A mark paused half way, long enough for its menus in the default.
  Gesture(100)
      .press(cx, cy)
      .moveTo(cx + 90, cy, 120)
      .rest(2000)
      .moveTo(cx + 90, cy - 90, 120)
      .release()
      .playOn(sim);
  Trial paused = runTrial(sim, menu.root);
  EXPECT_EQ(paused.poppedAfterMs, -1);
  EXPECT_EQ(menu.root->markedAhead, 0);
  EXPECT_EQ(menu.path(), "Tools, Saw");
  EXPECT_EQ(sim.screenImage(), before);
}

namespace {

// Notes the deadlines tracking announces.
class DeadlineWatch : public platform::SimPlatform {
 public:
  void wakeBy(uint64_t us) override { deadlines.push_back(us); }
  std::vector<uint64_t> deadlines;
};

}  // namespace

TEST(SelectionDeadlines, OnlyAPopupThatWillComeIsAnnounced) {
  DeadlineWatch sim;
  PracticeMenu menu;
  auto holdStill = [&] {
    sim.deadlines.clear();
    Gesture(100).press(cx, cy).rest(300).release().playOn(sim);
    return runTrial(sim, menu.root);
  };
  uint64_t pressUs = sim.microseconds();
  Trial t = holdStill();
  ASSERT_FALSE(sim.deadlines.empty());
  // The first is the popup's, 0.15 s and a microsecond after the press.
  EXPECT_EQ(sim.deadlines.front(), pressUs + 150001);
  EXPECT_EQ(t.poppedAfterMs, 151);
  mSetTechnique(TECHNIQUE_MARKS_ONLY);
  t = holdStill();
  EXPECT_EQ(t.poppedAfterMs, -1);
  EXPECT_TRUE(sim.deadlines.empty());
  mSetTechnique(TECHNIQUE_MARKS_AND_MENUS);
}

TEST_F(Participant, ReadsRightByMarkAtNoNoise) {
  SimParticipant who(1, ParticipantStyle{});
  PracticeMenu menu;
  EXPECT_EQ(wrongAnswers(sim, menu.root, who, true, 4),
            std::vector<std::string>{});
  EXPECT_EQ(wrongAnswers(sim, fullTree(2), who, true),
            std::vector<std::string>{});
  EXPECT_EQ(wrongAnswers(sim, fullTree(3), who, true),
            std::vector<std::string>{});
}

TEST_F(Participant, ReadsRightByMenuAtNoNoise) {
  SimParticipant who(2, ParticipantStyle{});
  PracticeMenu menu;
  EXPECT_EQ(wrongAnswers(sim, menu.root, who, false),
            std::vector<std::string>{});
  EXPECT_EQ(wrongAnswers(sim, fullTree(2), who, false),
            std::vector<std::string>{});
  // A pie with a list under it, one row cascading into another list.
  Menu* mixed = mCreateMenu();
  for (int p : {0, 2, 4, 6}) add(mixed, "Pie", p);
  Menu* pie = mNewSubmenu(mixed, 2);
  add(pie, "North", 0);
  add(pie, "South", 4);
  add(mixed, "Other", 8);
  add(mixed, "Recent", 9);
  Menu* recent = mNewSubmenu(mixed, 9);
  add(recent, "first.txt", 8);
  add(recent, "second.txt", 9);
  EXPECT_EQ(wrongAnswers(sim, mixed, who, false), std::vector<std::string>{});
}

TEST_F(Participant, NoiseMakesSomeMarksWrongButNotMost) {
  ParticipantStyle sloppy;
  sloppy.noiseDegrees = 30;
  SimParticipant who(3, sloppy);
  PracticeMenu menu;
  size_t wrong = wrongAnswers(sim, menu.root, who, true, 4).size();
  EXPECT_GT(wrong, 0u);
  EXPECT_LT(wrong, 22u);  // of 44
}

TEST_F(Participant, TheSameSeedScriptsTheSameHand) {
  PracticeMenu menu;
  ParticipantStyle style;
  style.noiseDegrees = 20;
  // What polls see over the next two seconds, once a millisecond.
  auto script = [&](uint64_t seed, uint32_t* reaction) {
    SimParticipant who(seed, style);
    std::vector<platform::InputState> seen;
    for (int trial = 0; trial < 3; trial++) {
      *reaction = who.answer(sim, menu.root, {2, 0}, true, cx, cy);
      for (int ms = 0; ms < 2000; ms++, sim.advance(1))
        seen.push_back(sim.pollInput());
    }
    return seen;
  };
  auto key = [](const std::vector<platform::InputState>& v) {
    std::vector<int> k;
    for (const auto& in : v) k.insert(k.end(), {in.x, in.y, in.buttonsDown});
    return k;
  };
  uint32_t reaction = 0, again = 0;
  auto first = key(script(7, &reaction));
  EXPECT_EQ(key(script(7, &again)), first);
  EXPECT_EQ(again, reaction);
  EXPECT_NE(key(script(8, &again)), first);
}

TEST_F(Participant, WaitsItsReactionTimeBeforePressing) {
  PracticeMenu menu;
  ParticipantStyle quick;
  quick.reactionMs = 100;  // below what anyone manages
  quick.reactionSpreadMs = 200;
  SimParticipant who(11, quick);
  uint32_t shortest = UINT32_MAX;
  for (int trial = 0; trial < 20; trial++) {
    uint32_t reaction = who.answer(sim, menu.root, {0, 0}, trial % 2, cx, cy);
    shortest = std::min(shortest, reaction);
    EXPECT_EQ(runTrial(sim, menu.root).pressedAfterMs, reaction);
    EXPECT_EQ(menu.chosen(), Apple);
  }
  EXPECT_EQ(shortest, 150u);
}
