// Reading trials.csv back, strictly: a row that is not exactly what a
// study run writes is refused by its line number rather than read as
// something it is not, and a file of another kind is recognised as such.
#pragma once

#include <string>
#include <vector>

#include "progress/trial_log.h"

// What a log file holds, told by its content: the header row of a CSV
// file, or the selection lines of a trace.
enum class LogKind { trials, strokes, trace, other };

LogKind logKind(const std::string& text);
// "a trials.csv", "a strokes.csv", "a trace file", "no log".
const char* logKindName(LogKind kind);

// One record of RFC 4180 CSV (quotes doubled, quoted line breaks) from
// text[*pos], which moves past it and its line break. `lines` counts the
// line breaks passed. False with `problem` set for a malformed record, or
// `cut` when the text ends before the record does.
bool csvRecord(const std::string& text, size_t* pos, int* lines,
               std::vector<std::string>* fields, std::string* problem,
               bool* cut);

struct RefusedRow {
  int line = 0;        // 1-based, where the row starts
  std::string reason;  // "field block: not a whole number: 1.5"
};

struct TrialLog {
  bool read = false;   // false: `error` says why no row was taken
  std::string error;   // "No such file or directory", "a trace file, ..."
  std::string origin;  // the first comment line, without its '#'
  std::vector<TrialRow> rows;
  std::vector<RefusedRow> refused;
  int cutLine = 0;  // the last line, cut short by a crash; 0 when none
};

// Rows of the longest trial log anyone writes stay far below this.
inline constexpr size_t maxCsvRecordBytes = 64 * 1024;
// Nothing a person does in one trial takes longer.
inline constexpr long long maxTrialMs = 24LL * 60 * 60 * 1000;

TrialLog readTrialLog(const std::string& path);
// The same from the file's text.
TrialLog parseTrialLog(const std::string& text);
