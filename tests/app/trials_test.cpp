#include "app/random.h"
#include "app/session.h"
#include "app/training_menu.h"
#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

class Trials : public Trainer {
 protected:
  void SetUp() override {
    toMainMenu();
    enterArea(false);
  }
  int target() const { return view.session().targetIndex; }
  // Any item but the target.
  int other() const { return (target() + 1) % practiceItemCount; }
};

}  // namespace

TEST_F(Trials, AHitAndAMisfireAreScoredWithTheirSounds) {
  trial(markFor(target()));
  EXPECT_EQ(view.session().hits, 1);
  EXPECT_EQ(view.screen(), S::TrainingHit);
  EXPECT_EQ(sim.sounds().back(), "IDW_RIGHT");

  nextTarget();
  trial(markFor(other()));
  EXPECT_EQ(view.session().misfires, 1);
  EXPECT_EQ(view.screen(), S::TrainingMisfire);
  EXPECT_EQ(sim.sounds().back(), "IDW_WRONG");
  EXPECT_EQ(view.session().trialsLeft, labTrialCount - 2);
}

TEST_F(Trials, NothingOrACategoryAloneIsAMisfire) {
  QPoint at = panelCentre();
  trial(player::Gesture().press(at.x(), at.y()).rest(30).release());
  EXPECT_EQ(view.screen(), S::TrainingMisfire);

  // Animals chosen from the menu, released in its submenu's centre.
  nextTarget();
  trial(player::Gesture()
            .press(at.x(), at.y())
            .rest(200)
            .moveTo(at.x(), at.y() + 80, 60)
            .rest(300)
            .release());
  EXPECT_EQ(view.practiceMenu()->selected, 5);
  EXPECT_EQ(view.screen(), S::TrainingMisfire);
  EXPECT_EQ(view.session().misfires, 2);
  EXPECT_EQ(view.session().hits, 0);
}

TEST_F(Trials, ACategoryAloneIsAMisfireEvenAfterAHitBelowIt) {
  trial(markFor(target()));
  ASSERT_EQ(view.session().hits, 1);

  // The menu pops up, the pointer goes onto the last target's category, and
  // the button comes up before its submenu opens: the last selection's item
  // is no answer, even when it is the target again.
  QPoint category = itemPath(target()).category * 80;
  nextTarget();
  QPoint at = panelCentre();
  trial(player::Gesture()
            .press(at.x(), at.y())
            .rest(200)
            .moveTo(at.x() + category.x(), at.y() + category.y(), 30)
            .release());
  EXPECT_EQ(view.screen(), S::TrainingMisfire);
  EXPECT_EQ(view.session().hits, 1);
  EXPECT_EQ(view.session().misfires, 1);
}

TEST_F(Trials, EscapeEndsTheTrialWhereThePointerIs) {
  ItemPath path = itemPath(target());
  QPoint at = panelCentre();
  QPoint a = at + path.category * 100, b = a + path.item * 100;
  trial(player::Gesture()
            .press(at.x(), at.y())
            .moveTo(a.x(), a.y(), 100)
            .moveTo(b.x(), b.y(), 100)
            .escape()
            .rest(500)  // the button is still held
            .release());
  EXPECT_EQ(view.screen(), S::TrainingHit);
  // Only press to Escape counts, not the time the button stayed down.
  EXPECT_LT(view.session().totalTime, 300u);
}

// Escape goes down in the same millisecond as the pointer reaches the item
// in the submenu: that position still counts, for the trainer and for the
// gesture player alike, and both take the same time.
TEST_F(Trials, TheTrainerAndTheGesturePlayerTakeEscapeAlike) {
  ItemPath path = itemPath(target());
  QPoint at = panelCentre();
  QPoint a = at + path.category * 80, b = a + path.item * 80;
  player::Gesture g;
  g.press(at.x(), at.y())
      .rest(200)
      .moveTo(a.x(), a.y(), 60)
      .rest(400)
      .moveTo(b.x(), b.y(), 10)
      .escape()
      .rest(200)
      .release();
  trial(g);
  EXPECT_EQ(view.screen(), S::TrainingHit);

  int values[practiceItemCount];
  Menu* menu = buildPracticeMenu(values);
  player::SelectionOutcome played = player::playSelection(sim, menu, g);
  ASSERT_NE(played.value, 0u);
  EXPECT_EQ(*reinterpret_cast<const int*>(played.value), target());
  EXPECT_EQ(played.releasedAfterMs, view.session().totalTime);
}

TEST_F(Trials, TotalTimeAddsUpAndStartsAgainWithTheMainMenu) {
  trial(markFor(target()));
  uint32_t first = view.session().totalTime;
  EXPECT_GE(first, 120u);
  nextTarget();
  trial(markFor(target()));
  EXPECT_GT(view.session().totalTime, first);
  nextTarget();
  click(view.layout().backButton.rect().center());
  EXPECT_EQ(view.screen(), S::MainIntro);
  view.runScreen();
  EXPECT_EQ(view.session().totalTime, 0u);
  EXPECT_EQ(view.session().hits, 0);
}

TEST(TargetChoice, RangesWidenEverySixPicks) {
  EXPECT_EQ(scaleDraw(32767, 11), 10);
  EXPECT_EQ(scaleDraw(32767, 3), 2);
  EXPECT_EQ(scaleDraw(0, 11), 0);
  EXPECT_EQ(scaleDraw(32767, 9.9), 9);

  // The training area unlocks items in order, all eleven from the 49th
  // pick on; the highest draw shows the range's last item.
  Session s;
  s.enterArea();
  for (int pick = 1; pick <= 48; pick++) {
    int range = s.targetRange;
    s.chooseTarget(32767, false);
    EXPECT_EQ(s.targetIndex, range - 1) << pick;
    EXPECT_EQ(range, pick <= 6 ? 3 : pick <= 12 ? 4 : range) << pick;
  }
  EXPECT_EQ(s.targetRange, practiceItemCount);

  // The laboratory picks among all of them from the first.
  s.enterArea();
  s.chooseTarget(32767, true);
  EXPECT_EQ(s.targetIndex, practiceItemCount - 1);
}

TEST(SessionScore, CountsHitsMisfiresAndTime) {
  int items[practiceItemCount];
  for (int k = 0; k < practiceItemCount; k++) items[k] = k;
  // The practice menu's items are known by the values it gives them.
  TrainingMenu practice(nullptr);
  auto chosen = [&](int* value) {
    return practice.itemOf(reinterpret_cast<uintptr_t>(value));
  };
  Session s;
  s.enterArea();
  s.targetIndex = Saw;
  EXPECT_TRUE(s.score(chosen(&items[Saw]), 700));
  EXPECT_FALSE(s.score(chosen(&items[Hammer]), 500));
  EXPECT_FALSE(s.score(chosen(nullptr), 234));  // nothing chosen
  EXPECT_EQ(s.hits, 1);
  EXPECT_EQ(s.misfires, 2);
  EXPECT_EQ(s.totalTime, 1434u);
  EXPECT_EQ(s.averageTime(), 1434u / labTrialCount);
  EXPECT_EQ(s.trialsLeft, labTrialCount - 3);
  EXPECT_FALSE(s.runOver());
  s.startRun();
  EXPECT_EQ(s.hits + s.misfires, 0);
  EXPECT_EQ(s.totalTime, 0u);
}

class Laboratory : public Trainer {
 protected:
  void SetUp() override {
    toMainMenu();
    enterArea(true);
  }
};

TEST_F(Laboratory, TheClockStartsWithATargetAndStopsAtAnyPress) {
  EXPECT_EQ(view.session().targetRange, practiceItemCount);
  EXPECT_TRUE(view.clock().ticking());
  EXPECT_EQ(view.clock().startTick(), sim.tickCount());
  click({5, 390});  // nowhere in particular
  EXPECT_FALSE(view.clock().ticking());

  trial(markFor(view.session().targetIndex));
  nextTarget();
  ASSERT_EQ(view.screen(), S::LabAwaitPress);
  EXPECT_TRUE(view.clock().ticking());
  click({5, 390}, Qt::RightButton);  // only the left button counts
  EXPECT_TRUE(view.clock().ticking());
}

TEST_F(Laboratory, TheTenthTrialLeadsToTheResults) {
  for (int trial = 1; trial <= labTrialCount; trial++) {
    this->trial(markFor(view.session().targetIndex));
    EXPECT_EQ(view.screen(), S::LabHit);
    EXPECT_EQ(view.session().trialsLeft, labTrialCount - trial);
    view.runScreen();  // the lamp blinks, then the next target or results
    if (trial < labTrialCount) {
      ASSERT_EQ(view.screen(), S::LabNextTarget);
      view.runScreen();
    }
  }
  EXPECT_EQ(view.screen(), S::ResultsReveal);
  EXPECT_EQ(view.session().hits, labTrialCount);
}

namespace {

// A machine on which the overlay takes a while to come up, as a plain X
// desktop under load takes to copy the screen: the pointer moves on
// meanwhile.
class SlowOverlay : public platform::SimPlatform {
 public:
  using SimPlatform::SimPlatform;
  platform::Surface* openOverlay() override {
    advance(200);
    return SimPlatform::openOverlay();
  }
};

}  // namespace

// A quick mark whose first 40 px are drawn while the overlay comes up is
// read from where the button went down, not from where the pointer was once
// the overlay was up.
TEST_F(Trials, AMarkStartsWhereTheButtonWentDownHoweverSlowTheOverlay) {
  SlowOverlay slow(1280, 1024);
  for (int k = 0; k < 3; k++) {
    int item = target();
    ItemPath path = itemPath(item);
    QPoint at = panelCentre();
    QPoint early = at + path.category * 40, a = at + path.category * 60,
           b = a + path.item * 100;
    player::Gesture g;
    g.press(at.x(), at.y())
        .moveTo(early.x(), early.y(), 150)
        .moveTo(a.x(), a.y(), 40)
        .moveTo(b.x(), b.y(), 100)
        .release();
    g.playOn(slow);
    click(view.layout().panel.rect().center());
    slow.setInputScript(nullptr);
    EXPECT_EQ(view.screen(), S::TrainingHit) << "target " << item;
    view.runScreen();
    view.runScreen();
  }
  EXPECT_EQ(view.session().hits, 3);
}
