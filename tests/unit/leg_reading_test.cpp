// The leg recognizer: its accuracy on the synthetic corpus, and the checks
// it shares with the standard recognizer (rejections, repair, refusal).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/mark_corpus.h"
#include "bench/stroke_replay.h"
#include "display/placement.h"
#include "mark_paths.h"
#include "marks/leg_reading.h"
#include "platform/sim_platform.h"
#include "practice_menu.h"
#include "progress/trial_log.h"
#include "report_capture.h"

namespace {

// What a well-known peer recognizer gets on the same kind of marks, percent
// exact, by tree and sigma 0, 5, 10, 15 degrees.
struct Goal {
  const char* tree;
  double peer[4];
};
constexpr Goal goals[] = {{"practice", {100.0, 100.0, 98.0, 93.2}},
                          {"8x2", {99.8, 99.6, 93.2, 72.0}},
                          {"4x3", {99.8, 99.8, 94.8, 88.8}},
                          {"8x3", {99.2, 98.6, 89.2, 62.2}}};

constexpr int marksPerRow = 300;

}  // namespace

// Every row: at least the peer, all right without noise or at 5 degrees,
// and never more than a point below the standard recognizer.
TEST(LegRecognizer, CorpusRowsReachTheirGoals) {
  platform::SimPlatform sim(1280, 1024);
  std::vector<CorpusTree> trees = mCorpusTrees();
  ASSERT_EQ(trees.size(), std::size(goals));
  for (size_t t = 0; t < trees.size(); t++) {
    ASSERT_EQ(trees[t].name, goals[t].tree);
    for (int s = 0; s < 4; s++) {
      double sigma = corpusSigmas[s];
      RowResult row = mCorpusRow(trees[t].root, sigma, marksPerRow, corpusSeed);
      double standard = row.percent(row.correct[0]);
      double legs = row.percent(row.correct[1]);
      SCOPED_TRACE(trees[t].name + " at " + std::to_string(int(sigma)) +
                   " degrees");
      EXPECT_GE(legs, goals[t].peer[s]);
      EXPECT_GE(legs, standard - 1.0);
      if (sigma <= 5) {
        EXPECT_EQ(legs, 100.0);
      }
    }
  }
}

struct LegMarks : ::testing::Test {
  PracticeMenu practice;
  void SetUp() override { practice.root->radius = 46; }
  std::string draw(const std::vector<Point>& mark) {
    drawMark(practice.root, mark, MARK_RECOGNIZER_LEGS);
    return practice.path();
  }
};

TEST_F(LegMarks, RejectsWhatTheStandardRecognizerRejects) {
  auto rejected = [&](const std::vector<Point>& mark) {
    EXPECT_EQ(draw(walk({{0, 0}, {0, -200}})), "Food, Apple");
    return draw(mark);
  };
  EXPECT_EQ(rejected(walk({{0, 0}, {15, 0}})), "Center");  // too short
  EXPECT_EQ(rejected(walk({{0, 0}, {0, -200}}, 200, 20000)), "Center");
  EXPECT_EQ(rejected(walk({{0, 0}, {0, -200}}, 1)), "Center");  // overflow
  EXPECT_EQ(strokeOverflow, 1);
  EXPECT_EQ(rejected(walk({{0, 0}, {0, -80}, {80, -80}, {80, -160}})),
            "Center");  // three legs in two levels
  EXPECT_EQ(rejected(walk({{0, 0}, {8, 6}, {0, 10}, {6, 2}})), "Center");
}

TEST_F(LegMarks, ReadsRoundedCornersHooksAndRepairsOneLeg) {
  // One straight leg for two levels in one direction: cut in two.
  EXPECT_EQ(draw(walk({{0, 0}, {0, -200}})), "Food, Apple");
  EXPECT_EQ(draw(walk({{0, 0}, {0, -100}, {0, 0}})), "Food, Banana");
  // East then north, the corner cut over 12 pixels of each leg and a hook
  // of 8 pixels back to the south-west at the release.
  EXPECT_EQ(draw(walk({{0, 0}, {88, 0}, {100, -12}, {100, -100}, {94, -94}})),
            "Tools, Saw");
  // A hook at the press that points away from the first leg.
  EXPECT_EQ(draw(walk({{0, 0}, {-5, -5}, {95, -5}, {95, -95}})), "Tools, Saw");

  PointList stroke = listOf(walk({{0, 0}, {100, 0}, {100, -100}}));
  LegReading r = mReadLegs(practice.root, &stroke);
  ASSERT_EQ(r.corners.size(), 1u);
  EXPECT_NEAR(r.corners[0].turnDegrees, 90, 1);
  EXPECT_NEAR(r.corners[0].at.x, 100, 2);
  ASSERT_EQ(r.legs.size(), 2u);
  EXPECT_NEAR(r.legs[0].directionDegrees, 0, 0.5);
  EXPECT_NEAR(r.legs[1].directionDegrees, 90, 0.5);
  // Nothing to read: no crash, an empty reading.
  PointList one = listOf({{3, 4}});
  PointList bad = listOf({{0, 0}, {NAN, 5}, {10, 10}});
  EXPECT_TRUE(mReadLegs(practice.root, &one).legs.empty());
  EXPECT_TRUE(mReadLegs(practice.root, &bad).legs.empty());
  EXPECT_TRUE(mReadLegs(nullptr, &stroke).legs.empty());
}

TEST(LegRecognizer, UnknownKindIsRefusedAndTheCurrentKept) {
  EXPECT_EQ(mGetMarkRecognizer(), MARK_RECOGNIZER_STANDARD);
  ASSERT_EQ(mSetMarkRecognizer(MARK_RECOGNIZER_LEGS), 1);
  for (int kind : {-1, 2, 1000}) {
    ReportCapture reports;
    EXPECT_EQ(mSetMarkRecognizer(kind), 0);
    EXPECT_EQ(mGetMarkRecognizer(), MARK_RECOGNIZER_LEGS);
    ASSERT_EQ(reports.all().size(), 1u);
    EXPECT_NE(reports.last().find(std::to_string(kind)), std::string::npos);
  }
  EXPECT_EQ(mSetMarkRecognizer(MARK_RECOGNIZER_STANDARD), 1);
}

// Recorded marks replayed through both recognizers, bad rows named and
// left out.
TEST(LegRecognizer, RecordedStrokesAreReplayedByTargetDepth) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() /
                 ("tarvel-replay-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto trial = [](int n, const char* target, bool byMark) {
    TrialRow t;
    t.participant = "P1";
    t.condition = "c";
    t.block = 1;
    t.trial = n;
    t.targetPath = target;
    t.byMark = byMark;
    return trialCsvLine(t);
  };
  auto sample = [](int n, int ms, int x, int y) {
    return strokeCsvLine({"P1", "c", 1, n, ms, x, y});
  };
  std::ofstream(dir / "trials.csv")
      << "# tarvel test\n"
      << trialColumns << "\n"
      << trial(1, "2/0", true)   // Tools, Saw: east then north
      << trial(2, "0/0", true)   // no samples
      << trial(3, "2/0", false)  // chosen in the menu: not replayed
      << trial(4, "2/x", true);  // no path
  std::string strokes = "# tarvel test\n" + std::string(strokeColumns) + "\n";
  for (int i = 0; i <= 20; i++) strokes += sample(1, 10 * i, 5 * i, 0);
  strokes += "P1,c,1,1,215,far,0\n";  // line 24
  for (int i = 1; i <= 20; i++) strokes += sample(1, 210 + 10 * i, 100, -5 * i);
  std::ofstream(dir / "strokes.csv") << strokes;

  platform::SimPlatform sim(1280, 1024);
  PracticeMenu practice;
  mInit(0, 0, 0, 0, 0, 0);
  mPlaceMenu(practice.root, 640, 512);
  mShutdown();
  ReplayResult r =
      mReplayStrokes(practice.root, (dir / "strokes.csv").string());
  fs::remove_all(dir);
  ASSERT_TRUE(r.read) << r.error;
  ASSERT_EQ(r.depths.size(), 1u);
  EXPECT_EQ(r.depths[0].depth, 2);
  EXPECT_EQ(r.depths[0].marks, 1);
  EXPECT_EQ(r.depths[0].correct[0], 1);
  EXPECT_EQ(r.depths[0].correct[1], 1);
  ASSERT_EQ(r.skipped.size(), 3u);
  EXPECT_NE(r.skipped[0].find("strokes.csv:24: field x"), std::string::npos)
      << r.skipped[0];
  EXPECT_NE(r.skipped[1].find("/1/2: no stroke"), std::string::npos);
  EXPECT_NE(r.skipped[2].find("target path 2/x"), std::string::npos);

  EXPECT_FALSE(
      mReplayStrokes(practice.root, (dir / "strokes.csv").string()).read);
}

// Marks drawn like a person's through the real trainer: the leg recognizer
// reads at least as many of them right as the standard one, and neither
// falls below what it reads today.
TEST(LegRecognizer, ReadsTheRecordedHumanMarksAtLeastAsWell) {
  platform::SimPlatform sim(1280, 1024);
  PracticeMenu practice;
  mInit(0, 0, 0, 0, 0, 0);
  mPlaceMenu(practice.root, 640, 512);
  mShutdown();
  ReplayResult r = mReplayStrokes(
      practice.root, TARVEL_TEST_DATA "/human-strokes/strokes.csv");
  ASSERT_TRUE(r.read) << r.error;
  EXPECT_TRUE(r.skipped.empty());
  ASSERT_EQ(r.depths.size(), 1u);
  const ReplayDepth& d = r.depths[0];
  EXPECT_EQ(d.marks, 301);
  EXPECT_GE(d.correct[1], d.correct[0]);
  EXPECT_GE(d.correct[0], 265);
  EXPECT_GE(d.correct[1], 279);
}
