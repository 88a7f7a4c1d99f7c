#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "player/sim_gesture.h"
#include "practice_menu.h"
#include "progress/path_labels.h"
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
