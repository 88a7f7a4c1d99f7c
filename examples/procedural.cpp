// The procedural calls of menu/marking_menu.h, as its sketch shows them: a
// small tree, one selection, the result read back.
//
//   procedural              on the desktop: press and hold the left button
//                           anywhere within 5 s, then mark or wait for the
//                           menu
//   procedural --simulate   on the simulated platform, with a scripted mark
//                           (up, then right: Food, Apple); exit status 0
//                           when that is what was chosen
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "menu/marking_menu.h"
#include "platform/sim_platform.h"

namespace {

// The library's coordinates are the X server's pixels; Qt's global ones
// are divided by the screen's scale.
QPoint pointer() {
  QPoint logical = QCursor::pos();
  QScreen* screen = QGuiApplication::screenAt(logical);
  if (!screen) return logical;
  QPoint origin = screen->geometry().topLeft();
  return origin + (logical - origin) * screen->devicePixelRatio();
}

// A mouse for the simulated platform: pressed at `press` from the start,
// it draws 80 pixels up and 80 right in 0.2 s and lets go. Qt's cursor
// follows it.
void scriptMark(platform::SimPlatform& sim, QPoint press) {
  sim.setInputScript([press](uint32_t ms) {
    QPoint at = press + QPoint(0, -int(std::min<uint32_t>(ms, 100)) * 80 / 100);
    if (ms > 100) at.rx() += int(std::min<uint32_t>(ms - 100, 100)) * 80 / 100;
    QCursor::setPos(at);
    return platform::InputState{at.x(), at.y(), ms < 200, false};
  });
}

// Returns once a button is down (or after `seconds`).
bool awaitPress(double seconds) {
  for (int ms = 0; ms < seconds * 1000; ms += 10) {
    if (mButtonsDown()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return mButtonsDown();
}

}  // namespace

int main(int argc, char** argv) {
  bool simulate = argc > 1 && std::strcmp(argv[1], "--simulate") == 0;
  if (simulate) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The desktop back end needs the application, on Qt's xcb platform.
  QGuiApplication app(argc, argv);
  std::unique_ptr<platform::SimPlatform> sim;
  if (simulate) {
    sim = std::make_unique<platform::SimPlatform>();
    scriptMark(*sim, QPoint(640, 512));
  }

  static int apple = 1, pear = 2, hammer = 3;
  Menu* root = mCreateMenu();
  mAddItem(root, "Food", 0, 0, 0, 0, 0, 0, 1, 0, 0);   // north
  mAddItem(root, "Tools", 2, 0, 0, 0, 0, 0, 1, 0, 0);  // east
  Menu* food = mNewSubmenu(root, 0);
  mAddItem(food, "Apple", 2, uintptr_t(&apple), 0, 0, 0, 0, 1, 0, 0);
  mAddItem(food, "Pear", 6, uintptr_t(&pear), 0, 0, 0, 0, 1, 0, 0);
  Menu* tools = mNewSubmenu(root, 2);
  mAddItem(tools, "Hammer", 4, uintptr_t(&hammer), 0, 0, 0, 0, 1, 0, 0);

  mInit(0, 0, 0, 0, 0, 0);
  if (!simulate) std::printf("press and hold the left button\n");
  if (!awaitPress(5)) {
    mShutdown();
    std::printf("no press\n");
    return simulate ? 1 : 0;
  }
  QPoint at = pointer();
  mPress(root, at.x(), at.y());
  while (mButtonsDown()) {
    at = pointer();
    mMotion(root, at.x(), at.y());
    mPoll();
  }
  at = pointer();
  mRelease(root, at.x(), at.y());
  mShowConfirmation(root);  // a mark's feedback, 0.2 s, then erased
  mEraseConfirmation(root);
  mShutdown();

  int positions[2];
  const char* labels[2];
  Menu* last = nullptr;
  int lastPosition = 0;
  uintptr_t value = 0;
  int levels = mGetResult(root, positions, labels, nullptr, &last,
                          &lastPosition, &value);
  for (int i = 0; i < levels; i++)
    std::printf("%s%s", i ? " > " : "chose ", labels[i]);
  std::printf(levels ? "\n" : "nothing\n");
  if (simulate) return value == uintptr_t(&apple) ? 0 : 1;
  return 0;
}
