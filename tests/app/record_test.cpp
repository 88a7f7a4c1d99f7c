#include <sys/resource.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/cmainframe.h"
#include "progress/trial_log_reader.h"
#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

// The record's folder and the settings both in a folder of the test's own.
class Record : public Trainer {
 protected:
  Record() {
    const char* old = std::getenv("XDG_DATA_HOME");
    if (old) oldDataHome_ = old;
    hadDataHome_ = old != nullptr;
    setenv("XDG_DATA_HOME", qPrintable(dir.path() + "/data"), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       dir.path() + "/config");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       dir.path() + "/config");
  }
  ~Record() override {
    if (hadDataHome_)
      setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }
  std::string trialsFile(int session = 1) const {
    return (dir.path() + "/data/tarvel/trainer/session-" +
            QString::number(session) + "/trials.csv")
        .toStdString();
  }
  std::vector<TrialRow> rows(int session = 1) const {
    TrialLog log = readTrialLog(trialsFile(session));
    EXPECT_TRUE(log.refused.empty());
    return log.rows;
  }
  int target() const { return view.session().targetIndex; }
  // One trial towards `item`, and the lamp and the next target after it.
  void trialFor(int item) {
    trial(markFor(item));
    nextTarget();
  }

  QTemporaryDir dir;

 private:
  std::string oldDataHome_;
  bool hadDataHome_ = false;
};

}  // namespace

TEST_F(Record, TrainingAndLaboratoryTrialsAreWrittenAsTheyEnd) {
  ASSERT_TRUE(view.keepRecord(true));
  toMainMenu();
  enterArea(false);
  int first = target();
  trialFor(first);
  // The row is on disk before the next trial.
  ASSERT_EQ(rows().size(), 1u);
  int second = target();
  trialFor((second + 1) % practiceItemCount);  // a misfire
  click(view.layout().backButton.rect().center());
  view.runScreen();
  enterArea(true);
  std::vector<int> labTargets;
  for (int k = 0; k < labTrialCount; k++) {
    labTargets.push_back(target());
    trial(markFor(target()));
    view.runScreen();
    if (k + 1 < labTrialCount) view.runScreen();
  }

  std::ifstream file(trialsFile());
  std::string header, columns;
  std::getline(file, header);
  std::getline(file, columns);
  EXPECT_EQ(header.rfind("# tarvel ", 0), 0u) << header;
  EXPECT_NE(header.find("study trainer"), std::string::npos) << header;
  EXPECT_EQ(columns, trialColumns);

  std::vector<TrialRow> r = rows();
  ASSERT_EQ(r.size(), size_t(2 + labTrialCount));
  EXPECT_EQ(r[0].condition, "training");
  EXPECT_EQ(r[0].study, "trainer");
  EXPECT_EQ(r[0].targetLabel, practicePath(first).itemLabel);
  EXPECT_TRUE(r[0].hit);
  EXPECT_TRUE(r[0].byMark);
  EXPECT_EQ(r[0].chosenPath, r[0].targetPath);
  EXPECT_EQ(r[1].targetLabel, practicePath(second).itemLabel);
  EXPECT_FALSE(r[1].hit);
  EXPECT_NE(r[1].chosenPath, r[1].targetPath);
  EXPECT_EQ(r[1].trial, 2);
  for (int k = 0; k < labTrialCount; k++) {
    const TrialRow& row = r[size_t(2 + k)];
    EXPECT_EQ(row.condition, "laboratory");
    EXPECT_EQ(row.block, 1);
    EXPECT_EQ(row.trial, k + 1);
    EXPECT_EQ(row.targetLabel, practicePath(labTargets[size_t(k)]).itemLabel);
    EXPECT_TRUE(row.hit) << k;
    EXPECT_EQ(row.chosenPath, row.targetPath);
    EXPECT_GE(row.selectionMs, 120);
    EXPECT_FALSE(row.targetShownAt.empty());
  }
  EXPECT_EQ(view.session().hits, labTrialCount);
}

TEST_F(Record, AnUnwritableFolderIsReportedOnceAndTheTrainerGoesOn) {
  // A file where the folder should be: no one can make the folder.
  std::ofstream(dir.path().toStdString() + "/data") << "not a folder";
  testing::internal::CaptureStderr();
  CMainFrame frame;
  std::string said = testing::internal::GetCapturedStderr();
  // Qt may have its own say; the record's is one line.
  EXPECT_EQ(said.find("tarvel: no record of your trials is kept"),
            said.rfind("tarvel:"))
      << said;
  EXPECT_NE(said.find("tarvel: no record of your trials is kept"),
            std::string::npos);
  ASSERT_NE(frame.recordMessage(), nullptr);
  EXPECT_TRUE(frame.recordMessage()->isVisible());
  EXPECT_FALSE(frame.recordAction()->isChecked());
  EXPECT_FALSE(frame.view()->keepingRecord());

  testing::internal::CaptureStderr();
  toMainMenu();
  enterArea(false);
  trial(markFor(target()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(view.session().hits, 1);
}

TEST_F(Record, TheChoiceIsKeptBetweenRuns) {
  {
    CMainFrame frame;
    EXPECT_TRUE(frame.recordAction()->isChecked());  // on by default
    EXPECT_TRUE(frame.view()->keepingRecord());
    frame.recordAction()->trigger();
    EXPECT_FALSE(frame.view()->keepingRecord());
  }
  {
    CMainFrame frame;
    EXPECT_FALSE(frame.recordAction()->isChecked());
    EXPECT_FALSE(frame.view()->keepingRecord());
    frame.recordAction()->trigger();
    EXPECT_TRUE(frame.view()->keepingRecord());
  }
  CMainFrame frame;
  EXPECT_TRUE(frame.recordAction()->isChecked());
}

TEST_F(Record, AFullDiskStopsTheRecordButNotTheTrials) {
  ASSERT_TRUE(view.keepRecord(true));
  toMainMenu();
  enterArea(false);
  trialFor(target());
  ASSERT_EQ(rows().size(), 1u);

  // Files can grow no further: writes fail as on a full disk.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit tight = old;
  tight.rlim_cur = 1;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  // Standard error may be a file too: the messages are counted as shown.
  std::vector<QString> shown;
  view.onRecordProblem([&](const QString& text) { shown.push_back(text); });
  setrlimit(RLIMIT_FSIZE, &tight);
  trial(markFor(target()));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].startsWith("the record of your trials stops"))
      << shown[0].toStdString();
  EXPECT_EQ(view.session().hits, 2);
  EXPECT_EQ(view.screen(), S::TrainingHit);
  EXPECT_FALSE(view.keepingRecord());

  nextTarget();
  trialFor(target());
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(rows().size(), 1u);
  EXPECT_EQ(view.session().hits, 3);
}
