#include "app/weak_items.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/cmainframe.h"
#include "app/session.h"
#include "app/training_menu.h"
#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

WeakTrial misfire(int item) { return {item, false, true, 900}; }
WeakTrial quickHit(int item) { return {item, true, true, 400}; }

// The longest run of targets each item went without, counted from the
// target at which it came into play; the run still open at the end counts.
struct Gaps {
  std::array<int, practiceItemCount> since{};
  std::array<int, practiceItemCount> longest{};
  std::array<bool, practiceItemCount> inPlay{};
  void pick(int item, int range) {
    for (int k = 0; k < range; k++) inPlay[size_t(k)] = true;
    for (int k = 0; k < practiceItemCount; k++) {
      if (!inPlay[size_t(k)]) continue;
      since[size_t(k)] = k == item ? 0 : since[size_t(k)] + 1;
      longest[size_t(k)] = std::max(longest[size_t(k)], since[size_t(k)]);
    }
  }
};

}  // namespace

TEST(WeakItems, WeighsMisfiresMostThenMenuChoicesThenSlowTimes) {
  WeakItems weak;
  for (int n = 0; n < 5; n++) {
    weak.add(misfire(Duck));
    weak.add({Pig, true, false, 400});  // by menu
    weak.add({Apple, true, true, 800});
    weak.add(quickHit(Saw));
    weak.add(quickHit(Hammer));
  }
  EXPECT_EQ(weak.medianMs(), 400);
  EXPECT_GT(weak.weight(Duck), weak.weight(Pig));
  EXPECT_GT(weak.weight(Pig), weak.weight(Apple));
  EXPECT_GT(weak.weight(Apple), weak.weight(Saw));
  EXPECT_DOUBLE_EQ(weak.weight(Saw), 1.0);
  EXPECT_DOUBLE_EQ(weak.weight(Truck), WeakItems::untriedWeight);
  // Only the latest trials count: an item once weak, now learnt, is not.
  for (int n = 0; n < WeakItems::trialsKept; n++) weak.add(quickHit(Duck));
  EXPECT_DOUBLE_EQ(weak.weight(Duck), 1.0);
}

// The learner keeps misfiring at Duck and hits Pig quickly by mark every
// time; the rest are ordinary.
TEST(WeakItems, AWeakItemComesOftenAndNoneIsLeftOut) {
  WeakItems weak;
  for (int n = 0; n < 6; n++) {
    weak.add(misfire(Duck));
    weak.add(quickHit(Pig));
  }
  std::mt19937 random(7);
  std::array<int, practiceItemCount> count{};
  Gaps gaps;
  for (int n = 0; n < 2000; n++) {
    int item = weak.choose(practiceItemCount, int(random() % 32768));
    ASSERT_GE(item, 0);
    ASSERT_LT(item, practiceItemCount);
    count[size_t(item)]++;
    gaps.pick(item, practiceItemCount);
    if (item == Duck)
      weak.add(misfire(Duck));
    else if (item == Pig)
      weak.add(quickHit(Pig));
    else
      weak.add({item, true, n % 2 == 0, 600});
  }
  EXPECT_GE(count[Duck], 3 * count[Pig]);
  for (int k = 0; k < practiceItemCount; k++) {
    EXPECT_GT(count[size_t(k)], 0) << practicePath(k).itemLabel;
    EXPECT_LE(gaps.longest[size_t(k)], WeakItems::coverageWindow - 1)
        << practicePath(k).itemLabel;
  }
}

// One item so weak that a plain draw would leave the others out for long
// stretches, in a training area whose range of targets widens: each item
// still comes within 20 targets of coming into play, and then in every 20.
TEST(WeakItems, ARangeWideningInTrainingKeepsEveryItemComing) {
  WeakItems weak;
  for (int n = 0; n < WeakItems::trialsKept; n++) weak.add(misfire(Apple));
  for (int k = 0; k < practiceItemCount; k++)
    if (k != Apple) weak.add(quickHit(k));
  std::mt19937 random(11);
  for (int visit = 0; visit < 3; visit++) {
    Session session;
    session.enterArea();
    weak.restart();
    Gaps gaps;
    int apples = 0;
    for (int n = 0; n < 700; n++) {
      int range = session.targetRange;
      session.chooseWeakTarget(weak, int(random() % 32768));
      ASSERT_LT(session.targetIndex, range);
      gaps.pick(session.targetIndex, range);
      if (session.targetIndex == Apple) apples++;
    }
    EXPECT_EQ(session.targetRange, practiceItemCount);
    // Far more than its share, with room left for the others to come.
    EXPECT_GT(apples, 3 * 700 / practiceItemCount);
    for (int k = 0; k < practiceItemCount; k++)
      EXPECT_LE(gaps.longest[size_t(k)], WeakItems::coverageWindow - 1)
          << "visit " << visit << ", " << practicePath(k).itemLabel;
  }
}

TEST(WeakItems, ReadsTheRecordLeavingOutBadRowsAndSkippedSessions) {
  QTemporaryDir dir;
  namespace fs = std::filesystem;
  fs::path base = dir.path().toStdString();
  auto session = [&](int n, const std::vector<std::string>& lines) {
    fs::path folder = base / ("session-" + std::to_string(n));
    fs::create_directories(folder);
    std::ofstream out(folder / "trials.csv");
    out << "# tarvel 1.0 trainer\n" << trialColumns << "\n";
    for (const std::string& line : lines) out << line;
    return folder.string();
  };
  const std::vector<std::string> paths = TrainingMenu(nullptr).itemPaths();
  auto row = [&paths](const char* label, bool hit, bool practice) {
    TrialRow r;
    r.participant = "learner";
    r.study = "trainer";
    r.condition = "training";
    r.block = practice ? 0 : 1;
    r.trial = 1;
    r.practice = practice;
    // Trials are known by their target's path; the label goes with it.
    for (int k = 0; k < practiceItemCount; k++)
      if (std::string(label) == practicePath(k).itemLabel)
        r.targetPath = paths[size_t(k)];
    r.targetLabel = label;
    r.hit = hit;
    r.targetShownAt = "2024-01-01T00:00:00.000Z";
    r.selectionMs = 700;
    return trialCsvLine(r);
  };
  session(1, {row("Truck", false, false), "not,a,row\n",
              row("Forklift", true, true), row("Nothing", true, false)});
  std::string skipped = session(2, {row("Duck", false, false)});
  session(3, {row("Banana", true, false)});
  int refused = -1;
  std::vector<WeakTrial> trials =
      weakTrialsFromRecord(base.string(), {skipped}, paths, &refused);
  EXPECT_EQ(refused, 1);
  ASSERT_EQ(trials.size(), 2u);
  EXPECT_EQ(trials[0].item, Truck);
  EXPECT_FALSE(trials[0].hit);
  EXPECT_EQ(trials[0].ms, 700);
  EXPECT_EQ(trials[1].item, Banana);
  EXPECT_TRUE(trials[1].hit);
  EXPECT_TRUE(
      weakTrialsFromRecord((base / "none").string(), {}, paths).empty());
}
