// The desktop platform where there is no X display (no application at all,
// or Qt's offscreen platform), its input and waits on an X server of the
// test's own, and its sound, which needs no display.
#include "platform/desktop/desktop_platform.h"

#include <SDL2/SDL_mixer.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <xcb/xcb_keysyms.h>

#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/practice_menu.h"
#include "display/drawing.h"
#include "own_x_server.h"
#include "report_capture.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void expectNothingThere(platform::DesktopPlatform& p) {
  EXPECT_EQ(p.openOverlay(), nullptr);
  EXPECT_EQ(p.overlay(), nullptr);
  p.closeOverlay();
  platform::InputState in = p.pollInput();
  EXPECT_EQ(in.x, 0);
  EXPECT_EQ(in.y, 0);
  EXPECT_FALSE(in.buttonsDown);
  EXPECT_FALSE(in.escapeDown);
  Rect work = p.workArea(), desktop = p.desktopRect();
  EXPECT_EQ(std::memcmp(&work, &desktop, sizeof work), 0);
  EXPECT_EQ(desktop.xmax, 0);
  EXPECT_EQ(p.systemColour(platform::SystemColour::Menu), 0u);
  EXPECT_GT(p.menuFont().pixelSize, 0);
  p.setCursor(platform::Cursor::Cross);
  p.setCursor(platform::Cursor::Arrow);
}

TEST(DesktopPlatform, WithoutAnApplicationDoesNothing) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  platform::DesktopPlatform p;
  expectNothingThere(p);
}

TEST(DesktopPlatform,
     OnTheOffscreenPlatformDoesNothingAndTheLibraryReportsOnce) {
  static int argc = 1;
  static char name[] = "desktop_platform_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  platform::DesktopPlatform p;
  expectNothingThere(p);

  // The library on the default platform: no overlay, one report, no
  // drawing anywhere, however often it is tried.
  ReportCapture reports;
  for (int i = 0; i < 2; i++) {
    mInit(0, 0, 0, 0, 0, 0);
    Rect box{10, 20, 10, 20};
    mFillRect(&box);
    mFlush();
    const uint32_t clock[4] = {};
    EXPECT_EQ(mDrawBeneath(0, 0, 2, 2, clock, 8), 0);
    mShutdown();
  }
  EXPECT_EQ(reports.all().size(), 1u);
}

TEST(DesktopPlatform, ModulesAreLookedUpNotLoaded) {
  platform::DesktopPlatform p;
  EXPECT_TRUE(p.moduleLoaded("libc.so.6"));
  EXPECT_FALSE(p.moduleLoaded("USER32.DLL"));
  EXPECT_FALSE(p.moduleLoaded("libtarvel-no-such-module.so"));
  EXPECT_FALSE(p.moduleLoaded(""));
  EXPECT_FALSE(p.moduleLoaded(nullptr));
}

// Counts the passes of every busy wait: the library's and the trainer's
// call spinStep once a pass.
class CountingDesktop : public platform::DesktopPlatform {
 public:
  int steps = 0;
  void spinStep() override {
    steps++;
    DesktopPlatform::spinStep();
  }
};

// The desktop platform as the library's current one, on an Xvfb of the
// test's own, with input put in through XTEST.
class DesktopInput : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new OwnXServer;
    if (!server->start()) return;
    static int argc = 1;
    static char name[] = "desktop_platform_test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "xcb");
    app = new QGuiApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app;
    app = nullptr;
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(platform::desktopConnection(), nullptr) << "no Xvfb";
    ASSERT_TRUE(input.ready()) << "no XTEST";
    previous = platform::install(&desktop);
  }
  void TearDown() override { platform::install(previous); }

  // Polls as a selection loop does until `done` holds, for up to 5 s.
  template <typename Done>
  bool pollUntil(Done done) {
    auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!done(desktop.pollInput())) {
      if (Clock::now() > deadline) return false;
      desktop.spinStep();
    }
    return true;
  }
  static Menu* practiceMenu() {
    static int values[practiceItemCount];
    static Menu* root = buildPracticeMenu(values);
    return root;
  }

  static OwnXServer* server;
  static QGuiApplication* app;
  CountingDesktop desktop;
  FakeInput input;
  platform::Platform* previous = nullptr;
};

OwnXServer* DesktopInput::server = nullptr;
QGuiApplication* DesktopInput::app = nullptr;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start)
      .count();
}

// The trainer's trial: the loop while the button is held, with the menu
// popping up. With the pointer still, a pass lasts until the library's next
// deadline or 10 ms; none is shorter than a millisecond.
TEST_F(DesktopInput, AHeldSelectionSleepsInsteadOfSpinning) {
  Menu* root = practiceMenu();
  input.moveTo(640, 512);
  input.button(1, true);
  input.flush();
  ASSERT_TRUE(pollUntil([](platform::InputState in) {
    return in.buttonsDown && in.x == 640 && in.y == 512;
  }));
  mInit(0, 0, 0, 0, 0, 0);
  platform::InputState in = desktop.pollInput();
  mPress(root, in.x, in.y);
  Clock::time_point start = Clock::now();
  int passes = 0;
  bool released = false;
  do {
    in = desktop.pollInput();
    mMotion(root, in.x, in.y);
    mPoll();
    desktop.spinStep();
    passes++;
    if (!released && msSince(start) > 400) {
      EXPECT_EQ(root->mode, 1) << "the menu popped up while held";
      input.button(1, false);
      input.flush();
      released = true;
    }
  } while (mButtonsDown() && msSince(start) < 10000);
  double ms = msSince(start);
  EXPECT_TRUE(released);
  EXPECT_FALSE(mButtonsDown()) << "the release was seen";
  EXPECT_LE(passes, ms / 10 + 40) << "in " << ms << " ms";

  in = desktop.pollInput();
  mRelease(root, in.x, in.y);
  mShutdown();
}

TEST_F(DesktopInput, TheConfirmationOfAMarkSleeps) {
  Menu* root = practiceMenu();
  mInit(0, 0, 0, 0, 0, 0);
  mPress(root, 640, 512);
  for (int i = 1; i <= 10; i++) mMotion(root, 640, 512 - 10 * i);
  desktop.sleepMs(30);
  mRelease(root, 640, 412);
  ASSERT_EQ(root->mode, 0) << "a mark, no menu shown";
  int before = desktop.steps;
  Clock::time_point start = Clock::now();
  mShowConfirmation(root);
  EXPECT_GE(msSince(start), 200) << "the confirmation was shown for 0.2 s";
  EXPECT_EQ(desktop.steps - before, 0) << "asleep, not polling";
  mEraseConfirmation(root);
  mShutdown();
}

// Whatever changes the input, a poll soon reports it: a device's move, a
// move by another client (which raises no raw event), buttons and Escape.
TEST_F(DesktopInput, PollingSeesEveryChange) {
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(input.connection());
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XK_Escape);
  ASSERT_TRUE(codes && codes[0]);
  xcb_keycode_t escape = codes[0];
  std::free(codes);
  xcb_key_symbols_free(symbols);
  using In = platform::InputState;

  input.moveTo(300, 200);
  input.flush();
  EXPECT_TRUE(pollUntil([](In in) { return in.x == 300 && in.y == 200; }));
  input.warpTo(500, 400);
  input.flush();
  EXPECT_TRUE(pollUntil([](In in) { return in.x == 500 && in.y == 400; }));
  input.button(3, true);
  input.flush();
  EXPECT_TRUE(pollUntil([](In in) { return in.buttonsDown; }));
  input.button(3, false);
  input.key(escape, true);
  input.flush();
  EXPECT_TRUE(
      pollUntil([](In in) { return !in.buttonsDown && in.escapeDown; }));
  input.key(escape, false);
  input.flush();
  EXPECT_TRUE(pollUntil([](In in) { return !in.escapeDown; }));
}

// With the server full, the platform's own connection fails: input comes
// through Qt's connection instead, and that is reported once.
TEST_F(DesktopInput, WithoutAConnectionOfItsOwnInputComesThroughQts) {
  std::vector<xcb_connection_t*> others;
  for (int i = 0; i < 4096; i++) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
      xcb_disconnect(c);
      break;
    }
    others.push_back(c);
  }
  ReportCapture reports;
  input.warpTo(123, 234);
  input.flush();
  EXPECT_TRUE(pollUntil(
      [](platform::InputState in) { return in.x == 123 && in.y == 234; }));
  input.warpTo(321, 432);
  input.flush();
  EXPECT_TRUE(pollUntil(
      [](platform::InputState in) { return in.x == 321 && in.y == 432; }));
  EXPECT_EQ(reports.all().size(), 1u);
  for (xcb_connection_t* c : others) xcb_disconnect(c);
}

// A quiet 16-bit mono tone as a RIFF wave.
std::vector<uint8_t> tone(int ms) {
  const uint32_t rate = 22050, samples = rate * uint32_t(ms) / 1000;
  std::vector<uint8_t> wave(44 + samples * 2);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&wave[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&wave[at], &v, 2); };
  std::memcpy(&wave[0], "RIFF", 4);
  put32(4, uint32_t(wave.size() - 8));
  std::memcpy(&wave[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);  // PCM
  put16(22, 1);  // mono
  put32(24, rate);
  put32(28, rate * 2);
  put16(32, 2);
  put16(34, 16);
  std::memcpy(&wave[36], "data", 4);
  put32(40, samples * 2);
  for (uint32_t i = 0; i < samples; i++)
    put16(44 + i * 2,
          uint16_t(int16_t(1000 * std::sin(i * 2 * M_PI * 440 / rate))));
  return wave;
}

double msTaken(auto work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now() - start)
      .count();
}

TEST(DesktopSound, SynchronousPlayLastsAsLongAsTheSound) {
  platform::Sound sound;
  ASSERT_TRUE(sound.ready()) << "neither a device nor the dummy driver";
  std::vector<uint8_t> wave = tone(300);
  double ms = msTaken([&] { sound.play(wave.data(), wave.size(), true); });
  EXPECT_GE(ms, 250);
  // Bounds far from the sounds' lengths: a loaded machine may be slow to
  // start playing, never quick to end.
  EXPECT_LT(ms, 5000);
  EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(DesktopSound, ANewSoundCutsOffTheOnePlaying) {
  platform::Sound sound;
  ASSERT_TRUE(sound.ready());
  std::vector<uint8_t> longWave = tone(20000), shortWave = tone(100);
  Clock::time_point start = Clock::now();
  sound.play(longWave.data(), longWave.size(), false);
  EXPECT_EQ(Mix_Playing(-1), 1);
  sound.play(shortWave.data(), shortWave.size(), true);
  EXPECT_LT(msSince(start), 10000) << "the long sound was cut off";
  EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(DesktopSound, BytesThatAreNoWavePlayNothing) {
  platform::Sound sound;
  const char junk[] = "RIFF....WAVEjunk that is no wave at all";
  std::vector<uint8_t> wave = tone(100);
  sound.play(junk, sizeof junk, true);
  sound.play(nullptr, 100, true);
  sound.play(wave.data(), 0, true);
  sound.play(wave.data(), 20, true);  // cut inside the header
  EXPECT_EQ(Mix_Playing(-1), 0);
  // And a real one still plays afterwards.
  sound.play(wave.data(), wave.size(), false);
  EXPECT_EQ(Mix_Playing(-1), 1);
}

}  // namespace
