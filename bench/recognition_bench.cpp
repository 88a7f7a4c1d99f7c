#include <benchmark/benchmark.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "app/practice_menu.h"
#include "core/stroke.h"
#include "marks/interpretation.h"

namespace {

struct XY {
  double x, y;
};

// Records `count` positions spread evenly along the polyline into the
// root's stroke, 10 ms apart as the trainer samples, and converts it.
void record(Menu* root, std::initializer_list<XY> corners, int count,
            PointList* stroke) {
  std::vector<XY> c(corners);
  std::vector<double> arc{0};
  for (size_t i = 1; i < c.size(); i++)
    arc.push_back(arc.back() +
                  std::hypot(c[i].x - c[i - 1].x, c[i].y - c[i - 1].y));
  root->pressTime = 0;
  mStrokeReset(root);
  strokeOverflow = 0;
  for (int k = 0; k < count; k++) {
    double s = arc.back() * k / (count - 1);
    size_t i = 1;
    while (i + 1 < c.size() && arc[i] < s) i++;
    double f = (s - arc[i - 1]) / (arc[i] - arc[i - 1]);
    root->nowTime = 0.01 * k;
    mStrokeAdd(root,
               int(std::lround(640 + c[i - 1].x + (c[i].x - c[i - 1].x) * f)),
               int(std::lround(512 + c[i - 1].y + (c[i].y - c[i - 1].y) * f)));
  }
  root->releaseTime = root->nowTime;
  mStrokeToList(root->stroke, stroke);
}

void fill(Menu* m, int depth) {
  for (int p : {0, 2, 4, 6}) {
    mAddItem(m, "Item", p, depth == 1 ? 1 : 0, 0, 0, 0, 0, 1, 0, 0);
    if (depth > 1) fill(mNewSubmenu(m, p), depth - 1);
  }
}

// The recognizer is the benchmark's argument: 0 the standard one, 1 legs.
void interpret(benchmark::State& state, Menu* root, const PointList& stroke,
               int expectedDepth) {
  int recognizer = int(state.range(0));
  for (auto _ : state) {
    mInterpretMark(root, &stroke, recognizer);
    benchmark::DoNotOptimize(root->selected);
  }
  int positions[8];
  if (mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr,
                 nullptr) != expectedDepth ||
      positions[expectedDepth - 1] < 0)
    state.SkipWithError("the mark was not recognized");
}

// Tools, then Saw: right and up, 60 positions.
void TwoLevels60Points(benchmark::State& state) {
  static int itemValues[practiceItemCount];
  Menu* root = buildPracticeMenu(itemValues);
  root->radius = 46;
  PointList stroke;
  record(root, {{0, 0}, {90, 0}, {90, -90}}, 60, &stroke);
  interpret(state, root, stroke, 2);
}
BENCHMARK(TwoLevels60Points)
    ->Arg(MARK_RECOGNIZER_STANDARD)
    ->Arg(MARK_RECOGNIZER_LEGS);

// Three legs, 128 positions, in a tree of four items per level.
void ThreeLevels128Points(benchmark::State& state) {
  Menu* root = mCreateMenu();
  fill(root, 3);
  root->radius = 46;
  PointList stroke;
  record(root, {{0, 0}, {0, -120}, {120, -120}, {120, -240}}, 128, &stroke);
  interpret(state, root, stroke, 3);
}
BENCHMARK(ThreeLevels128Points)
    ->Arg(MARK_RECOGNIZER_STANDARD)
    ->Arg(MARK_RECOGNIZER_LEGS);

// Three levels in two legs, the second drawn twice as long: the six
// candidate splits are all tried.
void ThreeLevels128PointsRepaired(benchmark::State& state) {
  Menu* root = mCreateMenu();
  fill(root, 3);
  root->radius = 46;
  PointList stroke;
  record(root, {{0, 0}, {0, -120}, {240, -120}}, 128, &stroke);
  interpret(state, root, stroke, 3);
}
BENCHMARK(ThreeLevels128PointsRepaired)
    ->Arg(MARK_RECOGNIZER_STANDARD)
    ->Arg(MARK_RECOGNIZER_LEGS);

}  // namespace
