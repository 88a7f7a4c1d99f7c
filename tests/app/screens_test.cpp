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

// A paint shows the picture as it is: no time passes, nothing is played,
// nothing is drawn, and the screen stays.
void expectPaintOnlyShows(TrainerView& view, platform::SimPlatform& sim) {
  SoundLog sounds(sim);
  sounds.fresh();
  TrainerView::Screen screen = view.screen();
  int target = view.session().targetIndex;
  QImage before = view.canvas().image();
  uint32_t tick = sim.tickCount();
  view.repaint();
  EXPECT_EQ(view.screen(), screen);
  EXPECT_EQ(sim.tickCount(), tick) << screen;
  EXPECT_TRUE(sounds.fresh().empty()) << screen;
  EXPECT_EQ(view.session().targetIndex, target) << screen;
  EXPECT_EQ(view.canvas().image(), before) << screen;
}

}  // namespace

TEST_F(Screens, FromTheOpeningThroughBothAreasToTheResultsAndBack) {
  SoundLog sounds(sim);
  expectPaintOnlyShows(view, sim);  // the opening waits for the event loop
  view.runScreen();
  EXPECT_EQ(view.screen(), S::MainIntro);
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_OPENING"});
  EXPECT_EQ(view.layout().backButton, (HotRect{540, 0, 600, 60}));

  view.runScreen();
  EXPECT_EQ(view.screen(), S::MainMenu);
  EXPECT_EQ(view.layout().trainingPicture, (HotRect{50, 56, 169, 190}));
  EXPECT_EQ(view.layout().labPicture, (HotRect{50, 210, 169, 344}));
  EXPECT_EQ(view.layout().logo, (HotRect{201, 105, 399, 295}));
  expectPaintOnlyShows(view, sim);
  view.runScreen();  // an idle screen does not move on
  EXPECT_EQ(view.screen(), S::MainMenu);

  click({10, 10});  // nothing there
  EXPECT_EQ(view.screen(), S::MainMenu);
  click({60, 60});
  EXPECT_EQ(view.screen(), S::TrainingChosen);
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_CHOICE"});
  expectPaintOnlyShows(view, sim);
  view.runScreen();
  EXPECT_EQ(view.screen(), S::TrainingEntry);
  view.runScreen();  // the entry goes on into the first target
  EXPECT_EQ(view.screen(), S::TrainingAwaitPress);
  EXPECT_EQ(sounds.fresh(), joined({"IDW_WHOOSH"}, repeated("IDW_CLICK", 5)));
  EXPECT_EQ(view.layout().areaPicture, (HotRect{50, 56, 169, 190}));
  EXPECT_EQ(view.layout().panel, (HotRect{184, 76, 519, 276}));
  EXPECT_EQ(view.layout().lampBox, (HotRect{50, 200, 93, 273}));
  EXPECT_FALSE(view.clock().ticking());
  expectPaintOnlyShows(view, sim);

  click({560, 30});  // the back button
  EXPECT_EQ(view.screen(), S::MainIntro);
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_BACK"});
  view.runScreen();
  click({100, 300});  // the laboratory picture
  EXPECT_EQ(view.screen(), S::LabChosen);
  view.runScreen();
  view.runScreen();
  EXPECT_EQ(view.screen(), S::LabAwaitPress);
  EXPECT_EQ(view.session().targetRange, 11);
  EXPECT_TRUE(view.clock().ticking());
  expectPaintOnlyShows(view, sim);
  sounds.fresh();

  for (int trial = 1; trial <= labTrialCount; trial++) {
    QPoint at = panelCentre();
    this->trial(player::Gesture().press(at.x(), at.y()).rest(20).release());
    EXPECT_EQ(view.screen(), S::LabMisfire);
    view.runScreen();  // the lamp blinks, then the next target or results
    EXPECT_EQ(view.screen(),
              trial < labTrialCount ? S::LabNextTarget : S::ResultsReveal);
    if (trial < labTrialCount) view.runScreen();
  }
  EXPECT_EQ(view.session().misfires, 10);
  sounds.fresh();
  view.runScreen();
  EXPECT_EQ(view.screen(), S::Results);
  EXPECT_EQ(sounds.fresh(),
            joined({"IDW_DRUMROLL", "IDW_REPORT", "!IDW_RICOCHET"},
                   repeated("IDW_TYPE", 43)));
  expectPaintOnlyShows(view, sim);

  move({70, 150});  // the logo on the results picture
  EXPECT_TRUE(handCursor(view));
  move({70, 200});
  EXPECT_FALSE(handCursor(view));
  click({60, 140});
  EXPECT_EQ(view.screen(), S::Opening);
  EXPECT_TRUE(sounds.fresh().empty());  // the opening plays it
  view.runScreen();
  EXPECT_EQ(sounds.fresh(), std::vector<std::string>{"IDW_OPENING"});
}

TEST_F(Screens, TheCursorPointsOverWhatCanBeClicked) {
  toMainMenu();
  move({100, 100});  // the training picture
  EXPECT_TRUE(handCursor(view));
  move({300, 20});
  EXPECT_FALSE(handCursor(view));
  move({100, 300});  // the laboratory picture
  EXPECT_TRUE(handCursor(view));

  enterArea(false);
  move({300, 150});  // the panel is hot for a press, not for the cursor
  EXPECT_FALSE(handCursor(view));
  move({570, 20});
  EXPECT_TRUE(handCursor(view));
}

TEST_F(Screens, DissolvesTakeTheirTimeHoweverFastTheDrawing) {
  // Drawing takes no virtual time: what passes is the dissolve's own pace.
  uint32_t before = sim.tickCount();
  view.runScreen();
  uint32_t dissolve = sim.tickCount() - before - 1000;  // after the title
  EXPECT_GE(dissolve, 600u);
  EXPECT_LE(dissolve, 1000u);
  view.runScreen();
  click(view.layout().labPicture.rect().center());
  ASSERT_EQ(view.screen(), S::LabChosen);
  before = sim.tickCount();
  view.runScreen();
  EXPECT_EQ(sim.tickCount() - before, dissolve);
}

TEST_F(Screens, TheTypedLineLooksTheSameWhileTypedAndWhenRedrawn) {
  toMainMenu();
  enterArea(true);
  for (int trial = 1; trial <= labTrialCount; trial++) {
    QPoint at = panelCentre();
    this->trial(player::Gesture().press(at.x(), at.y()).release());
    view.runScreen();
    if (trial < labTrialCount) view.runScreen();
  }
  ASSERT_EQ(view.screen(), S::ResultsReveal);
  QRect line =
      Canvas::textArea({130, 80}, 13,
                       QStringLiteral("Your results have been carefully "
                                      "tabulated:"));
  QImage typed;
  // Frames go on while the needle swings, long after the last letter.
  view.canvas().setPresenter([&](const QImage& picture, QRect) {
    if (view.screen() == S::ResultsReveal) typed = picture.copy(line);
  });
  view.runScreen();
  ASSERT_EQ(view.screen(), S::Results);
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
  // The opening starts from the event loop once the view has been painted,
  // the frame and its menu bar on the screen.
  ASSERT_GE(spy.soundsBefore.size(), 1u);
  EXPECT_EQ(spy.soundsBefore[0], 0u);
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
