// How long each transient screen of the trainer takes on this machine, in
// real time: its pauses, its paced drawing and its synchronous sound. The
// view runs on Qt's offscreen platform, so nothing reaches a display; the
// frames are drawn all the same.
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/trainerview.h"

namespace {

void timeScreen(TrainerView& view, int screen, const char* name) {
  view.screen = screen;
  QElapsedTimer timer;
  timer.start();
  view.paintScreen();
  std::printf("%-20s %7.2f s\n", name, double(timer.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/tarvel-bench-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  QApplication app(argc, argv);
  TrainerView view;
  view.resize(600, 400);
  std::printf("%-20s %9s\n", "screen", "duration");
  using S = TrainerView::Screen;
  timeScreen(view, S::Opening, "Opening");
  timeScreen(view, S::MainIntro, "MainIntro");
  timeScreen(view, S::TrainingChosen, "TrainingChosen");
  timeScreen(view, S::TrainingEntry, "TrainingEntry+Next");
  timeScreen(view, S::TrainingHit, "TrainingHit");
  timeScreen(view, S::TrainingNextTarget, "TrainingNextTarget");
  timeScreen(view, S::TrainingMisfire, "TrainingMisfire");
  timeScreen(view, S::LabChosen, "LabChosen");
  timeScreen(view, S::LabEntry, "LabEntry+Next");
  view.trialsLeft = 0;
  timeScreen(view, S::LabHit, "LabHit");
  timeScreen(view, S::ResultsReveal, "ResultsReveal");
  timeScreen(view, S::Results, "Results (idle)");
  return 0;
}
