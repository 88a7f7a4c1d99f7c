// A program that embeds the library: builds a menu, fakes a selection and
// reads the result back. Exit code 0 when everything matches.
#include <cstdio>
#include <cstring>

#include "menu/marking_menu.h"
#include "platform/sim_platform.h"

// An embedder sees the public headers, not the library's insides.
#if __has_include("display/drawing.h") || __has_include("core/geometry.h")
#error "the library's internal headers are visible to an embedding program"
#endif

// Names a program may well use for itself; the library's own records and
// globals of these names must not meet them, at compile or link time.
struct Point {
  double x, y;
};
struct PointList {
  Point first;
};
struct DrawState {
  int pen;
};
DrawState drawState{3};
bool debugOutput = true;
int idealMark = 5;
int strokeOverflow = 9;

int main() {
  PointList list{{1.5, 2.5}};
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
            sim.screenImage().width() == 800 && list.first.y == 2.5 &&
            drawState.pen == 3 && debugOutput && idealMark == 5 &&
            strokeOverflow == 9;
  std::printf("embedder: %d levels, %s\n", n, ok ? "ok" : "WRONG");
  return ok ? 0 : 1;
}
