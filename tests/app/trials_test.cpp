#include "app/random.h"
#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

class Trials : public Trainer {
 protected:
  void SetUp() override {
    view.panelRect = {184, 76, 519, 276};
    view.backButtonRect = {540, 0, 600, 60};
    view.screen = TrainerView::TrainingAwaitPress;
  }
  // A mark from the panel's centre: legs given as screen offsets.
  platform::Gesture mark(std::initializer_list<QPoint> legs) {
    QPoint at = panelCentre();
    platform::Gesture g;
    g.press(at.x(), at.y());
    for (QPoint leg : legs) {
      at += leg;
      g.moveTo(at.x(), at.y(), 120);
    }
    return g.release();
  }
};

}  // namespace

TEST_F(Trials, AHitAndAMisfireAreScoredWithTheirSounds) {
  view.targetIndex = Apple;
  trial(mark({{0, -200}}));  // Food, Apple
  EXPECT_EQ(view.hits, 1);
  EXPECT_EQ(view.screen, TrainerView::TrainingHit);
  EXPECT_EQ(sim.sounds().back(), "IDW_RIGHT");

  view.screen = TrainerView::LabAwaitPress;
  view.targetIndex = Saw;
  trial(mark({{0, -100}, {0, 100}}));  // Food, Banana
  EXPECT_EQ(view.misfires, 1);
  EXPECT_EQ(view.screen, TrainerView::LabMisfire);
  EXPECT_EQ(sim.sounds().back(), "IDW_WRONG");
  EXPECT_EQ(view.trialsLeft, 8);
}

TEST_F(Trials, NothingOrACategoryAloneIsAMisfire) {
  view.targetIndex = Duck;
  QPoint at = panelCentre();
  trial(platform::Gesture().press(at.x(), at.y()).rest(30).release());
  EXPECT_EQ(view.screen, TrainerView::TrainingMisfire);

  // Animals chosen from the menu, released in its submenu's centre.
  view.screen = TrainerView::TrainingAwaitPress;
  trial(platform::Gesture()
            .press(at.x(), at.y())
            .rest(200)
            .moveTo(at.x(), at.y() + 80, 60)
            .rest(300)
            .release());
  EXPECT_EQ(view.practiceMenu->selected, 5);
  EXPECT_EQ(view.screen, TrainerView::TrainingMisfire);
  EXPECT_EQ(view.misfires, 2);
  EXPECT_EQ(view.hits, 0);
}

TEST_F(Trials, ACategoryAloneIsAMisfireEvenAfterAHitBelowIt) {
  view.targetIndex = Banana;
  trial(mark({{0, -100}, {0, 100}}));  // Food, Banana
  ASSERT_EQ(view.hits, 1);

  // The menu pops up, the pointer goes onto Food, and the button comes up
  // before Food's submenu opens: the last selection's Banana is no answer.
  view.screen = TrainerView::TrainingAwaitPress;
  QPoint at = panelCentre();
  trial(platform::Gesture()
            .press(at.x(), at.y())
            .rest(200)
            .moveTo(at.x(), at.y() - 80, 30)
            .release());
  EXPECT_EQ(view.screen, TrainerView::TrainingMisfire);
  EXPECT_EQ(view.hits, 1);
  EXPECT_EQ(view.misfires, 1);
}

TEST_F(Trials, EscapeEndsTheTrialWhereThePointerIs) {
  view.targetIndex = Saw;
  QPoint at = panelCentre();
  trial(platform::Gesture()
            .press(at.x(), at.y())
            .moveTo(at.x() + 100, at.y(), 100)
            .moveTo(at.x() + 100, at.y() - 100, 100)
            .escape()
            .rest(500)  // the button is still held
            .release());
  EXPECT_EQ(view.screen, TrainerView::TrainingHit);
  // Only press to Escape counts, not the time the button stayed down.
  EXPECT_LT(view.totalTime, 300u);
}

TEST_F(Trials, TotalTimeAddsUpAndStartsAgainWithTheMainMenu) {
  view.targetIndex = Apple;
  trial(mark({{0, -200}}));
  uint32_t first = view.totalTime;
  EXPECT_GE(first, 120u);
  trial(mark({{0, -200}}));
  EXPECT_GT(view.totalTime, first);
  EXPECT_EQ(view.averageTime(), view.totalTime / 10);
  view.screen = TrainerView::MainIntro;
  view.resize(600, 400);
  view.paintScreen();
  EXPECT_EQ(view.totalTime, 0u);
  EXPECT_EQ(view.hits, 0);
}

TEST(TargetChoice, RangesWidenEverySixPicks) {
  EXPECT_EQ(scaleDraw(32767, 11), 10);
  EXPECT_EQ(scaleDraw(32767, 3), 2);
  EXPECT_EQ(scaleDraw(0, 11), 0);
  EXPECT_EQ(scaleDraw(32767, 9.9), 9);
}

TEST_F(Trials, TheTrainingAreaUnlocksItemsInOrder) {
  view.screen = TrainerView::TrainingNextTarget;
  view.targetRange = 3;
  view.picksAtRange = 0;
  for (int pick = 1; pick <= 48; pick++) {
    int range = view.targetRange;
    view.chooseNextTarget();
    EXPECT_LT(view.targetIndex, range);
    if (pick <= 6) {
      EXPECT_EQ(range, 3) << pick;
    } else if (pick == 7) {
      EXPECT_EQ(range, 4);
    }
  }
  EXPECT_EQ(view.targetRange, 11);  // all eleven from the 49th on
  EXPECT_EQ(view.clockTimer, 0);    // no clock in training
}

TEST_F(Trials, TheLaboratoryClockStartsWithATargetAndStopsAtAnyPress) {
  view.screen = TrainerView::LabNextTarget;
  view.targetRange = 3;
  view.chooseNextTarget();
  EXPECT_EQ(view.targetRange, 11);
  EXPECT_NE(view.clockTimer, 0);
  EXPECT_EQ(view.trialStartTick, sim.tickCount());
  view.screen = TrainerView::LabAwaitPress;
  click({5, 390});  // nowhere in particular
  EXPECT_EQ(view.clockTimer, 0);
  view.screen = TrainerView::LabNextTarget;
  view.chooseNextTarget();
  view.screen = TrainerView::LabAwaitPress;
  click({5, 390}, Qt::RightButton);  // only the left button counts
  EXPECT_NE(view.clockTimer, 0);
}

TEST_F(Trials, TheTenthLaboratoryTrialLeadsToTheResults) {
  view.screen = TrainerView::LabAwaitPress;
  view.trialsLeft = 2;
  view.targetIndex = Apple;
  trial(mark({{0, -200}}));
  EXPECT_EQ(view.trialsLeft, 1);
  view.resize(600, 400);
  view.paintScreen();  // the lamp blinks, then the next target
  EXPECT_EQ(view.screen, TrainerView::LabNextTarget);
  view.screen = TrainerView::LabAwaitPress;
  trial(mark({{0, -200}}));
  EXPECT_EQ(view.trialsLeft, 0);
  view.paintScreen();
  EXPECT_EQ(view.screen, TrainerView::ResultsReveal);
}
