#include <benchmark/benchmark.h>

#include "app/practice_menu.h"
#include "player/sim_gesture.h"

namespace {

constexpr int cx = 960, cy = 540;

// One motion call while marking: the stroke grows and its ink is drawn.
void MotionWhileMarking(benchmark::State& state) {
  platform::SimPlatform sim(1920, 1080);
  static int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  mInit(0, 0, 0, 0, 0, 0);
  int i = 0;
  for (auto _ : state) {
    if (i % 100 == 0) {
      state.PauseTiming();
      if (i) mRelease(root, cx, cy - 100);
      mPress(root, cx, cy);
      state.ResumeTiming();
    }
    i++;
    sim.advance(10);
    mMotion(root, cx + (i % 2) * 3, cy - (i % 100));
  }
  mShutdown();
}
BENCHMARK(MotionWhileMarking);

// Presses on `root`, holds until the menu is up, then runs `move` over it.
template <typename Move>
void motionInMenu(benchmark::State& state, Menu* root, Move move) {
  platform::SimPlatform sim(1920, 1080);
  mInit(0, 0, 0, 0, 0, 0);
  mPress(root, cx, cy);
  sim.advance(200);
  mMotion(root, cx, cy + 1);
  mPoll();
  int i = 0;
  for (auto _ : state) {
    i++;
    move(root, i);
  }
  mRelease(root, cx, cy);
  mShutdown();
}

// The rubber band following the pointer in one sector of the root.
void MotionInRadialMenu(benchmark::State& state) {
  static int values[practiceItemCount];
  motionInMenu(state, buildPracticeMenu(values), [](Menu* root, int i) {
    mMotion(root, cx + i % 9, cy - 60 - i % 13);
  });
}
BENCHMARK(MotionInRadialMenu);

// Moving up and down a list.
void MotionInList(benchmark::State& state) {
  Menu* list = mCreateMenu();
  for (int p = 8; p < 20; p++)
    mAddItem(list, "A row of the list", p, 1, 0, 0, 0, 0, 1, 0, 0);
  motionInMenu(state, list, [](Menu* root, int i) {
    mMotion(root, cx + 30, cy + 10 + (i * 7) % 200);
  });
}
BENCHMARK(MotionInList);

// Whole selections, press to result, in virtual time.
void SelectionByMark(benchmark::State& state) {
  platform::SimPlatform sim(1920, 1080);
  static int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  player::Gesture g = player::Gesture()
                          .press(cx, cy)
                          .moveTo(cx + 100, cy, 120)
                          .moveTo(cx + 100, cy - 100, 120)
                          .release();
  for (auto _ : state) player::playSelection(sim, root, g);
}
BENCHMARK(SelectionByMark)->Unit(benchmark::kMicrosecond);

void SelectionByMenu(benchmark::State& state) {
  platform::SimPlatform sim(1920, 1080);
  static int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  player::Gesture g = player::Gesture()
                          .press(cx, cy)
                          .rest(200)
                          .moveTo(cx + 90, cy, 60)
                          .rest(300)
                          .moveTo(cx + 90, cy - 70, 60)
                          .rest(50)
                          .release();
  for (auto _ : state) player::playSelection(sim, root, g);
}
BENCHMARK(SelectionByMenu)->Unit(benchmark::kMicrosecond);

}  // namespace
