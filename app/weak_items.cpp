#include "app/weak_items.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "progress/progress_source.h"
#include "progress/trial_log_reader.h"

namespace {

int64_t median(std::vector<int64_t> times) {
  if (times.empty()) return 0;
  auto mid = times.begin() + std::ptrdiff_t(times.size() / 2);
  std::nth_element(times.begin(), mid, times.end());
  return *mid;
}

}  // namespace

void WeakItems::add(const WeakTrial& trial) {
  if (trial.item < 0 || size_t(trial.item) >= trials_.size()) return;
  auto& kept = trials_[size_t(trial.item)];
  kept.push_back(trial);
  while (kept.size() > size_t(trialsKept)) kept.pop_front();
}

int64_t WeakItems::medianMs() const {
  std::vector<int64_t> times;
  for (const auto& kept : trials_)
    for (const WeakTrial& t : kept)
      if (t.ms > 0) times.push_back(t.ms);
  return median(std::move(times));
}

double WeakItems::weight(int item) const {
  if (item < 0 || size_t(item) >= trials_.size()) return 1;
  const auto& kept = trials_[size_t(item)];
  if (kept.empty()) return untriedWeight;
  double n = double(kept.size());
  int misfires = 0, byMenu = 0;
  std::vector<int64_t> times;
  for (const WeakTrial& t : kept) {
    if (!t.hit) misfires++;
    if (!t.byMark) byMenu++;
    if (t.ms > 0) times.push_back(t.ms);
  }
  double slowness = 0;
  int64_t usual = medianMs();
  int64_t own = median(std::move(times));
  if (usual > 0 && own > usual)
    slowness = std::min(2.0, double(own) / double(usual) - 1);
  return 1 + misfireWeight * misfires / n + menuWeight * byMenu / n +
         slowWeight * slowness;
}

void WeakItems::restart() {
  picks_ = 0;
  inPlay_ = 0;
  std::fill(due_.begin(), due_.end(), 0);
}

int WeakItems::choose(int inPlay, int draw) {
  inPlay = std::clamp(inPlay, 1, int(trials_.size()));
  for (int k = inPlay_; k < inPlay; k++)
    due_[size_t(k)] = picks_ + coverageWindow - 1;
  inPlay_ = inPlay;

  // Earliest due first: when the k-th of them is due within k picks, the
  // first must come now or one of them will be late.
  std::vector<int> order(size_t(inPlay), 0);
  for (int k = 0; k < inPlay; k++) order[size_t(k)] = k;
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return due_[size_t(a)] < due_[size_t(b)];
  });
  int pick = -1;
  for (int rank = 0; rank < inPlay; rank++)
    if (due_[size_t(order[size_t(rank)])] - picks_ <= rank) {
      pick = order[0];
      break;
    }
  if (pick < 0) {
    double total = 0;
    for (int k = 0; k < inPlay; k++) total += weight(k);
    double at = (std::clamp(draw, 0, 32767) + 0.5) / 32768.0 * total;
    pick = inPlay - 1;
    for (int k = 0; k < inPlay; k++) {
      at -= weight(k);
      if (at < 0) {
        pick = k;
        break;
      }
    }
  }
  due_[size_t(pick)] = picks_ + coverageWindow;
  picks_++;
  return pick;
}

std::optional<WeakTrial> weakTrialFromRow(
    const TrialRow& row, const std::vector<std::string>& itemPaths) {
  if (row.practice) return std::nullopt;
  for (size_t k = 0; k < itemPaths.size(); k++) {
    if (row.targetPath != itemPaths[k]) continue;
    return WeakTrial{int(k), row.hit, row.byMark, row.selectionMs};
  }
  return std::nullopt;
}

std::vector<WeakTrial> weakTrialsFromRecord(
    const std::string& folder, const std::set<std::string>& skip,
    const std::vector<std::string>& itemPaths, int* refused) {
  std::vector<WeakTrial> trials;
  if (refused) *refused = 0;
  for (const std::string& file : recordFiles(folder)) {
    if (skip.count(std::filesystem::path(file).parent_path().string()))
      continue;
    TrialLog log = readTrialLog(file);
    if (refused) *refused += int(log.refused.size());
    for (const TrialRow& row : log.rows)
      if (auto trial = weakTrialFromRow(row, itemPaths))
        trials.push_back(*trial);
  }
  return trials;
}
