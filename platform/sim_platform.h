// SPDX-License-Identifier: MIT
// A simulated machine for tests, benchmarks and replays: virtual time,
// scripted input, an in-memory screen, recorded sounds and cursors.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/image_surface.h"
#include "platform/platform.h"

namespace tarvel::platform {

class TARVEL_API SimPlatform : public Platform {
 public:
  // Becomes the current platform; the destructor hands back the previous
  // one. Makes a QGuiApplication on Qt's offscreen platform when none
  // exists.
  explicit SimPlatform(int screenWidth = 1280, int screenHeight = 1024);
  ~SimPlatform() override;
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  // The tick count every SimPlatform starts at, in milliseconds.
  static constexpr uint64_t startTickMs = 10'000'000;

  void advance(uint32_t ms);      // virtual time moves on by ms
  void setPointer(int x, int y);  // pointer position in screen pixels
  void setButtonDown(bool down);  // the left mouse button
  void setEscapeDown(bool down);
  // From now on every poll asks `script` for the input state, given the
  // virtual milliseconds since this call; an empty script stops that.
  void setInputScript(std::function<InputState(uint32_t ms)> script);
  const QImage& screenImage() const;  // what the simulated screen shows now
  // Runs `watcher` at the start of every sleep, before virtual time moves
  // on: what is shown while the program waits. An empty one stops that.
  void watchSleeps(std::function<void(uint32_t ms)> watcher);

  void setWorkArea(const Rect& area);
  // One monitor of a simulated desktop: its screen, and that less panels.
  struct Monitor {
    Rect screen;
    Rect workArea;
  };
  // The first is the primary, whose work area workArea() answers. With none
  // set, the work area above stands for the one monitor.
  void setMonitors(const std::vector<Monitor>& monitors);
  void setDevicePixelRatio(double ratio);
  void setMenuFont(const FontSpec& font);
  void setSystemColour(SystemColour which, Colour c);
  Cursor cursor() const { return cursor_; }
  // Names of the sounds played, in order, "!" prefixed when synchronous.
  const std::vector<std::string>& sounds() const { return sounds_; }

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
  Rect workAreaAt(int x, int y) override;
  double devicePixelRatio() override;
  Surface* openOverlay() override;
  void closeOverlay() override;
  Surface* overlay() override;
  void playSound(const char* name, const void* wave, size_t bytes,
                 bool synchronous) override;

 private:
  Platform* previous_ = nullptr;
  uint64_t micros_ = startTickMs * 1000;
  InputState input_{};
  std::function<InputState(uint32_t)> script_;
  std::function<void(uint32_t)> sleepWatcher_;
  uint64_t scriptStart_ = 0;
  // Polls since time last moved on: a loop that polls without moving time
  // on (a client loop of mButtonsDown alone) finds a millisecond passing
  // every pollsPerIdleMs polls, as the desktop platform would sleep.
  static constexpr int pollsPerIdleMs = 16;
  int pollsThisMs_ = 0;
  mutable QImage screen_;
  Rect workArea_{};
  std::vector<Monitor> monitors_;
  double ratio_ = 1.0;
  FontSpec menuFont_{};
  Colour colours_[6] = {};
  Cursor cursor_ = Cursor::Arrow;
  std::vector<std::string> sounds_;
  // The overlay is the simulated screen itself.
  std::unique_ptr<ImageSurface> surface_;
  bool overlayOpen_ = false;
};

}  // namespace tarvel::platform
