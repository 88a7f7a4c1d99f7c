#include "app/trainerapp.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/cmainframe.h"

namespace {
// The connection that found the display stays open until Qt has its own:
// an X server whose last client leaves starts over, and would refuse Qt
// for that moment.
xcb_connection_t* displayCheck = nullptr;
}  // namespace

TrainerApp::TrainerApp(int& argc, char** argv) : QApplication(argc, argv) {
  if (displayCheck) xcb_disconnect(displayCheck);
  displayCheck = nullptr;
  setApplicationName(QStringLiteral("Tarvel"));
  // The settings key the program would keep things under; it keeps none.
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
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (!xcb_connection_has_error(connection)) {
    displayCheck = connection;
    return true;
  }
  xcb_disconnect(connection);
  std::fprintf(stderr,
               "tarvel: no X display to run on (DISPLAY is %s).\n"
               "Tarvel draws its menus over the desktop and needs an X11 "
               "session; on Wayland it runs through XWayland.\n",
               display && *display ? display : "not set");
  return false;
}
