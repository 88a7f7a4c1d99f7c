// A pilot of a study the size labs run: 4 conditions x 4 blocks x 16
// trials for 24 simulated participants, logs written, on one core.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "study/pilot.h"

namespace {

Study breadthDepth() {
  Study s;
  s.name = "bench";
  s.file = "bench.json";
  const int shapes[][2] = {{4, 2}, {8, 2}, {4, 3}, {8, 1}};
  for (const auto& [breadth, depth] : shapes) {
    StudyMenu m;
    m.name = std::to_string(breadth) + "x" + std::to_string(depth);
    m.kind = StudyMenu::Kind::Generated;
    m.breadth = breadth;
    m.depth = depth;
    s.menus.push_back(m);
    StudyCondition c;
    c.name = m.name;
    c.menu = m.name;
    s.conditions.push_back(c);
  }
  s.design.blocks = 4;
  s.design.trialsPerBlock = 16;
  s.design.conditionOrder = ConditionOrder::LatinSquare;
  return s;
}

void BM_Pilot24Participants(benchmark::State& state) {
  Study study = breadthDepth();
  for (auto _ : state) {
    QTemporaryDir dir;
    PilotOptions options;
    options.participants = 24;
    options.noiseDegrees = 10;
    options.output = dir.path().toStdString();
    PilotResult result;
    std::string error;
    if (!mRunPilot(study, options, &result, &error))
      state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(result.scores.data());
  }
  state.SetItemsProcessed(state.iterations() * 24 * 4 * 4 * 16);
}
BENCHMARK(BM_Pilot24Participants)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
