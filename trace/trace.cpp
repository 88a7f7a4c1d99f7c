#include "trace/trace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/menu_tree.h"
#include "platform/report.h"

namespace {

constexpr const char* fixedBase = "/h/tessik/TraceData";
const char* traceUser = "user";
char traceDirectoryName[80] = "unknown";
char base[512] = "/h/tessik/TraceData";

bool decided = false;
bool enabled = false;
FILE* traceFile = nullptr;

// Each kind of failure is reported once, so that a full disk does not
// repeat itself on every selection.
enum Failure { openFailed, writeFailed, failureKinds };
bool reported[failureKinds];

// One digit or two per level; deeper trees than this much are cut short
// rather than overflow the buffer.
char pathDigits[1024];

// Tests choose their own base, whatever the environment says.
bool baseForTesting = false;
char pathBuffer[4096];

void tracePath(char* out, size_t size) {
  const char* chosen =
      baseForTesting ? nullptr : std::getenv("TARVEL_TRACE_DIR");
  if (chosen && *chosen)
    std::snprintf(out, size, "%s/%s.trc", chosen, traceUser);
  else
    std::snprintf(out, size, "%s/%s/%s.trc", base, traceDirectoryName,
                  traceUser);
}

void reportOnce(Failure kind, int error) {
  if (reported[kind]) return;
  reported[kind] = true;
  char path[sizeof pathBuffer];
  tracePath(path, sizeof path);
  mReportError("can't %s Marking Menu trace file %s: %s\n",
               kind == openFailed ? "open" : "write", path,
               std::strerror(error));
}

// Opens the trace file; reports why not unless `quietIfAbsent` and the
// directory simply is not there.
FILE* openTrace(bool quietIfAbsent) {
  char path[sizeof pathBuffer];
  tracePath(path, sizeof path);
  FILE* f = std::fopen(path, "a");
  if (!f && !(quietIfAbsent && errno == ENOENT)) reportOnce(openFailed, errno);
  return f;
}

}  // namespace

FILE* mTraceOpen() { return openTrace(false); }

const char* mTraceFile() {
  tracePath(pathBuffer, sizeof pathBuffer);
  return pathBuffer;
}

bool mTraceEnabled() {
  if (!decided) {
    // Without the trace directory tracing is simply off.
    FILE* f = openTrace(true);
    enabled = f != nullptr;
    if (f) std::fclose(f);
    decided = true;
  }
  return enabled;
}

const char* mPathDigits(const Menu* root) {
  size_t n = 0;
  pathDigits[0] = '\0';
  const Menu* above = nullptr;
  for (const Menu* m = root; m;) {
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
  if (!traceFile) return;
  char line[sizeof pathDigits + 128];
  mTraceFormat(root, line, sizeof line);
  if (std::fputs(line, traceFile) != EOF && std::fflush(traceFile) == 0) return;
  // The line is lost: say so, and start afresh with the next selection.
  reportOnce(writeFailed, errno);
  std::fclose(traceFile);
  traceFile = nullptr;
}

void mTraceUseBaseForTesting(const char* newBase) {
  std::snprintf(base, sizeof base, "%s", newBase ? newBase : fixedBase);
  baseForTesting = newBase != nullptr;
  if (traceFile) std::fclose(traceFile);
  traceFile = nullptr;
  decided = false;
  enabled = false;
  for (bool& r : reported) r = false;
}
