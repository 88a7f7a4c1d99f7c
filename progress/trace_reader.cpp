#include "progress/trace_reader.h"

#include <cstdlib>
#include <sstream>

#include "progress/log_file.h"

namespace {

// Times as the library writes them ("%.0lf", "%2.2lf"): decimal digits
// with an optional fraction. strtod alone would also take hex, exponents,
// "inf" and a NUL as the number's end, and a damaged line could then pass
// for a selection with an absurd time. A slightly negative duration prints
// as "-0.00", so a minus sign is taken before zero alone.
bool decimal(const std::string& token, double limit, double* out) {
  size_t i = token[0] == '-' ? 1 : 0;
  size_t digits = 0, point = std::string::npos;
  for (size_t k = i; k < token.size(); k++) {
    if (token[k] >= '0' && token[k] <= '9') {
      digits++;
    } else if (token[k] == '.' && point == std::string::npos && digits > 0) {
      point = k;
    } else {
      return false;
    }
  }
  if (digits == 0 || token.back() == '.' || token.size() > 24) return false;
  double value = std::strtod(token.c_str(), nullptr);
  if (i == 1 && value != 0) return false;
  if (!(value <= limit)) return false;
  *out = value == 0 ? 0 : value;
  return true;
}

// "b3" or "r12": a count after its letter.
bool count(const std::string& token, char letter, int* out) {
  if (token.size() < 2 || token[0] != letter) return false;
  for (size_t i = 1; i < token.size(); i++)
    if (token[i] < '0' || token[i] > '9') return false;
  if (token.size() > 10) return false;
  *out = std::atoi(token.c_str() + 1);
  return true;
}

}  // namespace

bool parseTraceLine(const std::string& text, TraceRecord* record) {
  std::istringstream fields(text);
  std::vector<std::string> tokens;
  for (std::string t; fields >> t;) tokens.push_back(t);
  if (tokens.size() < 4 || tokens.size() > 7) return false;
  TraceRecord r;
  if (!decimal(tokens[0], maxPressTime, &r.pressTime) ||
      r.pressTime == maxPressTime)
    return false;
  if (tokens[1] != "m" && tokens[1] != "M") return false;
  r.byMenu = tokens[1] == "M";
  if (!decimal(tokens[2], maxDuration, &r.duration)) return false;
  r.path = tokens[3];
  if (r.path.empty() ||
      r.path.find_first_not_of("0123456789") != std::string::npos)
    return false;
  // What may follow, each at most once and in this order.
  size_t i = 4;
  if (i < tokens.size() && tokens[i] == "c") {
    r.markedAhead = true;
    i++;
  }
  if (i < tokens.size() && count(tokens[i], 'b', &r.backUps)) i++;
  if (i < tokens.size() && count(tokens[i], 'r', &r.changes)) i++;
  if (i != tokens.size()) return false;
  if (record) *record = r;
  return true;
}

TraceLog readTrace(const std::string& path) {
  TraceLog log;
  std::string text;
  if (!readLogFile(path, &text, &log.error)) return log;
  log.opened = true;
  size_t start = 0;
  for (int line = 1; start < text.size(); line++) {
    size_t end = text.find('\n', start);
    // A line cut short by a crash has no newline; the last line of a file
    // being written may be one.
    bool ended = end != std::string::npos;
    std::string one =
        text.substr(start, ended ? end - start : std::string::npos);
    TraceRecord r;
    if (ended && parseTraceLine(one, &r)) {
      r.line = line;
      log.records.push_back(r);
    } else {
      log.skippedLines.push_back(line);
    }
    start = ended ? end + 1 : text.size();
  }
  return log;
}

bool choseNothing(const TraceRecord& record) {
  return record.path.empty() || record.path[0] == '0';
}
