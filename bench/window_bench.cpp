// Menus inside a program's own 1920 x 1080 window, on Qt's offscreen
// platform: what a selection costs the program's event loop, painting of
// the overlay widget included.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>

#include "app/practice_menu.h"
#include "menu/marking_menu.h"
#include "platform/qt_window/window_platform.h"

namespace {

void startApplication() {
  static int argc = 1;
  static char name[] = "bench_window";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!QApplication::instance()) new QApplication(argc, argv);
}

std::unique_ptr<QWidget> fullHdWindow() {
  auto host = std::make_unique<QWidget>();
  host->resize(1920, 1080);
  host->show();
  QCoreApplication::processEvents();
  return host;
}

Menu* practiceRoot() {
  static int values[practiceItemCount];
  static Menu* root = buildPracticeMenu(values);
  return root;
}

// The first menu of a program that has never shown one: the platform and
// its overlay made for the window, the practice menu popped up at the press
// (menus only, so that no delay is waited out) and painted.
void WindowFirstMenu(benchmark::State& state) {
  startApplication();
  auto host = fullHdWindow();
  Menu* root = practiceRoot();
  mSetTechnique(TECHNIQUE_MENU_ONLY);
  for (auto _ : state) {
    auto window =
        std::make_unique<tarvel::platform::WindowPlatform>(host.get());
    tarvel::platform::Platform* previous =
        tarvel::platform::install(window.get());
    mInit(0, 0, 0, 0, 0, 0);
    mPress(root, 960, 540);
    QCoreApplication::processEvents();
    state.PauseTiming();
    mCancel(root);
    mShutdown();
    tarvel::platform::install(previous);
    window.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  mSetTechnique(TECHNIQUE_MARKS_AND_MENUS);
}
BENCHMARK(WindowFirstMenu)->Unit(benchmark::kMillisecond);

// The pointer going from one item of the shown practice menu to another:
// the highlight moves, and the overlay paints what changed.
void WindowMoveToHighlight(benchmark::State& state) {
  startApplication();
  auto host = fullHdWindow();
  Menu* root = practiceRoot();
  tarvel::platform::WindowPlatform window(host.get());
  tarvel::platform::Platform* previous = tarvel::platform::install(&window);
  mSetTechnique(TECHNIQUE_MENU_ONLY);
  mInit(0, 0, 0, 0, 0, 0);
  mPress(root, 960, 540);
  QCoreApplication::processEvents();
  bool north = false;
  for (auto _ : state) {
    north = !north;
    if (north)
      mMotion(root, 960, 440);
    else
      mMotion(root, 1060, 540);
    QCoreApplication::processEvents();
  }
  mCancel(root);
  mShutdown();
  mSetTechnique(TECHNIQUE_MARKS_AND_MENUS);
  tarvel::platform::install(previous);
}
BENCHMARK(WindowMoveToHighlight)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
