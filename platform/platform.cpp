#include "platform/platform.h"

#include "platform/desktop/desktop_platform.h"

namespace tarvel::platform {

namespace {
Platform* installed = nullptr;
}

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

}  // namespace tarvel::platform
