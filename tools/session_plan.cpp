// Prints the targets the trainer will ask for along the scripted session
// of `make run` without a display: the trainer's random numbers are never
// seeded, so the same clicks always meet the same targets. One line per
// trial: the area ("training" or "laboratory"), the item number, and the
// mark that selects it as two legs of screen offsets "dx1 dy1 dx2 dy2".
//
//   session_plan TRAINING_TRIALS
#include <QApplication>
#include <QMouseEvent>
#include <cstdio>
#include <cstdlib>

#include "app/trainerview.h"
#include "platform/sim_platform.h"
#include "player/sim_gesture.h"

namespace {

// Compass offsets of the eight positions, y downwards.
constexpr int dirX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int dirY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr int leg = 90;  // pixels per level

void printTarget(const char* area, const TrainerView& view) {
  const Menu* root = view.practiceMenu();
  int target = view.session().targetIndex;
  for (int c = 0; c < RADIAL_SLOTS; c++) {
    const Menu* sub = root->submenu[c];
    if (!sub) continue;
    for (int p = 0; p < RADIAL_SLOTS; p++) {
      auto* value = reinterpret_cast<const int*>(sub->value[p]);
      if (value && *value == target)
        std::printf("%s %d %d %d %d %d\n", area, target, dirX[c] * leg,
                    dirY[c] * leg, dirX[p] * leg, dirY[p] * leg);
    }
  }
}

// A left click at a point of the view, as Qt delivers it.
void click(TrainerView& view, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                    QPointF(view.mapToGlobal(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &press);
}

// A trial that selects nothing: hits and misfires draw the same random
// numbers, so the targets that follow are the same.
void passTrial(platform::SimPlatform& sim, TrainerView& view) {
  QPoint at = view.layout().panel.rect().center();
  QPoint onScreen = view.mapToGlobal(at);
  player::Gesture().press(onScreen.x(), onScreen.y()).release().playOn(sim);
  click(view, at);
  sim.setInputScript(nullptr);
  view.runScreen();  // the lamp
  view.runScreen();  // the next target
}

}  // namespace

int main(int argc, char** argv) {
  int trainingTrials = argc > 1 ? std::atoi(argv[1]) : 3;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::SimPlatform sim;
  TrainerView view;
  view.resize(600, 400);
  view.show();
  view.runScreen();  // the opening
  view.runScreen();  // the main menu builds up
  click(view, view.layout().trainingPicture.rect().center());
  view.runScreen();
  view.runScreen();  // the entry and the first target
  for (int trial = 0; trial < trainingTrials; trial++) {
    printTarget("training", view);
    passTrial(sim, view);
  }
  click(view, view.layout().backButton.rect().center());
  view.runScreen();  // back to the main menu
  click(view, view.layout().labPicture.rect().center());
  view.runScreen();
  view.runScreen();
  for (int trial = 0; trial < labTrialCount; trial++) {
    printTarget("laboratory", view);
    passTrial(sim, view);
  }
  return 0;
}
