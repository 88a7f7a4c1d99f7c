#include "study/study_plan.h"

#include <cctype>

#include "study/study_random.h"

namespace {

// Leaves dealt from shuffled decks, a new deck when one runs out; a new
// deck never starts with the leaf the last one ended on, so no target
// follows itself across decks.
class LeafDealer {
 public:
  LeafDealer(int leafCount, StudyRandom* random)
      : count_(leafCount), random_(random) {}

  int next() {
    if (deck_.empty()) {
      for (int k = 0; k < count_; k++) deck_.push_back(k);
      random_->shuffle(&deck_);
      if (count_ > 1 && deck_.back() == last_)
        std::swap(deck_.back(), deck_[random_->below(uint64_t(count_ - 1))]);
    }
    last_ = deck_.back();
    deck_.pop_back();
    return last_;
  }

  void restart() { deck_.clear(); }

 private:
  int count_;
  StudyRandom* random_;
  std::vector<int> deck_;
  int last_ = -1;
};

// Williams' design: the first row runs 0, 1, n-1, 2, n-2, ...; row r adds
// r to each. For even n every condition follows every other exactly once
// over the n rows.
int williams(int n, int row, int column) {
  int first = column % 2 ? (column + 1) / 2 : (n - column / 2) % n;
  return (first + row) % n;
}

}  // namespace

int mParticipantNumber(const std::string& participant) {
  size_t end = participant.size();
  while (end > 0 &&
         !std::isdigit(static_cast<unsigned char>(participant[end - 1])))
    end--;
  if (end > 0) {
    size_t begin = end;
    while (begin > 0 &&
           std::isdigit(static_cast<unsigned char>(participant[begin - 1])))
      begin--;
    // The last nine digits: enough to tell participants apart, never more
    // than an int holds.
    if (end - begin > 9) begin = end - 9;
    return std::stoi(participant.substr(begin, end - begin));
  }
  return int(mTextHash(participant) % 1000000000u);
}

std::vector<int> mConditionOrder(const Study& study, int participantNumber) {
  int n = int(study.conditions.size());
  std::vector<int> order;
  if (n == 0) return order;
  int row = ((participantNumber - 1) % n + n) % n;
  for (int k = 0; k < n; k++) {
    if (study.design.conditionOrder == ConditionOrder::Fixed)
      order.push_back(k);
    else if (n % 2 == 0)
      order.push_back(williams(n, row, k));
    else
      // A cyclic square: each condition once in each place, though not
      // balanced for the condition before it.
      order.push_back((k + row) % n);
  }
  return order;
}

std::vector<PlannedTrial> mPlanTrials(
    const Study& study, const std::vector<const BuiltMenu*>& conditionMenus,
    int participantNumber) {
  std::vector<PlannedTrial> plan;
  const StudyDesign& design = study.design;
  for (int c : mConditionOrder(study, participantNumber)) {
    if (c >= int(conditionMenus.size()) || !conditionMenus[size_t(c)]) continue;
    const BuiltMenu& menu = *conditionMenus[size_t(c)];
    int leafCount = int(menu.leaves.size());
    if (leafCount == 0) continue;
    StudyRandom random(
        mMixSeed(mMixSeed(design.seed, uint64_t(uint32_t(participantNumber))),
                 uint64_t(c)));
    LeafDealer dealer(leafCount, &random);
    auto add = [&](int block, int trial, bool practice, int leaf) {
      plan.push_back({c, block, trial, practice, leaf});
    };

    for (int t = 1; t <= design.practiceTrials; t++)
      add(0, t, true, dealer.next());

    std::vector<int> fixed;
    for (const std::vector<int>& path : design.fixedTargets) {
      int leaf = mLeafIndex(menu, path);
      if (leaf >= 0) fixed.push_back(leaf);
    }
    bool isFixed = design.targetOrder == TargetOrder::Fixed;
    if (isFixed && fixed.empty()) continue;
    int perBlock = design.trialsPerBlock;
    if (perBlock <= 0) perBlock = isFixed ? int(fixed.size()) : leafCount;

    size_t fixedNext = 0;
    // Balanced order deals on across blocks, so over the condition each
    // leaf comes up equally often; shuffled starts a new deck every block.
    dealer.restart();
    for (int b = 1; b <= design.blocks; b++) {
      if (design.targetOrder == TargetOrder::Shuffled) dealer.restart();
      for (int t = 1; t <= perBlock; t++) {
        int leaf;
        if (isFixed) {
          leaf = fixed[fixedNext];
          fixedNext = (fixedNext + 1) % fixed.size();
        } else {
          leaf = dealer.next();
        }
        add(b, t, false, leaf);
      }
    }
  }
  return plan;
}
