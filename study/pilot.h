// Pilots in simulation: simulated participants run a study on the
// simulated platform, headless, through the same run as real ones, and
// leave the same logs.
#pragma once

#include <QDateTime>
#include <string>
#include <vector>

#include "study/study_run.h"

struct PilotOptions {
  int participants = 1;
  double noiseDegrees = 0;  // spread of each leg's direction
  std::string output;
  QDateTime wallStart = QDateTime::currentDateTimeUtc();
};

struct PilotResult {
  // Per condition, summed over the participants.
  std::vector<ConditionScore> scores;
  std::vector<std::string> folders;  // each participant's session
};

// Runs every simulated participant ("sim01", "sim02", ...) through the
// study. False, with `error`, when a log cannot be written.
bool mRunPilot(const Study& study, const PilotOptions& options,
               PilotResult* result, std::string* error);

// The recognition errors the noise causes, per condition, as lines for
// a terminal.
std::string mPilotSummary(const Study& study, const PilotOptions& options,
                          const PilotResult& result);
