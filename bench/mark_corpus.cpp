#include "bench/mark_corpus.h"

#include <cmath>

#include "app/practice_menu.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "display/placement.h"
#include "marks/interpretation.h"

namespace {

constexpr int pressX = 640, pressY = 512;

const char* const names[8] = {"One",  "Two", "Three", "Four",
                              "Five", "Six", "Seven", "Eight"};

void fill(Menu* m, int depth, const std::vector<int>& positions) {
  for (int p : positions) {
    mAddItem(m, names[p], p, depth == 1 ? 1 : 0, 0, 0, 0, 0, 1, 0, 0);
    if (depth > 1) fill(mNewSubmenu(m, p), depth - 1, positions);
  }
}

Menu* uniformTree(int depth, const std::vector<int>& positions) {
  Menu* root = mCreateMenu();
  fill(root, depth, positions);
  return root;
}

// A leaf and the menus along the way to it.
struct Leaf {
  std::vector<Menu*> menus;
  std::vector<int> positions;
};

bool choosable(const Menu* m, int p) {
  return m->label[p][0] != '\0' && mIsEnabled(m, p + 1);
}

void collectLeaves(Menu* m, Leaf path, std::vector<Leaf>* out) {
  for (int p = 0; p < RADIAL_SLOTS; p++) {
    if (!choosable(m, p)) continue;
    Leaf next = path;
    next.menus.push_back(m);
    next.positions.push_back(p);
    if (m->submenu[p])
      collectLeaves(m->submenu[p], next, out);
    else
      out->push_back(next);
  }
}

// Directions nearer to position p than to any other choosable item of m, in
// degrees relative to p's own direction.
void region(const Menu* m, int p, double* low, double* high) {
  int cw = 8, ccw = 8;
  for (int q = 0; q < RADIAL_SLOTS; q++) {
    if (q == p || !choosable(m, q)) continue;
    int ahead = (q - p + 8) % 8, behind = (p - q + 8) % 8;
    if (ahead < cw) cw = ahead;
    if (behind < ccw) ccw = behind;
  }
  *low = -ccw * 45.0 / 2;
  *high = cw * 45.0 / 2;
}

double normalBelow(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// The chance that every leg's direction stays in the region of the items it
// stands for; levels drawn as one leg must all keep it.
double bestPossible(const Leaf& leaf, double sigma) {
  double chance = 1;
  size_t i = 0;
  while (i < leaf.positions.size()) {
    double low = -180, high = 180;
    size_t j = i;
    while (j < leaf.positions.size() &&
           leaf.positions[j] == leaf.positions[i]) {
      double lo, hi;
      region(leaf.menus[j], leaf.positions[j], &lo, &hi);
      low = std::fmax(low, lo);
      high = std::fmin(high, hi);
      j++;
    }
    if (sigma > 0)
      chance *= normalBelow(high / sigma) - normalBelow(low / sigma);
    i = j;
  }
  return chance;
}

}  // namespace

std::vector<CorpusTree> mCorpusTrees() {
  static int itemValues[practiceItemCount];
  std::vector<CorpusTree> trees = {
      {"practice", buildPracticeMenu(itemValues)},
      {"8x2", uniformTree(2, {0, 1, 2, 3, 4, 5, 6, 7})},
      {"4x3", uniformTree(3, {0, 2, 4, 6})},
      {"8x3", uniformTree(3, {0, 1, 2, 3, 4, 5, 6, 7})}};
  mInit(0, 0, 0, 0, 0, 0);
  for (CorpusTree& t : trees) mPlaceMenu(t.root, pressX, pressY);
  mShutdown();
  return trees;
}

MarkModel mCorpusModel(double sigma) {
  MarkModel model;
  model.directionSigma = sigma;
  model.cornerFraction = 0.08;
  model.hookChance = 0.5;
  return model;
}

std::vector<int> mRecognizeSamples(Menu* root,
                                   const std::vector<MarkSample>& samples,
                                   int recognizer) {
  root->pressTime = root->nowTime = samples.empty() ? 0 : samples[0].t;
  mStrokeReset(root);
  strokeOverflow = 0;
  for (const MarkSample& s : samples) {
    root->nowTime = s.t;
    mStrokeAdd(root, s.x, s.y);
  }
  root->releaseTime = root->nowTime;
  PointList stroke;
  mStrokeToList(root->stroke, &stroke);
  mInterpretMark(root, &stroke, recognizer);

  int positions[MENU_DEPTH_LIMIT + 1];
  uintptr_t value = 0;
  int n =
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &value);
  if (n <= 0 || positions[0] < 0) return {};
  return std::vector<int>(positions, positions + n);
}

RowResult mCorpusRow(Menu* root, double sigma, int marks, uint64_t seed) {
  std::vector<Leaf> leaves;
  collectLeaves(root, Leaf{}, &leaves);
  RowResult row;
  row.leaves = int(leaves.size());
  for (const Leaf& leaf : leaves) row.best += bestPossible(leaf, sigma);
  row.best /= double(leaves.size());
  MarkModel model = mCorpusModel(sigma);
  MarkRandom random(seed);
  for (int i = 0; i < marks; i++) {
    const Leaf& leaf = leaves[size_t(random.uniform() * double(leaves.size()))];
    std::vector<double> directions;
    for (int p : leaf.positions) directions.push_back(p * 45.0);
    std::vector<MarkSample> samples =
        generateMark(directions, model, random, pressX, pressY);
    for (int k : {MARK_RECOGNIZER_STANDARD, MARK_RECOGNIZER_LEGS}) {
      std::vector<int> chosen = mRecognizeSamples(root, samples, k);
      if (chosen.empty())
        row.rejected[k]++;
      else if (chosen == leaf.positions)
        row.correct[k]++;
    }
  }
  row.marks = marks;
  return row;
}
