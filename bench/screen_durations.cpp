// How long each transient screen of the trainer takes on this machine, in
// real time: its pauses, its paced drawing and its synchronous sound. The
// view runs on Qt's offscreen platform, so nothing reaches a display; the
// frames are drawn all the same.
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/trainerview.h"

namespace {

// Runs the screen the view is on, as the event loop would, and says how
// long it took.
void timeScreen(TrainerView& view, const char* name) {
  QElapsedTimer timer;
  timer.start();
  view.runScreen();
  std::printf("%-20s %7.2f s\n", name, double(timer.nsecsElapsed()) / 1e9);
}

void click(TrainerView& view, const HotRect& where) {
  QPoint at = where.rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                    QPointF(view.mapToGlobal(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &press);
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
  view.show();
  std::printf("%-20s %9s\n", "screen", "duration");
  timeScreen(view, "Opening");
  timeScreen(view, "MainIntro");
  click(view, view.layout().trainingPicture);
  timeScreen(view, "TrainingChosen");
  timeScreen(view, "TrainingEntry+Next");
  // Without a display no button is ever down: a press in the panel is a
  // trial that selects nothing at once.
  click(view, view.layout().panel);
  timeScreen(view, "TrainingMisfire");
  timeScreen(view, "TrainingNextTarget");
  click(view, view.layout().backButton);
  timeScreen(view, "MainIntro (back)");
  click(view, view.layout().labPicture);
  timeScreen(view, "LabChosen");
  timeScreen(view, "LabEntry+Next");
  for (int trial = 1; trial < labTrialCount; trial++) {
    click(view, view.layout().panel);
    view.runScreen();
    view.runScreen();
  }
  click(view, view.layout().panel);
  timeScreen(view, "LabMisfire (last)");
  timeScreen(view, "ResultsReveal");
  return 0;
}
