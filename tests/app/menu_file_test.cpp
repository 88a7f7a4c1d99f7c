#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/cmainframe.h"
#include "progress/progress_source.h"
#include "progress/trial_log_reader.h"
#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

// North or east, then north or east; two leaves share a label.
const char* const twoLevels = R"({"menus": [{"name": "two-levels", "items": [
  {"label": "File", "position": 0, "items": [
    {"label": "Open", "position": 0}, {"label": "Close", "position": 2}]},
  {"label": "Window", "position": 2, "items": [
    {"label": "New", "position": 0}, {"label": "Close", "position": 2}]}
]}]})";

// The second item takes the first one's position, on line 3.
const char* const broken = R"({"menus": [{"name": "broken", "items": [
  {"label": "File", "position": 0},
  {"label": "Edit", "position": 0}
]}]})";

// A folder for the test's files, settings and record, XDG_DATA_HOME
// pointing into it while the test runs.
class MenuFile : public Trainer {
 protected:
  MenuFile() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    const char* old = std::getenv("XDG_DATA_HOME");
    if (old) oldDataHome_ = old;
    hadDataHome_ = old != nullptr;
    setenv("XDG_DATA_HOME", qPrintable(dir_.path() + "/data"), 1);
  }
  ~MenuFile() override {
    if (hadDataHome_)
      setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }
  std::string file(const char* name, const char* text) {
    std::string path = dir_.path().toStdString() + "/" + name;
    std::ofstream(path) << text;
    return path;
  }

  QTemporaryDir dir_;
  std::string oldDataHome_;
  bool hadDataHome_ = false;
};

TEST_F(MenuFile, LeavesAreAskedForByLabelAndChosenByValue) {
  TrainingMenu menu(nullptr);
  std::string error;
  ASSERT_TRUE(menu.load(file("two.json", twoLevels), &error)) << error;
  EXPECT_FALSE(menu.practice());
  ASSERT_EQ(menu.itemCount(), 4);
  EXPECT_EQ(menu.path(1), (std::vector<int>{0, 2}));
  EXPECT_EQ(menu.label(1), "Close");
  EXPECT_EQ(menu.askedAs(1), "File \u203A Close");  // two leaves are "Close"
  EXPECT_EQ(menu.askedAs(2), "New");
  EXPECT_EQ(menu.itemOf(3), 2);  // a leaf's value is its number + 1
  EXPECT_EQ(menu.itemOf(0), -1);
  EXPECT_EQ(menu.itemOf(99), -1);
  EXPECT_EQ(menu.studyName(), "two-levels");
  EXPECT_EQ(menu.recordFolder(),
            dir_.path().toStdString() + "/data/tarvel/menus/two");

  // A file that does not read leaves the menu as it was.
  std::string bad = file("broken.json", broken);
  EXPECT_FALSE(menu.load(bad, &error));
  EXPECT_EQ(error, bad +
                       ":3: menus[0].items[1].position: position 0 is "
                       "already taken by \"File\"");
  EXPECT_EQ(menu.itemCount(), 4);
  EXPECT_EQ(menu.studyName(), "two-levels");
  menu.usePractice();
  EXPECT_EQ(menu.itemCount(), practiceItemCount);
  EXPECT_EQ(menu.askedAs(Apple), "Apple");
}

// Trials by mark in the training area, scored and recorded as the menu's
// own; the laboratory keeps asking for the practice menu's items.
TEST_F(MenuFile, TrainingAsksForTheFilesLeaves) {
  std::string error;
  ASSERT_TRUE(view.keepRecord(true));
  ASSERT_TRUE(view.practiseMenuFile(file("two.json", twoLevels), &error))
      << error;
  toMainMenu();
  enterArea(false);
  ASSERT_EQ(view.session().itemCount, 4);
  const QPoint n(0, -100), e(100, 0);
  const std::vector<std::vector<QPoint>> legs = {
      {n, n}, {n, e}, {e, n}, {e, e}};
  int hits = 0;
  for (int k = 0; k < 8; k++) {
    int target = view.session().targetIndex;
    ASSERT_GE(target, 0);
    ASSERT_LT(target, 4);
    // Every other trial the target's mark, else the next leaf's.
    int drawn = k % 2 ? target : (target + 1) % 4;
    const auto& l = legs[size_t(drawn)];
    trial(mark({l[0], l[1]}));
    hits += drawn == target ? 1 : 0;
    nextTarget();
  }
  EXPECT_EQ(view.session().hits, hits);
  EXPECT_EQ(view.session().misfires, 8 - hits);

  std::vector<std::string> files =
      recordFiles(view.trainingMenu().recordFolder());
  ASSERT_EQ(files.size(), 1u);
  TrialLog log = readTrialLog(files[0]);
  ASSERT_EQ(log.rows.size(), 8u);
  for (size_t k = 0; k < log.rows.size(); k++) {
    const TrialRow& row = log.rows[k];
    EXPECT_EQ(row.study, "two-levels");
    EXPECT_EQ(row.condition, "training");
    EXPECT_TRUE(row.byMark);
    EXPECT_EQ(row.hit, row.targetPath == row.chosenPath) << k;
    EXPECT_EQ(row.hit, k % 2 == 1) << k;
  }
  EXPECT_TRUE(recordFiles(TrainerRecord::folder()).empty());
}

// The choice of menu is kept; a kept file that no longer reads is said
// once and forgotten; Options > Practice menu goes back.
TEST_F(MenuFile, ChoiceIsKept) {
  std::string path = file("two.json", twoLevels);
  {
    CMainFrame frame;
    EXPECT_TRUE(frame.practiceMenuAction()->isChecked());
    EXPECT_FALSE(frame.menuFileAction()->isChecked());
    ASSERT_TRUE(frame.practiseMenuFile(QString::fromStdString(path)));
    EXPECT_TRUE(frame.menuFileAction()->isChecked());
    EXPECT_FALSE(frame.practiceMenuAction()->isChecked());
  }
  {
    CMainFrame again;
    EXPECT_EQ(again.view()->trainingMenu().file(), path);
    EXPECT_TRUE(again.menuFileAction()->isChecked());
    again.practiceMenuAction()->trigger();
    EXPECT_TRUE(again.view()->trainingMenu().practice());
    EXPECT_TRUE(again.practiceMenuAction()->isChecked());
    ASSERT_TRUE(again.practiseMenuFile(QString::fromStdString(path)));
  }
  std::ofstream(path) << broken;
  {
    CMainFrame third;
    EXPECT_TRUE(third.view()->trainingMenu().practice());
    EXPECT_TRUE(third.practiceMenuAction()->isChecked());
  }
  CMainFrame fourth;
  EXPECT_TRUE(QSettings().value("trainer/menuFile").toString().isEmpty());
}

}  // namespace
