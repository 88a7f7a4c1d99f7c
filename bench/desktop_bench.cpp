// The desktop platform against a real X server: how long a flush takes to
// reach the screen, and a held selection as the trainer runs it: its CPU
// load, the popup's delay and how soon a move shows. Without a DISPLAY it
// starts an Xvfb of its own for the run.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/practice_menu.h"
#include "display/drawing.h"
#include "platform/desktop/x11_input.h"
#include "platform/platform.h"
#include "tests/support/own_x_server.h"

namespace {

// The X server the run uses, when it started it; 0 otherwise.
pid_t serverPid = 0;

// Waits until the server has handled every request sent so far.
void roundTrip() {
  xcb_connection_t* c = platform::desktopConnection();
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

// 200 x 200 pixels drawn and flushed: the cost the library pays per flush.
void Flush200(benchmark::State& state) {
  mInit(0, 0, 0, 0, 0, 0);
  Rect box{800, 999, 400, 599};
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mSetColor(platform::rgb(i & 0xFF, 0x80, 0x40));
    mFillRect(&box);
    i++;
    state.ResumeTiming();
    mFlush();
  }
  roundTrip();
  mShutdown();
}
BENCHMARK(Flush200);

// The same until the server has put it on the screen.
void Flush200OnScreen(benchmark::State& state) {
  mInit(0, 0, 0, 0, 0, 0);
  Rect box{800, 999, 400, 599};
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mSetColor(platform::rgb(i & 0xFF, 0x80, 0x40));
    mFillRect(&box);
    i++;
    state.ResumeTiming();
    mFlush();
    roundTrip();
  }
  mShutdown();
}
BENCHMARK(Flush200OnScreen);

void FlushWholeScreenOnScreen(benchmark::State& state) {
  mInit(0, 0, 0, 0, 0, 0);
  Rect desktop = platform::current().desktopRect();
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mSetColor(platform::rgb(i & 0xFF, 0x80, 0x40));
    mFillRect(&desktop);
    i++;
    state.ResumeTiming();
    mFlush();
    roundTrip();
  }
  mShutdown();
}
BENCHMARK(FlushWholeScreenOnScreen);

// Putting the overlay up over the screen and taking it down again.
void OpenAndCloseOverlay(benchmark::State& state) {
  for (auto _ : state) {
    mInit(0, 0, 0, 0, 0, 0);
    mShutdown();
    roundTrip();
  }
}
BENCHMARK(OpenAndCloseOverlay)->Unit(benchmark::kMillisecond);

Menu* practiceMenu() {
  static int values[practiceItemCount];
  static Menu* root = buildPracticeMenu(values);
  return root;
}

double seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// CPU time of another process so far: user and system time from its
// /proc/<pid>/stat (fields 14 and 15, after the parenthesised name).
double cpuSecondsOf(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(file)), {});
  size_t name = stat.rfind(')');
  if (name == std::string::npos) return 0;
  std::istringstream fields(stat.substr(name + 2));
  std::string skip;
  for (int i = 3; i < 14; i++) fields >> skip;
  double user = 0, system = 0;
  fields >> user >> system;
  return (user + system) / double(sysconf(_SC_CLK_TCK));
}

// One pass of the trainer's selection loop, without its button test.
void loopPass(Menu* root) {
  platform::Platform& p = platform::current();
  platform::InputState in = p.pollInput();
  mMotion(root, in.x, in.y);
  mPoll();
  p.spinStep();
}

// Polls until the platform sees the button as `down`; false after 5 s.
bool seenHeld(bool down) {
  platform::Platform& p = platform::current();
  uint64_t deadline = p.microseconds() + 5000000;
  while (p.pollInput().buttonsDown != down) {
    if (p.microseconds() > deadline) return false;
    p.spinStep();
  }
  return true;
}

// The button pressed at the centre of the screen through XTEST, as a mouse
// would, and the selection started there: the menu is up on return.
bool pressAndPopUp(Menu* root, FakeInput& mouse) {
  mouse.moveTo(640, 512);
  mouse.button(1, true);
  mouse.flush();
  if (!seenHeld(true)) return false;
  mInit(0, 0, 0, 0, 0, 0);
  mPress(root, 640, 512);
  while (root->mode == 0 && mButtonsDown()) loopPass(root);
  return root->mode != 0;
}

void release(Menu* root, FakeInput& mouse) {
  mouse.button(1, false);
  mouse.flush();
  seenHeld(false);
  mRelease(root, 640, 512);
  mShutdown();
}

// A selection held for 4 s with the menu up, the pointer still (0) or
// moving round a circle through every sector, inside the menu, at the given
// rate in Hz.
// Counters: CPU of this process (the mouse's thread left out) and of the
// X server, in % of one core, and loop passes a second.
void HeldSelection(benchmark::State& state) {
  Menu* root = practiceMenu();
  FakeInput mouse;
  if (!mouse.ready() || !pressAndPopUp(root, mouse)) {
    state.SkipWithError("no XTEST, or the press was not seen");
    return;
  }
  const int rate = int(state.range(0));
  for (auto _ : state) {
    std::atomic<bool> stop{false};
    double mouseCpu = 0;
    std::thread mover([&] {
      if (!rate) return;
      FakeInput moving;
      timespec next{};
      clock_gettime(CLOCK_MONOTONIC, &next);
      for (int i = 0; !stop; i++) {
        double angle = 2 * M_PI * i / (rate / 2.0);  // two turns a second
        moving.moveTo(640 + int(std::lround(40 * std::sin(angle))),
                      512 - int(std::lround(40 * std::cos(angle))));
        moving.flush();
        next.tv_nsec += 1000000000L / rate;
        if (next.tv_nsec >= 1000000000L) {
          next.tv_sec++;
          next.tv_nsec -= 1000000000L;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
      }
      mouseCpu = seconds(CLOCK_THREAD_CPUTIME_ID);
    });
    double wall = seconds(CLOCK_MONOTONIC);
    double cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
    double serverCpu = serverPid ? cpuSecondsOf(serverPid) : 0;
    long passes = 0;
    while (seconds(CLOCK_MONOTONIC) - wall < 4 && mButtonsDown()) {
      loopPass(root);
      passes++;
    }
    stop = true;
    mover.join();
    wall = seconds(CLOCK_MONOTONIC) - wall;
    cpu = seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu - mouseCpu;
    state.SetIterationTime(wall);
    state.counters["process_%"] = 100 * cpu / wall;
    if (serverPid)
      state.counters["xserver_%"] =
          100 * (cpuSecondsOf(serverPid) - serverCpu) / wall;
    state.counters["passes/s"] = double(passes) / wall;
  }
  release(root, mouse);
}
BENCHMARK(HeldSelection)
    ->ArgName("moves_per_s")
    ->Arg(0)
    ->Arg(1000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// From the press to the menu on the screen for a pointer held still, by
// the program's own clock: 150 ms is the popup delay. Counters: the worst
// distance from 150 ms, when the pass that fired the popup timer began
// (the rest is drawing the menu), and the time from the press seen, before
// the overlay went up, to the menu on the screen, as the trainer shows it.
void PopupAfterPress(benchmark::State& state) {
  Menu* root = practiceMenu();
  platform::Platform& p = platform::current();
  FakeInput mouse;
  double worst = 0, fired = 0, fromButton = 0;
  for (auto _ : state) {
    mouse.moveTo(640, 512);
    mouse.button(1, true);
    mouse.flush();
    if (!seenHeld(true)) {
      state.SkipWithError("the press was not seen");
      return;
    }
    uint64_t seen = p.microseconds();
    mInit(0, 0, 0, 0, 0, 0);
    uint64_t pressed = p.microseconds();
    mPress(root, 640, 512);
    // The trainer's loop, left as soon as the popup timer has drawn the
    // menu.
    uint64_t passStart = pressed;
    for (;;) {
      passStart = p.microseconds();
      platform::InputState in = p.pollInput();
      mMotion(root, in.x, in.y);
      mPoll();
      if (root->mode != 0) break;
      p.spinStep();
      if (!mButtonsDown()) break;
    }
    roundTrip();
    double taken = double(p.microseconds() - pressed) / 1e6;
    state.SetIterationTime(taken);
    worst = std::max(worst, std::fabs(taken - 0.150) * 1000);
    fired += double(passStart - pressed) / 1000;
    fromButton += double(p.microseconds() - seen) / 1000;
    release(root, mouse);
  }
  state.counters["worst_off_ms"] = worst;
  state.counters["timer_pass_ms"] =
      benchmark::Counter(fired, benchmark::Counter::kAvgIterations);
  state.counters["from_button_ms"] =
      benchmark::Counter(fromButton, benchmark::Counter::kAvgIterations);
}
BENCHMARK(PopupAfterPress)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// From a mouse move into another sector of the menu that is up to the new
// highlight on the screen. The move comes from another thread at a random
// moment of the loop's pass.
void MoveToHighlight(benchmark::State& state) {
  Menu* root = practiceMenu();
  FakeInput mouse;
  if (!mouse.ready() || !pressAndPopUp(root, mouse)) {
    state.SkipWithError("no XTEST, or the press was not seen");
    return;
  }
  platform::Platform& p = platform::current();
  double worst = 0;
  unsigned seed = 1;
  int moves = 0;
  for (auto _ : state) {
    // East and west by turns, inside the menu's circle.
    int position = moves++ % 2 ? 6 : 2;
    std::atomic<uint64_t> sent{0};
    std::thread mover([&] {
      timespec pause{0, long(rand_r(&seed) % 2000) * 1000L};
      nanosleep(&pause, nullptr);
      sent = p.microseconds();
      mouse.moveTo(position == 2 ? 680 : 600, 512);
      mouse.flush();
    });
    // The trainer's loop, left as soon as motion has flushed the highlight.
    for (;;) {
      platform::InputState in = p.pollInput();
      mMotion(root, in.x, in.y);
      if (root->current->selected == position + 1) break;
      mPoll();
      p.spinStep();
      if (!mButtonsDown()) break;
    }
    roundTrip();
    uint64_t shown = p.microseconds();
    mover.join();
    double taken = double(shown - sent) / 1e6;
    state.SetIterationTime(taken);
    worst = std::max(worst, taken * 1000);
  }
  state.counters["worst_ms"] = worst;
  release(root, mouse);
}
BENCHMARK(MoveToHighlight)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // --screen=WIDTHxHEIGHT sizes the Xvfb the run starts (1280x1024).
  std::string screen = "1280x1024";
  for (int i = 1; i < argc; i++)
    if (std::strncmp(argv[i], "--screen=", 9) == 0) screen = argv[i] + 9;
  OwnXServer server;
  if (!std::getenv("DISPLAY")) {
    if (!server.start((screen + "x24").c_str())) {
      std::fprintf(stderr, "bench_desktop: no DISPLAY and no Xvfb to start\n");
      return 0;
    }
    serverPid = server.pid();
  }
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/tarvel-bench-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication app(argc, argv);
  if (!platform::desktopConnection()) {
    std::fprintf(stderr, "bench_desktop: no X connection\n");
    return 0;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
