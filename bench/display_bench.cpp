#include <benchmark/benchmark.h>

#include "app/practice_menu.h"
#include "display/drawing.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "display/save_under.h"
#include "platform/sim_platform.h"

namespace {

// Saving 200 x 200 pixels and putting them back, on a 1920 x 1080 screen.
void SaveAndRestore200(benchmark::State& state) {
  platform::SimPlatform sim(1920, 1080);
  mInit(0, 0, 0, 0, 0, 0);
  static SaveStack stack{};
  for (auto _ : state) {
    mSaveRect(&stack, 800, 400, 200, 200);
    mRestoreAll(&stack);
  }
  mShutdown();
}
BENCHMARK(SaveAndRestore200);

// Placing, laying out and drawing the practice menu's root as it pops up,
// then taking it away again.
void ShowPracticeRoot(benchmark::State& state) {
  platform::SimPlatform sim(1920, 1080);
  mInit(0, 0, 0, 0, 0, 0);
  static int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  for (auto _ : state) {
    mPlaceMenu(root, 960, 540);
    mShowMenu(root, 960, 540);
    mFlush();
    state.PauseTiming();
    mEraseMenu(root);
    state.ResumeTiming();
  }
  mShutdown();
}
BENCHMARK(ShowPracticeRoot)->Unit(benchmark::kMicrosecond);

// The pointer moving inside one sector: the band is restored and drawn
// again on every call.
void TrackRadialInOneSector(benchmark::State& state) {
  platform::SimPlatform sim(1920, 1080);
  mInit(0, 0, 0, 0, 0, 0);
  static int values[practiceItemCount];
  Menu* root = buildPracticeMenu(values);
  mPlaceMenu(root, 960, 540);
  mShowMenu(root, 960, 540);
  int step = 0;
  for (auto _ : state) {
    step = (step + 1) % 40;
    mTrackRadial(root, 960 + step % 7, 440 - step);
    mFlush();
  }
  mEraseMenu(root);
  mShutdown();
}
BENCHMARK(TrackRadialInOneSector);

}  // namespace
