// Participants' plans: the order of conditions and of targets.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "study/study_file.h"
#include "study/study_plan.h"

namespace {

Study read(const std::string& text) {
  Study study;
  StudyError error;
  EXPECT_TRUE(
      mParseStudy(QByteArray::fromStdString(text), "plan.json", &study, &error))
      << error.text();
  return study;
}

// A study on the practice menu (11 leaves) with `conditions` conditions and
// the design given.
Study practiceStudy(int conditions, const std::string& design) {
  std::string text = R"({"menus": [{"name": "p", "kind": "practice"}],
    "conditions": [)";
  for (int c = 0; c < conditions; c++)
    text += (c ? "," : "") + std::string(R"({"name": "c)") + std::to_string(c) +
            R"(", "menu": "p"})";
  return read(text + "], \"design\": " + design + "}");
}

struct Planned {
  std::vector<BuiltMenu> menus;
  std::vector<PlannedTrial> trials;
};

Planned plan(const Study& study, int participant) {
  Planned p;
  for (const StudyCondition& condition : study.conditions)
    for (const StudyMenu& menu : study.menus)
      if (menu.name == condition.menu)
        p.menus.push_back(mBuildStudyMenu(menu, study.design.seed));
  std::vector<const BuiltMenu*> pointers;
  for (const BuiltMenu& m : p.menus) pointers.push_back(&m);
  p.trials = mPlanTrials(study, pointers, participant);
  return p;
}

std::vector<int> leaves(const std::vector<PlannedTrial>& trials, int block) {
  std::vector<int> out;
  for (const PlannedTrial& t : trials)
    if (t.block == block) out.push_back(t.leaf);
  return out;
}

TEST(StudyPlan, ParticipantNumbers) {
  EXPECT_EQ(mParticipantNumber("P07"), 7);
  EXPECT_EQ(mParticipantNumber("12"), 12);
  EXPECT_EQ(mParticipantNumber("a1b22x"), 22);
  EXPECT_EQ(mParticipantNumber("p12345678901234"), 678901234);
  EXPECT_EQ(mParticipantNumber("anna"), mParticipantNumber("anna"));
  EXPECT_GE(mParticipantNumber("anna"), 0);
  EXPECT_NE(mParticipantNumber("anna"), mParticipantNumber("bert"));
}

TEST(StudyPlan, LatinSquareOfFourIsBalanced) {
  Study study = practiceStudy(4, R"({"condition_order": "latin-square"})");
  std::map<std::pair<int, int>, int> adjacent;
  std::set<int> firsts;
  std::vector<std::set<int>> columns(4);
  for (int participant = 1; participant <= 4; participant++) {
    std::vector<int> order = mConditionOrder(study, participant);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 4u);
    firsts.insert(order[0]);
    for (int k = 0; k < 4; k++) columns[size_t(k)].insert(order[size_t(k)]);
    for (int k = 0; k + 1 < 4; k++)
      adjacent[{order[size_t(k)], order[size_t(k + 1)]}]++;
  }
  EXPECT_EQ(firsts.size(), 4u);
  for (const std::set<int>& column : columns) EXPECT_EQ(column.size(), 4u);
  EXPECT_EQ(adjacent.size(), 12u) << "every ordered pair meets once";
  for (const auto& [pair, count] : adjacent) EXPECT_EQ(count, 1);
  EXPECT_EQ(mConditionOrder(study, 5), mConditionOrder(study, 1));
  EXPECT_EQ(mConditionOrder(study, 0), mConditionOrder(study, 4));
}

TEST(StudyPlan, OddAndFixedOrders) {
  Study odd = practiceStudy(3, R"({"condition_order": "latin-square"})");
  std::vector<std::set<int>> columns(3);
  for (int participant = 1; participant <= 3; participant++) {
    std::vector<int> order = mConditionOrder(odd, participant);
    for (int k = 0; k < 3; k++) columns[size_t(k)].insert(order[size_t(k)]);
  }
  for (const std::set<int>& column : columns) EXPECT_EQ(column.size(), 3u);

  Study fixed = practiceStudy(3, "{}");
  for (int participant = 1; participant <= 3; participant++)
    EXPECT_EQ(mConditionOrder(fixed, participant), (std::vector<int>{0, 1, 2}));
}

TEST(StudyPlan, ShuffledGivesEveryLeafOncePerBlock) {
  Study study =
      practiceStudy(1, R"({"blocks": 3, "practice_trials": 4, "seed": 9})");
  Planned p = plan(study, 1);
  ASSERT_EQ(p.trials.size(), 4u + 3 * 11);
  for (int t = 0; t < 4; t++) {
    EXPECT_TRUE(p.trials[size_t(t)].practice);
    EXPECT_EQ(p.trials[size_t(t)].block, 0);
    EXPECT_EQ(p.trials[size_t(t)].trial, t + 1);
  }
  for (int b = 1; b <= 3; b++) {
    std::vector<int> block = leaves(p.trials, b);
    EXPECT_EQ(std::set<int>(block.begin(), block.end()).size(), 11u);
  }
  EXPECT_NE(leaves(p.trials, 1), leaves(p.trials, 2)) << "not reshuffled";
}

TEST(StudyPlan, ShuffledDecksNeverRepeatATargetBackToBack) {
  Study study = practiceStudy(1, R"({"blocks": 2, "trials_per_block": 50})");
  for (int participant = 1; participant <= 20; participant++) {
    Planned p = plan(study, participant);
    for (int b = 1; b <= 2; b++) {
      std::vector<int> block = leaves(p.trials, b);
      ASSERT_EQ(block.size(), 50u);
      for (size_t k = 1; k < block.size(); k++)
        EXPECT_NE(block[k], block[k - 1]) << "participant " << participant;
      std::map<int, int> counts;
      for (int leaf : block) counts[leaf]++;
      for (const auto& [leaf, count] : counts) EXPECT_GE(count, 4);
    }
  }
}

TEST(StudyPlan, BalancedCountsDifferByOneAtMost) {
  Study study = practiceStudy(
      1, R"({"blocks": 3, "trials_per_block": 5, "target_order": "balanced"})");
  for (int participant = 1; participant <= 10; participant++) {
    Planned p = plan(study, participant);
    ASSERT_EQ(p.trials.size(), 15u);
    std::vector<int> counts(11);
    for (const PlannedTrial& t : p.trials) counts[size_t(t.leaf)]++;
    auto [low, high] = std::minmax_element(counts.begin(), counts.end());
    EXPECT_EQ(*low, 1);
    EXPECT_EQ(*high, 2);
  }
}

TEST(StudyPlan, FixedTargetsInOrderCycled) {
  Study study = practiceStudy(2, R"({"blocks": 2, "trials_per_block": 3,
    "target_order": "fixed", "targets": ["6/6", "0/4"], "practice_trials": 2})");
  Planned p = plan(study, 3);
  const BuiltMenu& menu = p.menus[0];
  int truck = mLeafIndex(menu, {6, 6}), banana = mLeafIndex(menu, {0, 4});
  std::vector<int> expected = {truck, banana, truck, banana, truck, banana};
  for (int c = 0; c < 2; c++) {
    std::vector<int> got;
    for (const PlannedTrial& t : p.trials)
      if (t.condition == c && !t.practice) got.push_back(t.leaf);
    EXPECT_EQ(got, expected);
  }
}

TEST(StudyPlan, SameParticipantSamePlanOthersDiffer) {
  Study study = practiceStudy(
      4, R"({"blocks": 2, "condition_order": "latin-square", "seed": 3})");
  auto key = [](const std::vector<PlannedTrial>& trials) {
    std::string text;
    for (const PlannedTrial& t : trials)
      text += std::to_string(t.condition) + ":" + std::to_string(t.block) +
              ":" + std::to_string(t.leaf) + " ";
    return text;
  };
  std::string first = key(plan(study, 5).trials);
  EXPECT_EQ(first, key(plan(study, 5).trials));
  EXPECT_NE(first, key(plan(study, 6).trials));
  EXPECT_NE(first, key(plan(study, 9).trials)) << "same row, same shuffle";
  Study reseeded = study;
  reseeded.design.seed = 4;
  EXPECT_NE(first, key(plan(reseeded, 5).trials));
}

TEST(StudyPlan, TwoConditionsExampleEndToEnd) {
  Study study;
  StudyError error;
  ASSERT_TRUE(
      mReadStudy(TARVEL_EXAMPLE_STUDIES "/two-conditions.json", &study, &error))
      << error.text();
  Planned p = plan(study, mParticipantNumber("P01"));
  ASSERT_EQ(p.trials.size(), 8u);
  std::vector<std::string> labels;
  for (const PlannedTrial& t : p.trials) {
    EXPECT_EQ(t.block, 1);
    labels.push_back(p.menus[size_t(t.condition)].leaves[size_t(t.leaf)].label);
  }
  EXPECT_EQ(labels,
            (std::vector<std::string>{"Apple", "Hammer", "Duck", "Tricycle",
                                      "Apple", "Hammer", "Duck", "Tricycle"}));
  EXPECT_EQ(p.trials[0].condition, 0);
  EXPECT_EQ(p.trials[4].condition, 1);
  EXPECT_EQ(p.trials[7].trial, 4);
}

}  // namespace
