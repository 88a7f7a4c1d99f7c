#include "progress/trace_reader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool number(const std::string& token, double* out) {
  if (token.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double value = std::strtod(token.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value)) return false;
  *out = value;
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

bool mParseTraceLine(const std::string& text, TraceRecord* record) {
  std::istringstream fields(text);
  std::vector<std::string> tokens;
  for (std::string t; fields >> t;) tokens.push_back(t);
  if (tokens.size() < 4 || tokens.size() > 7) return false;
  TraceRecord r;
  if (!number(tokens[0], &r.pressTime) || r.pressTime < 0) return false;
  if (tokens[1] != "m" && tokens[1] != "M") return false;
  r.byMenu = tokens[1] == "M";
  if (!number(tokens[2], &r.duration) || r.duration < 0) return false;
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

TraceLog mReadTrace(const std::string& path) {
  TraceLog log;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    log.error = std::strerror(EISDIR);
    return log;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    log.error = std::strerror(errno ? errno : ENOENT);
    return log;
  }
  log.opened = true;
  std::string text;
  for (int line = 1; std::getline(in, text); line++) {
    // A line cut short by a crash has no newline; the last line of a file
    // being written may be one.
    bool ended = !in.eof();
    TraceRecord r;
    if (ended && mParseTraceLine(text, &r)) {
      r.line = line;
      log.records.push_back(r);
    } else if (!text.empty() || ended) {
      log.skippedLines.push_back(line);
    }
  }
  if (in.bad()) log.error = std::strerror(errno ? errno : EIO);
  return log;
}

bool mChoseNothing(const TraceRecord& record) {
  return record.path.empty() || record.path[0] == '0';
}
