#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "player/sim_gesture.h"
#include "practice_menu.h"
#include "progress/path_labels.h"
#include "progress/progress_source.h"
#include "progress/progress_stats.h"
#include "trace/trace.h"
#include "trace_off.h"

namespace fs = std::filesystem;

namespace {

// A folder of the test's own, removed afterwards.
struct Folder {
  explicit Folder(const std::string& name)
      : path(fs::temp_directory_path() /
             (name + "-" + std::to_string(::getpid()))) {
    fs::create_directories(path);
  }
  ~Folder() { fs::remove_all(path); }
  fs::path path;
};

void write(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

// The environment chooses the trace directory, the library writes into it,
// and what it wrote reads back as the selections made.
TEST(Progress, ReadsBackTheTraceTheLibraryWritesWhereTheEnvironmentSays) {
  Folder folder("tarvel-progress-trace");
  ::setenv("TARVEL_TRACE_DIR", folder.path.c_str(), 1);
  mTraceUseBaseForTesting(nullptr);  // the environment decides again
  EXPECT_EQ(std::string(mTraceFile()), (folder.path / "user.trc").string());

  platform::SimPlatform sim;
  PracticeMenu practice;
  const int cx = 640, cy = 512;
  player::playSelection(
      sim, practice.root,
      player::Gesture().press(cx, cy).moveTo(cx, cy - 200, 200).release());
  player::playSelection(
      sim, practice.root,
      player::Gesture().press(cx, cy).rest(400).release());  // nothing
  TraceLog log = readTrace(mTraceFile());

  ::unsetenv("TARVEL_TRACE_DIR");
  mTraceUseBaseForTesting(untracedBase);
  ASSERT_TRUE(log.opened);
  EXPECT_TRUE(log.skippedLines.empty());
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_FALSE(log.records[0].byMenu);
  EXPECT_EQ(log.records[0].path, "11");
  EXPECT_NEAR(log.records[0].duration, 0.2, 0.011);
  EXPECT_TRUE(log.records[1].byMenu);
  EXPECT_TRUE(choseNothing(log.records[1]));
  EXPECT_EQ(log.records[1].line, 2);
}

// Lines that are no selection are counted by number and never stop the
// reading: cut short, foreign, from another format, damaged.
TEST(Progress, BadLinesAreSkippedWithTheirNumbers) {
  Folder folder("tarvel-progress-bad");
  fs::path file = folder.path / "user.trc";
  write(file,
        "100 m 0.35 11   \n"        // 1 good
        "101 M 1.20 23 c b1 r2 \n"  // 2 good, every extra
        "hello world\n"             // 3 foreign
        "102 x 0.30 11\n"           // 4 neither mark nor menu
        "103 m -1 11\n"             // 5 negative time
        "104 m 0.30 1a\n"           // 6 not a path
        "105 m 0.30 11 r1 b1\n"     // 7 extras out of order
        "106 m nan 11\n"            // 8 not a number
        "\n"                        // 9 empty
        "107 M 0.50 4 b2\n"         // 10 good
        "108 m 0.2");               // 11 cut short: no newline
  TraceLog log = readTrace(file.string());
  ASSERT_TRUE(log.opened);
  EXPECT_EQ(log.error, "");
  ASSERT_EQ(log.records.size(), 3u);
  EXPECT_EQ(log.records[1].backUps, 1);
  EXPECT_EQ(log.records[1].changes, 2);
  EXPECT_TRUE(log.records[1].markedAhead);
  EXPECT_EQ(log.records[2].line, 10);
  EXPECT_EQ(log.skippedLines, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 11}));

  TraceLog missing = readTrace((folder.path / "none.trc").string());
  EXPECT_FALSE(missing.opened);
  EXPECT_NE(missing.error, "");
  TraceLog directory = readTrace(folder.path.string());
  EXPECT_FALSE(directory.opened);
  EXPECT_NE(directory.error, "");
}

TEST(Progress, FiguresOverTheSelections) {
  TraceLog log;
  const double seconds[] = {5, 1, 4, 2, 3, 9, 0.5, 0.4, 0.3, 0.2, 0.1, 0.6};
  for (int i = 0; i < 12; i++) {
    log.records.push_back(TraceRecord{
        .line = i + 1,
        .byMenu = i < 4,  // menus first, then marks
        .duration = seconds[i],
        .path = i == 5 ? "0" : (i % 2 ? "11" : "23"),
        .backUps = i == 2 ? 1 : 0,
    });
  }
  Progress p = progressOf(
      log, [](const std::string& path) { return path == "11" ? "Food" : ""; });
  ASSERT_EQ(p.medianSeconds.size(), 12u);
  EXPECT_EQ(p.medianSeconds[0], 5);
  EXPECT_EQ(p.medianSeconds[1], 3);     // of 5 and 1
  EXPECT_EQ(p.medianSeconds[4], 3);     // of 5 1 4 2 3
  EXPECT_EQ(p.medianSeconds[11], 0.5);  // of the last nine
  ASSERT_EQ(p.markShare.size(), 2u);
  EXPECT_DOUBLE_EQ(p.markShare[0], 0.6);
  EXPECT_DOUBLE_EQ(p.markShare[1], 1.0);
  EXPECT_EQ(p.nothing, (std::vector<int>{1, 0}));
  EXPECT_EQ(p.corrected, (std::vector<int>{1, 0}));
  ASSERT_EQ(p.items.size(), 2u);      // nothing is no item
  EXPECT_EQ(p.items[0].label, "23");  // unnamed: the path; the most used
  EXPECT_EQ(p.items[0].byMenu, 2);
  EXPECT_EQ(p.items[0].byMark, 4);
  EXPECT_EQ(p.items[1].label, "Food");
  EXPECT_EQ(p.items[1].byMenu, 2);
  EXPECT_EQ(p.items[1].byMark, 3);
}

// Paths read through the tree: one or two digits a level, a 0 where a
// level chose nothing, and nothing at all for paths the tree cannot read.
TEST(Progress, PathsAreNamedThroughTheTree) {
  platform::SimPlatform sim;
  PracticeMenu practice;
  EXPECT_EQ(labelPath(practice.root, "11"), "Food > Apple");
  EXPECT_EQ(labelPath(practice.root, "33"), "Tools > Hammer");
  EXPECT_EQ(labelPath(practice.root, "10"), "Food > (nothing)");
  for (const char* unknown : {"", "0", "19", "1a", "111", "99"})
    EXPECT_EQ(labelPath(practice.root, unknown), "") << unknown;
  EXPECT_EQ(labelPath(nullptr, "11"), "");

  // A list row beyond the ninth slot takes two digits.
  Menu* root = mCreateMenu();
  mAddItem(root, "Files", 0, 0, 0, 0, 0, 0, 1, 0, 0);
  Menu* files = mNewSubmenu(root, 0);
  mAddItem(files, "first", 0, 0, 0, 0, 0, 0, 1, 0, 0);
  mAddItem(files, "twelfth", 11, 0, 0, 0, 0, 0, 1, 0, 0);
  EXPECT_EQ(labelPath(root, "112"), "Files > twelfth");
  EXPECT_EQ(labelPath(root, "11"), "Files > first");

  // Named so, a category alone is a selection of nothing, not an item.
  TraceLog log;
  for (const char* path : {"11", "10", "11"}) {
    TraceRecord r;
    r.path = path;
    log.records.push_back(r);
  }
  Progress p = progressOf(log, [&](const std::string& digits) {
    return labelPath(practice.root, digits);
  });
  EXPECT_EQ(p.nothing, (std::vector<int>{1}));
  ASSERT_EQ(p.items.size(), 1u);
  EXPECT_EQ(p.items[0].label, "Food > Apple");
}

// The trainer's record, two sessions of training and laboratory trials with
// a hand-damaged row and a foreign file: per item figures over the last
// trials, laboratory runs with the best of them, a point per session, and
// the damage counted.
TEST(Progress, TheTrainersRecordSessionBySession) {
  Folder folder("tarvel-progress-record");
  const std::string head = std::string("# tarvel test\n") + trialColumns + "\n";
  auto row = [](const char* condition, int block, int trial, bool hit,
                bool mark, int ms) {
    TrialRow r;
    r.participant = "me";
    r.study = "trainer";
    r.condition = condition;
    r.block = block;
    r.trial = trial;
    r.targetPath = "0/0";  // Food > Apple
    r.chosenPath = hit ? "0/0" : "0/4";
    r.hit = hit;
    r.byMark = mark;
    r.targetShownAt = "2026-12-0" + std::to_string(block) + "T10:00:00.000Z";
    r.selectionMs = ms;
    return trialCsvLine(r);
  };
  std::string first = head;
  for (int i = 1; i <= 60; i++)  // training: the first 10 slow, by menu
    first += row("training", 1, i, true, i > 10, i <= 10 ? 2000 : 500);
  first += "me,trainer,training,1,61,0,0/0\n";  // cut by hand
  first += "me,trainer,laboratory,x,1,0,0/0,,0/0,,1,1,0,0,0,,1,1\n";
  for (int i = 1; i <= 10; i++)
    first += row("laboratory", 2, i, i != 3, true, 600);  // 9 hits
  std::string second = head;
  for (int i = 1; i <= 10; i++)
    second += row("laboratory", 3, i, i != 5, true, 400);  // 9 hits, faster
  for (int i = 1; i <= 10; i++)
    second += row("laboratory", 4, i, i > 2, true, 300);  // 8 hits
  fs::create_directories(folder.path / "session-2");
  fs::create_directories(folder.path / "session-10");
  fs::create_directories(folder.path / "session-3");
  write(folder.path / "session-2" / "trials.csv", first);
  write(folder.path / "session-10" / "trials.csv", "hello\n");
  write(folder.path / "session-3" / "trials.csv", second);

  platform::SimPlatform sim;
  PracticeMenu practice;
  ProgressBuilder builder = progressBuilderFor(practice.root);
  std::string error;
  ASSERT_TRUE(readRecordInto(folder.path.string(), &builder, &error));
  Progress p = builder.finish();
  EXPECT_EQ(p.seconds.size(), 90u);
  EXPECT_EQ(p.skipped, 2);
  EXPECT_EQ(p.skippedFiles, 1);
  EXPECT_TRUE(p.targets);
  ASSERT_EQ(p.items.size(), size_t(practiceItemCount));
  const ItemUse& apple = p.items[0];
  EXPECT_EQ(apple.label, "Food > Apple");
  EXPECT_EQ(apple.recent, recentTrials);
  // The last 50: 10 training trials, then 40 laboratory trials, 4 missed.
  EXPECT_DOUBLE_EQ(apple.recentHitRate, 46.0 / 50);
  EXPECT_DOUBLE_EQ(apple.recentMarkShare, 1.0);
  EXPECT_EQ(p.items[1].recent, 0);
  EXPECT_TRUE(std::isnan(p.items[1].recentMedianSeconds));

  ASSERT_EQ(p.runs.size(), 3u);
  EXPECT_EQ(p.runs[0].hits, 9);
  EXPECT_EQ(p.bestRun, 1);  // as many hits as the first, and faster
  EXPECT_DOUBLE_EQ(p.runs[1].meanSeconds, 0.4);
  EXPECT_EQ(p.runs[1].when, "2026-12-03");
  ASSERT_EQ(p.sessions.size(), 2u);  // the foreign file is no session
  EXPECT_EQ(p.sessions[0].selections, 70);
  EXPECT_DOUBLE_EQ(p.sessions[1].hitRate, 17.0 / 20);
  EXPECT_LT(p.sessions[1].medianSeconds, p.sessions[0].medianSeconds);

  // Blocks grow with the record so that charts get few points.
  ProgressBuilder many;
  TraceRecord r;
  r.path = "11";
  for (int i = 0; i < 100000; i++) many.add(r);
  Progress big = many.finish();
  EXPECT_LE(big.markShare.size(), size_t(maxBlocks));
  EXPECT_EQ(big.blockSize * int(big.markShare.size()), 100000);
}
