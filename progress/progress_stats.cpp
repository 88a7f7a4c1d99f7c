#include "progress/progress_stats.h"

#include <algorithm>
#include <cstdlib>

#include "progress/trainer_record.h"

namespace {

enum Flag : uint8_t {
  byMark = 1,
  nothing = 2,
  corrected = 4,
  hit = 8,
  targeted = 16,
};

// Blocks of 10, 20, 50, 100, 200, 500, ... selections, the smallest that
// keeps `count` selections within maxBlocks blocks.
int blockSizeFor(size_t count) {
  for (long size = 10;; size *= 10)
    for (long step : {size, 2 * size, 5 * size})
      if (size_t(step) * size_t(maxBlocks) >= count) return int(step);
}

// The q-quantile (0..1) of a copy's part, by the nearest rank.
double quantile(std::vector<double>& part, double q) {
  if (part.empty()) return NAN;
  size_t at =
      std::min(part.size() - 1, size_t(q * double(part.size() - 1) + 0.5));
  std::nth_element(part.begin(), part.begin() + std::ptrdiff_t(at), part.end());
  return part[at];
}

}  // namespace

double median(const std::vector<double>& values, size_t from, size_t to) {
  if (from >= to || to > values.size()) return 0;
  std::vector<double> part(values.begin() + std::ptrdiff_t(from),
                           values.begin() + std::ptrdiff_t(to));
  size_t middle = part.size() / 2;
  std::nth_element(part.begin(), part.begin() + std::ptrdiff_t(middle),
                   part.end());
  double upper = part[middle];
  if (part.size() % 2 == 1) return upper;
  double lower =
      *std::max_element(part.begin(), part.begin() + std::ptrdiff_t(middle));
  return (lower + upper) / 2;
}

std::string tarvelDataPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is ignored, as XDG says.
  if (data && data[0] == '/') return std::string(data) + "/tarvel";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/tarvel";
}

std::string trainerRecordPath() {
  return tarvelDataPath() + "/" + trainerRecordFolder;
}

ProgressBuilder::ProgressBuilder(PathLabeller labeller,
                                 std::vector<MenuItem> known)
    : labeller_(std::move(labeller)) {
  for (MenuItem& item : known) {
    if (itemIndex_.count(item.path)) continue;
    itemIndex_[item.path] = items_.size();
    Item one;
    one.use.path = std::move(item.path);
    one.use.label = std::move(item.label);
    items_.push_back(std::move(one));
  }
}

size_t ProgressBuilder::itemOf(const std::string& path,
                               const std::string& fallback) {
  auto found = itemIndex_.find(path);
  if (found != itemIndex_.end()) return found->second;
  Item one;
  one.use.path = path;
  std::string label = labeller_ ? labeller_(path) : std::string();
  one.nothing = choseNothing(path, label);
  if (label.empty()) label = fallback.empty() ? path : fallback;
  one.use.label = label;
  items_.push_back(std::move(one));
  itemIndex_[path] = items_.size() - 1;
  return items_.size() - 1;
}

void ProgressBuilder::take(size_t item, double seconds, uint8_t flags,
                           double at, int session, const std::string& day) {
  if (session != lastSession_ ||
      (at >= 0 && lastAt_ >= 0 && at - lastAt_ > sessionPause) ||
      sessionStarts_.empty()) {
    sessionStarts_.push_back(p_.seconds.size());
    SessionFigures s;
    s.when = day;
    p_.sessions.push_back(s);
  }
  lastSession_ = session;
  lastAt_ = at;
  p_.seconds.push_back(seconds);
  flags_.push_back(flags);
  if (flags & byMark) p_.marks++;
  if (flags & nothing) p_.nothingChosen++;
  if (flags & targeted) p_.targets = true;
  if (item == size_t(-1)) return;
  Item& it = items_[item];
  (flags & byMark ? it.use.byMark : it.use.byMenu)++;
  if (it.seconds.size() < size_t(recentTrials)) {
    it.seconds.push_back(float(seconds));
    it.flags.push_back(flags);
  } else {
    it.seconds[it.next] = float(seconds);
    it.flags[it.next] = flags;
    it.next = (it.next + 1) % size_t(recentTrials);
  }
}

void ProgressBuilder::add(const TraceRecord& r) {
  size_t item = itemOf(r.path, std::string());
  uint8_t flags = uint8_t((r.byMenu ? 0 : byMark) |
                          (r.backUps > 0 || r.changes > 0 ? corrected : 0));
  if (items_[item].nothing) {
    flags |= nothing;
    item = size_t(-1);
  }
  take(item, r.duration, flags, r.pressTime, 0, std::string());
}

void ProgressBuilder::add(const TrialRow& row, int session) {
  // Trials are counted under their target, named as a trace names it.
  std::string digits = traceDigits(row.targetPath);
  size_t item =
      itemOf(digits.empty() ? "@" + row.targetPath : digits, row.targetLabel);
  std::string chosen = traceDigits(row.chosenPath);
  bool none =
      row.chosenPath.empty() ||
      choseNothing(chosen, labeller_ && !chosen.empty() ? labeller_(chosen)
                                                        : row.chosenLabel);
  uint8_t flags = uint8_t(targeted | (row.byMark ? byMark : 0) |
                          (row.hit ? hit : 0) | (none ? nothing : 0) |
                          (row.backUps > 0 || row.changes > 0 ? corrected : 0));
  double seconds = double(row.selectionMs) / 1000;
  std::string day = row.targetShownAt.substr(0, 10);
  take(item, seconds, flags, -1, session, day);
  if (row.condition == laboratoryCondition) {
    auto key = std::make_pair(session, row.block);
    auto found = runIndex_.find(key);
    if (found == runIndex_.end()) {
      found = runIndex_.emplace(key, p_.runs.size()).first;
      LabRun run;
      run.when = day;
      p_.runs.push_back(run);
      runSeconds_.push_back(0);
    }
    LabRun& run = p_.runs[found->second];
    run.trials++;
    run.hits += row.hit ? 1 : 0;
    runSeconds_[found->second] += seconds;
  }
}

void ProgressBuilder::skipLine(int line) {
  p_.skipped++;
  if (p_.skippedLines.size() < keptProblems) p_.skippedLines.push_back(line);
}

void ProgressBuilder::problem(const std::string& what, int rows) {
  p_.skipped += rows;
  if (p_.problems.size() < keptProblems) p_.problems.push_back(what);
}

Progress ProgressBuilder::finish() {
  Progress p = std::move(p_);
  p_ = Progress();
  const size_t n = p.seconds.size();
  p.medianSeconds.reserve(n);
  for (size_t i = 0; i < n; i++) {
    size_t from = i + 1 >= size_t(movingMedianWindow)
                      ? i + 1 - size_t(movingMedianWindow)
                      : 0;
    p.medianSeconds.push_back(median(p.seconds, from, i + 1));
  }
  p.blockSize = blockSizeFor(n);
  std::vector<double> part;
  for (size_t start = 0; start < n; start += size_t(p.blockSize)) {
    size_t end = std::min(n, start + size_t(p.blockSize));
    int marks = 0, none = 0, fixed = 0;
    for (size_t i = start; i < end; i++) {
      marks += flags_[i] & byMark ? 1 : 0;
      none += flags_[i] & nothing ? 1 : 0;
      fixed += flags_[i] & corrected ? 1 : 0;
    }
    p.markShare.push_back(double(marks) / double(end - start));
    p.nothing.push_back(none);
    p.corrected.push_back(fixed);
    part.assign(p.seconds.begin() + std::ptrdiff_t(start),
                p.seconds.begin() + std::ptrdiff_t(end));
    p.blockMedian.push_back(median(part, 0, part.size()));
    p.blockLowerQuartile.push_back(quantile(part, 0.25));
    p.blockUpperQuartile.push_back(quantile(part, 0.75));
  }
  for (size_t s = 0; s < p.sessions.size(); s++) {
    size_t start = sessionStarts_[s];
    size_t end = s + 1 < sessionStarts_.size() ? sessionStarts_[s + 1] : n;
    SessionFigures& f = p.sessions[s];
    f.selections = int(end - start);
    f.medianSeconds = median(p.seconds, start, end);
    int marks = 0, hits = 0;
    for (size_t i = start; i < end; i++) {
      marks += flags_[i] & byMark ? 1 : 0;
      hits += flags_[i] & hit ? 1 : 0;
    }
    f.markShare = double(marks) / double(end - start);
    if (p.targets) f.hitRate = double(hits) / double(end - start);
  }
  for (size_t r = 0; r < p.runs.size(); r++) {
    LabRun& run = p.runs[r];
    run.meanSeconds = runSeconds_[r] / run.trials;
    if (p.bestRun < 0 || run.hits > p.runs[size_t(p.bestRun)].hits ||
        (run.hits == p.runs[size_t(p.bestRun)].hits &&
         run.meanSeconds < p.runs[size_t(p.bestRun)].meanSeconds))
      p.bestRun = int(r);
  }
  for (Item& it : items_) {
    if (it.nothing) continue;
    ItemUse use = it.use;
    use.recent = int(it.seconds.size());
    if (use.recent > 0) {
      std::vector<double> seconds(it.seconds.begin(), it.seconds.end());
      use.recentMedianSeconds = median(seconds, 0, seconds.size());
      int marks = 0, hits = 0, targets = 0;
      for (uint8_t f : it.flags) {
        marks += f & byMark ? 1 : 0;
        hits += f & hit ? 1 : 0;
        targets += f & targeted ? 1 : 0;
      }
      use.recentMarkShare = double(marks) / use.recent;
      use.recentHits = hits;
      if (targets > 0) use.recentHitRate = double(hits) / targets;
    }
    p.items.push_back(std::move(use));
  }
  std::stable_sort(p.items.begin(), p.items.end(),
                   [](const ItemUse& a, const ItemUse& b) {
                     return a.byMark + a.byMenu > b.byMark + b.byMenu;
                   });
  *this = ProgressBuilder(labeller_);
  return p;
}

Progress progressOf(const TraceLog& log, const PathLabeller& labeller,
                    std::vector<MenuItem> known) {
  ProgressBuilder builder(labeller, std::move(known));
  for (const TraceRecord& r : log.records) builder.add(r);
  for (int line : log.skippedLines) builder.skipLine(line);
  return builder.finish();
}

void ProgressBuilder::badFile(const std::string& what) {
  p_.skippedFiles++;
  if (p_.problems.size() < keptProblems) p_.problems.push_back(what);
}
