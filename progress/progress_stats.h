// What a learner's record says about their progress: from the selections
// of a trace or the trials of the trainer's own record, the figures the
// progress charts draw. Selections are taken one at a time and kept in a
// few bytes each, and every figure is made over blocks, items, sessions or
// runs, so that years of selections chart as a few hundred points.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "progress/path_labels.h"
#include "progress/trace_reader.h"
#include "progress/trial_log.h"

// Per item, over its last `recentTrials` trials.
inline constexpr int recentTrials = 50;

struct ItemUse {
  std::string path;   // as in the trace
  std::string label;  // as the labeller named it, else the path
  int byMark = 0;     // over every selection of the item
  int byMenu = 0;
  // Over the item's last recentTrials trials: as the target when the
  // record names targets, else as the item chosen.
  int recent = 0;
  int recentHits = 0;          // of trials with a target; 0 otherwise
  double recentHitRate = NAN;  // NAN without targets or trials
  double recentMarkShare = NAN;
  double recentMedianSeconds = NAN;
};

// One laboratory run: a block of timed trials.
struct LabRun {
  std::string when;  // the day of its first trial, "2026-12-09"
  int trials = 0;
  int hits = 0;
  double meanSeconds = 0;
};

// One sitting: a session of the trainer's record, or in a trace the
// selections between pauses of more than sessionPause.
struct SessionFigures {
  std::string when;  // the day it began, when known
  int selections = 0;
  double medianSeconds = 0;
  double markShare = 0;
  double hitRate = NAN;  // NAN without targets
};

inline constexpr double sessionPause = 30 * 60;  // seconds

struct Progress {
  std::vector<double> seconds;        // per selection
  std::vector<double> medianSeconds;  // moving median of the last few
  // Per block of selections, in order: the median and quartiles of the
  // time, the share made by marks (0 to 1), selections of nothing, and
  // selections with back-ups or changes. Blocks grow with the record so
  // that there are never more than maxBlocks.
  int blockSize = 10;
  std::vector<double> blockMedian, blockLowerQuartile, blockUpperQuartile;
  std::vector<double> markShare;
  std::vector<int> nothing;
  std::vector<int> corrected;
  std::vector<ItemUse> items;  // most used first
  std::vector<SessionFigures> sessions;
  std::vector<LabRun> runs;
  int bestRun = -1;      // most hits, then the lowest mean time; -1 for none
  bool targets = false;  // the record names a target for its trials
  int marks = 0;         // selections by mark, of all
  int nothingChosen = 0;
  // What could not be read: lines of a trace that are no selection, rows
  // of a record that are damaged, files that are no record.
  int skipped = 0;
  int skippedFiles = 0;           // files of the record that are no trials.csv
  std::vector<int> skippedLines;  // the first few, for a trace
  std::vector<std::string> problems;  // the first few, said for people
};

inline constexpr int maxBlocks = 200;
inline constexpr size_t keptProblems = 20;

// Names a path of the trace ("11") for people ("Food > Apple"); empty when
// it cannot.
using PathLabeller = std::function<std::string(const std::string& path)>;

inline constexpr int movingMedianWindow = 9;

// Takes selections one at a time and makes the figures at the end. Every
// item of `known` is among the figures' items, chosen or not.
class ProgressBuilder {
 public:
  explicit ProgressBuilder(PathLabeller labeller = {},
                           std::vector<MenuItem> known = {});
  void add(const TraceRecord& record);
  // A row of the trainer's record, from its session numbered `session`
  // (rows of one session come together).
  void add(const TrialRow& row, int session);
  void skipLine(int line);
  void problem(const std::string& what, int rows = 1);
  // A file of the record that could not be read at all.
  void badFile(const std::string& what);
  Progress finish();

 private:
  struct Item {
    ItemUse use;
    bool nothing = false;  // the path chose nothing: no item
    // The last recentTrials trials, oldest overwritten first.
    std::vector<float> seconds;
    std::vector<uint8_t> flags;
    size_t next = 0;
  };
  size_t itemOf(const std::string& path, const std::string& fallback);
  void take(size_t item, double seconds, uint8_t flags, double at, int session,
            const std::string& day);

  PathLabeller labeller_;
  std::unordered_map<std::string, size_t> itemIndex_;
  std::vector<Item> items_;
  std::vector<uint8_t> flags_;  // per selection
  std::vector<size_t> sessionStarts_;
  int lastSession_ = -1;
  double lastAt_ = -1;
  std::map<std::pair<int, int>, size_t> runIndex_;
  std::vector<double> runSeconds_;
  Progress p_;
};

Progress progressOf(const TraceLog& log, const PathLabeller& labeller = {},
                    std::vector<MenuItem> known = {});
// The median of values[from, to).
double median(const std::vector<double>& values, size_t from, size_t to);
