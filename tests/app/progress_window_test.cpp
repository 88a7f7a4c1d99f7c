#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QBarCategoryAxis>
#include <QChartView>
#include <QLabel>
#include <QMenuBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/cmainframe.h"
#include "app/progress_window.h"
#include "platform/sim_platform.h"
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
