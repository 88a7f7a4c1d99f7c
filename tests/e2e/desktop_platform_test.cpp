// The desktop platform where there is no X display (no application at all,
// or Qt's offscreen platform), and its sound, which needs no display.
#include "platform/desktop_platform.h"

#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "display/drawing.h"
#include "platform/overlay_picture.h"
#include "tests/unit/report_capture.h"

namespace {

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
    EXPECT_FALSE(
        platform::drawOnOverlay(QImage(4, 4, QImage::Format_RGB32), 0, 0));
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
  EXPECT_LT(ms, 1300);
  EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(DesktopSound, ANewSoundCutsOffTheOnePlaying) {
  platform::Sound sound;
  ASSERT_TRUE(sound.ready());
  std::vector<uint8_t> longWave = tone(3000), shortWave = tone(100);
  EXPECT_LT(
      msTaken([&] { sound.play(longWave.data(), longWave.size(), false); }),
      100);
  EXPECT_EQ(Mix_Playing(-1), 1);
  double ms =
      msTaken([&] { sound.play(shortWave.data(), shortWave.size(), true); });
  EXPECT_LT(ms, 1000);
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
