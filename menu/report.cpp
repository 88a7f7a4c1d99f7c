#include "menu/report.h"

#include <cstdio>

bool debugOutput = false;

namespace {
ReportHook reportHook = nullptr;
}

void mReportError(const char* format, ...) {
  if (!reportHook || !format) return;
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  reportHook(message);
}

ReportHook mSetReportHook(ReportHook hook) {
  ReportHook previous = reportHook;
  reportHook = hook;
  return previous;
}
