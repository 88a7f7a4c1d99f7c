// The trainer running a study: a participant meets each condition, its
// practice and blocks of targets, rests between blocks, and sees how each
// condition went. Every trial is a selection through the library, logged
// as it ends.
#pragma once

#include <QWidget>
#include <memory>

#include "app/assets.h"
#include "study/study_run.h"

class StudyView : public QWidget {
 public:
  enum Screen {
    Welcome,          // the study, the participant; a click begins
    ConditionIntro,   // a condition about to start
    Trial,            // a target shown, waiting for a press in the panel
    Feedback,         // the trial's outcome, briefly
    Pause,            // between blocks: rest, go on, or stop with Escape
    ConditionResult,  // how a condition went
    Done,             // every trial run; the results of all conditions
    Stopped,          // stopped at a pause, to be resumed later
    Failed,           // the log could not be written; the study stops
  };

  // Runs `run`, already started; the view keeps it.
  StudyView(std::unique_ptr<StudyRun> run, QWidget* parent = nullptr);

  Screen screen() const { return screen_; }
  const StudyRun& run() const { return *run_; }
  // The panel a trial is started by pressing in.
  QRect panel() const;
  // The window is closing: a study not over says in its log where it
  // stopped.
  void closing();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void goTo(Screen next);
  // The screen after a trial, a pause or a result.
  void moveOn();
  void runTrial();
  void drawTarget(QPainter& p, const QRect& box);
  void drawResults(QPainter& p, int top, bool all);
  void drawLines(QPainter& p, const QStringList& lines, int top);

  std::unique_ptr<StudyRun> run_;
  Pictures pictures_;
  Screen screen_ = Welcome;
  PlannedTrial shown_;  // the trial on the screen, and its target
  StudyLeaf shownLeaf_;
  bool shownPictures_ = false;
  int lastCondition_ = -1;  // the condition whose results are shown
  bool shownLogged_ = false;
  bool swallowInput_ = false;
  QString failure_;
};
