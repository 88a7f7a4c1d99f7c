#include "app/trainerview.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include "app/random.h"
#include "platform/platform.h"
#include "resources/resources.h"

namespace {

const QColor trainingColour(151, 206, 255);
const QColor labColour(151, 206, 23);
const QColor panelFill(150, 100, 100);
const QColor panelText(180, 130, 130);
const QColor instructionColour(200, 150, 150);
const QColor countdownColour(120, 70, 70);
const QColor returnColour(220, 220, 220);
const QColor lampBoxBorder(230, 230, 230);
const QColor lampBoxFill(192, 192, 192);
const QColor resultsDissolve(240, 190, 85);

constexpr int speckleCircles = 3000;
constexpr uint32_t dissolveMs = 800;  // long enough to be seen as a dissolve
constexpr int dissolveFrames = 50;    // one a display refresh, 16 ms
constexpr int typingRepeats = 2700;   // draws per typed prefix: paces typing
constexpr int slideSteps = 20;
constexpr int panelSteps = 30;
constexpr uint32_t clockPushMs = 15;  // the clock's pushes, at most

const char* const trainingHeadings[] = {"Please enter the Vexil training area",
                                        "Please enter the Vexil Training Area"};
const char* const labHeadings[] = {"Proceed inside primary Vexil laboratory",
                                   "Proceed inside primary Vexil Laboratory"};
const char* const instructions[] = {
    "Please click your mouse button while in this area",
    "of the screen. Wait for the initial menu to pop up,",
    "move the mouse in the correct direction of choice",
    "and wait for the second menu to pop up. As you",
    "become familiar with the Vexil Mark for each menu",
    "pattern, you need not wait for the menus to pop up.",
    "See how fast and accurate you can become! Good luck."};
const char* const resultsLine = "Your results have been carefully tabulated:";

}  // namespace

TrainerView::TrainerView(QWidget* parent) : QWidget(parent) {
  // Every screen paints the whole view itself; Qt need not clear it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  for (int id = 130; id <= 175; id++)
    bitmaps_[id - 130] = resources::bitmap(id);
  QPoint hot = resources::cursorHotSpot();
  handCursor_ =
      QCursor(QPixmap::fromImage(resources::cursorImage()), hot.x(), hot.y());
  practiceMenu = buildPracticeMenu(itemValues);
  canvas_.setPresenter([this](const QImage& picture, QRect area) {
    QWidget* top = window();
    windowPicture_.show(top->winId(), picture, area, mapTo(top, QPoint(0, 0)));
  });
}

TrainerView::~TrainerView() { stopClock(); }

const QImage& TrainerView::bitmap(int id) const {
  static const QImage none;
  return id >= 130 && id <= 175 ? bitmaps_[id - 130] : none;
}

void TrainerView::play(const char* sound, bool synchronous) {
  resources::Wave wave = resources::sound(sound);
  platform::current().playSound(sound, wave.data, wave.size, synchronous);
}

void TrainerView::paintEvent(QPaintEvent*) {
  // The frame reaches the screen only once this paint is over, and the
  // opening holds the program for seconds: the first paint shows the view
  // black, and the screens start with the next one, the frame shown.
  if (shownOnce_) {
    paintScreen();
  } else {
    shownOnce_ = true;
    canvas_.resize(size());
    QTimer::singleShot(0, this, [this] { update(); });
  }
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
}

void TrainerView::paintScreen() {
  // A paint that arrives while another runs (from the events taken in after
  // a trial) only shows the picture as it is.
  if (painting_) return;
  painting_ = true;
  canvas_.resize(size());
  setFirstPaintRects();
  runScreen();
  canvas_.present();
  painting_ = false;
}

void TrainerView::setFirstPaintRects() {
  if (firstPaintDone_) return;
  firstPaintDone_ = true;
  int w = width(), h = height();
  trainingPictureRect = {50, -144, 169, -10};
  labPictureRect = {50, h + 10, 169, h + 144};
  backButtonRect = {w - 60, 0, w, 60};
}

// Each transient state draws, animates and moves on within one paint; the
// idle ones draw their screen again as it was.
void TrainerView::runScreen() {
  switch (screen) {
    case Opening: {
      play("IDW_OPENING");
      canvas_.stretch(bitmap(130), rect());
      canvas_.pause(1000);
      speckle(Qt::black);
      screen = MainIntro;
      update();
      break;
    }
    case MainIntro: {
      animateMainIntro();
      hits = 0;
      misfires = 0;
      totalTime = 0;
      screen = MainMenu;
      break;
    }
    case MainMenu: {
      drawMainMenu();
      break;
    }
    case LabChosen:
    case TrainingChosen: {
      drawMainMenu();
      speckle(Qt::white);
      canvas_.fill(Qt::white);
      screen = screen == LabChosen ? LabEntry : TrainingEntry;
      update();
      break;
    }
    case LabEntry:
    case TrainingEntry: {
      animateAreaEntry();
      targetRange = 3;
      trialsLeft = 10;
      screen = screen == LabEntry ? LabNextTarget : TrainingNextTarget;
      runScreen();
      break;
    }
    case LabNextTarget:
    case TrainingNextTarget: {
      drawTrialScreen(true);
      screen = screen == LabNextTarget ? LabAwaitPress : TrainingAwaitPress;
      break;
    }
    case LabAwaitPress:
    case TrainingAwaitPress: {
      drawTrialScreen(false);
      break;
    }
    case LabHit:
    case LabMisfire: {
      blinkLamp(screen == LabHit);
      screen = trialsLeft != 0 ? LabNextTarget : ResultsReveal;
      update();
      break;
    }
    case TrainingHit:
    case TrainingMisfire: {
      blinkLamp(screen == TrainingHit);
      screen = TrainingNextTarget;
      update();
      break;
    }
    case ResultsReveal: {
      animateResults();
      screen = Results;
      drawResults();
      break;
    }
    case Results: {
      drawResults();
      break;
    }
  }
}

// The circles come in frames on the clock, so that a dissolve takes its
// time on a fast machine as on a slow one.
void TrainerView::speckle(const QColor& colour) {
  static const int radii[] = {3, 5, 8, 10, 5, 8, 3, 20, 3, 7};
  uint32_t start = platform::current().tickCount();
  int drawn = 0;
  for (int frame = 1; frame <= dissolveFrames; frame++) {
    for (; drawn < speckleCircles * frame / dissolveFrames; drawn++) {
      int x = scaledRandom(620);
      int y = scaledRandom(410);
      int r = radii[scaledRandom(9.9)];
      canvas_.disc(QPoint(x, y), r, colour);
    }
    canvas_.pauseUntil(start + dissolveMs * uint32_t(frame) / dissolveFrames);
  }
}

void TrainerView::drawMainMenuTexts(bool capitalised) {
  const HotRect& a = trainingPictureRect;
  const HotRect& b = labPictureRect;
  canvas_.text({a.right + 10, a.top + 16}, 16, trainingColour, "Tarvelgym");
  canvas_.text({b.right + 10, b.top}, 16, labColour, "Tarvel");
  const char* const trainingLines[] = {trainingHeadings[capitalised],
                                       "to develop required motor skills and",
                                       "neo-Pavlovian synaptic response path."};
  for (int i = 0; i < 3; i++)
    canvas_.text({a.right + 10, a.top + 41 + 16 * i}, 10, Qt::white,
                 trainingLines[i]);
  const char* const labLines[] = {
      labHeadings[capitalised], "to perform multi-run experiments without",
      "further regard to personal safety or mental", "stability."};
  for (int i = 0; i < 4; i++)
    canvas_.text({b.right + 10, b.top + 23 + 16 * i}, 10, Qt::white,
                 labLines[i]);
}

void TrainerView::drawMainMenu() {
  canvas_.fill(Qt::black);
  canvas_.stretch(bitmap(143), backButtonRect.rect());
  canvas_.stretch(bitmap(131), logoRect.rect());
  canvas_.stretch(bitmap(142), trainingPictureRect.rect());
  canvas_.stretch(bitmap(141), labPictureRect.rect());
  drawMainMenuTexts(true);
  canvas_.present();
}

void TrainerView::animateMainIntro() {
  canvas_.fill(Qt::black);
  canvas_.stretch(bitmap(143), backButtonRect.rect());
  int cx = width() / 2, cy = height() / 2;
  logoRect = {cx - 99, cy - 95, cx + 99, cy + 95};
  for (int id = 140; id >= 131; id--) {
    canvas_.stretch(bitmap(id), logoRect.rect());
    canvas_.pause(40);
  }
  int h = height();
  trainingPictureRect = {50, -144, 169, -10};
  labPictureRect = {50, h + 10, 169, h + 144};
  for (int step = 0; step < slideSteps; step++) {
    trainingPictureRect.move(0, 10);
    labPictureRect.move(0, -10);
    canvas_.stretch(bitmap(142), trainingPictureRect.rect());
    canvas_.stretch(bitmap(141), labPictureRect.rect());
    canvas_.pause(40);
  }
  drawMainMenuTexts(false);
  canvas_.present();
}

void TrainerView::animateAreaEntry() {
  bool lab = screen == LabEntry;
  const QImage& picture = bitmap(lab ? 146 : 147);
  const QColor& colour = lab ? labColour : trainingColour;
  canvas_.fill(Qt::white);
  canvas_.stretch(bitmap(145), backButtonRect.rect());
  areaPictureRect = {50, -144, 169, -10};
  for (int step = 0; step < slideSteps; step++) {
    areaPictureRect.move(0, 10);
    canvas_.stretch(picture, areaPictureRect.rect());
    canvas_.pause(40);
  }
  play("IDW_WHOOSH");
  const HotRect& c = areaPictureRect;
  panelRect = {c.right + 15, c.top + 20, c.right + 50, c.top + 220};
  for (int step = 0; step < panelSteps; step++) {
    panelRect.right += 10;
    canvas_.roundedBox(panelRect.rect(), colour, panelFill, 40, 5);
    canvas_.pause(5);
  }
}

void TrainerView::drawTrialScreen(bool shuffle) {
  bool lab = screen == LabNextTarget || screen == LabAwaitPress;
  const QColor& colour = lab ? labColour : trainingColour;
  const HotRect& c = areaPictureRect;
  const HotRect& d = panelRect;
  const HotRect& e = backButtonRect;
  canvas_.fill(Qt::white);
  canvas_.stretch(bitmap(145), e.rect());
  canvas_.stretch(bitmap(lab ? 146 : 147), c.rect());
  canvas_.roundedBox(d.rect(), colour, panelFill, 40, 5);
  canvas_.text({e.left - 130, e.top + 20}, 10, returnColour,
               "Click to return to Menu");
  canvas_.text({d.left + 20, d.top - 30}, 16, colour,
               lab ? "Tarvel" : "Tarvelgym");
  if (lab) {
    canvas_.text({d.left + 140, d.top + 60}, 49, countdownColour,
                 QString::number(trialsLeft));
    canvas_.text({d.left + 40, d.top + 85}, 16, panelText,
                 "Click to Show Vexil Marks");
  } else {
    canvas_.text({d.left + 40, d.top + 45}, 16, panelText,
                 "Click to Show Vexil Marks");
    for (int i = 0; i < 7; i++)
      canvas_.text({d.left + 50, d.top + 95 + 11 * i}, 7, instructionColour,
                   instructions[i]);
  }
  canvas_.text({d.left + 20, d.bottom + 25}, 10, Qt::black,
               "Please find" + QString(34, ' ') + "in the Vexil Menu.");
  lampBoxRect = {c.left, c.bottom + 10, c.left + 43, c.bottom + 83};
  const HotRect& f = lampBoxRect;
  canvas_.roundedBox(f.rect(), lampBoxBorder, lampBoxFill, 30, 3);
  canvas_.place(bitmap(163), {f.left + 8, f.top + 5});
  canvas_.place(bitmap(159), {f.left + 8, f.top + 35});
  canvas_.text({f.right + 15, f.top + 10}, 10, Qt::black,
               QString::number(hits));
  canvas_.text({f.right + 15, f.top + 40}, 10, Qt::black,
               QString::number(misfires));
  QPoint target(d.left + 100, d.bottom + 10);
  if (shuffle) {
    for (int i = 0; i < 5; i++) {
      play("IDW_CLICK");
      canvas_.place(bitmap(148 + scaledRandom(11)), target);
      canvas_.pause(100);
      canvas_.fillRect(QRect(target, QSize(105, 105)), Qt::white);
    }
    chooseNextTarget();
  }
  canvas_.place(bitmap(148 + targetIndex), target);
  canvas_.present();
}

void TrainerView::blinkLamp(bool hit) {
  const HotRect& f = lampBoxRect;
  QPoint at =
      hit ? QPoint(f.left + 8, f.top + 5) : QPoint(f.left + 8, f.top + 35);
  int first = hit ? 163 : 160, second = hit ? 164 : 159;
  for (int i = 0; i < 5; i++) {
    canvas_.place(bitmap(first), at);
    canvas_.pause(100);
    canvas_.place(bitmap(second), at);
    canvas_.pause(100);
  }
}

void TrainerView::drawResultsTexts() {
  const char* const labels[] = {
      "Correct Hits:", "Misfires:", "Average Time:", "Total Time:"};
  const QString figures[] = {QString::number(hits), QString::number(misfires),
                             QString("%1 ms").arg(averageTime()),
                             QString("%1 ms").arg(totalTime)};
  for (int i = 0; i < 4; i++) {
    canvas_.text({160, 120 + 20 * i}, 13, Qt::white, labels[i]);
    canvas_.text({290, 120 + 20 * i}, 13, Qt::white, figures[i]);
  }
}

void TrainerView::animateResults() {
  play("IDW_DRUMROLL");
  speckle(resultsDissolve);
  speckle(resultsDissolve);
  play("IDW_REPORT");
  for (int dx = 480; dx >= 0; dx -= 3) {
    canvas_.stretch(bitmap(165), rect().translated(dx, 0));
    canvas_.presentAtDisplayRate();
  }
  canvas_.present();
  play("IDW_RICOCHET", true);
  canvas_.text({130, 40}, 19, Qt::white, "Tarvel Cumulative Testing Results");
  QString line = QString::fromLatin1(resultsLine);
  QPoint at(130, 80);
  // Every draw of a prefix starts again from what lay under the line, so
  // that it leaves the same pixels as the last: antialiased edges drawn
  // over themselves would thicken, and the line would not look as it does
  // when the results are drawn once.
  QRect lineArea = Canvas::textArea(at, 13, line) & rect();
  QImage under = canvas_.image().copy(lineArea);
  for (int k = 1; k <= line.size(); k++) {
    play("IDW_TYPE");
    QString typed = line.left(k);
    for (int i = 0; i < typingRepeats; i++) {
      canvas_.place(under, lineArea.topLeft());
      canvas_.text(at, 13, Qt::white, typed);
      canvas_.presentAtDisplayRate();
    }
  }
  drawResultsTexts();
  QRect needle(242, 230, 134, 49);
  for (int i = 0; i < 90; i++) {
    canvas_.stretch(bitmap(166 + scaledRandom(9.2)), needle);
    canvas_.pause(40);
  }
}

void TrainerView::drawResults() {
  canvas_.stretch(bitmap(165), rect());
  canvas_.text({130, 40}, 19, Qt::white, "Tarvel Cumulative Testing Results");
  canvas_.text({130, 80}, 13, Qt::white, resultsLine);
  drawResultsTexts();
  canvas_.stretch(bitmap(168), QRect(242, 230, 134, 49));
  canvas_.present();
}

void TrainerView::chooseNextTarget() {
  if (screen == LabNextTarget) targetRange = 11;
  targetIndex = scaledRandom(targetRange);
  if (++picksAtRange > 5) {
    targetRange = targetRange + 1 > 11 ? 11 : targetRange + 1;
    picksAtRange = 0;
  }
  if (screen == LabNextTarget && clockTimer == 0) {
    clockTimer = startTimer(20);
    trialStartTick = platform::current().tickCount();
    lastClockValue_ = -1;
  }
}

void TrainerView::stopClock() {
  if (clockTimer == 0) return;
  killTimer(clockTimer);
  clockTimer = 0;
}

void TrainerView::refreshClock() {
  if (screen != LabAwaitPress) return;
  platform::Platform& p = platform::current();
  uint32_t now = p.tickCount();
  int value = int(now - trialStartTick);
  if (value == lastClockValue_) return;
  lastClockValue_ = value;
  QRect area = canvas_.opaqueText({460, 250}, 10, panelText, panelFill,
                                  QString::number(value));
  if (now - lastClockPush_ < clockPushMs) return;
  lastClockPush_ = now;
  canvas_.present();
  // An overlay that shows a picture of the screen hides the view during a
  // selection: the clock goes into that picture, beneath the menus.
  qreal ratio = devicePixelRatioF();
  QImage clock =
      canvas_.image().copy(area).convertToFormat(QImage::Format_RGB32);
  if (ratio != 1) clock = clock.scaled((QSizeF(area.size()) * ratio).toSize());
  QPoint onScreen = mapToGlobal(area.topLeft()) * ratio;
  mDrawBeneath(onScreen.x(), onScreen.y(), clock.width(), clock.height(),
               reinterpret_cast<const uint32_t*>(clock.constBits()),
               int(clock.bytesPerLine()));
}

void TrainerView::runTrial() {
  platform::Platform& p = platform::current();
  int remembered = screen;
  mInit(0, 0, 0, 0, 0, 0);
  platform::InputState in = p.pollInput();
  mPress(practiceMenu, in.x, in.y);
  uint32_t t0 = p.tickCount();
  if (mButtonsDown()) {
    bool escapeSeen = false;
    do {
      if (escapeSeen) break;
      in = p.pollInput();
      mMotion(practiceMenu, in.x, in.y);
      mPoll();
      escapeSeen = in.escapeDown;
      refreshClock();
      p.spinStep();
    } while (mButtonsDown());
  }
  totalTime += p.tickCount() - t0;
  in = p.pollInput();
  mRelease(practiceMenu, in.x, in.y);
  mShowConfirmation(practiceMenu);
  p.sleepMs(100);
  mEraseConfirmation(practiceMenu);
  mShutdown();
  uintptr_t value = 0;
  mGetResult(practiceMenu, nullptr, nullptr, nullptr, nullptr, nullptr, &value);
  screen = remembered;
  swallowQueuedInput();

  bool hit = value != 0 && *reinterpret_cast<const int*>(value) == targetIndex;
  bool training =
      remembered == TrainingNextTarget || remembered == TrainingAwaitPress;
  play(hit ? "IDW_RIGHT" : "IDW_WRONG");
  if (hit) {
    screen = training ? TrainingHit : LabHit;
    hits++;
  } else {
    screen = training ? TrainingMisfire : LabMisfire;
    misfires++;
  }
  trialsLeft--;
  update();
}

// The selection's own mouse and key events reach the window only now that
// the trial is over; they are taken in and dropped, not read as new input.
void TrainerView::swallowQueuedInput() {
  swallowInput_ = true;
  platform::waitForQueuedInput();
  QCoreApplication::processEvents();
  swallowInput_ = false;
}

void TrainerView::mouseMoveEvent(QMouseEvent* event) {
  if (swallowInput_) return;
  QPoint at = event->position().toPoint();
  bool hot = false;
  switch (screen) {
    case MainMenu:
      hot = trainingPictureRect.contains(at) || labPictureRect.contains(at);
      break;
    case LabAwaitPress:
    case TrainingAwaitPress:
      hot = backButtonRect.contains(at);
      break;
    case Results:
      hot = resultsLogoRect.contains(at);
      break;
    default:
      break;
  }
  if (hot)
    setCursor(handCursor_);
  else
    unsetCursor();
  QWidget::mouseMoveEvent(event);
}

void TrainerView::mousePressEvent(QMouseEvent* event) {
  if (swallowInput_ || event->button() != Qt::LeftButton) return;
  stopClock();
  QPoint at = event->position().toPoint();
  switch (screen) {
    case MainMenu: {
      if (trainingPictureRect.contains(at)) {
        play("IDW_CHOICE");
        screen = TrainingChosen;
        update();
      } else if (labPictureRect.contains(at)) {
        play("IDW_CHOICE");
        screen = LabChosen;
        update();
      }
      break;
    }
    case LabAwaitPress:
    case TrainingAwaitPress: {
      if (backButtonRect.contains(at)) {
        play("IDW_BACK");
        screen = MainIntro;
        update();
      } else if (panelRect.contains(at)) {
        runTrial();
      }
      break;
    }
    case Results: {
      if (resultsLogoRect.contains(at)) {
        screen = Opening;
        update();
      }
      break;
    }
    default:
      break;
  }
  QWidget::mousePressEvent(event);
}

void TrainerView::timerEvent(QTimerEvent* event) {
  refreshClock();
  QWidget::timerEvent(event);
}
