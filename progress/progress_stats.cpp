#include "progress/progress_stats.h"

#include <algorithm>
#include <map>

#include "progress/path_labels.h"

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

namespace {

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

Progress progressOf(const TraceLog& log, const PathLabeller& labeller) {
  Progress p;
  const auto& records = log.records;
  // Each path is named once; a path the tree reads as ending without a
  // selection chose nothing, like one the trace marks so.
  std::map<std::string, std::string> labels;
  for (const TraceRecord& r : records)
    if (!labels.count(r.path))
      labels[r.path] = labeller ? labeller(r.path) : std::string();
  auto selectedNothing = [&](const TraceRecord& r) {
    return choseNothing(r) || endsWith(labels[r.path], nothingLabel);
  };
  for (size_t i = 0; i < records.size(); i++) {
    p.seconds.push_back(records[i].duration);
    size_t from = i + 1 >= size_t(movingMedianWindow)
                      ? i + 1 - size_t(movingMedianWindow)
                      : 0;
    p.medianSeconds.push_back(median(p.seconds, from, i + 1));
  }
  for (size_t start = 0; start < records.size(); start += size_t(p.blockSize)) {
    size_t end = std::min(records.size(), start + size_t(p.blockSize));
    int marks = 0, nothing = 0, corrected = 0;
    for (size_t i = start; i < end; i++) {
      marks += records[i].byMenu ? 0 : 1;
      nothing += selectedNothing(records[i]) ? 1 : 0;
      corrected += records[i].backUps > 0 || records[i].changes > 0 ? 1 : 0;
    }
    p.markShare.push_back(double(marks) / double(end - start));
    p.nothing.push_back(nothing);
    p.corrected.push_back(corrected);
  }
  std::map<std::string, ItemUse> uses;
  for (const TraceRecord& r : records) {
    if (selectedNothing(r)) continue;
    ItemUse& use = uses[r.path];
    use.path = r.path;
    (r.byMenu ? use.byMenu : use.byMark)++;
  }
  for (auto& [path, use] : uses) {
    use.label = labels[path].empty() ? path : labels[path];
    p.items.push_back(use);
  }
  std::stable_sort(p.items.begin(), p.items.end(),
                   [](const ItemUse& a, const ItemUse& b) {
                     return a.byMark + a.byMenu > b.byMark + b.byMenu;
                   });
  return p;
}
