// Recorded strokes replayed through both mark recognizers: the strokes.csv
// of a study session or of the trainer's record, with the trials.csv beside
// it naming each trial's target. Only trials chosen by a mark that was not
// continued in the menus are replayed: those a release read as a mark.
#pragma once

#include <functional>
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

// The tree a condition's trials were made in, placed (its radius set);
// NULL when there is none, and its trials are skipped.
using ReplayMenus = std::function<Menu*(const std::string& condition)>;

// Replays the marks of `strokesPath` (a strokes.csv, its trials.csv in the
// same folder) on the tree of each trial's condition. Each trial's samples,
// relative to its press, are taken as tracking takes them: at most one
// every 10 ms, repeated positions left out, the last always.
ReplayResult mReplayStrokes(const ReplayMenus& menus,
                            const std::string& strokesPath);
// The same with one tree for every condition.
ReplayResult mReplayStrokes(Menu* root, const std::string& strokesPath);

// bench_accuracy --strokes FILE [--study STUDY]: replays on the menus of
// the study file's conditions, or on the practice menu without one, and
// prints the accuracy of both recognizers per target depth, skipped rows
// named on standard error. Returns the exit status: 1 when nothing could
// be read.
int replayStrokesReport(const char* strokesPath, const char* studyPath);
