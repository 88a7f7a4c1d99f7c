// The library's one error report, and its diagnostics switch.
#pragma once

#include <cstdarg>

#include "menu/marking_menu.h"

// Reports a problem the library survives (a full list, a bad index, a file
// that cannot be opened or written); the caller goes on with its defined
// fallback. The formatted text goes to standard error, prefixed with the
// program's name, unless a hook installed with mSetReportHook receives it.
TARVEL_API void mReportError(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// ReportHook and mSetReportHook are declared in the public header.

namespace tarvel::internal {
// Mark recognition prints its diagnostics to standard output when set.
// Nothing in the library sets it.
extern bool debugOutput;
}  // namespace tarvel::internal
using tarvel::internal::debugOutput;
