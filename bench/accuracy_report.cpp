// How often the mark recognizer chooses the item a synthetic hand aimed at,
// set beside the best any classifier of leg directions could do under the
// same direction noise. Not a timing: it runs once and prints a table.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/practice_menu.h"
#include "bench/mark_generator.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "display/placement.h"
#include "marks/interpretation.h"
#include "platform/sim_platform.h"

namespace {

constexpr int marksPerRow = 50000;
constexpr uint64_t seed = 20261208;
constexpr int pressX = 640, pressY = 512;
const double sigmas[] = {0, 5, 10, 15};

struct Tree {
  std::string name;
  Menu* root;
};

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

enum Outcome { Correct, Rejected, Wrong };

Outcome recognize(Menu* root, const Leaf& leaf,
                  const std::vector<MarkSample>& samples) {
  root->pressTime = root->nowTime = 0;
  mStrokeReset(root);
  strokeOverflow = 0;
  for (const MarkSample& s : samples) {
    root->nowTime = s.t;
    mStrokeAdd(root, s.x, s.y);
  }
  root->releaseTime = root->nowTime;
  PointList stroke;
  mStrokeToList(root->stroke, &stroke);
  mInterpretMark(root, &stroke);

  int positions[8];
  uintptr_t value = 0;
  int n =
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &value);
  if (positions[0] < 0) return Rejected;
  if (n != int(leaf.positions.size()) || value == 0) return Wrong;
  for (int i = 0; i < n; i++)
    if (positions[i] != leaf.positions[i]) return Wrong;
  return Correct;
}

}  // namespace

int main() {
  std::vector<Tree> trees;
  int itemValues[practiceItemCount];
  {
    platform::SimPlatform sim(1280, 1024);
    mInit(0, 0, 0, 0, 0, 0);
    trees = {{"practice", buildPracticeMenu(itemValues)},
             {"8", uniformTree(1, {0, 1, 2, 3, 4, 5, 6, 7})},
             {"8x8", uniformTree(2, {0, 1, 2, 3, 4, 5, 6, 7})},
             {"4x4x4", uniformTree(3, {0, 2, 4, 6})}};
    for (Tree& t : trees) mPlaceMenu(t.root, pressX, pressY);
    mShutdown();
  }

  MarkModel model;
  std::printf(
      "Mark recognition on synthetic marks: %d marks per row, leaves equally "
      "likely.\nLegs of %.0f px per level (+-%.0f %%), corners cut by %.0f "
      "px, minimum-jerk legs of %.2f s + length / %.0f px/s, sampled at "
      "%.0f Hz.\ncorrect = the aimed leaf chosen; best = the most any "
      "classifier of leg directions can get right; rejected = nothing "
      "chosen.\n\n",
      marksPerRow, model.levelPixels, model.levelSpread * 100,
      model.cornerPixels, model.legStartSeconds, model.pixelsPerSecond,
      model.sampleHz);
  std::printf("%-9s %5s %6s %6s %5s %8s %7s %9s %6s\n", "tree", "depth",
              "leaves", "radius", "sigma", "correct", "best", "rejected",
              "wrong");
  for (const Tree& tree : trees) {
    std::vector<Leaf> leaves;
    collectLeaves(tree.root, Leaf{}, &leaves);
    for (double sigma : sigmas) {
      model.directionSigma = sigma;
      MarkRandom random(seed);
      int counts[3] = {0, 0, 0};
      double best = 0;
      for (const Leaf& leaf : leaves) best += bestPossible(leaf, sigma);
      best /= double(leaves.size());
      for (int i = 0; i < marksPerRow; i++) {
        const Leaf& leaf =
            leaves[size_t(random.uniform() * double(leaves.size()))];
        std::vector<double> directions;
        for (int p : leaf.positions) directions.push_back(p * 45.0);
        counts[recognize(
            tree.root, leaf,
            generateMark(directions, model, random, pressX, pressY))]++;
      }
      auto percent = [](int n) { return 100.0 * n / marksPerRow; };
      std::printf(
          "%-9s %5d %6zu %6d %3.0f deg %7.1f%% %6.1f%% %8.1f%% %5.1f%%\n",
          tree.name.c_str(), mTreeDepth(tree.root), leaves.size(),
          tree.root->radius, sigma, percent(counts[Correct]), 100 * best,
          percent(counts[Rejected]), percent(counts[Wrong]));
      std::fflush(stdout);  // row by row: a full run takes seconds
    }
  }
  return 0;
}
