#include "app/trainerapp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/cmainframe.h"
#include "app/window_picture.h"

TrainerApp::TrainerApp(int& argc, char** argv) : QApplication(argc, argv) {
  // Qt has its own connection now.
  releaseDisplay();
  setApplicationName(QStringLiteral("Tarvel"));
  // The settings key the program keeps its choices under.
  setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  frame_ = std::make_unique<CMainFrame>();
  frame_->show();
}

TrainerApp::~TrainerApp() = default;

bool TrainerApp::prepareDisplay() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen && std::strncmp(chosen, "xcb", 3) != 0) return true;
  if (!chosen && std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  const char* display = std::getenv("DISPLAY");
  if (holdDisplay()) return true;
  std::fprintf(stderr,
               "tarvel: no X display to run on (DISPLAY is %s).\n"
               "Tarvel draws its menus over the desktop and needs an X11 "
               "session; on Wayland it runs through XWayland.\n",
               display && *display ? display : "not set");
  return false;
}
