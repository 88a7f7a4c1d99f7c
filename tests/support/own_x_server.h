// An X server of a test's or a benchmark's own, and input put into it the
// way a device would send it.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern char** environ;

// An Xvfb on a display number it picks itself, stopped by its process id;
// the DISPLAY while it runs.
class OwnXServer {
 public:
  // `screen` is Xvfb's WIDTHxHEIGHTxDEPTH.
  bool start(const char* screen = "1280x1024x24") {
    int ready[2];
    if (pipe(ready) != 0) return false;
    std::string fd = std::to_string(ready[1]);
    const char* argv[] = {"Xvfb",     "-displayfd", fd.c_str(),  "-screen",
                          "0",        screen,       "-nolisten", "tcp",
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
    if (const char* display = std::getenv("DISPLAY")) previous_ = display;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return true;
  }
  ~OwnXServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    if (previous_.empty())
      unsetenv("DISPLAY");
    else
      setenv("DISPLAY", previous_.c_str(), 1);
  }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = 0;
  std::string previous_;
};

// Pointer, button and key events through the XTEST extension, on a
// connection of its own to the DISPLAY: the server takes them as a
// device's, raw XInput events included. Requests go out on flush().
class FakeInput {
 public:
  FakeInput() : connection_(xcb_connect(nullptr, nullptr)) {}
  ~FakeInput() { xcb_disconnect(connection_); }
  FakeInput(const FakeInput&) = delete;
  FakeInput& operator=(const FakeInput&) = delete;

  bool ready() {
    if (xcb_connection_has_error(connection_)) return false;
    const xcb_query_extension_reply_t* xtest =
        xcb_get_extension_data(connection_, &extension());
    return xtest && xtest->present;
  }
  void moveTo(int x, int y) { send(XCB_MOTION_NOTIFY, 0, x, y); }
  void button(int button, bool down) {
    send(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, uint8_t(button), 0, 0);
  }
  void key(xcb_keycode_t key, bool down) {
    send(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key, 0, 0);
  }
  // Moves the pointer as another client would: no device, no raw event.
  void warpTo(int x, int y) {
    xcb_warp_pointer(connection_, XCB_NONE, root(), 0, 0, 0, 0, int16_t(x),
                     int16_t(y));
  }
  void flush() { xcb_flush(connection_); }
  // Returns once the server has handled everything sent.
  void sync() {
    std::free(xcb_get_input_focus_reply(
        connection_, xcb_get_input_focus(connection_), nullptr));
  }
  xcb_connection_t* connection() { return connection_; }

 private:
  static xcb_extension_t& extension() {
    static xcb_extension_t xtest = {"XTEST", 0};
    return xtest;
  }
  xcb_window_t root() {
    return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  }
  // XTEST's FakeInput request; xcb fills in the opcode and the length.
  void send(uint8_t type, uint8_t detail, int x, int y) {
    struct {
      uint8_t major, minor;
      uint16_t length;
      uint8_t type, detail;
      uint8_t unused0[2];
      uint32_t time, root;
      uint8_t unused1[8];
      int16_t rootX, rootY;
      uint8_t unused2[7];
      uint8_t deviceId;
    } request{};
    static_assert(sizeof request == 36);
    request.type = type;
    request.detail = detail;
    request.rootX = int16_t(x);
    request.rootY = int16_t(y);
    iovec parts[4] = {};
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    xcb_protocol_request_t fakeInput = {2, &extension(), 2, 1};
    xcb_send_request(connection_, 0, parts + 2, &fakeInput);
  }

  xcb_connection_t* connection_;
};
