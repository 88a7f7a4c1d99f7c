// The stroke explain_mark explains: one trial's pointer samples read from a
// strokes.csv (its target from the trials.csv beside it), or points given
// on the command line.
#pragma once

#include <string>
#include <vector>

struct MarkSamplePoint {
  double x, y;  // pixels, in the input's own frame
  double tMs;   // since the press
};

struct MarkInput {
  std::vector<MarkSamplePoint> points;  // the press first
  std::string source;                   // "strokes.csv, trial 12"
  std::string targetLabel;              // empty when not known
  std::string targetPath;               // "0/4"
};

// The samples of trial `trial` (and of block `block` unless it is 0) of a
// strokes.csv. False with `error` saying why: the file cannot be read, is
// no strokes.csv, or has no such trial. Damaged rows are skipped and
// counted in `warning`.
bool mReadTrialStroke(const std::string& strokesFile, int trial, int block,
                      MarkInput* out, std::string* error, std::string* warning);

// The whole of a file, of 512 MB at most. False with `error` saying why.
bool mReadWholeFile(const std::string& path, std::string* text,
                    std::string* error);

// "x,y;x,y;..." or "x,y,t;..." (t in ms). Without times the points are
// drawn at a steady 1000 pixels per second. False with `error` naming the
// first point that is not two or three finite numbers.
bool mParsePoints(const std::string& text, MarkInput* out, std::string* error);
