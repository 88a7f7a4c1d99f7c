// The real machine: Qt on X11 for the overlay and desktop settings, xcb for
// input polling, SDL2_mixer for sound, the monotonic clock for time.
//
// Polling loops sleep rather than spin: spinStep, and a third pollInput with
// no wait since the second, sleep until the loop's pass has lasted a
// millisecond or input arrives.
//
// The overlay, input, cursor and desktop settings need a QGuiApplication
// (or QApplication) on Qt's xcb platform. Without one, or on another Qt
// platform, they do nothing and answer zeros (the menu font excepted: a
// fixed one), and openOverlay gives NULL. Time, sound and module look-ups
// need no display.
#pragma once

#include <memory>

#include "platform/desktop/sound.h"
#include "platform/desktop/x11_input.h"
#include "platform/platform.h"

namespace tarvel::platform {

class DesktopOverlay;

class DesktopPlatform : public Platform {
 public:
  DesktopPlatform();
  ~DesktopPlatform() override;

  uint64_t microseconds() override;
  void sleepMs(uint32_t ms) override;
  void spinStep() override;
  void wakeBy(uint64_t us) override;
  InputState pollInput() override;
  void setCursor(Cursor cursor) override;
  bool moduleLoaded(const char* name) override;
  Colour systemColour(SystemColour which) override;
  FontSpec menuFont() override;
  Rect workArea() override;
  Rect desktopRect() override;
  Rect workAreaAt(int x, int y) override;
  double devicePixelRatio() override;
  Surface* openOverlay() override;
  void closeOverlay() override;
  Surface* overlay() override;
  void playSound(const char* name, const void* wave, size_t bytes,
                 bool synchronous) override;

 private:
  void endPass();
  void startPass();

  std::unique_ptr<DesktopOverlay> overlay_;
  X11Input input_;
  uint64_t passStartUs_ = 0;  // when the last wait ended
  uint64_t wakeByUs_ = 0;     // the library's deadline for this pass, or 0
  int readsThisPass_ = 0;
  Sound sound_;
  bool crossShown_ = false;  // the cross is Qt's override cursor now
};

}  // namespace tarvel::platform
