#include <benchmark/benchmark.h>

#include "display/drawing.h"
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

}  // namespace
