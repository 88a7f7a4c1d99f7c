// A program with records of its own named as the library's: with
// TARVEL_NO_GLOBAL_NAMES the library's live only in namespace tarvel, and
// the calls still build a menu and run a selection (on the simulated
// platform). Exit code 0 when the mark chose Food, Apple.
#define TARVEL_NO_GLOBAL_NAMES
#include <cstdio>
#include <cstring>

#include "menu/marking_menu.h"
#include "platform/sim_platform.h"

struct Rect {
  double left, top, width, height;
};
struct IntPoint {
  long long x, y;
};
struct Menu {
  const char* name;
};
namespace platform {
int name = 4;
}

int main() {
  Rect own{0.5, 1.5, 2.5, 3.5};
  IntPoint press{400, 300};
  Menu mine{"mine"};
  tarvel::platform::SimPlatform sim(800, 600);

  static int apple = 7;
  tarvel::Menu* root = mCreateMenu();
  mAddItem(root, "Food", 0, 0, 0, 0, 0, 0, 1, 0, 0);
  mAddItem(root, "Tools", 2, 0, 0, 0, 0, 0, 1, 0, 0);
  tarvel::Menu* food = mNewSubmenu(root, 0);
  mAddItem(food, "Apple", 2, reinterpret_cast<uintptr_t>(&apple), 0, 0, 0, 0, 1,
           0, 0);

  // A quick mark: 80 pixels up, then 80 to the right, in 0.2 s. The
  // program reads the pointer where the simulated mouse last put it.
  static tarvel::platform::InputState at{};
  sim.setInputScript([press](uint32_t ms) {
    int x = int(press.x), y = int(press.y);
    if (ms < 100)
      y -= int(ms * 80 / 100);
    else
      y -= 80, x += int((ms < 200 ? ms - 100 : 100) * 80 / 100);
    at = tarvel::platform::InputState{x, y, ms < 200, false};
    return at;
  });
  mInit(0, 0, 0, 0, 0, 0);
  mPress(root, int(press.x), int(press.y));
  while (mButtonsDown()) {
    mMotion(root, at.x, at.y);
    mPoll();
  }
  mRelease(root, at.x, at.y);
  mShowConfirmation(root);
  mEraseConfirmation(root);
  mShutdown();

  int positions[4];
  const char* labels[4];
  uintptr_t value = 0;
  int n =
      mGetResult(root, positions, labels, nullptr, nullptr, nullptr, &value);
  bool ok = n == 2 && std::strcmp(labels[0], "Food") == 0 &&
            std::strcmp(labels[1], "Apple") == 0 &&
            reinterpret_cast<int*>(value) == &apple && own.height == 3.5 &&
            mine.name[0] == 'm' && platform::name == 4;
  if (!ok) std::printf("chose %d levels, %s\n", n, n > 0 ? labels[0] : "-");
  return ok ? 0 : 1;
}
