// Reading trace files back: one record per selection line, with the lines
// that are no selection (cut short, foreign, damaged) counted and numbered.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
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
bool parseTraceLine(std::string_view text, TraceRecord* record);
// Never waits on a FIFO or device: anything but a regular file is an error.
TraceLog readTrace(const std::string& path);

// How far a reading has come, for a progress bar in another thread, and a
// request from there to stop.
struct ReadProgress {
  std::atomic<int64_t> bytesRead{0};
  std::atomic<int64_t> bytesTotal{0};
  std::atomic<bool> cancel{false};
};

// The same reading in one pass, a block of the file at a time: each
// selection goes to `take` and each other line to `skip`, nothing is kept.
// False, with the reason in `error`, when the file cannot be read (or the
// reading was cancelled).
bool streamTrace(const std::string& path,
                 const std::function<void(const TraceRecord&)>& take,
                 const std::function<void(int line)>& skip, std::string* error,
                 ReadProgress* progress = nullptr);

// True when a selection chose nothing. The path alone tells when it is
// empty, starts with 0 or ends with a 0 (a level left without a
// selection); a label read through the menu tells better: one ending in
// nothingLabel chose nothing, any other names an item. Every figure and
// chart counts selections of nothing through this one function.
bool choseNothing(const std::string& path, const std::string& label);
bool choseNothing(const TraceRecord& record);
