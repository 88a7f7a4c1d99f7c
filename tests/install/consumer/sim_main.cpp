// A program linked with the core library and the simulated platform, not
// the desktop one: without a platform of its own it runs on one without a
// display; on the simulated one a mark selects.
#include <cstdio>
#include <cstring>
#include <string>

#include "menu/marking_menu.h"
#include "platform/platform.h"
#include "platform/sim_platform.h"

namespace {
std::string reports;
void keepReport(const char* message) { reports += message; }
}  // namespace

int main() {
  mSetReportHook(keepReport);
  Menu* root = mCreateMenu();
  mAddItem(root, "North", 0, 1, 0, 0, 0, 0, 1, 0, 0);
  mAddItem(root, "East", 2, 2, 0, 0, 0, 0, 1, 0, 0);

  // No desktop platform linked in: mInit reports, nothing is shown.
  if (platform::current().moduleLoaded("libc.so.6")) {
    std::puts("consumer_sim: the desktop platform is linked in");
    return 1;
  }
  mInit(0, 0, 0, 0, 0, 0);
  mShutdown();
  if (reports.find("no display") == std::string::npos) {
    std::printf("consumer_sim: no report of a missing display: %s\n",
                reports.c_str());
    return 1;
  }

  platform::SimPlatform sim(800, 600);
  mInit(0, 0, 0, 0, 0, 0);
  sim.setPointer(400, 300);
  sim.setButtonDown(true);
  mPress(root, 400, 300);
  for (int x = 408; x <= 480; x += 8) {
    sim.advance(10);
    sim.setPointer(x, 300);
    mMotion(root, x, 300);
    mPoll();
  }
  sim.setButtonDown(false);
  mRelease(root, 480, 300);
  mShowConfirmation(root);
  mEraseConfirmation(root);
  mShutdown();
  int positions[2];
  uintptr_t value = 0;
  int levels =
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &value);
  if (levels != 1 || positions[0] != 2 || value != 2) {
    std::printf("consumer_sim: the mark east chose %d (value %d)\n",
                positions[0], int(value));
    return 1;
  }
  std::puts("consumer_sim: ok");
  return 0;
}
