#include "trace/trace.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/menu_tree.h"
#include "core/settings.h"
#include "platform/report.h"

namespace {

constexpr const char* fixedBase = "/h/tessik/TraceData";
const char* traceUser = "user";
char traceDirectoryName[80] = "unknown";
char base[512] = "/h/tessik/TraceData";

// Whether to trace is decided again after every mInit, from one look at the
// directory: made while the program runs, it turns tracing on.
bool decided = false;
uint32_t decidedAtInit = 0;
bool enabled = false;
FILE* traceFile = nullptr;
// The directory the open file lies in: one made anew under the same name
// gets a file of its own.
struct stat traceFileDirectory;

// Each kind of failure is reported once, so that a full disk does not
// repeat itself on every selection.
enum Failure { openFailed, writeFailed, pathTooLong, failureKinds };
bool reported[failureKinds];

// One digit or two per level, MENU_DEPTH_LIMIT levels at most.
char pathDigits[2 * MENU_DEPTH_LIMIT + 1];

// Tests choose their own base, whatever the environment says.
bool baseForTesting = false;
char pathBuffer[4096];

// The trace directory and the file in it. False when the file's path does
// not fit in `size` bytes: no file is opened by a shortened name.
bool tracePaths(char* directory, char* file, size_t size) {
  const char* chosen =
      baseForTesting ? nullptr : std::getenv("TARVEL_TRACE_DIR");
  int n = chosen && *chosen ? std::snprintf(directory, size, "%s", chosen)
                            : std::snprintf(directory, size, "%s/%s", base,
                                            traceDirectoryName);
  if (n < 0 || size_t(n) >= size) return false;
  n = std::snprintf(file, size, "%s/%s.trc", directory, traceUser);
  return n >= 0 && size_t(n) < size;
}

// The path as one line of a report: control characters as \xNN.
const char* printable(const char* path) {
  static char out[4 * sizeof pathBuffer];
  size_t n = 0;
  for (const char* c = path; *c && n + 5 <= sizeof out; c++) {
    unsigned char u = static_cast<unsigned char>(*c);
    if (u < 0x20 || u == 0x7F)
      n += size_t(std::snprintf(out + n, sizeof out - n, "\\x%02x", u));
    else
      out[n++] = *c;
  }
  out[n] = '\0';
  return out;
}

void reportOnce(Failure kind, int error) {
  if (reported[kind]) return;
  reported[kind] = true;
  char directory[sizeof pathBuffer], path[sizeof pathBuffer];
  if (kind == pathTooLong || !tracePaths(directory, path, sizeof path)) {
    mReportError(
        "Marking Menu trace path too long (over %zu bytes): not "
        "traced\n",
        sizeof pathBuffer - 1);
    return;
  }
  mReportError("can't %s Marking Menu trace file %s: %s\n",
               kind == openFailed ? "open" : "write", printable(path),
               std::strerror(error));
}

void closeTrace() {
  if (traceFile) std::fclose(traceFile);
  traceFile = nullptr;
}

// One look at the directory: tracing is on while it exists.
void decide() {
  decided = true;
  decidedAtInit = mInitCount();
  enabled = false;
  char directory[sizeof pathBuffer], path[sizeof pathBuffer];
  if (!tracePaths(directory, path, sizeof path)) {
    reportOnce(pathTooLong, 0);
    closeTrace();
    return;
  }
  struct stat now;
  int error = ::stat(directory, &now) != 0 ? errno
              : S_ISDIR(now.st_mode)       ? 0
                                           : ENOTDIR;
  if (error != 0) {
    // No directory is no failure: tracing is simply off.
    if (error != ENOENT) reportOnce(openFailed, error);
    closeTrace();
    return;
  }
  enabled = true;
  if (traceFile && (now.st_dev != traceFileDirectory.st_dev ||
                    now.st_ino != traceFileDirectory.st_ino))
    closeTrace();
}

}  // namespace

FILE* mTraceOpen() {
  char directory[sizeof pathBuffer], path[sizeof pathBuffer];
  if (!tracePaths(directory, path, sizeof path)) {
    reportOnce(pathTooLong, 0);
    return nullptr;
  }
  FILE* f = std::fopen(path, "a");
  if (!f) {
    reportOnce(openFailed, errno);
    return nullptr;
  }
  if (::stat(directory, &traceFileDirectory) != 0) traceFileDirectory = {};
  return f;
}

const char* mTraceFile() {
  char directory[sizeof pathBuffer];
  if (!tracePaths(directory, pathBuffer, sizeof pathBuffer)) pathBuffer[0] = 0;
  return pathBuffer;
}

bool mTraceEnabled() {
  if (!decided || decidedAtInit != mInitCount()) decide();
  return enabled;
}

const char* mPathDigits(const Menu* root) {
  size_t n = 0;
  pathDigits[0] = '\0';
  const Menu* above = nullptr;
  int level = 0;
  for (const Menu* m = root; m && level < MENU_DEPTH_LIMIT; level++) {
    int item = mPathItem(root, above, m);
    int written =
        std::snprintf(pathDigits + n, sizeof pathDigits - n, "%d", item);
    if (written < 0 || size_t(written) >= sizeof pathDigits - n) break;
    n += size_t(written);
    if (item < 1 || item > MENU_SLOTS) break;
    above = m;
    m = m->submenu[item - 1];
  }
  return pathDigits;
}

void mTraceFormat(const Menu* root, char* out, size_t size) {
  if (!out || size == 0) return;
  if (!root) {
    out[0] = '\0';
    return;
  }
  char backUps[20] = "", changes[20] = "";
  if (root->backUpCount > 0)
    std::snprintf(backUps, sizeof backUps, "b%d", root->backUpCount);
  if (root->changeCount > 0)
    std::snprintf(changes, sizeof changes, "r%d ", root->changeCount);
  std::snprintf(out, size, "%.0lf %c %2.2lf %s %s %s %s\n", root->pressTime,
                root->mode != modeMarking ? 'M' : 'm',
                root->releaseTime - root->pressTime, mPathDigits(root),
                root->markedAhead ? "c " : "", backUps, changes);
}

void mTraceWrite(const Menu* root) {
  if (!traceFile) traceFile = mTraceOpen();
  if (!traceFile) {
    // Off until the next mInit looks again.
    enabled = false;
    return;
  }
  char line[sizeof pathDigits + 128];
  mTraceFormat(root, line, sizeof line);
  if (std::fputs(line, traceFile) != EOF && std::fflush(traceFile) == 0) return;
  // The line is lost: say so, and start afresh with the next selection.
  reportOnce(writeFailed, errno);
  closeTrace();
}

void mTraceUseBaseForTesting(const char* newBase) {
  std::snprintf(base, sizeof base, "%s", newBase ? newBase : fixedBase);
  baseForTesting = newBase != nullptr;
  closeTrace();
  decided = false;
  enabled = false;
  for (bool& r : reported) r = false;
}
