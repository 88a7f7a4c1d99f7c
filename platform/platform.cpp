#include "platform/platform.h"

#include "platform/desktop/desktop_platform.h"

namespace tarvel::platform {

namespace {
Platform* installed = nullptr;
GoingHandler goingHandlers[4];
}  // namespace

Platform& current() {
  if (installed) return *installed;
  // Made on first use and kept to the end of the process.
  static DesktopPlatform* desktop = new DesktopPlatform;
  return *desktop;
}

Platform* install(Platform* p) {
  Platform* previous = installed;
  installed = p;
  return previous;
}

void onGoing(GoingHandler handler) {
  for (GoingHandler& h : goingHandlers) {
    if (h == handler) return;
    if (!h) {
      h = handler;
      return;
    }
  }
}

void announceGoing(Platform* going) {
  for (GoingHandler h : goingHandlers)
    if (h) h(going);
}

}  // namespace tarvel::platform
