#include "core/settings.h"

#include "platform/platform.h"

int mTimePair(int32_t* seconds, int32_t* microseconds) {
  uint64_t us = platform::current().microseconds();
  if (seconds) *seconds = int32_t(us / 1000000);
  if (microseconds) *microseconds = int32_t(us % 1000000);
  return 1;
}

double mClock() {
  int32_t seconds = 0, microseconds = 0;
  mTimePair(&seconds, &microseconds);
  return seconds + microseconds * 0.000001;
}

int64_t mClockMicroseconds() {
  int32_t seconds = 0, microseconds = 0;
  mTimePair(&seconds, &microseconds);
  return int64_t(seconds) * 1000000 + microseconds;
}

uint32_t mTickCount() { return platform::current().tickCount(); }
