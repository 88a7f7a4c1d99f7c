// Recorded strokes replayed through both mark recognizers: the strokes.csv
// of a study session or of the trainer's record, with the trials.csv beside
// it naming each trial's target. Only trials chosen by a mark that was not
// continued in the menus are replayed: those a release read as a mark.
#pragma once

#include <string>
#include <vector>

#include "menu/marking_menu.h"

struct ReplayDepth {
  int depth = 0;            // levels of the target path
  int marks = 0;            // replayed
  int correct[2] = {0, 0};  // by recognizer: standard, legs
};

struct ReplayResult {
  bool read = false;  // false: `error` says why nothing was replayed
  std::string error;
  std::vector<std::string> skipped;  // "FILE:LINE: why" per row left out
  std::vector<ReplayDepth> depths;   // ascending, only depths replayed
};

// Replays the marks of `strokesPath` (a strokes.csv, its trials.csv in the
// same folder) on `root`, which must be placed (its radius set). Each
// trial's samples, relative to its press, are taken as tracking takes them:
// at most one every 10 ms, repeated positions left out, the last always.
ReplayResult mReplayStrokes(Menu* root, const std::string& strokesPath);

// bench_accuracy --strokes FILE: replays on the practice menu and prints
// the accuracy of both recognizers per target depth, skipped rows named on
// standard error. Returns the exit status: 1 when nothing could be read.
int replayStrokesReport(const char* strokesPath);
