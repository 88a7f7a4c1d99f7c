#include "trace/trace.h"

#include <cerrno>
#include <cstring>

#include "menu/report.h"

namespace {

constexpr const char* fixedBase = "/h/tessik/TraceData";
const char* traceUser = "user";
char traceDirectoryName[80] = "unknown";
char base[512] = "/h/tessik/TraceData";

bool decided = false;
bool enabled = false;
FILE* traceFile = nullptr;

// One digit or two per level; deeper trees than this much are cut short
// rather than overflow the buffer.
char pathDigits[1024];

void tracePath(char* out, size_t size) {
  char directory[sizeof base + 96];
  std::snprintf(directory, sizeof directory, "%s/%s", base, traceDirectoryName);
  std::snprintf(out, size, "%s/%s.trc", directory, traceUser);
}

}  // namespace

FILE* mTraceOpen() {
  char path[sizeof base + 192];
  tracePath(path, sizeof path);
  FILE* f = std::fopen(path, "a");
  if (!f)
    mReportError("can't open Marking Menu trace file %s: %s\n", path,
                 std::strerror(errno));
  return f;
}

bool mTraceEnabled() {
  if (!decided) {
    FILE* f = mTraceOpen();
    enabled = f != nullptr;
    if (f) std::fclose(f);
    decided = true;
  }
  return enabled;
}

const char* mPathDigits(const Menu* root) {
  size_t n = 0;
  pathDigits[0] = '\0';
  for (const Menu* m = root; m;) {
    int written =
        std::snprintf(pathDigits + n, sizeof pathDigits - n, "%d", m->selected);
    if (written < 0 || size_t(written) >= sizeof pathDigits - n) break;
    n += size_t(written);
    int i = m->selected - 1;
    if (i < 0 || i >= MENU_SLOTS) break;
    m = m->submenu[i];
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
                root->mode != 0 ? 'M' : 'm',
                root->releaseTime - root->pressTime, mPathDigits(root),
                root->markedAhead ? "c " : "", backUps, changes);
}

void mTraceWrite(const Menu* root) {
  if (!traceFile) traceFile = mTraceOpen();
  if (!traceFile) return;
  char line[sizeof pathDigits + 128];
  mTraceFormat(root, line, sizeof line);
  std::fputs(line, traceFile);
  std::fflush(traceFile);
}

void mTraceUseBaseForTesting(const char* newBase) {
  std::snprintf(base, sizeof base, "%s", newBase ? newBase : fixedBase);
  if (traceFile) std::fclose(traceFile);
  traceFile = nullptr;
  decided = false;
  enabled = false;
}
