// How often each mark recognizer chooses the item a synthetic hand aimed
// at, side by side, with the best any classifier of leg directions could do
// under the same direction noise (bench/mark_corpus.h says how the marks are
// made). Not a timing: it runs once and prints a table.
//
// With --strokes FILE it replays recorded strokes instead: FILE is a
// strokes.csv with its trials.csv beside it, each mark read by both
// recognizers on the practice menu (or, with --study STUDY, on the menu of
// its trial's condition), accuracy printed per target depth.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/mark_corpus.h"
#include "bench/stroke_replay.h"
#include "core/menu_tree.h"
#include "platform/sim_platform.h"

namespace {

constexpr int marksPerRow = 5000;

int corpusTable() {
  platform::SimPlatform sim(1280, 1024);
  std::vector<CorpusTree> trees = mCorpusTrees();
  std::printf(
      "Mark recognition on synthetic marks: %d marks per row, leaves equally "
      "likely, seed %llu.\nLegs of 80 px per level (+-25 %%), corners "
      "rounded over 8 %% of each leg, a hook at the start of half the marks "
      "and at the end of half,\nminimum-jerk legs sampled at 100 Hz. "
      "Percent of marks that chose the aimed leaf; limit = the most any "
      "classifier of leg directions gets right.\n\n",
      marksPerRow, (unsigned long long)corpusSeed);
  std::printf("%-9s %5s %6s %6s %5s %9s %7s %6s %9s %9s\n", "tree", "depth",
              "leaves", "radius", "sigma", "standard", "legs", "limit",
              "rejected", "rejected");
  std::printf("%-9s %5s %6s %6s %5s %9s %7s %6s %9s %9s\n", "", "", "", "", "",
              "", "", "", "standard", "legs");
  for (const CorpusTree& tree : trees) {
    for (double sigma : corpusSigmas) {
      RowResult row = mCorpusRow(tree.root, sigma, marksPerRow, corpusSeed);
      std::printf(
          "%-9s %5d %6d %6d %3.0f deg %8.1f%% %6.1f%% %5.1f%% %8.1f%% "
          "%8.1f%%\n",
          tree.name.c_str(), mTreeDepth(tree.root), row.leaves,
          tree.root->radius, sigma, row.percent(row.correct[0]),
          row.percent(row.correct[1]), 100 * row.best,
          row.percent(row.rejected[0]), row.percent(row.rejected[1]));
      std::fflush(stdout);  // row by row: a full run takes seconds
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return corpusTable();
  if (argc == 3 && std::strcmp(argv[1], "--strokes") == 0)
    return replayStrokesReport(argv[2], nullptr);
  if (argc == 5 && std::strcmp(argv[1], "--strokes") == 0 &&
      std::strcmp(argv[3], "--study") == 0)
    return replayStrokesReport(argv[2], argv[4]);
  std::fprintf(stderr, "usage: %s [--strokes STROKES.CSV [--study FILE]]\n",
               argv[0]);
  return 2;
}
