// A simulated screen with the overlay up and a menu font whose item boxes
// are 17 pixels high, the size the layout rules are worked out for.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "display/drawing.h"
#include "platform/sim_platform.h"

class MenuScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::FontSpec font = sim.menuFont();
    font.pixelSize = 13;  // text 15 high in Liberation Sans
    sim.setMenuFont(font);
    mInit(0, 0, 0, 0, 0, 0);
    drawState.pad = 1;
    mSelectFont("REGULAR_FONT");
    ASSERT_EQ(mTextHeight() + 2 * drawState.pad, 17);
  }
  void TearDown() override { mShutdown(); }

  static void add(Menu* m, const char* label, int position,
                  uint8_t enabled = 1) {
    mAddItem(m, label, position, 0, 0, 0, 0, 0, enabled, 0, 1);
  }
  static Menu* menuWith(std::initializer_list<int> positions) {
    Menu* m = mCreateMenu();
    for (int p : positions) add(m, "Item", p);
    return m;
  }
  QRgb at(int x, int y) const { return sim.screenImage().pixel(x, y); }
  QRgb system(platform::SystemColour c) {
    return platform::toQRgb(sim.systemColour(c));
  }

  platform::SimPlatform sim{1280, 1024};
};
