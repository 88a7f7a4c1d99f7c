// tarvel-report: the traces it reads are the trainer's, so their paths are
// named through the practice menu, as in the trainer's Progress window.
#include <QApplication>
#include <cstdlib>

#include "app/practice_menu.h"
#include "platform/sim_platform.h"
#include "progress/tarvel_report.h"

int main(int argc, char** argv) {
  // Pictures are drawn off screen: no display is needed.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The menu is data only here: built on a simulated screen, never shown.
  platform::SimPlatform simulated;
  static int values[practiceItemCount];
  static const Menu* menu = buildPracticeMenu(values);
  return tarvelReport(argc, argv, menu);
}
