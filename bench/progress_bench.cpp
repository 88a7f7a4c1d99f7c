// Reading years of a learner's trace: a 1,000,000-line trace file, made
// once in a folder of its own, read and made into the progress figures in
// one pass, as the Progress window and tarvel-report do.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/practice_menu.h"
#include "platform/sim_platform.h"
#include "progress/progress_source.h"

namespace fs = std::filesystem;

namespace {

constexpr int traceLines = 1000000;

// The practice menu's items and a few selections of nothing, by mark and by
// menu, with now and then a back-up, a change or a damaged line.
const std::string& traceFile() {
  static const std::string path = [] {
    fs::path dir = fs::temp_directory_path() /
                   ("tarvel-progress-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string file = (dir / "user.trc").string();
    std::ofstream out(file);
    std::mt19937 random(7);
    const char* paths[] = {"11", "15", "31", "33", "35", "53", "57",
                           "71", "73", "75", "77", "50", "0"};
    double at = 1.7e9;
    char line[96];
    for (int i = 0; i < traceLines; i++) {
      at += 2 + random() % 20 + (i % 500 == 0 ? 7200 : 0);
      if (random() % 1000 == 0) {
        out << "damaged line\n";
        continue;
      }
      int n = std::snprintf(line, sizeof line, "%.0f %c %.2f %s%s%s\n", at,
                            random() % 3 ? 'm' : 'M',
                            0.2 + double(random() % 200) / 100,
                            paths[random() % 13], random() % 20 ? "" : " b1",
                            random() % 15 ? "" : " r2");
      out.write(line, n);
    }
    return file;
  }();
  return path;
}

void ReadAndAggregateMillionLines(benchmark::State& state) {
  platform::SimPlatform sim;
  static int values[practiceItemCount];
  static const Menu* menu = buildPracticeMenu(values);
  const std::string& file = traceFile();
  for (auto _ : state) {
    ProgressBuilder builder = progressBuilderFor(menu);
    std::string error;
    if (!readTraceInto(file, &builder, &error)) state.SkipWithError("unread");
    Progress p = builder.finish();
    benchmark::DoNotOptimize(p.items.size());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * traceLines);
}
BENCHMARK(ReadAndAggregateMillionLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(fs::path(traceFile()).parent_path());
  return 0;
}
