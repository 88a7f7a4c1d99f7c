#include "app/screen_drawing.h"

#include "app/random.h"
#include "platform/platform.h"

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
const QColor targetWordsColour(120, 70, 70);
// The largest size of a target's words; longer ones are made smaller.
constexpr int targetWordsPoints = 24;

constexpr uint32_t titleMs = 1000;
constexpr uint32_t animationStepMs = 40;  // logo, slides and needle
constexpr uint32_t panelStepMs = 5;
constexpr uint32_t shuffleMs = 100;  // each picture of the target shuffle
constexpr uint32_t blinkMs = 100;    // each half of a lamp's blink
constexpr int speckleCircles = 3000;
constexpr uint32_t dissolveMs = 800;  // long enough to be seen as a dissolve
constexpr int dissolveFrames = 50;    // one a display refresh, 16 ms
constexpr int typingRepeats = 2700;   // draws per typed prefix: paces typing
constexpr int slideSteps = 20;
constexpr int slideStepPixels = 10;
constexpr int panelSteps = 30;
constexpr int panelStepPixels = 10;
constexpr int shuffles = 5;
constexpr int blinks = 5;
constexpr int needleSwings = 90;
constexpr int resultsSlideStart = 480;  // pixels to the right of its place
constexpr int resultsSlideStep = 3;

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
const char* const resultsHeading = "Tarvel Cumulative Testing Results";
const char* const resultsLine = "Your results have been carefully tabulated:";
const QPoint resultsHeadingAt(130, 40);
const QPoint resultsLineAt(130, 80);

}  // namespace

void ScreenDrawing::layOut() {
  if (laidOut_) return;
  laidOut_ = true;
  layout_.trainingPicture = layout::aboveView;
  layout_.labPicture = layout::belowView(canvas_.size().height());
  layout_.backButton = layout::backButton(canvas_.size().width());
}

void ScreenDrawing::opening() {
  play("IDW_OPENING");
  canvas_.stretch(pictures_[TitlePicture], viewRect());
  canvas_.pause(titleMs);
  speckle(Qt::black);
}

// The circles come in frames on the clock, so that a dissolve takes its
// time on a fast machine as on a slow one.
void ScreenDrawing::speckle(const QColor& colour) {
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

void ScreenDrawing::mainMenuTexts(bool capitalised) {
  const HotRect& a = layout_.trainingPicture;
  const HotRect& b = layout_.labPicture;
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

void ScreenDrawing::mainMenu() {
  canvas_.fill(Qt::black);
  canvas_.stretch(pictures_[LogoButtonOnBlack], layout_.backButton.rect());
  canvas_.stretch(pictures_[LogoLastStep], layout_.logo.rect());
  canvas_.stretch(pictures_[TrainingPictureOnBlack],
                  layout_.trainingPicture.rect());
  canvas_.stretch(pictures_[LabPictureOnBlack], layout_.labPicture.rect());
  mainMenuTexts(true);
  canvas_.present();
}

void ScreenDrawing::leaveMainMenu() {
  mainMenu();
  speckle(Qt::white);
  canvas_.fill(Qt::white);
}

void ScreenDrawing::animateMainIntro() {
  canvas_.fill(Qt::black);
  canvas_.stretch(pictures_[LogoButtonOnBlack], layout_.backButton.rect());
  QSize view = canvas_.size();
  layout_.logo = layout::logo(view.width(), view.height());
  for (int id = LogoFirstStep; id >= LogoLastStep; id--) {
    canvas_.stretch(pictures_[id], layout_.logo.rect());
    canvas_.pause(animationStepMs);
  }
  layout_.trainingPicture = layout::aboveView;
  layout_.labPicture = layout::belowView(view.height());
  for (int step = 0; step < slideSteps; step++) {
    layout_.trainingPicture.move(0, slideStepPixels);
    layout_.labPicture.move(0, -slideStepPixels);
    canvas_.stretch(pictures_[TrainingPictureOnBlack],
                    layout_.trainingPicture.rect());
    canvas_.stretch(pictures_[LabPictureOnBlack], layout_.labPicture.rect());
    canvas_.pause(animationStepMs);
  }
  mainMenuTexts(false);
  canvas_.present();
}

void ScreenDrawing::animateAreaEntry(bool lab) {
  const QImage& picture = pictures_[lab ? LabAreaPicture : TrainingAreaPicture];
  const QColor& colour = lab ? labColour : trainingColour;
  canvas_.fill(Qt::white);
  canvas_.stretch(pictures_[LogoButtonOnWhite], layout_.backButton.rect());
  layout_.areaPicture = layout::aboveView;
  for (int step = 0; step < slideSteps; step++) {
    layout_.areaPicture.move(0, slideStepPixels);
    canvas_.stretch(picture, layout_.areaPicture.rect());
    canvas_.pause(animationStepMs);
  }
  play("IDW_WHOOSH");
  layout_.panel = layout::panelStart(layout_.areaPicture);
  for (int step = 0; step < panelSteps; step++) {
    layout_.panel.right += panelStepPixels;
    canvas_.roundedBox(layout_.panel.rect(), colour, panelFill, 40, 5);
    canvas_.pause(panelStepMs);
  }
}

void ScreenDrawing::trialScreen(bool lab, const Session& session,
                                bool inWords) {
  const QColor& colour = lab ? labColour : trainingColour;
  const HotRect& c = layout_.areaPicture;
  const HotRect& d = layout_.panel;
  const HotRect& e = layout_.backButton;
  canvas_.fill(Qt::white);
  canvas_.stretch(pictures_[LogoButtonOnWhite], e.rect());
  canvas_.stretch(pictures_[lab ? LabAreaPicture : TrainingAreaPicture],
                  c.rect());
  canvas_.roundedBox(d.rect(), colour, panelFill, 40, 5);
  canvas_.text({e.left - 130, e.top + 20}, 10, returnColour,
               "Click to return to Menu");
  canvas_.text({d.left + 20, d.top - 30}, 16, colour,
               lab ? "Tarvel" : "Tarvelgym");
  if (lab) {
    canvas_.text({d.left + 140, d.top + 60}, 49, countdownColour,
                 QString::number(session.trialsLeft));
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
               inWords
                   ? QStringLiteral("Please find this item in the Vexil "
                                    "Menu:")
                   : "Please find" + QString(34, ' ') + "in the Vexil Menu.");
  layout_.lampBox = layout::lampBox(c);
  const HotRect& f = layout_.lampBox;
  canvas_.roundedBox(f.rect(), lampBoxBorder, lampBoxFill, 30, 3);
  canvas_.place(pictures_[GreenLampOff], layout::hitLamp(f));
  canvas_.place(pictures_[RedLampOff], layout::misfireLamp(f));
  canvas_.text({f.right + 15, f.top + 10}, 10, Qt::black,
               QString::number(session.hits));
  canvas_.text({f.right + 15, f.top + 40}, 10, Qt::black,
               QString::number(session.misfires));
}

void ScreenDrawing::shuffleTargets(const std::vector<QString>& words) {
  QPoint target = layout::target(layout_.panel);
  for (int i = 0; i < shuffles; i++) {
    play("IDW_CLICK");
    if (words.empty()) {
      canvas_.place(
          pictures_[FirstItemPicture + scaledRandom(practiceItemCount)],
          target);
      canvas_.pause(shuffleMs);
      canvas_.fillRect(QRect(target, QSize(105, 105)), Qt::white);
    } else {
      targetWords(words[size_t(scaledRandom(double(words.size())))]);
      canvas_.pause(shuffleMs);
      canvas_.fillRect(layout::targetWords(layout_.panel), Qt::white);
    }
  }
}

void ScreenDrawing::targetWords(const QString& words) {
  QRect box = layout::targetWords(layout_.panel);
  canvas_.fillRect(box, Qt::white);
  canvas_.fittedText(box, targetWordsPoints, targetWordsColour, words);
}

void ScreenDrawing::showTargetWords(const QString& words) {
  targetWords(words);
  canvas_.present();
}

void ScreenDrawing::showTarget(int item) {
  canvas_.place(pictures_[FirstItemPicture + item],
                layout::target(layout_.panel));
  canvas_.present();
}

void ScreenDrawing::blinkLamp(bool hit) {
  const HotRect& f = layout_.lampBox;
  QPoint at = hit ? layout::hitLamp(f) : layout::misfireLamp(f);
  int first = hit ? GreenLampOff : RedLampOn;
  int second = hit ? GreenLampOn : RedLampOff;
  for (int i = 0; i < blinks; i++) {
    canvas_.place(pictures_[first], at);
    canvas_.pause(blinkMs);
    canvas_.place(pictures_[second], at);
    canvas_.pause(blinkMs);
  }
}

QRect ScreenDrawing::clockFigure(int ms) {
  return canvas_.opaqueText(layout::clock, 10, panelText, panelFill,
                            QString::number(ms));
}

QRect ScreenDrawing::panelNote(const QString& text) {
  const HotRect& d = layout_.panel;
  return canvas_.opaqueText({d.left + 40, d.bottom - 22}, 9, panelText,
                            panelFill, text);
}

void ScreenDrawing::resultsTexts(const Session& session) {
  const char* const labels[] = {
      "Correct Hits:", "Misfires:", "Average Time:", "Total Time:"};
  const QString figures[] = {QString::number(session.hits),
                             QString::number(session.misfires),
                             QString("%1 ms").arg(session.averageTime()),
                             QString("%1 ms").arg(session.totalTime)};
  for (int i = 0; i < 4; i++) {
    canvas_.text({160, 120 + 20 * i}, 13, Qt::white, labels[i]);
    canvas_.text({290, 120 + 20 * i}, 13, Qt::white, figures[i]);
  }
}

void ScreenDrawing::animateResults(const Session& session) {
  play("IDW_DRUMROLL");
  speckle(resultsDissolve);
  speckle(resultsDissolve);
  play("IDW_REPORT");
  for (int dx = resultsSlideStart; dx >= 0; dx -= resultsSlideStep) {
    canvas_.stretch(pictures_[ResultsBackground], viewRect().translated(dx, 0));
    canvas_.presentAtDisplayRate();
  }
  canvas_.present();
  play("IDW_RICOCHET", true);
  canvas_.text(resultsHeadingAt, 19, Qt::white, resultsHeading);
  QString line = QString::fromLatin1(resultsLine);
  // Every draw of a prefix starts again from what lay under the line, so
  // that it leaves the same pixels as the last: antialiased edges drawn
  // over themselves would thicken, and the line would not look as it does
  // when the results are drawn once.
  QRect lineArea = Canvas::textArea(resultsLineAt, 13, line) & viewRect();
  QImage under = canvas_.image().copy(lineArea);
  for (int k = 1; k <= line.size(); k++) {
    play("IDW_TYPE");
    QString typed = line.left(k);
    for (int i = 0; i < typingRepeats; i++) {
      canvas_.place(under, lineArea.topLeft());
      canvas_.text(resultsLineAt, 13, Qt::white, typed);
      canvas_.presentAtDisplayRate();
    }
  }
  resultsTexts(session);
  for (int i = 0; i < needleSwings; i++) {
    canvas_.stretch(pictures_[FirstNeedlePicture + scaledRandom(9.2)],
                    layout::needle);
    canvas_.pause(animationStepMs);
  }
}

void ScreenDrawing::results(const Session& session) {
  canvas_.stretch(pictures_[ResultsBackground], viewRect());
  canvas_.text(resultsHeadingAt, 19, Qt::white, resultsHeading);
  canvas_.text(resultsLineAt, 13, Qt::white, resultsLine);
  resultsTexts(session);
  canvas_.stretch(pictures_[NeedleAtRest], layout::needle);
  canvas_.present();
}
