#include "platform/desktop_platform.h"

#include <cstring>
#include <ctime>

namespace platform {

uint64_t DesktopPlatform::microseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000000 + uint64_t(ts.tv_nsec) / 1000;
}

void DesktopPlatform::sleepMs(uint32_t ms) {
  timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

void DesktopPlatform::spinStep() {}

InputState DesktopPlatform::pollInput() { return InputState{}; }

void DesktopPlatform::setCursor(Cursor) {}

bool DesktopPlatform::moduleLoaded(const char*) { return false; }

Colour DesktopPlatform::systemColour(SystemColour) { return 0; }

FontSpec DesktopPlatform::menuFont() {
  FontSpec f{};
  std::strcpy(f.family, "Liberation Sans");
  f.pixelSize = 12;
  f.weight = 400;
  return f;
}

Rect DesktopPlatform::workArea() { return Rect{0, 0, 0, 0}; }

Rect DesktopPlatform::desktopRect() { return Rect{0, 0, 0, 0}; }

Surface* DesktopPlatform::openOverlay() { return nullptr; }

void DesktopPlatform::closeOverlay() {}

Surface* DesktopPlatform::overlay() { return nullptr; }

void DesktopPlatform::playSound(const char*, const void*, size_t, bool) {}

}  // namespace platform
