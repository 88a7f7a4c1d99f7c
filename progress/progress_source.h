// A learner's record read into progress figures in one pass: a trace file,
// or the folder of the trainer's own record with a trials.csv per session.
#pragma once

#include <string>
#include <vector>

#include "progress/progress_stats.h"

// Every selection of the trace at `path`; false with `error` when it cannot
// be read.
bool readTraceInto(const std::string& path, ProgressBuilder* builder,
                   std::string* error, ReadProgress* progress = nullptr);

// The trials.csv files under `folder`, session by session ("session-2"
// before "session-10").
std::vector<std::string> recordFiles(const std::string& folder);

// Every row of every trials.csv under `folder`; damaged rows and files
// that are no trials.csv are counted in the builder and skipped. False
// with `error` when the folder holds no trials.csv.
bool readRecordInto(const std::string& folder, ProgressBuilder* builder,
                    std::string* error, ReadProgress* progress = nullptr);

// The builder every view of a trace uses: paths named through `menu`, and
// every item of `menu` among the items.
ProgressBuilder progressBuilderFor(const Menu* menu);
