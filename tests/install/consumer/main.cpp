// A program built against an installed Tarvel: it makes a menu, reads an
// empty result back, finds itself on the desktop platform, and, built with
// the Qt layer, makes a menu from lists.
#include <cstdio>
#include <cstring>

#include "menu/marking_menu.h"
#include "platform/platform.h"
#ifdef WITH_QT_LAYER
#include "qt/qt_marking_menu.h"
#endif

int main() {
  Menu* root = mCreateMenu();
  mAddItem(root, "Food", 0, 0, 0, 0, 0, 0, 1, 0, 0);
  Menu* food = mNewSubmenu(root, 0);
  mAddItem(food, "Apple", 0, 7, 0, 0, 0, 0, 1, 0, 0);
  int positions[4];
  uintptr_t value = 1;
  int levels =
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &value);
  if (!food || levels != 1 || positions[0] != -1 || value != 0) {
    std::puts("the menu does not read back");
    return 1;
  }
  if (!mTraceFile() || !std::strstr(mTraceFile(), "user.trc")) return 1;
  // Only the desktop platform asks the dynamic loader about modules.
  if (!platform::current().moduleLoaded("libc.so.6")) {
    std::puts("the default platform is not the desktop platform");
    return 1;
  }
#ifdef WITH_QT_LAYER
  tarvel::MarkingMenu menu{{"Colour", {{"Red", 1}}}, {"Clear", 2}};
  if (!menu.root() || std::strcmp(menu.root()->label[1], "Clear") != 0)
    return 1;
#endif
  std::puts("consumer: ok");
  return 0;
}
