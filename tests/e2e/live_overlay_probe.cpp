// Selections over a composited desktop, steered line by line on standard
// input by live_overlay_test.sh and weston_test.sh, which look at the screen
// from outside. The probe presses where it is told instead of reading a real
// button, so it needs no input injection (none reaches an XWayland client).
//
//   live_overlay_probe compositor        exits 0 when a compositor runs
//   live_overlay_probe animate X Y W H   an ordinary window, still but for
//                                        its middle half, which changes
//                                        every frame, until it is killed;
//                                        says "shown" once on the screen
//
// Otherwise the probe says "ready" once it has started, then takes
// commands; what it answers on standard output:
//   press X Y   opened live|copy US      mInit done, in US microseconds
//               menu L T R B EL ET ER EB the menu has popped up there, its
//                                        East item's box at EL ET ER EB; the
//                                        selection is held, the pointer
//                                        resting at X Y
//   release     released N SELECTED      released where pressed; N levels
//                                        in the result, the root's item
//   quit

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "menu/marking_menu.h"
#include "platform/desktop/desktop_overlay.h"
#include "platform/desktop/x11_input.h"
#include "platform/platform.h"
#include "tests/support/probe_io.h"

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

namespace {

using Clock = std::chrono::steady_clock;

// A still pattern with a box in its middle half that changes every frame:
// a colour that cycles and a black band that moves across.
class AnimatedWindow : public QRasterWindow {
 public:
  AnimatedWindow() {
    connect(&frames_, &QTimer::timeout, this, [this] {
      frame_++;
      update(box());
    });
    frames_.start(33);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    paintChecks(p, width(), height());
    QRect b = box();
    p.setClipRect(b);
    p.fillRect(b, QColor::fromHsv((frame_ * 7) % 360, 200, 220));
    p.fillRect(b.x() + (frame_ * 9) % b.width(), b.y(), 24, b.height(),
               Qt::black);
  }

 private:
  QRect box() const {
    return QRect(width() / 4, height() / 4, width() / 2, height() / 2);
  }

 private:
  QTimer frames_;
  int frame_ = 0;
};

int animate(char** argv) {
  AnimatedWindow window;
  window.setTitle("animation");
  window.setGeometry(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                     std::atoi(argv[5]));
  window.show();
  bool shown = false;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!shown && window.isExposed()) {
      shown = true;
      say("shown");
    }
  }
}

Menu* buildMenu() {
  static const char* names[] = {"North", "NE", "East", "SE",
                                "South", "SW", "West", "NW"};
  Menu* root = mCreateMenu();
  for (int i = 0; i < 8; i++)
    mAddItem(root, names[i], i, uintptr_t(i + 1), 0, 0, 0, 0, 1, 0, 1);
  return root;
}

// One selection held at (x, y) until "release"; no events are dispatched
// meanwhile, as in a client's selection loop.
bool holdSelection(Menu* root, int x, int y, Commands& commands) {
  auto started = Clock::now();
  mInit(0, 0, 0, 0, 0, 0);
  long us = long(std::chrono::duration_cast<std::chrono::microseconds>(
                     Clock::now() - started)
                     .count());
  platform::Surface* overlay = platform::current().overlay();
  if (!overlay) {
    say("no-overlay");
    return false;
  }
  say("opened %s %ld", overlay->showsDesktop() ? "live" : "copy", us);
  mPress(root, x, y);
  bool popped = false;
  std::string line;
  auto deadline = Clock::now() + std::chrono::seconds(30);
  for (;;) {
    mMotion(root, x, y);
    mPoll();
    if (!popped && root->mode != 0) {
      popped = true;
      Rect b = root->bounds;
      Rect east = root->itemRect[2];
      say("menu %d %d %d %d %d %d %d %d", b.xmin, b.ymin, b.xmax, b.ymax,
          east.xmin, east.ymin, east.xmax, east.ymax);
    }
    if (commands.next(line, 2)) {
      if (line == "release") break;
    } else if (commands.closed() || Clock::now() > deadline) {
      say("timeout");
      break;
    }
  }
  mRelease(root, x, y);
  mShutdown();
  int positions[8];
  int levels =
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, nullptr);
  say("released %d %d", levels, root->selected);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  xcb_connection_t* connection = platform::desktopConnection();
  if (!connection) {
    say("no-x-connection");
    return 2;
  }
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "compositor") return platform::compositorRuns(connection) ? 0 : 1;
  if (mode == "animate" && argc == 6) return animate(argv);

  Menu* root = buildMenu();
  // The platform is made at the start, as an application makes it, and
  // readies the overlay once events are handled.
  platform::current();
  QCoreApplication::processEvents();
  say("ready");
  Commands commands;
  std::string line;
  while (commands.next(line, 60000)) {
    int x = 0, y = 0;
    if (std::sscanf(line.c_str(), "press %d %d", &x, &y) == 2) {
      if (!holdSelection(root, x, y, commands)) return 1;
    } else if (line == "quit") {
      return 0;
    }
  }
  say("no-more-commands");
  return 1;
}
