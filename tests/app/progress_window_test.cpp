#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractBarSeries>
#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/cmainframe.h"
#include "app/practice_menu.h"
#include "app/progress_window.h"
#include "platform/sim_platform.h"
#include "progress/tarvel_report.h"
#include "progress/trial_log.h"
#include "trace/trace.h"
#include "trace_off.h"

namespace {

// Help > Progress..., found as the user finds it.
QAction* progressAction(CMainFrame& frame) {
  for (QAction* menu : frame.menuBar()->actions())
    if (menu->text() == "&Help")
      for (QAction* item : menu->menu()->actions())
        if (item->text() == "&Progress...") return item;
  return nullptr;
}

QString labelsOf(QWidget* window) {
  QString all;
  for (QLabel* label : window->findChildren<QLabel*>())
    all += label->text() + "\n";
  return all;
}

}  // namespace

// Without a trace the window says why and how tracing is turned on; with
// one it shows the charts, the practice menu's names, and what it skipped.
TEST(ProgressWindow, ShowsTheUsersTraceOrSaysHowToMakeOne) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() /
                 ("tarvel-progress-window-" + std::to_string(::getpid()));
  fs::path traces = dir / "traces";  // made later
  ::setenv("TARVEL_TRACE_DIR", traces.c_str(), 1);
  ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);  // no record
  mTraceUseBaseForTesting(nullptr);
  platform::SimPlatform sim;
  CMainFrame frame;

  QAction* action = progressAction(frame);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  action->trigger();
  ProgressWindow* window = frame.progressWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(labelsOf(window).contains("cannot be read"));
  EXPECT_TRUE(labelsOf(window).contains("TARVEL_TRACE_DIR"));
  EXPECT_TRUE(window->findChildren<QChartView*>().empty());

  fs::create_directories(traces);
  action->trigger();  // read again: tracing is on now
  EXPECT_TRUE(labelsOf(window).contains("no selections yet"));
  EXPECT_FALSE(labelsOf(window).contains("TARVEL_TRACE_DIR"));
  std::ofstream(traces / "user.trc") << "100 m 0.35 11   \n"
                                        "101 M 1.20 33   \n"
                                        "a line of something else\n"
                                        "102 M 0.90 10   \n";
  action->trigger();  // read again
  EXPECT_EQ(frame.progressWindow(), window);
  EXPECT_EQ(window->findChildren<QChartView*>().size(), 6u);
  EXPECT_TRUE(labelsOf(window).contains("3 selections"));
  EXPECT_TRUE(labelsOf(window).contains("1 line of the trace is no selection"));
  bool named = false;
  for (QChartView* view : window->findChildren<QChartView*>())
    for (QAbstractAxis* axis : view->chart()->axes())
      if (auto* names = qobject_cast<QBarCategoryAxis*>(axis))
        named = named || names->categories().contains("Tools > Hammer");
  EXPECT_TRUE(named) << "items named through the practice menu";

  ::unsetenv("TARVEL_TRACE_DIR");
  mTraceUseBaseForTesting(untracedBase);
  fs::remove_all(dir);
}

// Opens Help > Progress on what the environment points to, runs
// tarvel-report on `file`, and checks that both count the same selections
// of nothing, name every item of the practice menu alike, and, for a
// record, find the same personal best.
namespace {

void expectSameCounts(const std::string& file, int nothingExpected,
                      const char* best) {
  platform::SimPlatform sim;
  CMainFrame frame;
  QAction* action = progressAction(frame);
  ASSERT_NE(action, nullptr);
  action->trigger();
  ProgressWindow* window = frame.progressWindow();
  ASSERT_NE(window, nullptr);

  double nothing = 0;
  QString titles;
  for (QChartView* view : window->findChildren<QChartView*>()) {
    titles += view->chart()->title() + "\n";
    for (QAbstractSeries* series : view->chart()->series())
      if (auto* bars = qobject_cast<QAbstractBarSeries*>(series))
        for (QBarSet* set : bars->barSets())
          if (set->label() == "chose nothing")
            for (int i = 0; i < set->count(); i++) nothing += set->at(i);
  }
  QStringList items;
  for (QTableWidget* table : window->findChildren<QTableWidget*>())
    for (int row = 0; row < table->rowCount(); row++)
      items << table->item(row, 0)->text();

  const char* argv[] = {"tarvel-report", file.c_str()};
  testing::internal::CaptureStdout();
  static int values[practiceItemCount];  // as tarvel-report's own main() has
  int status =
      tarvelReport(2, const_cast<char**>(argv), buildPracticeMenu(values));
  std::string summary = testing::internal::GetCapturedStdout();
  ASSERT_EQ(status, 0);

  EXPECT_EQ(nothing, nothingExpected);
  EXPECT_NE(
      summary.find("chose nothing: " + std::to_string(nothingExpected) + "\n"),
      std::string::npos)
      << summary;
  EXPECT_EQ(items.size(), practiceItemCount);
  EXPECT_NE(summary.find("items: 11\n"), std::string::npos) << summary;
  for (const QString& label : items)
    EXPECT_NE(summary.find("  " + label.toStdString() + ":"), std::string::npos)
        << label.toStdString();
  for (const char* label : {"Food > Apple", "Tools > Hammer", "Animals > Duck",
                            "Vehicles > Truck", "Vehicles > Forklift"})
    EXPECT_TRUE(items.contains(label)) << label;
  if (best) {
    EXPECT_TRUE(titles.contains(best)) << titles.toStdString();
    EXPECT_NE(summary.find(best), std::string::npos) << summary;
  }
}

}  // namespace

// A folder for the trace and the record, named by the environment.
class SameCounts : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TARVEL_TRACE_DIR", dir.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    mTraceUseBaseForTesting(nullptr);
  }
  void TearDown() override {
    ::unsetenv("TARVEL_TRACE_DIR");
    ::unsetenv("XDG_DATA_HOME");
    mTraceUseBaseForTesting(untracedBase);
    std::filesystem::remove_all(dir);
  }
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("tarvel-progress-same-" + std::to_string(::getpid()));
};

// The same trace: "50" and "10" end a level without an item, "0" chooses
// nothing at all.
TEST_F(SameCounts, OnATrace) {
  std::filesystem::create_directories(dir);
  std::string trace = (dir / "user.trc").string();
  std::ofstream(trace) << "100 m 0.35 11\n"
                          "101 M 1.20 33 b1\n"
                          "102 M 0.90 50\n"
                          "103 m 0.40 57\n"
                          "104 M 0.80 10 r2\n"
                          "105 M 0.70 0\n"
                          "not a selection\n"
                          "106 m 0.30 77 c\n";
  expectSameCounts(trace, 3, nullptr);
}

// The trainer's record: training trials, and two laboratory runs of which
// the second is the best, with as many hits as the first but faster.
TEST_F(SameCounts, OnTheTrainersRecord) {
  std::filesystem::path session = dir / "data/tarvel/trainer/session-1";
  std::filesystem::create_directories(session);
  std::ofstream out(session / "trials.csv");
  out << "# tarvel 1.0; study trainer\n" << trialColumns << "\n";
  auto row = [&](const char* condition, int block, const char* target,
                 const char* label, const char* chosen, int ms) {
    TrialRow r;
    r.participant = "learner";
    r.study = "trainer";
    r.condition = condition;
    r.block = block;
    r.trial = 1;
    r.targetPath = target;
    r.targetLabel = label;
    r.chosenPath = chosen;
    r.hit = r.targetPath == r.chosenPath;
    r.byMark = ms < 500;
    r.targetShownAt = "2026-12-0" + std::to_string(block) + "T10:00:00.000Z";
    r.selectionMs = ms;
    out << trialCsvLine(r);
  };
  row("training", 1, "0/0", "Apple", "0/0", 400);
  row("training", 1, "2/2", "Hammer", "", 900);  // chose nothing
  row("training", 1, "4/6", "Duck", "4/2", 700);
  row("laboratory", 1, "0/4", "Banana", "0/4", 600);
  row("laboratory", 1, "6/6", "Truck", "6/2", 800);
  row("laboratory", 2, "0/4", "Banana", "0/4", 300);
  row("laboratory", 2, "6/6", "Truck", "", 340);  // chose nothing
  out.close();
  expectSameCounts((dir / "data/tarvel/trainer").string(), 2,
                   "1 of 2 hits, 0.32 s");
}
