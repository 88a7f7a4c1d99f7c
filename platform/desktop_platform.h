// The real machine: Qt on X11 for the overlay and desktop settings, xcb for
// input polling, SDL2_mixer for sound, the monotonic clock for time.
#pragma once

#include "platform/platform.h"

namespace platform {

class DesktopPlatform : public Platform {
 public:
  uint64_t microseconds() override;
  void sleepMs(uint32_t ms) override;
  void spinStep() override;
  InputState pollInput() override;
  void setCursor(Cursor cursor) override;
  bool moduleLoaded(const char* name) override;
  Colour systemColour(SystemColour which) override;
  FontSpec menuFont() override;
  Rect workArea() override;
  Rect desktopRect() override;
  Surface* openOverlay() override;
  void closeOverlay() override;
  Surface* overlay() override;
  void playSound(const char* name, const void* wave, size_t bytes,
                 bool synchronous) override;
};

}  // namespace platform
