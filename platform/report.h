// The library's one error report, and its diagnostics switch.
#pragma once

#include <cstdarg>

// Reports a problem the library survives (a full list, a bad index, a file
// that cannot be opened or written); the caller goes on with its defined
// fallback. The formatted text goes to standard error, prefixed with the
// program's name, unless a hook installed with mSetReportHook receives it.
void mReportError(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

using ReportHook = void (*)(const char* message);

// Installs a receiver for reports in place of standard error (NULL goes
// back to standard error); returns the previous one.
ReportHook mSetReportHook(ReportHook hook);

// Mark recognition prints its diagnostics to standard output when set.
// Nothing in the library sets it.
extern bool debugOutput;
