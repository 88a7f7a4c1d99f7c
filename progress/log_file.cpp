#include "progress/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool readLogFile(const std::string& path, std::string* text,
                 std::string* error) {
  text->clear();
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool ok = false;
  if (::fstat(fd, &info) != 0) {
    *error = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    *error = std::strerror(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    *error = "not a regular file";
  } else if (size_t(info.st_size) > maxLogBytes) {
    *error = "larger than " + std::to_string(maxLogBytes >> 20) + " MiB";
  } else {
    ok = true;
    text->reserve(size_t(info.st_size));
    char buffer[1 << 16];
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        *error = std::strerror(errno);
        ok = false;
        break;
      }
      if (n == 0) break;
      // A file still being written may have grown since fstat.
      if (text->size() + size_t(n) > maxLogBytes) {
        *error = "larger than " + std::to_string(maxLogBytes >> 20) + " MiB";
        ok = false;
        break;
      }
      text->append(buffer, size_t(n));
    }
  }
  ::close(fd);
  if (!ok) text->clear();
  return ok;
}
