#include <QCursor>

#include "trainer_fixture.h"

namespace {

const auto* qtApp = ::testing::AddGlobalTestEnvironment(new QtApplication);

using Screens = Trainer;
using S = TrainerView::Screen;

// Sounds played since the last call, synchronous ones marked with "!".
class SoundLog {
 public:
  explicit SoundLog(const platform::SimPlatform& sim) : sim_(sim) {}
  std::vector<std::string> fresh() {
    std::vector<std::string> out(sim_.sounds().begin() + long(seen_),
                                 sim_.sounds().end());
    seen_ = sim_.sounds().size();
    return out;
  }

 private:
  const platform::SimPlatform& sim_;
  size_t seen_ = 0;
};

std::vector<std::string> repeated(const char* sound, int times) {
  return std::vector<std::string>(size_t(times), sound);
}

std::vector<std::string> joined(std::vector<std::string> a,
                                const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool handCursor(const QWidget& w) {
  return w.cursor().shape() == Qt::BitmapCursor;
}

}  // namespace

TEST_F(Screens, FromTheOpeningThroughBothAreasToTheResultsAndBack) {
  SoundLog sounds(sim);
  view.paintScreen();
  EXPECT_EQ(view.screen, S::MainIntro);
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_OPENING"});
  EXPECT_EQ(view.backButtonRect, (HotRect{540, 0, 600, 60}));

  view.hits = 4;
  view.paintScreen();
  EXPECT_EQ(view.screen, S::MainMenu);
  EXPECT_EQ(view.hits, 0);
  EXPECT_EQ(view.trainingPictureRect, (HotRect{50, 56, 169, 190}));
  EXPECT_EQ(view.labPictureRect, (HotRect{50, 210, 169, 344}));
  EXPECT_EQ(view.logoRect, (HotRect{201, 105, 399, 295}));

  click({10, 10});  // nothing there
  EXPECT_EQ(view.screen, S::MainMenu);
  click({60, 60});
  EXPECT_EQ(view.screen, S::TrainingChosen);
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_CHOICE"});
  view.paintScreen();
  EXPECT_EQ(view.screen, S::TrainingEntry);
  view.paintScreen();  // the entry goes on into the first target
  EXPECT_EQ(view.screen, S::TrainingAwaitPress);
  EXPECT_EQ(sounds.fresh(), joined({"IDW_WHOOSH"}, repeated("IDW_CLICK", 5)));
  EXPECT_EQ(view.areaPictureRect, (HotRect{50, 56, 169, 190}));
  EXPECT_EQ(view.panelRect, (HotRect{184, 76, 519, 276}));
  EXPECT_EQ(view.lampBoxRect, (HotRect{50, 200, 93, 273}));
  EXPECT_EQ(view.clockTimer, 0);

  click({560, 30});  // the back button
  EXPECT_EQ(view.screen, S::MainIntro);
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_BACK"});
  view.paintScreen();
  click({100, 300});  // the laboratory picture
  EXPECT_EQ(view.screen, S::LabChosen);
  view.paintScreen();
  view.paintScreen();
  EXPECT_EQ(view.screen, S::LabAwaitPress);
  EXPECT_EQ(view.targetRange, 11);
  EXPECT_NE(view.clockTimer, 0);
  sounds.fresh();

  for (int trial = 1; trial <= 10; trial++) {
    QPoint at = panelCentre();
    this->trial(platform::Gesture().press(at.x(), at.y()).rest(20).release());
    EXPECT_EQ(view.screen, S::LabMisfire);
    view.paintScreen();  // the lamp blinks, then the next target or results
    EXPECT_EQ(view.screen, trial < 10 ? S::LabNextTarget : S::ResultsReveal);
    if (trial < 10) view.paintScreen();
  }
  EXPECT_EQ(view.misfires, 10);
  sounds.fresh();
  view.paintScreen();
  EXPECT_EQ(view.screen, S::Results);
  EXPECT_EQ(sounds.fresh(),
            joined({"IDW_DRUMROLL", "IDW_REPORT", "!IDW_RICOCHET"},
                   repeated("IDW_TYPE", 43)));

  click({60, 140});  // the logo on the results picture
  EXPECT_EQ(view.screen, S::Opening);
  EXPECT_TRUE(sounds.fresh().empty());  // the opening plays it
  view.paintScreen();
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_OPENING"});
}

TEST_F(Screens, IdleScreensRepaintWithoutAnimation) {
  view.paintScreen();
  view.paintScreen();
  ASSERT_EQ(view.screen, S::MainMenu);
  SoundLog sounds(sim);
  sounds.fresh();
  for (int idle :
       {S::MainMenu, S::TrainingAwaitPress, S::LabAwaitPress, S::Results}) {
    view.screen = idle;
    view.targetIndex = Hammer;
    uint32_t before = sim.tickCount();
    view.paintScreen();
    EXPECT_EQ(view.screen, idle);
    EXPECT_EQ(sim.tickCount(), before) << idle;  // no pause at all
    EXPECT_TRUE(sounds.fresh().empty()) << idle;
    EXPECT_EQ(view.targetIndex, Hammer);  // the target stays
  }
}

TEST_F(Screens, TheCursorPointsOverWhatCanBeClicked) {
  view.paintScreen();
  view.paintScreen();
  move({100, 100});  // the training picture
  EXPECT_TRUE(handCursor(view));
  move({300, 20});
  EXPECT_FALSE(handCursor(view));
  move({100, 300});  // the laboratory picture
  EXPECT_TRUE(handCursor(view));

  view.screen = S::TrainingAwaitPress;
  view.panelRect = {184, 76, 519, 276};
  move({300, 150});  // the panel is hot for a press, not for the cursor
  EXPECT_FALSE(handCursor(view));
  move({570, 20});
  EXPECT_TRUE(handCursor(view));

  view.screen = S::Results;
  move({70, 150});
  EXPECT_TRUE(handCursor(view));
  move({70, 200});
  EXPECT_FALSE(handCursor(view));
}

TEST_F(Screens, ResultsFiguresDescribeTheRun) {
  view.hits = 7;
  view.misfires = 3;
  view.totalTime = 12345;
  EXPECT_EQ(view.averageTime(), 1234u);
  view.screen = S::Results;
  view.paintScreen();
  EXPECT_EQ(view.screen, S::Results);
}
