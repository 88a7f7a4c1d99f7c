// Prints the targets the trainer will ask for along the scripted session
// of `make run` without a display: the trainer's random numbers are never
// seeded, so the same clicks always meet the same targets. One line per
// trial: the area ("training" or "laboratory"), the item number, and the
// mark that selects it as two legs of screen offsets "dx1 dy1 dx2 dy2".
//
//   session_plan TRAINING_TRIALS
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/trainerview.h"
#include "platform/sim_platform.h"

namespace {

// Compass offsets of the eight positions, y downwards.
constexpr int dirX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int dirY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr int leg = 90;  // pixels per level

void printTarget(const char* area, const TrainerView& view) {
  const Menu* root = view.practiceMenu;
  for (int c = 0; c < RADIAL_SLOTS; c++) {
    const Menu* sub = root->submenu[c];
    if (!sub) continue;
    for (int p = 0; p < RADIAL_SLOTS; p++) {
      auto* value = reinterpret_cast<const int*>(sub->value[p]);
      if (value && *value == view.targetIndex)
        std::printf("%s %d %d %d %d %d\n", area, view.targetIndex,
                    dirX[c] * leg, dirY[c] * leg, dirX[p] * leg, dirY[p] * leg);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  int trainingTrials = argc > 1 ? std::atoi(argv[1]) : 3;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::SimPlatform sim;
  TrainerView view;
  view.resize(600, 400);
  view.paintScreen();  // the opening
  view.paintScreen();  // the main menu builds up
  view.screen = TrainerView::TrainingChosen;
  view.paintScreen();
  view.paintScreen();  // the entry and the first target
  for (int trial = 0; trial < trainingTrials; trial++) {
    printTarget("training", view);
    view.screen = TrainerView::TrainingHit;
    view.paintScreen();
    view.paintScreen();
  }
  view.screen = TrainerView::MainIntro;  // back to the main menu
  view.paintScreen();
  view.screen = TrainerView::LabChosen;
  view.paintScreen();
  view.paintScreen();
  for (int trial = 0; trial < 10; trial++) {
    printTarget("laboratory", view);
    view.screen = TrainerView::LabHit;
    view.trialsLeft--;
    view.paintScreen();
    if (view.screen == TrainerView::LabNextTarget) view.paintScreen();
  }
  return 0;
}
