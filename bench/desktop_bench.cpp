// The desktop platform against a real X server: how long a flush takes to
// reach the screen, and one input poll. Without a DISPLAY it starts an Xvfb
// of its own for the run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <chrono>

#include "app/practice_menu.h"
#include "display/drawing.h"
#include "platform/platform.h"
#include "platform/x11_input.h"

extern char** environ;

namespace {

// An Xvfb on a display number it picks itself, stopped by its process id.
class OwnXServer {
 public:
  bool start() {
    int ready[2];
    if (pipe(ready) != 0) return false;
    std::string fd = std::to_string(ready[1]);
    const char* argv[] = {"Xvfb",     "-displayfd",   fd.c_str(),  "-screen",
                          "0",        "1280x1024x24", "-nolisten", "tcp",
                          "-noreset", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    int failed = posix_spawnp(&pid_, "Xvfb", &actions, nullptr,
                              const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (failed) {
      pid_ = 0;
      close(ready[0]);
      return false;
    }
    // The display number comes once the server takes connections.
    std::string number;
    pollfd in{ready[0], POLLIN, 0};
    char c;
    while (poll(&in, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
      number += c;
    close(ready[0]);
    if (number.empty()) return false;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return true;
  }
  ~OwnXServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = 0;
};

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

// One pass of the selection loop's input poll: a round trip.
void PollInput(benchmark::State& state) {
  platform::Platform& p = platform::current();
  for (auto _ : state) benchmark::DoNotOptimize(p.pollInput());
}
BENCHMARK(PollInput);

// One pass of a client's selection loop while the menu is up and the
// pointer rests: poll, motion, popup timer, the button test.
void SelectionLoopPass(benchmark::State& state) {
  static int values[practiceItemCount];
  static Menu* root = buildPracticeMenu(values);
  platform::Platform& p = platform::current();
  mInit(0, 0, 0, 0, 0, 0);
  mPress(root, 640, 512);
  p.sleepMs(200);
  mMotion(root, 640, 513);
  mPoll();
  for (auto _ : state) {
    platform::InputState in = p.pollInput();
    mMotion(root, 640 + (in.x & 1), 513);
    mPoll();
    benchmark::DoNotOptimize(mButtonsDown());
  }
  mRelease(root, 640, 513);
  mShutdown();
}
BENCHMARK(SelectionLoopPass);

// From the press to the menu on the screen for a pointer held still,
// measured with the program's own clock: 150 ms is the popup delay.
void PopupAfterPress(benchmark::State& state) {
  static int values[practiceItemCount];
  static Menu* root = buildPracticeMenu(values);
  platform::Platform& p = platform::current();
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    mInit(0, 0, 0, 0, 0, 0);
    Clock::time_point pressed = Clock::now();
    mPress(root, 640, 512);
    while (root->mode == 0) {
      platform::InputState in = p.pollInput();
      mMotion(root, 640 + (in.x & 0), 512);
      mPoll();
    }
    roundTrip();
    state.SetIterationTime(
        std::chrono::duration<double>(Clock::now() - pressed).count());
    mRelease(root, 640, 512);
    mShutdown();
  }
}
BENCHMARK(PopupAfterPress)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  OwnXServer server;
  if (!std::getenv("DISPLAY") && !server.start()) {
    std::fprintf(stderr, "bench_desktop: no DISPLAY and no Xvfb to start\n");
    return 0;
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
