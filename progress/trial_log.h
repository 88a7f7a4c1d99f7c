// What people keep: trials.csv, one row per trial, and strokes.csv, every
// pointer sample of each trial. Written by study runs and the trainer's
// record, read back by tarvel-report. Both files open with one comment
// line ("# tarvel VERSION ...") and then the column names.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* trialColumns =
    "participant,study,condition,block,trial,practice,target_path,"
    "target_label,chosen_path,chosen_label,hit,by_mark,mark_ahead,back_ups,"
    "changes,target_shown_at,reaction_ms,selection_ms";
inline constexpr const char* strokeColumns =
    "participant,condition,block,trial,t_ms,x,y";

struct TrialRow {
  std::string participant;
  std::string study;
  std::string condition;
  int block = 0;  // 0 for practice trials
  int trial = 0;  // 1-based within the block
  bool practice = false;
  std::string targetPath;  // positions joined with '/', "2/0"
  std::string targetLabel;
  std::string chosenPath;  // empty when nothing was chosen
  std::string chosenLabel;
  bool hit = false;
  bool byMark = false;
  bool markAhead = false;
  int backUps = 0;
  int changes = 0;
  std::string targetShownAt;  // ISO 8601, UTC, milliseconds
  int64_t reactionMs = 0;     // target shown to press
  int64_t selectionMs = 0;    // press to release
};

struct StrokeRow {
  std::string participant;
  std::string condition;
  int block = 0;
  int trial = 0;
  int64_t tMs = 0;   // since the press
  int x = 0, y = 0;  // relative to the press point
};

// A CSV field: quoted when it holds a comma, a quote or a line break, or
// starts with '#'.
std::string csvField(const std::string& text);
// One row, with its newline.
std::string trialCsvLine(const TrialRow& row);
std::string strokeCsvLine(const StrokeRow& row);
