#include "study/pilot.h"

#include <cstdio>

#include "platform/sim_platform.h"
#include "player/sim_participant.h"

namespace {

constexpr int screenWidth = 1280, screenHeight = 1024;
// Where the simulated participants press: the middle of the screen, so
// that every menu fits around it.
constexpr int pressX = screenWidth / 2, pressY = screenHeight / 2;
// A press must come within this much virtual time of the target shown.
constexpr uint32_t pressDeadlineMs = 60000;
// The feedback between trials, in virtual time.
constexpr uint32_t betweenTrialsMs = 500;

std::string participantId(int k) {
  char id[32];
  std::snprintf(id, sizeof id, "sim%02d", k);
  return id;
}

}  // namespace

bool mRunPilot(const Study& study, const PilotOptions& options,
               PilotResult* result, std::string* error) {
  result->scores.assign(study.conditions.size(), ConditionScore{});
  result->folders.clear();
  platform::SimPlatform sim(screenWidth, screenHeight);
  std::vector<BuiltMenu> menus = mBuildStudyMenus(study);
  for (int k = 1; k <= options.participants; k++) {
    RunSetup setup;
    setup.participant = participantId(k);
    setup.output = options.output;
    setup.screenWidth = screenWidth;
    setup.screenHeight = screenHeight;
    setup.wallStart = options.wallStart;
    StudyRun run;
    if (!run.start(study, setup, error, &menus)) return false;
    player::ParticipantStyle style;
    style.noiseDegrees = options.noiseDegrees;
    player::SimParticipant person(
        uint64_t(study.design.seed) * 1000003u + uint64_t(k), style);
    while (!run.done()) {
      run.targetShown();
      bool byMark = run.condition().technique != Technique::MenuOnly;
      person.answer(sim, run.menu().root, run.target().path, byMark, pressX,
                    pressY);
      uint32_t waited = 0;
      while (!sim.pollInput().buttonsDown && waited < pressDeadlineMs) {
        sim.advance(1);
        waited++;
      }
      if (!run.runTrial(nullptr, error)) return false;
      sim.setInputScript({});
      sim.setButtonDown(false);
      sim.advance(betweenTrialsMs);
    }
    for (size_t c = 0; c < run.scores().size(); c++) {
      const ConditionScore& s = run.scores()[c];
      ConditionScore& sum = result->scores[c];
      sum.trials += s.trials;
      sum.hits += s.hits;
      sum.byMark += s.byMark;
      sum.markErrors += s.markErrors;
      sum.totalMs += s.totalMs;
    }
    result->folders.push_back(run.log().folder());
  }
  return true;
}

std::string mPilotSummary(const Study& study, const PilotOptions& options,
                          const PilotResult& result) {
  char line[512];
  std::snprintf(line, sizeof line,
                "%d simulated participant(s), %.1f degrees of noise\n",
                options.participants, options.noiseDegrees);
  std::string text = line;
  std::snprintf(line, sizeof line, "%-20s %7s %7s %8s %12s %9s\n", "condition",
                "trials", "hits", "by mark", "misread", "mean ms");
  text += line;
  for (size_t c = 0; c < result.scores.size(); c++) {
    const ConditionScore& s = result.scores[c];
    double misread = s.byMark ? 100.0 * s.markErrors / s.byMark : 0.0;
    double mean = s.trials ? double(s.totalMs) / s.trials : 0.0;
    std::snprintf(line, sizeof line,
                  "%-20.20s %7d %7d %8d %5d (%4.1f%%) %9.0f\n",
                  study.conditions[c].name.c_str(), s.trials, s.hits, s.byMark,
                  s.markErrors, misread, mean);
    text += line;
  }
  return text;
}
