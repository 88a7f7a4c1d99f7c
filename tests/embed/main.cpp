// A program that embeds the library: builds a menu, fakes a selection and
// reads the result back. Exit code 0 when everything matches.
#include <cstdio>
#include <cstring>

#include "menu/marking_menu.h"
#include "platform/sim_platform.h"

int main() {
  platform::SimPlatform sim(800, 600);
  static int apple = 7;
  Menu* root = mCreateMenu();
  mAddItem(root, "Food", 0, 0, 0, 0, 0, 0, 1, 0, 0);
  Menu* food = mNewSubmenu(root, 0);
  mAddItem(food, "Apple", 0, reinterpret_cast<uintptr_t>(&apple), 0, 0, 0, 0, 1,
           0, 0);
  root->selected = 1;
  food->selected = 1;
  int positions[4];
  const char* labels[4];
  uintptr_t value = 0;
  int n =
      mGetResult(root, positions, labels, nullptr, nullptr, nullptr, &value);
  bool ok = n == 2 && std::strcmp(labels[1], "Apple") == 0 &&
            reinterpret_cast<int*>(value) == &apple &&
            sim.screenImage().width() == 800;
  std::printf("embedder: %d levels, %s\n", n, ok ? "ok" : "WRONG");
  return ok ? 0 : 1;
}
