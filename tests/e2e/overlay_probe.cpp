// A client of the library on a real X server, steered line by line on
// standard input by overlay_test.sh, which looks at the screen from outside
// and moves the real pointer. It owns an ordinary window that counts the
// presses it receives; the overlay must let them through to it.
//
// Commands, and what the probe answers on standard output:
//   (start)  shown X Y W H          its window, in root coordinates
//   info     info DESKTOP FONTPX MENU TEXT
//   open     opened                 mInit done, nothing drawn yet
//   draw     drawn L T R B          a filled rectangle, flushed; then polls
//                                   input without dispatching events:
//            button X Y             first time a button is seen down
//            loop-done              once Escape is seen down
//            closed                 after mShutdown
//   clicks   clicks N X Y           presses the window got, the last one's
//                                   position in the window
//   quit
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/drawing.h"
#include "platform/desktop/x11_input.h"
#include "platform/platform.h"
#include "tests/support/probe_io.h"

// Qt's session bus connection on xcb leaves a buffer behind at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

namespace {

using Clock = std::chrono::steady_clock;

class ClickWindow : public QRasterWindow {
 public:
  int presses = 0;
  QPoint lastPress;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    paintChecks(p, width(), height());
  }
  void mousePressEvent(QMouseEvent* event) override {
    presses++;
    lastPress = event->position().toPoint();
  }
};

// Dispatches events until `done` or the deadline.
template <typename Done>
bool dispatchUntil(Done done, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Where the server has the window, frame or no frame around it.
QPoint rootPosition(const QWindow& window) {
  xcb_connection_t* c = platform::desktopConnection();
  const xcb_setup_t* setup = xcb_get_setup(c);
  xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
  xcb_translate_coordinates_reply_t* r = xcb_translate_coordinates_reply(
      c, xcb_translate_coordinates(c, xcb_window_t(window.winId()), root, 0, 0),
      nullptr);
  QPoint at = r ? QPoint(r->dst_x, r->dst_y) : QPoint();
  std::free(r);
  return at;
}

// The selection loop's contract: input is polled, events wait.
void pollUntilEscape() {
  platform::Platform& p = platform::current();
  bool buttonSeen = false;
  auto deadline = Clock::now() + std::chrono::seconds(20);
  for (;;) {
    platform::InputState in = p.pollInput();
    if (in.buttonsDown && !buttonSeen) {
      buttonSeen = true;
      say("button %d %d", in.x, in.y);
    }
    if (in.escapeDown) break;
    if (Clock::now() > deadline) {
      say("timeout");
      break;
    }
    p.sleepMs(1);
  }
  say("loop-done");
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (!platform::desktopConnection()) {
    say("no-x-connection");
    return 2;
  }
  ClickWindow window;
  window.setTitle("overlay probe");
  window.setGeometry(200, 150, 400, 300);
  window.show();
  if (!dispatchUntil([&] { return window.isExposed(); }, 5000)) {
    say("never-exposed");
    return 2;
  }
  QPoint at = rootPosition(window);
  say("shown %d %d %d %d", at.x(), at.y(), window.width(), window.height());

  Commands commands;
  std::string line;
  while (commands.next(line, 30000, true)) {
    if (line == "info") {
      platform::Platform& p = platform::current();
      Rect d = p.desktopRect();
      say("info %d,%d,%d,%d %d %06x %06x", d.xmin, d.xmax, d.ymin, d.ymax,
          p.menuFont().pixelSize, p.systemColour(platform::SystemColour::Menu),
          p.systemColour(platform::SystemColour::MenuText));
    } else if (line == "open") {
      mInit(0, 0, 0, 0, 0, 0);
      say(drawState.screen ? "opened" : "no-overlay");
      // No events from here to mShutdown, as in a selection.
      if (!commands.next(line, 20000, false) || line != "draw") break;
      Rect box{std::max(at.x() - 50, 0), at.x() + 199, std::max(at.y() - 40, 0),
               at.y() + 159};
      mSetColor(platform::rgb(0x20, 0xC0, 0x40));
      mFillRect(&box);
      mFlush();
      // The client's own drawing shows through the overlay: a small "clock"
      // inside its window, 40 x 20 at (300, 200) of the window.
      QImage clock(40, 20, QImage::Format_RGB32);
      clock.fill(QColor(250, 220, 0));
      mDrawBeneath(at.x() + 300, at.y() + 200, clock.width(), clock.height(),
                   reinterpret_cast<const uint32_t*>(clock.constBits()),
                   int(clock.bytesPerLine()));
      say("drawn %d %d %d %d", box.xmin, box.ymin, box.xmax, box.ymax);
      pollUntilEscape();
      mShutdown();
      say("closed");
    } else if (line == "clicks") {
      dispatchUntil([&] { return window.presses > 0; }, 3000);
      say("clicks %d %d %d", window.presses, window.lastPress.x(),
          window.lastPress.y());
    } else if (line == "quit") {
      return 0;
    }
  }
  say("no-more-commands");
  return 1;
}
