#include "platform/sim_platform.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace tarvel::platform {

namespace {

void ensureGuiApplication() {
  if (QGuiApplication::instance()) return;
  // Kept for the rest of the process: Qt needs argc/argv to outlive it.
  static int argc = 1;
  static char name[] = "sim";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(argc, argv);
}

// A fixed picture that differs from pixel to pixel, so that a restore that
// puts back the wrong pixels shows.
void paintTestPattern(QImage& image) {
  for (int y = 0; y < image.height(); y++) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); x++)
      line[x] = qRgb((x * 7 + y * 3) & 0xFF, (x ^ y) & 0xFF,
                     ((x / 16 + y / 16) * 37) & 0xFF);
  }
}

}  // namespace

SimPlatform::SimPlatform(int screenWidth, int screenHeight) {
  ensureGuiApplication();
  if (screenWidth < 1) screenWidth = 1;
  if (screenHeight < 1) screenHeight = 1;
  screen_ = QImage(screenWidth, screenHeight, QImage::Format_RGB32);
  paintTestPattern(screen_);
  surface_ = std::make_unique<ImageSurface>(&screen_);
  // The pattern is the desktop: what a client draws beneath the menus goes
  // wherever it still shows.
  surface_->markAsDesktop();
  workArea_ = Rect{0, screenWidth - 1, 0, screenHeight - 1};
  std::strcpy(menuFont_.family, "Liberation Sans");
  menuFont_.pixelSize = 12;
  menuFont_.weight = 400;
  menuFont_.italic = false;
  // The classic desktop palette: black on light grey, navy highlight.
  colours_[int(SystemColour::MenuText)] = rgb(0, 0, 0);
  colours_[int(SystemColour::Menu)] = rgb(0xC0, 0xC0, 0xC0);
  colours_[int(SystemColour::Highlight)] = rgb(0, 0, 0x80);
  colours_[int(SystemColour::HighlightText)] = rgb(0xFF, 0xFF, 0xFF);
  colours_[int(SystemColour::ButtonShadow)] = rgb(0x80, 0x80, 0x80);
  colours_[int(SystemColour::ButtonHighlight)] = rgb(0xFF, 0xFF, 0xFF);
  previous_ = install(this);
}

SimPlatform::~SimPlatform() {
  // A selection left open on the screen ends with it.
  announceGoing(this);
  closeOverlay();
  install(previous_);
}

void SimPlatform::advance(uint32_t ms) {
  micros_ += uint64_t(ms) * 1000;
  pollsThisMs_ = 0;
}

void SimPlatform::setPointer(int x, int y) {
  input_.x = x;
  input_.y = y;
}

void SimPlatform::setButtonDown(bool down) { input_.buttonsDown = down; }

void SimPlatform::setEscapeDown(bool down) { input_.escapeDown = down; }

const QImage& SimPlatform::screenImage() const {
  surface_->settle();
  return screen_;
}

void SimPlatform::setWorkArea(const Rect& area) { workArea_ = area; }

void SimPlatform::setMonitors(const std::vector<Monitor>& monitors) {
  monitors_ = monitors;
}

void SimPlatform::setDevicePixelRatio(double ratio) { ratio_ = ratio; }

void SimPlatform::setMenuFont(const FontSpec& font) { menuFont_ = font; }

void SimPlatform::setSystemColour(SystemColour which, Colour c) {
  colours_[int(which)] = c;
}

uint64_t SimPlatform::microseconds() { return micros_; }

void SimPlatform::sleepMs(uint32_t ms) {
  if (sleepWatcher_) sleepWatcher_(ms);
  advance(ms);
}

void SimPlatform::watchSleeps(std::function<void(uint32_t)> watcher) {
  sleepWatcher_ = std::move(watcher);
}

void SimPlatform::spinStep() { advance(1); }

void SimPlatform::setInputScript(std::function<InputState(uint32_t)> script) {
  script_ = std::move(script);
  scriptStart_ = micros_;
}

InputState SimPlatform::pollInput() {
  // A client loop of the public calls leaves the waiting to the platform.
  if (++pollsThisMs_ > pollsPerIdleMs) advance(1);
  if (script_) input_ = script_(uint32_t((micros_ - scriptStart_) / 1000));
  return input_;
}

void SimPlatform::setCursor(Cursor cursor) { cursor_ = cursor; }

bool SimPlatform::moduleLoaded(const char*) { return false; }

Colour SimPlatform::systemColour(SystemColour which) {
  return colours_[int(which)];
}

FontSpec SimPlatform::menuFont() { return menuFont_; }

Rect SimPlatform::workArea() {
  return monitors_.empty() ? workArea_ : monitors_.front().workArea;
}

Rect SimPlatform::workAreaAt(int x, int y) {
  if (monitors_.empty()) return workArea_;
  // Squared distance from the point to each screen, in 64 bits: a point
  // far off the desktop still finds the monitor nearest to it.
  auto gap = [](int64_t v, int64_t lo, int64_t hi) {
    return v < lo ? lo - v : (v > hi ? v - hi : 0);
  };
  const Monitor* nearest = &monitors_.front();
  double best = -1;
  for (const Monitor& m : monitors_) {
    int64_t dx = gap(x, m.screen.xmin, m.screen.xmax);
    int64_t dy = gap(y, m.screen.ymin, m.screen.ymax);
    double d = double(dx) * dx + double(dy) * dy;
    if (best < 0 || d < best) {
      best = d;
      nearest = &m;
    }
  }
  return nearest->workArea;
}

double SimPlatform::devicePixelRatio() { return ratio_; }

Rect SimPlatform::desktopRect() {
  return Rect{0, screen_.width() - 1, 0, screen_.height() - 1};
}

Surface* SimPlatform::openOverlay() {
  overlayOpen_ = true;
  return surface_.get();
}

void SimPlatform::closeOverlay() {
  surface_->flush();
  overlayOpen_ = false;
}

Surface* SimPlatform::overlay() {
  return overlayOpen_ ? surface_.get() : nullptr;
}

void SimPlatform::playSound(const char* name, const void*, size_t,
                            bool synchronous) {
  sounds_.push_back(std::string(synchronous ? "!" : "") + (name ? name : ""));
}

}  // namespace tarvel::platform
