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

// The Progress window and tarvel-report read the same trace to the same
// figures: the same selections of nothing ("50" and "10" end a level
// without an item, "0" chooses nothing at all) and every item of the
// practice menu, named by its labels, chosen or not.
TEST(ProgressWindow, CountsAsTarvelReportDoes) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() /
                 ("tarvel-progress-same-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  ::setenv("TARVEL_TRACE_DIR", dir.c_str(), 1);
  ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  mTraceUseBaseForTesting(nullptr);
  std::string trace = (dir / "user.trc").string();
  std::ofstream(trace) << "100 m 0.35 11\n"
                          "101 M 1.20 33 b1\n"
                          "102 M 0.90 50\n"
                          "103 m 0.40 57\n"
                          "104 M 0.80 10 r2\n"
                          "105 M 0.70 0\n"
                          "not a selection\n"
                          "106 m 0.30 77 c\n";
  platform::SimPlatform sim;
  CMainFrame frame;
  QAction* action = progressAction(frame);
  ASSERT_NE(action, nullptr);
  action->trigger();
  ProgressWindow* window = frame.progressWindow();
  ASSERT_NE(window, nullptr);

  double nothing = 0;
  for (QChartView* view : window->findChildren<QChartView*>())
    for (QAbstractSeries* series : view->chart()->series())
      if (auto* bars = qobject_cast<QAbstractBarSeries*>(series))
        for (QBarSet* set : bars->barSets())
          if (set->label() == "chose nothing")
            for (int i = 0; i < set->count(); i++) nothing += set->at(i);
  QStringList items;
  for (QTableWidget* table : window->findChildren<QTableWidget*>())
    for (int row = 0; row < table->rowCount(); row++)
      items << table->item(row, 0)->text();

  const char* argv[] = {"tarvel-report", trace.c_str()};
  testing::internal::CaptureStdout();
  static int values[practiceItemCount];  // as tarvel-report's own main() has
  int status =
      tarvelReport(2, const_cast<char**>(argv), buildPracticeMenu(values));
  std::string summary = testing::internal::GetCapturedStdout();
  ASSERT_EQ(status, 0);

  EXPECT_EQ(nothing, 3);
  EXPECT_NE(summary.find("chose nothing: 3\n"), std::string::npos) << summary;
  EXPECT_EQ(items.size(), practiceItemCount);
  EXPECT_NE(summary.find("items: 11\n"), std::string::npos) << summary;
  for (const QString& label : items)
    EXPECT_NE(summary.find("  " + label.toStdString() + ":"), std::string::npos)
        << label.toStdString();
  for (const char* label : {"Food > Apple", "Tools > Hammer", "Animals > Duck",
                            "Vehicles > Truck", "Vehicles > Forklift"})
    EXPECT_TRUE(items.contains(label)) << label;

  ::unsetenv("TARVEL_TRACE_DIR");
  ::unsetenv("XDG_DATA_HOME");
  mTraceUseBaseForTesting(untracedBase);
  fs::remove_all(dir);
}
