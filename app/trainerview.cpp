#include "app/trainerview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/assets.h"
#include "app/random.h"
#include "platform/platform.h"
#include "resources/resources.h"

namespace {
// How long the target's mark stays after a misfire.
constexpr uint32_t rightMarkMs = 1000;
}  // namespace

TrainerView::TrainerView(QWidget* parent) : QWidget(parent) {
  // Every screen paints the whole view itself; Qt need not clear it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  QPoint hot = resources::cursorHotSpot();
  handCursor_ =
      QCursor(QPixmap::fromImage(resources::cursorImage()), hot.x(), hot.y());
  canvas_.setPresenter([this](const QImage& picture, QRect area) {
    QWidget* top = window();
    windowPicture_.show(top->winId(), picture, area, mapTo(top, QPoint(0, 0)));
  });
}

bool TrainerView::movesOn(Screen s) {
  return s != MainMenu && s != LabAwaitPress && s != TrainingAwaitPress &&
         s != Results;
}

// A screen that moves on runs from the event loop, never inside a paint:
// its animation holds the program, and a paint only shows the picture.
void TrainerView::goTo(Screen next) {
  screen_ = next;
  update();
  if (!movesOn(next) || runPending_ || !shownOnce_) return;
  runPending_ = true;
  QTimer::singleShot(0, this, [this] {
    runPending_ = false;
    runScreen();
  });
}

void TrainerView::paintEvent(QPaintEvent*) {
  // The frame reaches the screen only once this paint is over, and the
  // opening holds the program for seconds: the first paint shows the view
  // black, and the screens start after it, the frame shown.
  if (!shownOnce_) {
    shownOnce_ = true;
    canvas_.resize(size());
    goTo(screen_);
  }
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
}

void TrainerView::runScreen() {
  if (!movesOn(screen_)) return;
  canvas_.resize(size());
  screens_.layOut();
  while (runOneScreen()) {
  }
  canvas_.present();
  goTo(screen_);
  // The animations hold the program, so a press made during the target's
  // shuffle (or the lamp's blink before it) is read only now, with the
  // target already up: it was made at another picture and starts no trial.
  if (screen_ == LabAwaitPress || screen_ == TrainingAwaitPress)
    dropQueuedInput(swallowInput_);
}

// Each screen that moves on draws, animates and moves on; true when the
// next one follows at once, in the same turn of the event loop.
bool TrainerView::runOneScreen() {
  bool lab = screen_ == LabChosen || screen_ == LabEntry ||
             screen_ == LabNextTarget || screen_ == LabHit ||
             screen_ == LabMisfire;
  switch (screen_) {
    case Opening: {
      screens_.opening();
      screen_ = MainIntro;
      return false;
    }
    case MainIntro: {
      screens_.animateMainIntro();
      session_.startRun();
      screen_ = MainMenu;
      return false;
    }
    case LabChosen:
    case TrainingChosen: {
      screens_.leaveMainMenu();
      screen_ = lab ? LabEntry : TrainingEntry;
      return false;
    }
    case LabEntry:
    case TrainingEntry: {
      screens_.animateAreaEntry(lab);
      session_.enterArea(askedMenu(lab).itemCount());
      record_.enterArea(lab);
      weakSeeded_ = false;
      screen_ = lab ? LabNextTarget : TrainingNextTarget;
      return true;
    }
    case LabNextTarget:
    case TrainingNextTarget: {
      const TrainingMenu& asked = askedMenu(lab);
      std::vector<QString> words;
      for (int k = 0; !asked.practice() && k < asked.itemCount(); k++)
        words.push_back(QString::fromStdString(asked.askedAs(k)));
      screens_.trialScreen(lab, session_, !words.empty());
      screens_.shuffleTargets(words);
      if (!lab && aimAtWeakItems_) {
        if (!weakSeeded_) seedWeakItems();
        session_.chooseWeakTarget(weak_, trainerRand());
      } else {
        session_.chooseTarget(trainerRand(), lab);
      }
      if (lab) clock_.start();
      if (asked.practice())
        screens_.showTarget(session_.targetIndex);
      else
        screens_.showTargetWords(words[size_t(session_.targetIndex)]);
      record_.targetShown(platform::current().tickCount());
      screen_ = lab ? LabAwaitPress : TrainingAwaitPress;
      return false;
    }
    case LabHit:
    case LabMisfire:
    case TrainingHit:
    case TrainingMisfire: {
      screens_.blinkLamp(screen_ == LabHit || screen_ == TrainingHit);
      if (!lab)
        screen_ = TrainingNextTarget;
      else
        screen_ = session_.runOver() ? ResultsReveal : LabNextTarget;
      return false;
    }
    case ResultsReveal: {
      screens_.animateResults(session_);
      screen_ = Results;
      screens_.results(session_);
      return false;
    }
    case MainMenu:
    case LabAwaitPress:
    case TrainingAwaitPress:
    case Results:
      return false;
  }
  return false;
}

void TrainerView::runTrial(QPoint at) {
  bool lab = screen_ == LabAwaitPress;
  // The library counts in device pixels.
  QPoint pressedAt = mapToGlobal(at) * devicePixelRatioF();
  uint32_t pressTick = platform::current().tickCount();
  int target = session_.targetIndex;
  misfireNote_.clear();
  TrialRunner::ChosenSink onChosen;
  if (!lab && showRightMark_)
    onChosen = [this](uintptr_t value, const std::vector<std::string>& labels) {
      afterChoice(value, labels);
    };
  const TrainingMenu& asked = askedMenu(lab);
  TrialOutcome outcome =
      runner_.run(asked.root(), pressedAt, lab ? &clock_ : nullptr, onChosen);
  dropQueuedInput(swallowInput_);
  bool hit =
      session_.score(asked.itemOf(outcome.value), outcome.pressToRelease);
  // The trial counts on screen whatever becomes of its record.
  std::string problem;
  if (!record_.write(lab, asked, target, pressTick, outcome, hit, &problem))
    recordProblem("the record of your trials stops: " + problem);
  std::string folder = record_.sessionFolder(asked.recordFolder());
  if (!folder.empty()) runFolders_.insert(folder);
  // Weak items are weighed by trials of the training area's menu.
  if (!lab || training_.practice()) {
    WeakTrial done{target, hit, outcome.byMark,
                   int64_t(outcome.pressToRelease)};
    runTrials_.push_back(done);
    if (!lab && weakSeeded_) weak_.add(done);
  }
  play(hit ? "IDW_RIGHT" : "IDW_WRONG");
  if (lab)
    goTo(hit ? LabHit : LabMisfire);
  else
    goTo(hit ? TrainingHit : TrainingMisfire);
}

void TrainerView::seedWeakItems() {
  weak_ = WeakItems(training_.itemCount());
  int refused = 0;
  for (const WeakTrial& t :
       weakTrialsFromRecord(training_.recordFolder(), runFolders_,
                            training_.itemPaths(), &refused))
    weak_.add(t);
  for (const WeakTrial& t : runTrials_) weak_.add(t);
  if (refused > 0)
    std::fprintf(stderr,
                 "tarvel: %d unreadable rows of the record left out of the "
                 "weak items\n",
                 refused);
  weakSeeded_ = true;
}

QString TrainerView::choiceNote(const std::vector<std::string>& labels) {
  if (labels.empty()) return QStringLiteral("You chose nothing");
  QStringList names;
  for (const std::string& label : labels)
    names << QString::fromStdString(label);
  return QStringLiteral("You chose ") + names.join(QStringLiteral(" \u203A "));
}

void TrainerView::afterChoice(uintptr_t value,
                              const std::vector<std::string>& labels) {
  if (session_.isHit(training_.itemOf(value))) return;
  misfireNote_ = choiceNote(labels);
  presentBeneathMenus(canvas_, *this, screens_.panelNote(misfireNote_));
  runner_.showMarkFor(training_.path(session_.targetIndex), rightMarkMs);
}

bool TrainerView::practiseMenuFile(const std::string& path,
                                   std::string* error) {
  if (!training_.load(path, error)) return false;
  trainingMenuChanged();
  return true;
}

void TrainerView::practisePracticeMenu() {
  if (training_.practice()) return;
  training_.usePractice();
  trainingMenuChanged();
}

void TrainerView::trainingMenuChanged() {
  runTrials_.clear();
  runFolders_.clear();
  weakSeeded_ = false;
  if (screen_ != TrainingAwaitPress) return;
  // The trials of the new menu are a block of their own.
  session_.enterArea(training_.itemCount());
  record_.enterArea(false);
  goTo(TrainingNextTarget);
}

void TrainerView::mouseMoveEvent(QMouseEvent* event) {
  if (swallowInput_) return;
  QPoint at = event->position().toPoint();
  const Layout& l = screens_.layout();
  bool hot = false;
  switch (screen_) {
    case MainMenu:
      hot = l.trainingPicture.contains(at) || l.labPicture.contains(at);
      break;
    case LabAwaitPress:
    case TrainingAwaitPress:
      hot = l.backButton.contains(at);
      break;
    case Results:
      hot = Layout::resultsLogo.contains(at);
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
  clock_.stop();
  QPoint at = event->position().toPoint();
  const Layout& l = screens_.layout();
  switch (screen_) {
    case MainMenu: {
      if (l.trainingPicture.contains(at)) {
        play("IDW_CHOICE");
        goTo(TrainingChosen);
      } else if (l.labPicture.contains(at)) {
        play("IDW_CHOICE");
        goTo(LabChosen);
      }
      break;
    }
    case LabAwaitPress:
    case TrainingAwaitPress: {
      if (l.backButton.contains(at)) {
        play("IDW_BACK");
        goTo(MainIntro);
      } else if (l.panel.contains(at)) {
        runTrial(at);
      }
      break;
    }
    case Results: {
      if (Layout::resultsLogo.contains(at)) goTo(Opening);
      break;
    }
    default:
      break;
  }
  QWidget::mousePressEvent(event);
}

bool TrainerView::keepRecord(bool on) {
  if (!on) {
    record_.stop();
    return true;
  }
  std::string problem;
  if (record_.start(&problem)) return true;
  recordProblem("no record of your trials is kept: " + problem);
  return false;
}

void TrainerView::recordProblem(const std::string& problem) {
  std::fprintf(stderr, "tarvel: %s\n", problem.c_str());
  if (showRecordProblem_) showRecordProblem_(QString::fromStdString(problem));
}
