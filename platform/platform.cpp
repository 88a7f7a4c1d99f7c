#include "platform/platform.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace tarvel::platform {

namespace {

Platform* installed = nullptr;
GoingHandler goingHandlers[4];
PlatformMaker defaultMaker = nullptr;

// What a program runs on when the desktop platform is not linked in and it
// installed no platform of its own: time passes, nothing else happens.
class HeadlessPlatform : public Platform {
 public:
  uint64_t microseconds() override {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return uint64_t(
        std::chrono::duration_cast<std::chrono::microseconds>(since).count());
  }
  void sleepMs(uint32_t ms) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  // A busy wait must not spin a core while it waits for its deadline.
  void spinStep() override { sleepMs(1); }
  InputState pollInput() override { return InputState{}; }
  void setCursor(Cursor) override {}
  bool moduleLoaded(const char*) override { return false; }
  Colour systemColour(SystemColour which) override {
    return which == SystemColour::Menu || which == SystemColour::HighlightText
               ? rgb(255, 255, 255)
               : rgb(0, 0, 0);
  }
  FontSpec menuFont() override {
    FontSpec spec{};
    std::strcpy(spec.family, "Liberation Sans");
    spec.pixelSize = 12;
    spec.weight = 400;
    return spec;
  }
  Rect workArea() override { return Rect{0, 0, 0, 0}; }
  Rect desktopRect() override { return Rect{0, 0, 0, 0}; }
  Surface* openOverlay() override { return nullptr; }
  void closeOverlay() override {}
  Surface* overlay() override { return nullptr; }
  void playSound(const char*, const void*, size_t, bool) override {}
};

}  // namespace

void setDefaultPlatform(PlatformMaker make) { defaultMaker = make; }

Platform& current() {
  if (installed) return *installed;
  // Made on first use and kept to the end of the process.
  static Platform* fallback =
      defaultMaker ? defaultMaker() : new HeadlessPlatform;
  return *fallback;
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
