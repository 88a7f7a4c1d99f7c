// Study runs on the simulated platform: the logs they leave, row by row
// and sample by sample, the design as the logs show it, stopping and going
// on, and a log that cannot be written.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/sim_platform.h"
#include "player/sim_participant.h"
#include "progress/trial_log_reader.h"
#include "study/pilot.h"
#include "study/study_run.h"

namespace {

const QDateTime wallStart = QDateTime::fromString(
    QStringLiteral("2026-01-01T00:00:00.000Z"), Qt::ISODateWithMs);

Study practiceStudy(int conditions, int blocks, int trials) {
  Study s;
  s.name = "pilot";
  s.file = "/studies/pilot.json";
  s.sha256 = "ab12";
  StudyMenu m;
  m.name = "practice";
  m.kind = StudyMenu::Kind::Practice;
  m.items = mPracticeMenuItems();
  s.menus.push_back(m);
  for (int c = 0; c < conditions; c++) {
    StudyCondition cond;
    cond.name = "c" + std::to_string(c + 1);
    cond.menu = "practice";
    s.conditions.push_back(cond);
  }
  s.design.blocks = blocks;
  s.design.trialsPerBlock = trials;
  return s;
}

std::vector<std::string> lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Runs `count` trials of `run` with a simulated participant at noise 0.
void runTrials(platform::SimPlatform& sim, StudyRun& run, int count) {
  player::SimParticipant person(7, {});
  for (int i = 0; i < count && !run.done(); i++) {
    run.targetShown();
    person.answer(sim, run.menu().root, run.target().path, true, 640, 512);
    while (!sim.pollInput().buttonsDown) sim.advance(1);
    std::string error;
    ASSERT_TRUE(run.runTrial(nullptr, &error)) << error;
    sim.setInputScript({});
    sim.setButtonDown(false);
    sim.advance(500);
  }
}

class StudyRunTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string out() const { return dir.path().toStdString(); }
};

TEST_F(StudyRunTest, LogsEveryTrialWithItsSamplesAsWorkedOutByHand) {
  Study study = practiceStudy(1, 1, 3);
  study.design.targetOrder = TargetOrder::Fixed;
  study.design.fixedTargets = {{2, 0}, {4, 6}, {6, 2}};  // Saw, Duck, Forklift
  PilotOptions options;
  options.output = out();
  options.wallStart = wallStart;
  PilotResult result;
  std::string error;
  ASSERT_TRUE(mRunPilot(study, options, &result, &error)) << error;
  ASSERT_EQ(result.folders.size(), 1u);
  std::string folder = out() + "/pilot/sim01/session-1";
  EXPECT_EQ(result.folders[0], folder);

  std::vector<std::string> t = lines(folder + "/trials.csv");
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].rfind("# tarvel ", 0), 0u) << t[0];
  EXPECT_NE(t[0].find("; study pilot; sha256 ab12; screen 1280x1024; "
                      "pixel ratio 1; session 1; started "
                      "2026-01-01T00:00:00.000Z"),
            std::string::npos)
      << t[0];
  EXPECT_EQ(t[1], trialColumns);

  TrialLog log = readTrialLog(folder + "/trials.csv");
  ASSERT_EQ(log.rows.size(), 3u);
  const char* paths[] = {"2/0", "4/6", "6/2"};
  const char* labels[] = {"Saw", "Duck", "Forklift"};
  int64_t clock = 0;  // virtual ms since the run started
  for (int i = 0; i < 3; i++) {
    const TrialRow& r = log.rows[size_t(i)];
    EXPECT_EQ(r.participant, "sim01");
    EXPECT_EQ(r.study, "pilot");
    EXPECT_EQ(r.condition, "c1");
    EXPECT_EQ(r.block, 1);
    EXPECT_EQ(r.trial, i + 1);
    EXPECT_FALSE(r.practice);
    EXPECT_EQ(r.targetPath, paths[i]);
    EXPECT_EQ(r.targetLabel, labels[i]);
    EXPECT_EQ(r.chosenPath, paths[i]);
    EXPECT_EQ(r.chosenLabel, labels[i]);
    EXPECT_TRUE(r.hit);
    EXPECT_TRUE(r.byMark);
    EXPECT_FALSE(r.markAhead);
    EXPECT_EQ(r.backUps, 0);
    // Each target is shown when the last trial's feedback is over: its
    // reaction, its selection, the mark's confirmation (0.2 s) and the
    // pause after it (0.1 s), and 0.5 s between trials.
    QDateTime shown = wallStart.addMSecs(clock);
    EXPECT_EQ(r.targetShownAt,
              shown.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"))
                  .toStdString());
    EXPECT_GE(r.reactionMs, 150);
    EXPECT_GT(r.selectionMs, 20);
    EXPECT_LT(r.selectionMs, 400);
    clock += r.reactionMs + r.selectionMs + 200 + 100 + 500;
  }

  // Every sample of a trial, relative to its press, the first the press.
  std::vector<std::string> s = lines(folder + "/strokes.csv");
  ASSERT_GT(s.size(), 2u + 3 * 5);
  EXPECT_EQ(s[1], strokeColumns);
  EXPECT_EQ(s[2], "sim01,c1,1,1,0,0,0");
  std::map<int, std::pair<int, int>> lastOfTrial;
  for (size_t i = 2; i < s.size(); i++) {
    std::stringstream row(s[i]);
    std::string f[7];
    for (std::string& field : f) std::getline(row, field, ',');
    lastOfTrial[std::stoi(f[3])] = {std::stoi(f[5]), std::stoi(f[6])};
  }
  ASSERT_EQ(lastOfTrial.size(), 3u);
  // Saw is right then up; the release is far right and above the press.
  EXPECT_GT(lastOfTrial[1].first, 40);
  EXPECT_LT(lastOfTrial[1].second, -40);
  // Duck is down then left.
  EXPECT_LT(lastOfTrial[2].first, -40);
  EXPECT_GT(lastOfTrial[2].second, 40);
}

TEST_F(StudyRunTest, PilotsShowTheDesignLatinSquareAndEveryLeafOncePerBlock) {
  Study study = practiceStudy(4, 2, 0);  // 0 trials: every leaf once
  study.design.conditionOrder = ConditionOrder::LatinSquare;
  study.design.seed = 99;
  PilotOptions options;
  options.participants = 4;
  options.output = out();
  options.wallStart = wallStart;
  PilotResult result;
  std::string error;
  ASSERT_TRUE(mRunPilot(study, options, &result, &error)) << error;
  ASSERT_EQ(result.folders.size(), 4u);

  std::set<std::string> firsts;
  std::set<std::pair<std::string, std::string>> adjacent;
  std::vector<std::vector<std::string>> orders;
  for (const std::string& folder : result.folders) {
    TrialLog log = readTrialLog(folder + "/trials.csv");
    ASSERT_EQ(log.rows.size(), 4u * 2 * 11) << folder;
    std::vector<std::string> order;
    std::map<std::pair<std::string, int>, std::multiset<std::string>> blocks;
    for (const TrialRow& r : log.rows) {
      if (order.empty() || order.back() != r.condition)
        order.push_back(r.condition);
      blocks[{r.condition, r.block}].insert(r.targetPath);
    }
    ASSERT_EQ(order.size(), 4u) << "conditions come one after the other";
    firsts.insert(order[0]);
    for (size_t i = 1; i < order.size(); i++)
      adjacent.insert({order[i - 1], order[i]});
    for (const auto& [key, targets] : blocks) {
      std::set<std::string> distinct(targets.begin(), targets.end());
      EXPECT_EQ(distinct.size(), 11u)
          << folder << " " << key.first << " block " << key.second;
    }
    orders.push_back(order);
  }
  EXPECT_EQ(firsts.size(), 4u) << "each condition comes first once";
  EXPECT_EQ(adjacent.size(), 12u) << "each ordered pair follows once";
  EXPECT_EQ(result.scores.size(), 4u);
  for (const ConditionScore& s : result.scores) {
    EXPECT_EQ(s.trials, 4 * 2 * 11);
    EXPECT_EQ(s.hits, s.trials) << "no noise, no misfires";
  }
}

TEST_F(StudyRunTest, AStoppedParticipantGoesOnFromTheNextTrialInANewSession) {
  Study study = practiceStudy(2, 2, 3);
  study.design.practiceTrials = 2;
  platform::SimPlatform sim;
  std::vector<PlannedTrial> firstPlan;
  {
    StudyRun run;
    RunSetup setup;
    setup.participant = "P07";
    setup.output = out();
    std::string error;
    ASSERT_TRUE(run.start(study, setup, &error)) << error;
    EXPECT_TRUE(run.resumedAfter().empty());
    runTrials(sim, run, 4);  // two of practice, two of block 1
    EXPECT_EQ(run.trial().block, 1);
    EXPECT_EQ(run.trial().trial, 3);
    run.stop();
  }
  std::vector<std::string> first =
      lines(out() + "/pilot/P07/session-1/trials.csv");
  ASSERT_EQ(first.size(), 2u + 4 + 1);
  EXPECT_EQ(first.back(),
            "# stopped by the participant after condition c1, block 1, "
            "trial 2; 4 of 16 trials done");

  StudyRun again;
  RunSetup setup;
  setup.participant = "P07";
  setup.output = out();
  std::string error;
  ASSERT_TRUE(again.start(study, setup, &error)) << error;
  EXPECT_EQ(again.log().session(), 2);
  EXPECT_EQ(again.resumedAfter(), "condition c1, block 1, trial 2");
  EXPECT_EQ(again.position(), 4u);
  EXPECT_EQ(again.trial().block, 1);
  EXPECT_EQ(again.trial().trial, 3);
  runTrials(sim, again, 100);
  EXPECT_TRUE(again.done());
  std::vector<std::string> second =
      lines(out() + "/pilot/P07/session-2/trials.csv");
  EXPECT_NE(second[0].find("; session 2; "), std::string::npos);
  EXPECT_NE(second[0].find("; resumed after condition c1, block 1, trial 2"),
            std::string::npos);
  EXPECT_EQ(second.size(), 2u + 12);
  // The first session's log is as it was.
  EXPECT_EQ(lines(out() + "/pilot/P07/session-1/trials.csv"), first);

  // Another ID that shares the folder name starts from the beginning.
  StudyRun other;
  setup.participant = "P 07";
  ASSERT_EQ(std::rename((out() + "/pilot/P07").c_str(),
                        (out() + "/pilot/P_07").c_str()),
            0);
  ASSERT_TRUE(other.start(study, setup, &error)) << error;
  EXPECT_EQ(other.position(), 0u);
  EXPECT_TRUE(other.resumedAfter().empty());
  EXPECT_EQ(other.log().session(), 3);
}

TEST_F(StudyRunTest, ALogThatCannotBeWrittenStopsTheRunAndSaysWhatIsSafe) {
  Study study = practiceStudy(1, 1, 6);
  // A folder under a plain file cannot be made.
  std::ofstream(out() + "/file") << "x";
  {
    StudyRun run;
    RunSetup setup;
    setup.participant = "P1";
    setup.output = out() + "/file/logs";
    std::string error;
    EXPECT_FALSE(run.start(study, setup, &error));
    EXPECT_NE(error.find("can't make the folder"), std::string::npos) << error;
  }
  // A disk that fills up after a few trials: the files may grow no more.
  platform::SimPlatform sim;
  StudyRun run;
  RunSetup setup;
  setup.participant = "P1";
  setup.output = out();
  std::string error;
  ASSERT_TRUE(run.start(study, setup, &error)) << error;
  runTrials(sim, run, 2);
  struct sigaction ignore = {}, old = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old);
  rlimit limit = {}, saved = {};
  getrlimit(RLIMIT_FSIZE, &saved);
  limit.rlim_cur = 0;
  limit.rlim_max = saved.rlim_max;
  setrlimit(RLIMIT_FSIZE, &limit);
  run.targetShown();
  player::SimParticipant person(3, {});
  person.answer(sim, run.menu().root, run.target().path, true, 640, 512);
  while (!sim.pollInput().buttonsDown) sim.advance(1);
  bool written = run.runTrial(nullptr, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &old, nullptr);
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("2 trial(s) of this session are safely on disk, the "
                       "last condition c1, block 1, trial 2"),
            std::string::npos)
      << error;
  EXPECT_EQ(readTrialLog(run.log().folder() + "/trials.csv").rows.size(), 2u);
}

TEST(StudyLogTest, FolderNamesAreSafe) {
  EXPECT_EQ(mFolderName("P 01/../x"), "P_01_.._x");
  EXPECT_EQ(mFolderName(".."), "_..");
  EXPECT_EQ(mFolderName(""), "_");
  EXPECT_EQ(mFolderName(std::string(300, 'a')).size(), 100u);
}

}  // namespace
