// Ten thousand selections in one process: memory must not grow, and the
// leak checker must find nothing but the menu trees, which live on purpose.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>

#include "platform/sim_gesture.h"
#include "practice_menu.h"

// Freed blocks would otherwise sit in the address checker's quarantine and
// look like growth.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=0:thread_local_quarantine_size_kb=0";
}

namespace {

long residentKiB() {
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

TEST(Soak, TenThousandSelectionsKeepMemoryFlat) {
  platform::SimPlatform sim(1280, 1024);
  PracticeMenu menu;
  const int cx = 640, cy = 512;
  const platform::Gesture gestures[] = {
      platform::Gesture().press(cx, cy).moveTo(cx, cy - 200, 200).release(),
      platform::Gesture()
          .press(cx, cy)
          .moveTo(cx + 90, cy, 120)
          .moveTo(cx + 90, cy - 90, 120)
          .rest(450)
          .release(),
      platform::Gesture()
          .press(cx, cy)
          .rest(200)
          .moveTo(cx - 90, cy, 60)
          .rest(250)
          .moveTo(cx - 90, cy + 80, 60)
          .release(),
      platform::Gesture().press(cx, cy).rest(30).release(),
  };
  auto run = [&](int count) {
    for (int i = 0; i < count; i++)
      platform::playSelection(sim, menu.root, gestures[i % 4]);
  };
  run(400);  // caches, fonts and pools settle first
  long before = residentKiB();
  run(10000);
  long growth = residentKiB() - before;
  std::printf("resident memory after 10000 selections: %+ld KiB\n", growth);
  EXPECT_LT(growth, 1024) << "resident memory grew by " << growth << " KiB";
  EXPECT_EQ(menu.path(), "Center");
  EXPECT_EQ(sim.screenImage().pixel(cx, cy),
            platform::SimPlatform(1280, 1024).screenImage().pixel(cx, cy));
}
