// What a trace says about a learner's progress, as series over the
// selections made: the figures the progress charts draw.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "progress/trace_reader.h"

struct ItemUse {
  std::string path;   // as in the trace
  std::string label;  // as the labeller named it, else the path
  int byMark = 0;
  int byMenu = 0;
};

struct Progress {
  std::vector<double> seconds;        // per selection
  std::vector<double> medianSeconds;  // moving median of the last few
  // Per block of selections, in order: the share made by marks (0 to 1),
  // selections of nothing, and selections with back-ups or changes.
  int blockSize = 10;
  std::vector<double> markShare;
  std::vector<int> nothing;
  std::vector<int> corrected;
  std::vector<ItemUse> items;  // most used first
};

// Names a path of the trace ("11") for people ("Food > Apple"); empty when
// it cannot.
using PathLabeller = std::function<std::string(const std::string& path)>;

inline constexpr int movingMedianWindow = 9;

Progress progressOf(const TraceLog& log, const PathLabeller& labeller = {});
// The median of values[from, to).
double median(const std::vector<double>& values, size_t from, size_t to);
