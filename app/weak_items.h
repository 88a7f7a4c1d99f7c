// Practice aimed at the items the learner finds hard. Each item keeps its
// latest trials; an item that misfires, that is chosen by menu rather than
// by mark, or that takes longer than the learner's usual time weighs more
// when the next target is drawn. Every item in play still comes at least
// once in every `coverageWindow` targets. Plain data and pure rules.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/practice_menu.h"
#include "progress/trial_log.h"

// One trial as the weighting sees it.
struct WeakTrial {
  int item = 0;
  bool hit = false;
  bool byMark = false;
  int64_t ms = 0;  // press to release
};

class WeakItems {
 public:
  // Every item in play comes at least once in this many targets.
  static constexpr int coverageWindow = 20;
  // Trials kept per item: an item stops weighing once it is learnt.
  static constexpr int trialsKept = 20;
  // How much each kind of weakness adds to an item's weight of 1.
  static constexpr double misfireWeight = 8;
  static constexpr double menuWeight = 3;
  static constexpr double slowWeight = 2;
  // An item never tried.
  static constexpr double untriedWeight = 3;

  explicit WeakItems(int items = practiceItemCount)
      : trials_(size_t(items > 0 ? items : 1)), due_(trials_.size(), 0) {
    restart();
  }

  void add(const WeakTrial& trial);
  // How much the item needs practice, never below 1.
  double weight(int item) const;
  // The learner's median time over every trial kept, 0 with none.
  int64_t medianMs() const;

  // A new visit to the training area: the count of targets starts again.
  void restart();
  // The next target among items 0..inPlay-1 from a draw of 0..32767, by
  // weight, unless an item is about to go `coverageWindow` targets without
  // coming: then the one longest due comes. Items that came into play since
  // the last pick count from now.
  int choose(int inPlay, int draw);

 private:
  std::vector<std::deque<WeakTrial>> trials_;
  // The pick by which each item must have come (inclusive).
  std::vector<int> due_;
  int picks_ = 0;
  int inPlay_ = 0;
};

// The trial a row of trials.csv holds, when its target is one of the items
// whose paths are `itemPaths`, by number, rather than a practice trial or
// another menu's item.
std::optional<WeakTrial> weakTrialFromRow(
    const TrialRow& row, const std::vector<std::string>& itemPaths);

// Every trial in the record under `folder` (session-1, session-2, ... in
// order) of the items whose paths are `itemPaths`, leaving out the session
// folders in `skip`. Rows a reader refuses are left out and counted in
// `refused` when it is given.
std::vector<WeakTrial> weakTrialsFromRecord(
    const std::string& folder, const std::set<std::string>& skip,
    const std::vector<std::string>& itemPaths, int* refused = nullptr);
