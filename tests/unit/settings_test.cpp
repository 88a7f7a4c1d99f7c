#include "core/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/sim_platform.h"
#include "report_capture.h"

TEST(Clock, ReadsTheTickCountInSecondsAndNeverGoesBack) {
  platform::SimPlatform sim;
  int32_t s = 0, us = 0;
  EXPECT_EQ(mTimePair(&s, &us), 1);
  EXPECT_EQ(s, int32_t(platform::SimPlatform::startTickMs / 1000));
  EXPECT_EQ(us, 0);
  double before = mClock();
  sim.advance(1234);
  EXPECT_NEAR(mClock() - before, 1.234, 1e-9);
  mTimePair(&s, &us);
  EXPECT_EQ(us, 234000);
  EXPECT_EQ(mClock(), s + us * 0.000001);
  double last = mClock();
  for (int i = 0; i < 2000; i++) {
    sim.advance(1);
    double now = mClock();
    ASSERT_GT(now, last);
    last = now;
  }
}

TEST(Clock, TickDifferencesSurviveTheWrap) {
  platform::SimPlatform sim;
  uint32_t start = mTickCount();
  // Run the 32-bit tick count up to just before its wrap.
  uint64_t toWrap = (uint64_t(1) << 32) - start - 30;
  while (toWrap > 0) {
    uint32_t step = toWrap > 0x7FFFFFFF ? 0x7FFFFFFF : uint32_t(toWrap);
    sim.advance(step);
    toWrap -= step;
  }
  uint32_t armed = mTickCount();
  sim.advance(130);
  EXPECT_LT(mTickCount(), armed);         // wrapped
  EXPECT_EQ(mTickCount() - armed, 130u);  // still measures the rest
  EXPECT_GT(mClock(), 4294967.0);         // the clock itself never wraps
}

TEST(Clock, DesktopClockIsMonotonic) {
  double a = mClock();
  double b = mClock();
  EXPECT_GE(b, a);
  EXPECT_GT(a, 0.0);
}

namespace {

bool same(const MarkingMenuSettings& a, const MarkingMenuSettings& b) {
  auto eq = [](double x, double y) {
    return x == y || (std::isnan(x) && std::isnan(y));
  };
  return eq(a.initialPopupDelay, b.initialPopupDelay) &&
         eq(a.markingPopupDelay, b.markingPopupDelay) &&
         eq(a.menuRestDelay, b.menuRestDelay) &&
         eq(a.confirmationTime, b.confirmationTime) &&
         a.cascadeRestMs == b.cascadeRestMs;
}

MarkingMenuSettings inForce() {
  MarkingMenuSettings s{};
  mGetSettings(&s);
  return s;
}

class Settings : public ::testing::Test {
 protected:
  void TearDown() override {
    mSetSettings(&defaultSettings);
    mSetTechnique(TECHNIQUE_MARKS_AND_MENUS);
  }
};

}  // namespace

TEST_F(Settings, StartAtTheDefaultsAndRoundTrip) {
  MarkingMenuSettings s = inForce();
  EXPECT_EQ(s.initialPopupDelay, 0.15);
  EXPECT_EQ(s.markingPopupDelay, 0.4);
  EXPECT_EQ(s.menuRestDelay, 0.2);
  EXPECT_EQ(s.confirmationTime, 0.2);
  EXPECT_EQ(s.cascadeRestMs, 100);
  EXPECT_EQ(mGetTechnique(), TECHNIQUE_MARKS_AND_MENUS);

  MarkingMenuSettings changed{0.3, 0.7, 0.25, 0.5, 250};
  EXPECT_EQ(mSetSettings(&changed), 1);
  EXPECT_TRUE(same(inForce(), changed));
  // The edges of the range are in it.
  MarkingMenuSettings edges{0, 60, 0, 60, 60000};
  EXPECT_EQ(mSetSettings(&edges), 1);
  EXPECT_TRUE(same(inForce(), edges));
  mGetSettings(nullptr);  // harmless

  for (int t :
       {TECHNIQUE_MENU_ONLY, TECHNIQUE_MARKS_ONLY, TECHNIQUE_MARKS_AND_MENUS}) {
    EXPECT_EQ(mSetTechnique(t), 1);
    EXPECT_EQ(mGetTechnique(), t);
  }
}

TEST_F(Settings, AnyBadValueIsReportedAndChangesNothing) {
  MarkingMenuSettings good{0.3, 0.7, 0.25, 0.5, 250};
  ASSERT_EQ(mSetSettings(&good), 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Bad {
    const char* field;
    double MarkingMenuSettings::*delay;  // NULL: cascadeRestMs
    double value;
    int32_t ms = 0;
  };
  const Bad bad[] = {
      {"initialPopupDelay", &MarkingMenuSettings::initialPopupDelay, -0.01},
      {"initialPopupDelay", &MarkingMenuSettings::initialPopupDelay, nan},
      {"markingPopupDelay", &MarkingMenuSettings::markingPopupDelay, inf},
      {"markingPopupDelay", &MarkingMenuSettings::markingPopupDelay, -inf},
      {"menuRestDelay", &MarkingMenuSettings::menuRestDelay, 60.001},
      {"confirmationTime", &MarkingMenuSettings::confirmationTime, -1},
      {"confirmationTime", &MarkingMenuSettings::confirmationTime, 1e300},
      {"cascadeRestMs", nullptr, 0, -1},
      {"cascadeRestMs", nullptr, 0, 60001},
      {"cascadeRestMs", nullptr, 0, INT32_MIN},
  };
  for (const Bad& b : bad) {
    // Every other field changed, so that a partial update would show.
    MarkingMenuSettings s{1, 2, 3, 4, 5};
    if (b.delay)
      s.*b.delay = b.value;
    else
      s.cascadeRestMs = b.ms;
    ReportCapture reports;
    EXPECT_EQ(mSetSettings(&s), 0) << b.field;
    EXPECT_TRUE(same(inForce(), good)) << b.field;
    ASSERT_EQ(reports.all().size(), 1u) << b.field;
    EXPECT_NE(reports.last().find(b.field), std::string::npos)
        << reports.last();
  }
  ReportCapture reports;
  EXPECT_EQ(mSetSettings(nullptr), 0);
  EXPECT_EQ(reports.all().size(), 1u);
  EXPECT_TRUE(same(inForce(), good));
}

TEST_F(Settings, AnUnknownTechniqueIsReportedAndChangesNothing) {
  ASSERT_EQ(mSetTechnique(TECHNIQUE_MARKS_ONLY), 1);
  for (int t : {-1, 3, 1000}) {
    ReportCapture reports;
    EXPECT_EQ(mSetTechnique(t), 0);
    EXPECT_EQ(mGetTechnique(), TECHNIQUE_MARKS_ONLY);
    ASSERT_EQ(reports.all().size(), 1u);
    EXPECT_NE(reports.last().find(std::to_string(t)), std::string::npos)
        << reports.last();
  }
}
