#include "platform/sim_platform.h"

#include <gtest/gtest.h>

TEST(SimPlatform, InstallsItselfAndHandsBackThePrevious) {
  platform::Platform* desktop = &platform::current();
  {
    platform::SimPlatform outer;
    EXPECT_EQ(&platform::current(), &outer);
    {
      platform::SimPlatform inner(640, 480);
      EXPECT_EQ(&platform::current(), &inner);
    }
    EXPECT_EQ(&platform::current(), &outer);
  }
  EXPECT_EQ(&platform::current(), desktop);
}

TEST(SimPlatform, TimeMovesOnlyByAdvanceSleepAndSpin) {
  platform::SimPlatform sim;
  uint32_t t0 = sim.tickCount();
  EXPECT_EQ(t0, uint32_t(platform::SimPlatform::startTickMs));
  EXPECT_EQ(sim.tickCount(), t0);
  sim.advance(10);
  sim.sleepMs(5);
  sim.spinStep();
  EXPECT_EQ(sim.tickCount() - t0, 16u);
  // A busy wait ends in virtual time.
  uint32_t start = sim.tickCount();
  while (sim.tickCount() - start < 100) sim.spinStep();
  EXPECT_EQ(sim.tickCount() - start, 100u);
}

TEST(SimPlatform, ScriptedInputIsPolled) {
  platform::SimPlatform sim;
  sim.setPointer(300, 200);
  sim.setButtonDown(true);
  platform::InputState in = sim.pollInput();
  EXPECT_EQ(in.x, 300);
  EXPECT_EQ(in.y, 200);
  EXPECT_TRUE(in.buttonsDown);
  EXPECT_FALSE(in.escapeDown);
  sim.setEscapeDown(true);
  sim.setButtonDown(false);
  in = sim.pollInput();
  EXPECT_TRUE(in.escapeDown);
  EXPECT_FALSE(in.buttonsDown);
}

TEST(SimPlatform, ScreenStartsAsANonUniformPattern) {
  platform::SimPlatform sim(320, 200);
  const QImage& screen = sim.screenImage();
  ASSERT_EQ(screen.width(), 320);
  ASSERT_EQ(screen.height(), 200);
  // Neighbours differ everywhere, so a misplaced restore shows.
  for (int y = 0; y < 199; y += 7)
    for (int x = 0; x < 319; x += 5) {
      ASSERT_NE(screen.pixel(x, y), screen.pixel(x + 1, y));
      ASSERT_NE(screen.pixel(x, y), screen.pixel(x, y + 1));
    }
  platform::SimPlatform again(320, 200);
  EXPECT_EQ(again.screenImage(), screen);
  Rect area = sim.workArea();
  EXPECT_EQ(area.xmax, 319);
  EXPECT_EQ(area.ymax, 199);
}
