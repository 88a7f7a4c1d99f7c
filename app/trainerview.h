// The trainer's one view: it shows every screen, moves between them by a
// state machine, and runs each trial through the marking menu library.
#pragma once

#include <QCursor>
#include <QImage>
#include <QWidget>
#include <cstdint>

#include "app/canvas.h"
#include "app/hotrect.h"
#include "app/practice_menu.h"
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
  ~TrainerView() override;

  // The trial state, readable by tests and by the screens.
  Menu* practiceMenu = nullptr;
  int itemValues[practiceItemCount] = {};
  int targetIndex = 0;
  int targetRange = 11;
  int picksAtRange = 0;
  int clockTimer = 0;
  uint32_t trialStartTick = 0;
  uint32_t totalTime = 0;  // ms, press to release, this laboratory run
  int trialsLeft = 10;
  int hits = 0;
  int misfires = 0;
  int screen = Opening;

  HotRect trainingPictureRect, labPictureRect, backButtonRect, logoRect,
      areaPictureRect, panelRect, lampBoxRect;
  static constexpr HotRect resultsLogoRect{48, 130, 109, 191};

  // Sets targetIndex from the next random number and widens the range of
  // targets; in the laboratory also starts the clock.
  void chooseNextTarget();
  // One selection from the practice menu, pressed at the pointer, scored
  // against the target.
  void runTrial();
  // Redraws the laboratory clock while a laboratory target waits.
  void refreshClock();
  uint32_t averageTime() const { return totalTime / 10; }
  // What a paint does before it shows the picture: the current screen's
  // drawing, animation and move to the next state.
  void paintScreen();
  // Where every screen is drawn; its frames go to the window as they are.
  Canvas& canvas() { return canvas_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  const QImage& bitmap(int id) const;
  void play(const char* sound, bool synchronous = false);
  void runScreen();
  void setFirstPaintRects();
  void speckle(const QColor& colour);
  void drawMainMenuTexts(bool capitalised);
  void drawMainMenu();
  void animateMainIntro();
  void animateAreaEntry();
  void drawTrialScreen(bool shuffle);
  void blinkLamp(bool hit);
  void drawResultsTexts();
  void animateResults();
  void drawResults();
  void stopClock();
  void swallowQueuedInput();

  platform::WindowPicture windowPicture_;
  Canvas canvas_;
  QImage bitmaps_[46];  // ids 130..175
  QCursor handCursor_;
  bool painting_ = false;
  bool shownOnce_ = false;       // the view has been painted, screen or not
  bool firstPaintDone_ = false;  // the rectangles of the first paint are set
  bool swallowInput_ = false;
  int lastClockValue_ = -1;
  uint32_t lastClockPush_ = 0;
};
