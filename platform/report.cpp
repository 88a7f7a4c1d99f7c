#include "platform/report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool tarvel::internal::debugOutput = false;

namespace {

ReportHook reportHook = nullptr;

// Without a hook a report goes to standard error as one line, prefixed with
// the program's name like any command-line tool's message.
void toStandardError(const char* message) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message);
}

}  // namespace

void mReportError(const char* format, ...) {
  if (!format) return;
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  // A report is one line whoever receives it: the receiver adds the line
  // ending, so the message carries none.
  size_t n = std::strlen(message);
  while (n > 0 && (message[n - 1] == '\n' || message[n - 1] == '\r'))
    message[--n] = '\0';
  (reportHook ? reportHook : toStandardError)(message);
}

ReportHook mSetReportHook(ReportHook hook) {
  ReportHook previous = reportHook;
  reportHook = hook;
  return previous;
}
