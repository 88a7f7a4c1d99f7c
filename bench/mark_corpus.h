// The corpus the two mark recognizers are measured on: four trees, marks
// drawn by the hand of mark_generator.h at four levels of direction noise,
// each read by both recognizers and set beside the best any classifier of
// leg directions could do. bench_accuracy prints it; the unit tests hold
// the leg recognizer to it.
//
// How a row is made: the leaf aimed at is drawn uniformly from the tree's
// leaves; each level adds 80 pixels of leg, varied uniformly by up to 25 %,
// successive levels in one direction drawn as one straight leg; each leg's
// direction gets normal noise of deviation sigma; every corner is rounded
// by a quadratic curve over 8 % of the shorter leg on either side; half the
// marks start with a hook and half end with one (independently): a 4 to 12
// pixel flick turned 60 to 150 degrees off the leg; legs are minimum-jerk
// reaches sampled every 10 ms, rounded to whole pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/mark_generator.h"
#include "menu/marking_menu.h"

// The trees, built and placed on the simulated screen (which fixes the
// root radius the length test uses): the practice menu, 8 x 2, 4 x 3 and
// 8 x 3. Needs a platform; placed with mInit and mShutdown.
struct CorpusTree {
  std::string name;
  Menu* root;
};
std::vector<CorpusTree> mCorpusTrees();

inline constexpr double corpusSigmas[] = {0, 5, 10, 15};
inline constexpr uint64_t corpusSeed = 20261209;

// The hand of the corpus at direction noise `sigma` degrees.
MarkModel mCorpusModel(double sigma);

struct RowResult {
  int marks = 0;
  int leaves = 0;
  int correct[2] = {0, 0};   // by recognizer: standard, legs
  int rejected[2] = {0, 0};  // nothing chosen
  double best = 0;           // share any classifier of directions can get
  double percent(int n) const { return marks ? 100.0 * n / marks : 0; }
};

// `marks` marks on `root` at `sigma`, from `seed`, read by both recognizers.
RowResult mCorpusRow(Menu* root, double sigma, int marks, uint64_t seed);

// Reads `samples` (the press first, the release last) as a mark on `root`
// with `recognizer`, as a release with no menu shown does; the chosen
// positions, from the root down, empty when nothing was chosen.
std::vector<int> mRecognizeSamples(Menu* root,
                                   const std::vector<MarkSample>& samples,
                                   int recognizer);
