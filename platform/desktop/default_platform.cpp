// Linking the desktop platform's library makes it the default platform.
// Nothing calls into this file, so a static link keeps it only when asked
// to: the library's link interface names tarvel_desktop_platform as an
// undefined symbol (ld -u), which pulls this object in with its
// initialiser.
#include "platform/desktop/desktop_platform.h"

namespace {

platform::Platform* makeDesktopPlatform() {
  return new platform::DesktopPlatform;
}

[[maybe_unused]] const bool registered =
    (platform::setDefaultPlatform(makeDesktopPlatform), true);

}  // namespace

extern "C" TARVEL_API const int tarvel_desktop_platform = 1;
