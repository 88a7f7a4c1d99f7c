// SPDX-License-Identifier: MIT
// The in-window platform: menus, ink and feedback drawn inside a Qt
// program's own top-level window, on a transparent widget over all of it,
// fed by that window's own events. Works on every Qt platform (xcb,
// wayland, offscreen, and the others Qt runs on), because it never draws
// outside the program's window. Coordinates are the window's device pixels:
// its top-left corner is 0, 0, and the window is the work area menus are
// placed in.
//
// Time is the monotonic clock. Waits never freeze the program: spinStep
// waits for the window's events (or the library's next deadline, a tenth
// of a second at most), and sleepMs goes on delivering timers and painting
// meanwhile (input waits until it returns). The input only changes as the
// application's events are delivered; a loop that reads it without
// calling spinStep and without any event delivered between waits as a
// pass does at every fifth read. The library itself plays no sound;
// playSound hands the wave to the program's player when it set one, else
// plays nothing. moduleLoaded always answers no.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/image_surface.h"
#include "platform/platform.h"
#include "platform/qt_window/window_input.h"

namespace tarvel::platform {

class TARVEL_API WindowPlatform : public Platform {
 public:
  // Draws over `host`'s top-level window. A NULL host, or a window of no
  // size, gives a platform whose openOverlay answers NULL. Does not make
  // itself current: install() it for the length of a selection. When the
  // host goes (with its window or alone) during a selection, the platform
  // says it is going (announceGoing) and drops its overlay, so the
  // selection ends without drawing again.
  explicit WindowPlatform(QWidget* host);
  // Says it is going (announceGoing) while its surface still exists, and
  // is current no longer: the default platform is, if it was.
  ~WindowPlatform() override;
  WindowPlatform(const WindowPlatform&) = delete;
  WindowPlatform& operator=(const WindowPlatform&) = delete;

  QWidget* window() const;
  WindowInput& input();
  // Called when the library's deadline (wakeBy) comes, from the event
  // loop, so that a program that does not wait in spinStep can mPoll then.
  // Never from inside sleepMs, where the library is in the middle of a
  // call: a deadline that comes then is handled once the sleep is over.
  void setDeadlineHandler(std::function<void()> handler);
  using SoundPlayer = std::function<void(const char* name, const void* wave,
                                         size_t bytes, bool synchronous)>;
  void setSoundPlayer(SoundPlayer player);
  // What the overlay widget shows now, for tests: transparent where
  // nothing is drawn, one pixel to a device pixel (ARGB32). Null without
  // an overlay.
  QImage picture() const;

  uint64_t microseconds() override;
  void sleepMs(uint32_t ms) override;
  void spinStep() override;
  void wakeBy(uint64_t us) override;
  InputState pollInput() override;
  // The cross is the window's cursor until the arrow comes back or the
  // overlay closes; the window's own cursor then returns.
  void setCursor(Cursor cursor) override;
  bool moduleLoaded(const char* name) override;
  Colour systemColour(SystemColour which) override;
  FontSpec menuFont() override;
  Rect workArea() override;     // the window, 0, 0 to its size
  Rect desktopRect() override;  // the same
  Rect workAreaAt(int x, int y) override;
  double devicePixelRatio() override;
  // A transparent widget over the whole window and above its children,
  // passing every event through; it follows the window's size, while the
  // picture drawn on keeps the size the window had when it opened. NULL
  // without a window to draw on.
  Surface* openOverlay() override;
  void closeOverlay() override;
  Surface* overlay() override;
  void playSound(const char* name, const void* wave, size_t bytes,
                 bool synchronous) override;

 private:
  struct State;
  std::unique_ptr<State> d_;
};

}  // namespace tarvel::platform
