// The trainer's one view: it shows every screen, moves between them by a
// state machine, and runs each trial through the marking menu library.
#pragma once

#include <QCursor>
#include <QWidget>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/canvas.h"
#include "app/lab_clock.h"
#include "app/layout.h"
#include "app/screen_drawing.h"
#include "app/session.h"
#include "app/trainer_record.h"
#include "app/training_menu.h"
#include "app/trial_runner.h"
#include "app/weak_items.h"
#include "app/window_picture.h"

class TrainerView : public QWidget {
 public:
  enum Screen {
    Opening,             // title picture, then a dissolve to black
    MainIntro,           // the main menu built up by animation
    MainMenu,            // idle: the two areas to choose from
    LabChosen,           // main menu, then a dissolve to white
    LabEntry,            // laboratory picture slides in, panel grows
    LabNextTarget,       // picture shuffle, target shown, clock started
    LabAwaitPress,       // idle: waiting for a press in the panel
    LabHit,              // hit lamp blinks
    LabMisfire,          // misfire lamp blinks
    TrainingChosen,      // main menu, then a dissolve to white
    TrainingEntry,       // training picture slides in, panel grows
    TrainingNextTarget,  // picture shuffle, target shown
    TrainingAwaitPress,  // idle: waiting for a press in the panel
    TrainingHit,
    TrainingMisfire,
    ResultsReveal,  // results built up by animation
    Results,        // idle: the results of a laboratory run
  };

  explicit TrainerView(QWidget* parent = nullptr);

  Screen screen() const { return screen_; }
  const Session& session() const { return session_; }
  const Layout& layout() const { return screens_.layout(); }
  const LabClock& clock() const { return clock_; }
  const Menu* practiceMenu() const { return runner_.practiceMenu(); }
  // What the training area asks for: the practice menu, or the first menu
  // of a menu file. Reading a file fails, with `error` naming its line and
  // field, and the menu stays as it was. A training area under way starts
  // asking for the new menu's items at once.
  const TrainingMenu& trainingMenu() const { return training_; }
  bool practiseMenuFile(const std::string& path, std::string* error);
  void practisePracticeMenu();
  // Runs the current screen if it is one that moves on by itself: its
  // animation, then the move to the next screen. The event loop does this
  // for each such screen in turn, once the view has been shown.
  void runScreen();
  // The record of the trials, kept from now on or no longer. Turning it on
  // fails, reported, when its folder cannot be written; the trainer goes on
  // without it.
  bool keepRecord(bool on);
  bool keepingRecord() const { return record_.on(); }
  const TrainerRecord& record() const { return record_; }
  // Where a problem with the record is shown to the learner, besides the
  // line on standard error.
  void onRecordProblem(std::function<void(const QString&)> show) {
    showRecordProblem_ = std::move(show);
  }
  // After a misfire in the training area: what was chosen, named in the
  // panel, and the target's mark drawn from the press point for a while.
  void showRightMark(bool on) { showRightMark_ = on; }
  bool showingRightMark() const { return showRightMark_; }
  // The training area's targets drawn by how much each item needs
  // practice, judged from the record and the trials of this run.
  void aimAtWeakItems(bool on) { aimAtWeakItems_ = on; }
  bool aimingAtWeakItems() const { return aimAtWeakItems_; }
  // The panel's note on the last misfire shown so, empty when none was.
  const QString& misfireNote() const { return misfireNote_; }
  // Words for what was chosen: "You chose Tools › Saw", "You chose nothing".
  static QString choiceNote(const std::vector<std::string>& labels);
  // Where every screen is drawn; its frames go to the window as they are.
  Canvas& canvas() { return canvas_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  static bool movesOn(Screen s);
  void goTo(Screen next);
  bool runOneScreen();
  // A trial started by a press at `at` in the view.
  void runTrial(QPoint at);
  void recordProblem(const std::string& problem);
  // With the library's overlay still up after a training trial.
  void afterChoice(uintptr_t value, const std::vector<std::string>& labels);
  // The weights from the record's earlier sessions and this run's trials.
  void seedWeakItems();
  // The menu an area asks for: the laboratory always the practice menu.
  const TrainingMenu& askedMenu(bool lab) const {
    return lab ? practice_ : training_;
  }
  // After the training menu changed.
  void trainingMenuChanged();

  WindowPicture windowPicture_;
  Canvas canvas_;
  ScreenDrawing screens_{canvas_};
  LabClock clock_{screens_, canvas_, *this};
  TrialRunner runner_;
  TrainingMenu practice_{runner_.practiceMenu()};
  TrainingMenu training_{runner_.practiceMenu()};
  Session session_;
  TrainerRecord record_;
  std::function<void(const QString&)> showRecordProblem_;
  QCursor handCursor_;
  Screen screen_ = Opening;
  bool shownOnce_ = false;   // the view has been painted
  bool runPending_ = false;  // the event loop is to run the screen
  bool swallowInput_ = false;
  bool showRightMark_ = false;
  bool aimAtWeakItems_ = false;
  WeakItems weak_;
  bool weakSeeded_ = false;
  // This run's trials, and the session folders they went to, so that the
  // record is not read twice over.
  std::vector<WeakTrial> runTrials_;
  std::set<std::string> runFolders_;
  QString misfireNote_;
};
