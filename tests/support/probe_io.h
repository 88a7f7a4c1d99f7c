// What the end-to-end probes share: answers on standard output, commands
// read from standard input without blocking the event loop, and the still
// pattern their windows show.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <string>

// One line on standard output, flushed at once for the script reading it.
__attribute__((format(printf, 1, 2))) inline void say(const char* format, ...) {
  va_list values;
  va_start(values, format);
  std::vprintf(format, values);
  va_end(values);
  std::printf("\n");
  std::fflush(stdout);
}

// Lines from standard input.
class Commands {
 public:
  // Waits up to `waitMs` for a line; dispatches Qt's events meanwhile when
  // `dispatch` is set.
  bool next(std::string& line, int waitMs, bool dispatch = false) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
      size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return true;
      }
      int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                         deadline - Clock::now())
                         .count());
      if (closed_ || left < 0) return false;
      if (dispatch) QCoreApplication::processEvents();
      pollfd in{0, POLLIN, 0};
      if (::poll(&in, 1, dispatch ? std::min(left, 10) : left) > 0) {
        char chunk[256];
        ssize_t n = ::read(0, chunk, sizeof chunk);
        if (n <= 0)
          closed_ = true;
        else
          buffer_.append(chunk, size_t(n));
      }
    }
  }
  bool closed() const { return closed_; }

 private:
  std::string buffer_;
  bool closed_ = false;
};

// A pattern, not a plain colour, so that a wrong restore would show.
inline void paintChecks(QPainter& p, int width, int height) {
  for (int y = 0; y < height; y += 20)
    for (int x = 0; x < width; x += 20)
      p.fillRect(
          x, y, 20, 20,
          ((x + y) / 20) % 2 ? QColor(70, 110, 200) : QColor(230, 230, 240));
}
