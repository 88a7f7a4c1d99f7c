#include "app/study_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "app/canvas.h"
#include "app/practice_menu.h"
#include "app/window_picture.h"

namespace {

const QColor ground(246, 244, 238);
const QColor ink(40, 40, 48);
const QColor quiet(110, 110, 120);
const QColor panelFill(150, 100, 100);
const QColor panelText(235, 215, 215);
const QColor hitColour(60, 150, 70);
const QColor missColour(190, 60, 50);
const QColor targetBox(255, 255, 255);

// How long a trial's outcome shows before the next target.
constexpr int feedbackMs = 700;

// The practice items' names, in the order of their pictures.
const char* const practiceNames[practiceItemCount] = {
    "Duck",   "Pig", "Apple",    "Banana",   "Saw",  "Hammer",
    "Wrench", "Car", "Forklift", "Tricycle", "Truck"};

QString techniqueText(Technique t) {
  switch (t) {
    case Technique::MenuOnly:
      return QStringLiteral(
          "The menu pops up as you press: move into the "
          "item.");
    case Technique::MarksOnly:
      return QStringLiteral("No menu will pop up: draw the item's mark.");
    case Technique::MarksAllowed:
      break;
  }
  return QStringLiteral(
      "Wait for the menu to pop up, or draw the item's "
      "mark at once.");
}

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

StudyView::StudyView(std::unique_ptr<StudyRun> run, QWidget* parent)
    : QWidget(parent), run_(std::move(run)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect StudyView::panel() const {
  return QRect(width() / 2 + 10, 90, width() / 2 - 40, height() - 150);
}

void StudyView::goTo(Screen next) {
  if (next == Trial) {
    shown_ = run_->trial();
    shownLeaf_ = run_->target();
    shownPictures_ = run_->menu().practice;
  }
  screen_ = next;
  shownLogged_ = false;
  update();
}

void StudyView::moveOn() {
  if (run_->done()) {
    goTo(Done);
    return;
  }
  int condition = run_->trial().condition;
  if (run_->atConditionStart()) {
    // The condition just finished shows its results first, unless it was
    // finished in an earlier session.
    if (screen_ != ConditionResult && lastCondition_ >= 0 &&
        lastCondition_ != condition &&
        run_->scores()[size_t(lastCondition_)].trials > 0) {
      goTo(ConditionResult);
      return;
    }
    lastCondition_ = condition;
    goTo(ConditionIntro);
    return;
  }
  lastCondition_ = condition;
  if (screen_ != Pause && run_->atBlockStart() &&
      run_->study().design.pauseBetweenBlocks) {
    goTo(Pause);
    return;
  }
  goTo(Trial);
}

void StudyView::drawLines(QPainter& p, const QStringList& lines, int top) {
  p.setFont(arialFont(11));
  p.setPen(ink);
  QFontMetrics m(p.font());
  int y = top;
  for (const QString& line : lines) {
    QRect area(40, y, width() - 80, height() - y);
    QRect used = p.boundingRect(area, Qt::TextWordWrap, line);
    p.drawText(area, Qt::TextWordWrap, line);
    y += std::max(used.height(), m.height()) + 6;
  }
}

void StudyView::drawTarget(QPainter& p, const QRect& box) {
  p.fillRect(box, targetBox);
  p.setPen(quiet);
  p.drawRect(box.adjusted(0, 0, -1, -1));
  const StudyLeaf& leaf = shownLeaf_;
  if (shownPictures_) {
    for (int k = 0; k < practiceItemCount; k++)
      if (leaf.label == practiceNames[k]) {
        const QImage& picture = pictures_[FirstItemPicture + k];
        p.drawImage(
            box.center() - QPoint(picture.width() / 2, picture.height() / 2),
            picture);
        return;
      }
  }
  // Menus without pictures show the target's path of labels.
  p.setPen(ink);
  p.setFont(arialFont(16));
  p.drawText(box.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
             q(leaf.fullLabel)
                 .replace(QStringLiteral(" > "), QStringLiteral(" \u203a ")));
}

void StudyView::drawResults(QPainter& p, int top, bool all) {
  p.setFont(arialFont(11));
  QFontMetrics m(p.font());
  const int columns[] = {40, 250, 330, 420, 520};
  const char* const headings[] = {"Condition", "Hits", "Misfires", "Average",
                                  "Total"};
  p.setPen(quiet);
  for (int i = 0; i < 5; i++) p.drawText(columns[i], top, headings[i]);
  int y = top + m.height() + 6;
  p.setPen(ink);
  const std::vector<ConditionScore>& scores = run_->scores();
  for (size_t c = 0; c < scores.size(); c++) {
    if (!all && int(c) != lastCondition_) continue;
    const ConditionScore& s = scores[c];
    if (all && s.trials == 0) continue;
    QString name = m.elidedText(q(run_->study().conditions[c].name),
                                Qt::ElideRight, columns[1] - columns[0] - 10);
    p.drawText(columns[0], y, name);
    p.drawText(columns[1], y, QString::number(s.hits));
    p.drawText(columns[2], y, QString::number(s.trials - s.hits));
    p.drawText(columns[3], y,
               s.trials ? QStringLiteral("%1 ms").arg(s.totalMs / s.trials)
                        : QStringLiteral("-"));
    p.drawText(columns[4], y, QStringLiteral("%1 ms").arg(s.totalMs));
    y += m.height() + 4;
  }
}

void StudyView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(rect(), ground);
  const Study& study = run_->study();
  p.setPen(ink);
  p.setFont(arialFont(16));
  p.drawText(QRect(40, 20, width() - 80, 36), Qt::AlignLeft | Qt::AlignVCenter,
             QFontMetrics(p.font()).elidedText(q(study.name), Qt::ElideRight,
                                               width() - 80));
  QString progress = QStringLiteral("%1 of %2 trials")
                         .arg(run_->position())
                         .arg(run_->planned());
  p.setFont(arialFont(9));
  p.setPen(quiet);
  p.drawText(QRect(40, 20, width() - 80, 36), Qt::AlignRight | Qt::AlignVCenter,
             progress);

  switch (screen_) {
    case Welcome: {
      QStringList lines;
      if (!study.description.empty()) lines << q(study.description);
      lines << QStringLiteral("Participant %1.").arg(q(run_->participant()));
      if (!run_->resumedAfter().empty())
        lines << QStringLiteral("Going on after %1.")
                     .arg(q(run_->resumedAfter()));
      lines << QStringLiteral("Click to begin.");
      drawLines(p, lines, 80);
      break;
    }
    case ConditionIntro: {
      const StudyCondition& c = run_->condition();
      QStringList lines;
      lines << QStringLiteral("Next: %1.").arg(q(c.name));
      lines << techniqueText(c.technique);
      if (run_->trial().practice)
        lines << QStringLiteral(
            "First a few practice trials, which do not "
            "count.");
      lines << QStringLiteral(
          "Each trial shows a target. Press in the panel and select it "
          "from the menu, as fast and as accurately as you can.");
      lines << QStringLiteral("Click to begin.");
      drawLines(p, lines, 80);
      break;
    }
    case Trial:
    case Feedback: {
      // The trial shown stays on the screen with its outcome, after the
      // run has moved on.
      const PlannedTrial& t = shown_;
      QString condition = q(study.conditions[size_t(t.condition)].name);
      p.setFont(arialFont(10));
      p.setPen(quiet);
      p.drawText(40, 80,
                 t.practice ? QStringLiteral("%1 · practice · trial %2")
                                  .arg(condition)
                                  .arg(t.trial)
                            : QStringLiteral("%1 · block %2 · trial %3")
                                  .arg(condition)
                                  .arg(t.block)
                                  .arg(t.trial));
      p.setPen(ink);
      p.drawText(40, 110, QStringLiteral("Please find"));
      QRect box(40, 125, width() / 2 - 80, 150);
      drawTarget(p, box);
      p.setPen(Qt::NoPen);
      p.setBrush(panelFill);
      p.drawRoundedRect(panel(), 20, 20);
      p.setPen(panelText);
      p.setFont(arialFont(12));
      p.drawText(panel(), Qt::AlignCenter | Qt::TextWordWrap,
                 QStringLiteral("Press here"));
      if (screen_ == Feedback) {
        const TrialRow& r = run_->lastRow();
        QRect band(40, height() - 50, width() - 80, 34);
        p.fillRect(band, r.hit ? hitColour : missColour);
        p.setPen(Qt::white);
        p.setFont(arialFont(11));
        QString chosen = r.chosenLabel.empty() ? QStringLiteral("nothing")
                                               : q(r.chosenLabel);
        p.drawText(band, Qt::AlignCenter,
                   r.hit ? QStringLiteral("Right")
                         : QStringLiteral("You chose %1; the target was %2")
                               .arg(chosen, q(r.targetLabel)));
      }
      break;
    }
    case Pause: {
      const PlannedTrial& t = run_->trial();
      QStringList lines;
      lines << (t.block == 1
                    ? QStringLiteral("Practice done.")
                    : QStringLiteral("Block %1 done.").arg(t.block - 1));
      lines << QStringLiteral("Rest a moment. Click to go on.");
      lines << QStringLiteral(
          "Press Escape to stop here; the study goes on from the next "
          "trial when you start it again.");
      drawLines(p, lines, 80);
      break;
    }
    case ConditionResult: {
      drawLines(p,
                {QStringLiteral("%1 is done.")
                     .arg(q(study.conditions[size_t(lastCondition_)].name))},
                80);
      drawResults(p, 150, false);
      drawLines(p,
                {QStringLiteral("Click to go on, or press Escape to stop "
                                "here and go on another time.")},
                height() - 90);
      break;
    }
    case Done: {
      drawLines(p, {QStringLiteral("The study is complete. Thank you!")}, 80);
      drawResults(p, 150, true);
      drawLines(
          p, {QStringLiteral("The log is in %1.").arg(q(run_->log().folder()))},
          height() - 90);
      break;
    }
    case Stopped: {
      drawLines(p,
                {QStringLiteral("Stopped. What was done is kept in %1.")
                     .arg(q(run_->log().folder())),
                 QStringLiteral("Start the study again with the same "
                                "participant to go on from the next trial.")},
                80);
      break;
    }
    case Failed: {
      p.setPen(missColour);
      drawLines(p, {QStringLiteral("The study has stopped."), failure_}, 80);
      break;
    }
  }
  if (screen_ == Trial && !shownLogged_) {
    // Reaction times run from the paint that shows the target.
    shownLogged_ = true;
    run_->targetShown();
  }
}

void StudyView::closing() {
  if (!run_->done() && screen_ != Failed) run_->stop();
}

void StudyView::runTrial() {
  std::string error;
  bool logged = run_->runTrial(nullptr, &error);
  dropQueuedInput(swallowInput_);
  if (!logged) {
    failure_ = q(error);
    std::fprintf(stderr, "tarvel: %s\n", error.c_str());
    goTo(Failed);
    return;
  }
  play(run_->lastRow().hit ? "IDW_RIGHT" : "IDW_WRONG");
  goTo(Feedback);
  QTimer::singleShot(feedbackMs, this, [this] {
    if (screen_ == Feedback) moveOn();
  });
}

void StudyView::mousePressEvent(QMouseEvent* event) {
  if (swallowInput_ || event->button() != Qt::LeftButton) return;
  switch (screen_) {
    case Welcome:
      // A participant who comes back meets their condition again first.
      if (run_->done()) {
        goTo(Done);
      } else {
        lastCondition_ = run_->trial().condition;
        goTo(ConditionIntro);
      }
      break;
    case ConditionIntro:
    case Pause:
      goTo(Trial);
      break;
    case ConditionResult:
      moveOn();
      break;
    case Trial:
      if (panel().contains(event->position().toPoint())) runTrial();
      break;
    case Done:
    case Stopped:
    case Failed:
      window()->close();
      break;
    case Feedback:
      break;
  }
}

void StudyView::keyPressEvent(QKeyEvent* event) {
  if (swallowInput_) return;
  if (event->key() == Qt::Key_Escape &&
      (screen_ == Pause || screen_ == ConditionResult ||
       screen_ == ConditionIntro)) {
    run_->stop();
    goTo(Stopped);
    return;
  }
  QWidget::keyPressEvent(event);
}
