#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "app/cmainframe.h"
#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

// The confirmation of a mark lasts this long; a longer wait with the
// target's path drawn on is the right mark.
constexpr uint32_t confirmationMs = 200;

class RightMark : public Trainer {
 protected:
  int target() const { return view.session().targetIndex; }
  // An item in another category than the target's, so that its own mark
  // never crosses the target's first leg.
  int elsewhere() const {
    for (int k = 0; k < practiceItemCount; k++)
      if (practicePath(k).category != practicePath(target()).category) return k;
    return 0;
  }

  // Runs a trial, noting at every sleep how many pixels along the target's
  // first leg differ from the screen before the press, and when.
  void watchedTrial(const player::Gesture& gesture) {
    QImage before = sim.screenImage().copy();
    QPoint from = panelCentre();
    QPoint dir = itemPath(target()).category;
    shown_.clear();
    sim.watchSleeps([&, before, from, dir](uint32_t ms) {
      int changed = 0;
      for (int k = 15; k <= 60; k++) {
        QPoint at = from + dir * k;
        if (sim.screenImage().pixel(at) != before.pixel(at)) changed++;
      }
      shown_.push_back({uint32_t(sim.tickCount()), ms, changed});
    });
    uint32_t pressTick = uint32_t(sim.tickCount());
    uint32_t time = view.session().totalTime;
    trial(gesture);
    sim.watchSleeps(nullptr);
    release_ = pressTick + (view.session().totalTime - time);
  }
  // The tick at which the target's path was drawn on for longer than a
  // confirmation; 0 when it never was.
  uint32_t rightMarkShownAt() const {
    for (const Shown& s : shown_)
      if (s.ms > confirmationMs && s.pixels > 20) return s.tick;
    return 0;
  }

  struct Shown {
    uint32_t tick;
    uint32_t ms;  // the length of the sleep
    int pixels;
  };
  std::vector<Shown> shown_;
  uint32_t release_ = 0;
};

}  // namespace

TEST_F(RightMark, AMisfireInTrainingShowsTheTargetsMarkAndNamesTheChoice) {
  view.showRightMark(true);
  toMainMenu();
  enterArea(false);
  // Saw is never a target among the first three items.
  watchedTrial(markFor(Saw));
  ASSERT_EQ(view.screen(), S::TrainingMisfire);
  EXPECT_EQ(view.misfireNote(), QString("You chose Tools \u203A Saw"));
  uint32_t at = rightMarkShownAt();
  ASSERT_NE(at, 0u);
  EXPECT_LE(at - release_, 300u);
  // Gone once the trial is over, and the lamp and sound as ever.
  EXPECT_EQ(sim.sounds().back(), "IDW_WRONG");
  nextTarget();
  EXPECT_EQ(view.screen(), S::TrainingAwaitPress);

  // Nothing chosen: a press and a release on the spot.
  QPoint c = panelCentre();
  watchedTrial(player::Gesture().press(c.x(), c.y()).rest(30).release());
  EXPECT_EQ(view.misfireNote(), QString("You chose nothing"));
  at = rightMarkShownAt();
  ASSERT_NE(at, 0u);
  EXPECT_LE(at - release_, 300u);
}

TEST_F(RightMark, NoMarkAfterAHitInTheLaboratoryOrWithTheOptionOff) {
  view.showRightMark(true);
  toMainMenu();
  enterArea(false);
  watchedTrial(markFor(target()));
  ASSERT_EQ(view.screen(), S::TrainingHit);
  EXPECT_EQ(rightMarkShownAt(), 0u);
  EXPECT_TRUE(view.misfireNote().isEmpty());

  nextTarget();
  view.showRightMark(false);
  watchedTrial(markFor(elsewhere()));
  ASSERT_EQ(view.screen(), S::TrainingMisfire);
  EXPECT_EQ(rightMarkShownAt(), 0u);
  EXPECT_TRUE(view.misfireNote().isEmpty());

  view.showRightMark(true);
  nextTarget();
  click(view.layout().backButton.rect().center());
  view.runScreen();
  enterArea(true);
  watchedTrial(markFor(elsewhere()));
  ASSERT_EQ(view.screen(), S::LabMisfire);
  EXPECT_EQ(rightMarkShownAt(), 0u);
  EXPECT_TRUE(view.misfireNote().isEmpty());
}

TEST(RightMarkNote, NamesThePathChosen) {
  EXPECT_EQ(TrainerView::choiceNote({}), QString("You chose nothing"));
  EXPECT_EQ(TrainerView::choiceNote({"Animals"}), QString("You chose Animals"));
}

// The options are off for a new learner, and each is kept once turned on.
TEST(TrainerOptions, OffByDefaultAndKept) {
  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  // The record, on by default, goes into the test's folder too.
  const char* old = std::getenv("XDG_DATA_HOME");
  std::string oldDataHome = old ? old : "";
  setenv("XDG_DATA_HOME", qPrintable(dir.path() + "/data"), 1);
  platform::SimPlatform sim;
  {
    CMainFrame frame;
    for (QAction* option : {frame.rightMarkAction(), frame.weakItemsAction()}) {
      ASSERT_TRUE(option->isCheckable());
      EXPECT_FALSE(option->isChecked());
    }
    EXPECT_FALSE(frame.view()->showingRightMark());
    EXPECT_FALSE(frame.view()->aimingAtWeakItems());
    EXPECT_TRUE(frame.standardReadingAction()->isChecked());
    EXPECT_EQ(mGetMarkRecognizer(), MARK_RECOGNIZER_STANDARD);
    frame.rightMarkAction()->trigger();
    EXPECT_TRUE(frame.view()->showingRightMark());
    EXPECT_FALSE(frame.view()->aimingAtWeakItems());
    frame.legReadingAction()->trigger();
    EXPECT_EQ(mGetMarkRecognizer(), MARK_RECOGNIZER_LEGS);
  }
  mSetMarkRecognizer(MARK_RECOGNIZER_STANDARD);
  {
    CMainFrame again;
    EXPECT_TRUE(again.rightMarkAction()->isChecked());
    EXPECT_TRUE(again.view()->showingRightMark());
    EXPECT_FALSE(again.weakItemsAction()->isChecked());
    again.weakItemsAction()->trigger();
    EXPECT_TRUE(again.view()->aimingAtWeakItems());
  }
  {
    CMainFrame third;
    EXPECT_TRUE(third.weakItemsAction()->isChecked());
    EXPECT_TRUE(third.view()->aimingAtWeakItems());
    EXPECT_TRUE(third.legReadingAction()->isChecked());
    EXPECT_EQ(mGetMarkRecognizer(), MARK_RECOGNIZER_LEGS);
    third.standardReadingAction()->trigger();
  }
  EXPECT_EQ(mGetMarkRecognizer(), MARK_RECOGNIZER_STANDARD);
  if (old)
    setenv("XDG_DATA_HOME", oldDataHome.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}
