#include "progress/trace_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "progress/log_file.h"
#include "progress/path_labels.h"

namespace {

// Times as the library writes them ("%.0lf", "%2.2lf"): decimal digits
// with an optional fraction. strtod alone would also take hex, exponents,
// "inf" and a NUL as the number's end, and a damaged line could then pass
// for a selection with an absurd time. A slightly negative duration prints
// as "-0.00", so a minus sign is taken before zero alone.
bool decimal(std::string_view token, double limit, double* out) {
  size_t i = token[0] == '-' ? 1 : 0;
  size_t digits = 0, point = std::string::npos;
  // Whole part and fraction as whole numbers, divided once: exact for
  // every time the library prints.
  double whole = 0, fraction = 0, scale = 1;
  for (size_t k = i; k < token.size(); k++) {
    char c = token[k];
    if (c >= '0' && c <= '9') {
      digits++;
      if (point == std::string::npos) {
        whole = whole * 10 + (c - '0');
      } else {
        scale *= 10;
        fraction = fraction * 10 + (c - '0');
      }
    } else if (c == '.' && point == std::string::npos && digits > 0) {
      point = k;
    } else {
      return false;
    }
  }
  if (digits == 0 || token.back() == '.' || token.size() > 24) return false;
  double value = whole + fraction / scale;
  if (i == 1 && value != 0) return false;
  if (!(value <= limit)) return false;
  *out = value == 0 ? 0 : value;
  return true;
}

// "b3" or "r12": a count after its letter.
bool count(std::string_view token, char letter, int* out) {
  if (token.size() < 2 || token.size() > 10 || token[0] != letter) return false;
  int value = 0;
  for (size_t i = 1; i < token.size(); i++) {
    if (token[i] < '0' || token[i] > '9') return false;
    value = value * 10 + (token[i] - '0');
  }
  *out = value;
  return true;
}

bool space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

}  // namespace

bool parseTraceLine(std::string_view text, TraceRecord* record) {
  std::string_view tokens[8];
  size_t n = 0;
  for (size_t i = 0; i < text.size();) {
    while (i < text.size() && space(text[i])) i++;
    if (i == text.size()) break;
    size_t start = i;
    while (i < text.size() && !space(text[i])) i++;
    if (n == 8) return false;
    tokens[n++] = text.substr(start, i - start);
  }
  if (n < 4 || n > 7) return false;
  TraceRecord r;
  if (!decimal(tokens[0], maxPressTime, &r.pressTime) ||
      r.pressTime == maxPressTime)
    return false;
  if (tokens[1] != "m" && tokens[1] != "M") return false;
  r.byMenu = tokens[1] == "M";
  if (!decimal(tokens[2], maxDuration, &r.duration)) return false;
  if (tokens[3].find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  // What may follow, each at most once and in this order.
  size_t i = 4;
  if (i < n && tokens[i] == "c") {
    r.markedAhead = true;
    i++;
  }
  if (i < n && count(tokens[i], 'b', &r.backUps)) i++;
  if (i < n && count(tokens[i], 'r', &r.changes)) i++;
  if (i != n) return false;
  if (record) {
    r.path.assign(tokens[3]);
    r.line = record->line;
    *record = std::move(r);
  }
  return true;
}

bool streamTrace(const std::string& path,
                 const std::function<void(const TraceRecord&)>& take,
                 const std::function<void(int line)>& skip, std::string* error,
                 ReadProgress* progress) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool ok = false;
  if (::fstat(fd, &info) != 0)
    *error = std::strerror(errno);
  else if (S_ISDIR(info.st_mode))
    *error = std::strerror(EISDIR);
  else if (!S_ISREG(info.st_mode))
    *error = "not a regular file";
  else if (size_t(info.st_size) > maxLogBytes)
    *error = "larger than " + std::to_string(maxLogBytes >> 20) + " MiB";
  else
    ok = true;
  if (!ok) {
    ::close(fd);
    return false;
  }
  if (progress) progress->bytesTotal = int64_t(info.st_size);
  std::string pending;  // the start of a line the last block ended in
  std::vector<char> block(size_t(1) << 20);
  TraceRecord record;
  int line = 0;
  size_t total = 0;
  for (;;) {
    ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = std::strerror(errno);
      ok = false;
      break;
    }
    if (n == 0) break;
    // A file still being written may have grown since fstat.
    total += size_t(n);
    if (total > maxLogBytes) {
      *error = "larger than " + std::to_string(maxLogBytes >> 20) + " MiB";
      ok = false;
      break;
    }
    std::string_view data(block.data(), size_t(n));
    size_t start = 0;
    for (size_t end; (end = data.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
      std::string_view one = data.substr(start, end - start);
      if (!pending.empty()) {
        pending.append(one);
        one = pending;
      }
      record.line = ++line;
      if (parseTraceLine(one, &record))
        take(record);
      else
        skip(line);
      pending.clear();
    }
    pending.append(data.substr(start));
    if (progress) {
      progress->bytesRead = int64_t(total);
      if (progress->cancel) {
        *error = "cancelled";
        ok = false;
        break;
      }
    }
  }
  ::close(fd);
  // A line cut short by a crash has no newline; the last line of a file
  // being written may be one.
  if (ok && !pending.empty()) skip(++line);
  return ok;
}

TraceLog readTrace(const std::string& path) {
  TraceLog log;
  log.opened = streamTrace(
      path, [&](const TraceRecord& r) { log.records.push_back(r); },
      [&](int line) { log.skippedLines.push_back(line); }, &log.error);
  if (!log.opened) {
    log.records.clear();
    log.skippedLines.clear();
  }
  return log;
}

bool choseNothing(const std::string& path, const std::string& label) {
  if (path.empty() || path[0] == '0') return true;
  if (!label.empty())
    return label.size() >= std::strlen(nothingLabel) &&
           label.compare(label.size() - std::strlen(nothingLabel),
                         std::string::npos, nothingLabel) == 0;
  return path.back() == '0';
}

bool choseNothing(const TraceRecord& record) {
  return choseNothing(record.path, std::string());
}
