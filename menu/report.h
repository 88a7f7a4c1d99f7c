// The library's one error report, and its diagnostics switch.
#pragma once

#include <cstdarg>

// Reports a problem the library survives (a full list, a bad index, a file
// that cannot be opened). Shows nothing: the caller goes on with its defined
// fallback. A hook installed with mSetReportHook receives the formatted text.
void mReportError(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

using ReportHook = void (*)(const char* message);

// Installs a receiver for reports (NULL removes it); returns the previous.
ReportHook mSetReportHook(ReportHook hook);

// Mark recognition prints its diagnostics to standard output when set.
// Nothing in the library sets it.
extern bool debugOutput;
