#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "app/aboutdialog.h"
#include "app/cmainframe.h"
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

TEST_F(Screens, DissolvesTakeTheirTimeHoweverFastTheDrawing) {
  // Drawing takes no virtual time: what passes is the dissolve's own pace.
  uint32_t before = sim.tickCount();
  view.paintScreen();
  uint32_t dissolve = sim.tickCount() - before - 1000;  // after the title
  EXPECT_GE(dissolve, 600u);
  EXPECT_LE(dissolve, 1000u);
  view.paintScreen();
  view.screen = S::LabChosen;
  before = sim.tickCount();
  view.paintScreen();
  EXPECT_EQ(sim.tickCount() - before, dissolve);
}

TEST_F(Screens, TheTypedLineLooksTheSameWhileTypedAndWhenRedrawn) {
  QRect line =
      Canvas::textArea({130, 80}, 13,
                       QStringLiteral("Your results have been carefully "
                                      "tabulated:"));
  QImage typed;
  // Frames go on while the needle swings, long after the last letter.
  view.canvas().setPresenter([&](const QImage& picture, QRect) {
    if (view.screen == S::ResultsReveal) typed = picture.copy(line);
  });
  view.screen = S::ResultsReveal;
  view.paintScreen();
  ASSERT_EQ(view.screen, S::Results);
  ASSERT_FALSE(typed.isNull());
  EXPECT_EQ(typed, view.canvas().image().copy(line));
}

namespace {

class Frame : public ::testing::Test {
 protected:
  platform::SimPlatform sim{1280, 1024};
  CMainFrame frame;
};

// The number of sounds played when each paint of a widget begins.
class PaintSpy : public QObject {
 public:
  explicit PaintSpy(const platform::SimPlatform& sim) : sim_(sim) {}
  std::vector<size_t> soundsBefore;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      soundsBefore.push_back(sim_.sounds().size());
    return false;
  }

 private:
  const platform::SimPlatform& sim_;
};

}  // namespace

TEST_F(Frame, ShowsItselfBeforeTheOpeningHoldsTheProgram) {
  PaintSpy spy(sim);
  frame.view()->installEventFilter(&spy);
  frame.show();
  QElapsedTimer waited;
  waited.start();
  while (sim.sounds().empty() && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_FALSE(sim.sounds().empty());
  EXPECT_EQ(sim.sounds().front(), "IDW_OPENING");
  // The paint that puts the frame and its menu bar on the screen leaves
  // the opening to the next one.
  ASSERT_GE(spy.soundsBefore.size(), 2u);
  EXPECT_EQ(spy.soundsBefore[1], 0u);
}

TEST_F(Frame, HoldsTheViewInASunkenEdgeAtAFixedSize) {
  frame.show();
  int menuHeight = frame.menuBar()->sizeHint().height();
  EXPECT_EQ(frame.view()->mapTo(&frame, QPoint(0, 0)),
            QPoint(2, menuHeight + 2));
  EXPECT_EQ(frame.view()->size(), QSize(600, 400));
  EXPECT_EQ(frame.minimumSize(), QSize(604, 404 + menuHeight));
  EXPECT_EQ(frame.maximumSize(), frame.minimumSize());
  QImage shot = frame.grab().toImage();
  // Shaded as if pressed in: dark above and left, light below and right.
  EXPECT_LT(qGray(shot.pixel(0, menuHeight + 100)),
            qGray(shot.pixel(603, menuHeight + 100)));
  EXPECT_LT(qGray(shot.pixel(300, menuHeight)),
            qGray(shot.pixel(300, menuHeight + 403)));
}

TEST_F(Frame, CarriesItsIconInBothSizes) {
  QList<QSize> sizes = frame.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST(AboutBox, PlacesItsTextAndButtonInDialogUnits) {
  AboutDialog about;
  // 1.5 pixels a unit across and 1.625 down, in its 8-point font.
  EXPECT_EQ(about.size(), QSize(404, 242));  // 269 x 149
  auto* ok = about.findChild<QPushButton*>();
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(ok->geometry(), QRect(167, 208, 75, 23));  // (111, 128), 50 x 14
  QLabel* version = nullptr;
  for (QLabel* label : about.findChildren<QLabel*>())
    if (label->text() == "Tarvel Version 1.0") version = label;
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->geometry().topLeft(), QPoint(11, 15));  // (7, 9)
  ok->click();
  EXPECT_EQ(about.result(), QDialog::Accepted);
}
