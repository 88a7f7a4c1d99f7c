#include "tools/mark_input.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "progress/trial_log.h"
#include "progress/trial_log_reader.h"

namespace {

// Larger than any log of a person's trials or list of points; a bigger
// file is not read.
constexpr std::uintmax_t largestFile = 512ull << 20;
// Pixels; far beyond any screen.
constexpr double largestCoordinate = 1e6;
constexpr double steadyPixelsPerMs = 1.0;

enum StrokeField { Participant, Condition, Block, Trial, TMs, X, Y, Fields };

bool wholeNumber(const std::string& text, long long* value) {
  const char* end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && at == end && !text.empty();
}

}  // namespace

bool mReadWholeFile(const std::string& path, std::string* text,
                    std::string* error) {
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) {
    *error = "can't read " + path + ": " + ec.message();
    return false;
  }
  if (size > largestFile) {
    *error = path + " is too large to read";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  if (!(in && bytes << in.rdbuf())) {
    *error = "can't read " + path;
    return false;
  }
  *text = bytes.str();
  return true;
}

namespace {

// The target of the trial from the trials.csv beside the strokes, if any.
void findTarget(const std::string& strokesFile, int trial, int block,
                const std::string& condition, MarkInput* out) {
  std::filesystem::path trials =
      std::filesystem::path(strokesFile).parent_path() / "trials.csv";
  TrialLog log = readTrialLog(trials.string());
  for (const TrialRow& r : log.rows) {
    if (r.trial == trial && r.block == block && r.condition == condition) {
      out->targetLabel = r.targetLabel;
      out->targetPath = r.targetPath;
      return;
    }
  }
}

}  // namespace

bool mReadTrialStroke(const std::string& strokesFile, int trial, int block,
                      MarkInput* out, std::string* error,
                      std::string* warning) {
  std::string text;
  if (!mReadWholeFile(strokesFile, &text, error)) return false;
  LogKind kind = logKind(text);
  if (kind != LogKind::strokes) {
    *error = strokesFile + (kind == LogKind::other
                                ? std::string(" is not a strokes.csv: no "
                                              "header row naming its columns")
                                : " is " + std::string(logKindName(kind)) +
                                      ", not a strokes.csv");
    return false;
  }
  size_t pos = 0;
  int lines = 0, damaged = 0, firstTrial = 0, lastTrial = 0;
  bool header = false;
  std::string condition;
  long long blockFound = -1;
  std::vector<std::string> f;
  while (pos < text.size()) {
    std::string problem;
    bool cut = false;
    if (!csvRecord(text, &pos, &lines, &f, &problem, &cut)) {
      damaged++;
      if (cut) break;
      continue;
    }
    if (f.empty() || (!f[0].empty() && f[0][0] == '#')) continue;
    if (!header) {
      header = true;  // the column names, checked by logKind
      continue;
    }
    long long v[Fields] = {};
    bool ok = f.size() == Fields;
    for (int k = Block; ok && k < Fields; k++) ok = wholeNumber(f[k], &v[k]);
    if (!ok || std::llabs(v[X]) > largestCoordinate ||
        std::llabs(v[Y]) > largestCoordinate) {
      damaged++;
      continue;
    }
    if (firstTrial == 0 || v[Trial] < firstTrial) firstTrial = int(v[Trial]);
    if (v[Trial] > lastTrial) lastTrial = int(v[Trial]);
    if (v[Trial] != trial || (block != 0 && v[Block] != block)) continue;
    // The first block holding the trial; other blocks' rows are not mixed in.
    if (blockFound < 0) {
      blockFound = v[Block];
      condition = f[Condition];
    }
    if (v[Block] != blockFound || f[Condition] != condition) continue;
    out->points.push_back({double(v[X]), double(v[Y]), double(v[TMs])});
  }
  if (damaged > 0)
    *warning = std::to_string(damaged) + " damaged row(s) of " + strokesFile +
               " skipped";
  if (out->points.empty()) {
    *error = "trial " + std::to_string(trial) +
             (block ? " of block " + std::to_string(block) : "") +
             " is not in " + strokesFile +
             (lastTrial > 0
                  ? " (its trials are numbered " + std::to_string(firstTrial) +
                        " to " + std::to_string(lastTrial) + ")"
                  : " (it holds no samples)");
    return false;
  }
  out->source = std::filesystem::path(strokesFile).filename().string() + ", " +
                condition + " block " + std::to_string(blockFound) +
                ", trial " + std::to_string(trial);
  findTarget(strokesFile, trial, int(blockFound), condition, out);
  return true;
}

bool mParsePoints(const std::string& text, MarkInput* out, std::string* error) {
  std::vector<MarkSamplePoint> points;
  bool timed = false;
  size_t start = 0;
  for (int k = 1; start <= text.size(); k++) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(start, end - start);
    start = end + 1;
    if (item.find_first_not_of(" \t\r\n") == std::string::npos) {
      if (end == text.size()) break;  // a trailing ';'
      *error = "point " + std::to_string(k) + " is empty";
      return false;
    }
    double v[3] = {};
    int n = 0;
    std::istringstream fields(item);
    std::string field;
    bool ok = true;
    while (ok && std::getline(fields, field, ',')) {
      char* after = nullptr;
      double d = n < 3 ? std::strtod(field.c_str(), &after) : 0;
      ok = n < 3 && after != field.c_str() &&
           std::string(after).find_first_not_of(" \t\r\n") ==
               std::string::npos &&
           std::isfinite(d) && std::fabs(d) <= largestCoordinate;
      if (ok) v[n++] = d;
    }
    if (!ok || n < 2 || (k > 1 && (n == 3) != timed)) {
      *error = "point " + std::to_string(k) + " (\"" + item +
               "\") is not x,y or x,y,t in pixels and ms, as the first is";
      return false;
    }
    if (k == 1) timed = n == 3;
    points.push_back({v[0], v[1], v[2]});
    if (end == text.size()) break;
  }
  if (points.empty()) {
    *error = "no points given";
    return false;
  }
  if (!timed) {
    for (size_t i = 1; i < points.size(); i++)
      points[i].tMs =
          points[i - 1].tMs + std::hypot(points[i].x - points[i - 1].x,
                                         points[i].y - points[i - 1].y) /
                                  steadyPixelsPerMs;
  }
  out->points = std::move(points);
  out->source = "points given";
  return true;
}
