// Many selections in one process: memory must not grow, the screen must
// come back as it was, and the leak checker must find nothing but the menu
// trees, which live on purpose.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/menu_tree.h"
#include "platform/report.h"
#include "player/sim_gesture.h"
#include "practice_menu.h"
#include "random_menus.h"

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

// The random soak's length: 2,000 selections in the suite, more on request
// (`make soak` asks for 100,000).
int randomSelections() {
  const char* asked = std::getenv("TARVEL_SOAK_SELECTIONS");
  int n = asked ? std::atoi(asked) : 0;
  return n > 0 ? n : 2000;
}

// Under the address checker resident memory is mostly the checker's: its
// own allocator, and a stack trace kept for every new allocating path,
// which random selections keep finding.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool residentMemoryIsOurs = false;
#else
constexpr bool residentMemoryIsOurs = true;
#endif

// Copies of the screen still held by the records once a selection is over.
int heldCopies(const std::vector<Menu*>& menus) {
  int held = 0;
  for (const Menu* m : menus)
    held += m->menuArea.count + m->inkArea.count + m->bandArea.count;
  return held;
}

// Strokes longer than the buffer are reported on every scribble: the
// reports are silenced while a soak runs.
struct QuietReports {
  static void ignore(const char*) {}
  ReportHook previous = mSetReportHook(ignore);
  ~QuietReports() { mSetReportHook(previous); }
};

}  // namespace

TEST(Soak, TenThousandSelectionsKeepMemoryFlat) {
  platform::SimPlatform sim(1280, 1024);
  PracticeMenu menu;
  const int cx = 640, cy = 512;
  const player::Gesture gestures[] = {
      player::Gesture().press(cx, cy).moveTo(cx, cy - 200, 200).release(),
      player::Gesture()
          .press(cx, cy)
          .moveTo(cx + 90, cy, 120)
          .moveTo(cx + 90, cy - 90, 120)
          .rest(450)
          .release(),
      player::Gesture()
          .press(cx, cy)
          .rest(200)
          .moveTo(cx - 90, cy, 60)
          .rest(250)
          .moveTo(cx - 90, cy + 80, 60)
          .release(),
      player::Gesture().press(cx, cy).rest(30).release(),
  };
  auto run = [&](int count) {
    for (int i = 0; i < count; i++)
      player::playSelection(sim, menu.root, gestures[i % 4]);
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

// 64 trees of random shape; each selection a random mark, paused mark,
// walk through the shown menus, scribble or click, anywhere on the screen.
// Each must leave the screen as it found it and keep no copy of it; memory
// must stay flat.
TEST(Soak, RandomSelectionsOnRandomTrees) {
  platform::SimPlatform sim(1280, 1024);
  const QImage untouched = sim.screenImage().copy();
  QuietReports quiet;
  SeededChoices choices(11);
  std::vector<Menu*> made;
  uint64_t calls = 0;
  std::vector<Menu*> trees;
  for (int i = 0; i < 64; i++)
    trees.push_back(
        buildRandomTree(choices, TreeShape{3, 40, false}, &made, &calls));
  const int total = randomSelections();
  const int warmUp = 1000;
  long settled = 0, resident = 0;
  for (int i = 1; i <= total; i++) {
    Menu* root = trees[choices.below(uint32_t(trees.size()))];
    GestureShape shape{Rect{0, 1279, 0, 1023}, mTreeDepth(root), false};
    player::playSelection(sim, root, randomGesture(choices, shape));
    ASSERT_TRUE(sim.screenImage() == untouched)
        << "selection " << i << " left something on the screen";
    ASSERT_EQ(heldCopies(made), 0)
        << "screen copies still held after selection " << i;
    if (i != warmUp && i % 10000 != 0 && i != total) continue;
    resident = residentKiB();
    if (i == warmUp) settled = resident;
    std::printf("after %6d selections: %7ld KiB resident\n", i, resident);
  }
  if (total > warmUp) {
    long growth = resident - settled;
    std::printf("growth after %d selections of warm-up: %+ld KiB%s\n", warmUp,
                growth,
                residentMemoryIsOurs ? "" : " (the address checker's, mostly)");
    if (residentMemoryIsOurs) {
      EXPECT_LT(growth, 1024) << "resident memory grew by " << growth << " KiB";
    }
  }
}
