// Reading trace files back: one record per selection line, with the lines
// that are no selection (cut short, foreign, damaged) counted and numbered.
#pragma once

#include <string>
#include <vector>

struct TraceRecord {
  int line = 0;          // 1-based line number in the file
  double pressTime = 0;  // seconds on the library's clock at the press
  bool byMenu = false;   // 'M': a menu was shown; 'm': a mark
  double duration = 0;   // seconds from press to release
  std::string path;      // item numbers from the root down, as written
  bool markedAhead = false;
  int backUps = 0;
  int changes = 0;
};

struct TraceLog {
  bool opened = false;
  std::string error;  // why the file could not be read
  std::vector<TraceRecord> records;
  std::vector<int> skippedLines;
};

// A line claiming more is damaged: no selection lasts a day, and press
// times are seconds of a clock that started well after 1970.
inline constexpr double maxDuration = 86400;  // seconds
inline constexpr double maxPressTime = 1e10;  // seconds, exclusive

// Reads one trace line (without its newline); false when it is no
// selection line.
bool parseTraceLine(const std::string& text, TraceRecord* record);
// Never waits on a FIFO or device: anything but a regular file is an error.
TraceLog readTrace(const std::string& path);
// True when the selection chose nothing: its path is no item.
bool choseNothing(const TraceRecord& record);
