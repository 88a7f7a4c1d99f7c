#include "core/settings.h"

#include <cmath>

#include "platform/platform.h"
#include "platform/report.h"

namespace {

// Process-wide; tracking takes its own copy at every press, so a change
// never reaches a selection already under way.
MarkingMenuSettings inForce = defaultSettings;
int techniqueInForce = TECHNIQUE_MARKS_AND_MENUS;
int recognizerInForce = MARK_RECOGNIZER_STANDARD;

// A delay in seconds that tracking can wait for; reported when not.
bool delayInRange(const char* field, double seconds) {
  if (std::isfinite(seconds) && seconds >= 0 && seconds <= longestDelay)
    return true;
  mReportError("mSetSettings: %s %g is out of range (0 to %g s)", field,
               seconds, longestDelay);
  return false;
}

}  // namespace

void mGetSettings(MarkingMenuSettings* settings) {
  if (settings) *settings = inForce;
}

int mSetSettings(const MarkingMenuSettings* settings) {
  if (!settings) {
    mReportError("mSetSettings: no settings given");
    return 0;
  }
  const MarkingMenuSettings& s = *settings;
  if (!delayInRange("initialPopupDelay", s.initialPopupDelay) ||
      !delayInRange("markingPopupDelay", s.markingPopupDelay) ||
      !delayInRange("menuRestDelay", s.menuRestDelay) ||
      !delayInRange("confirmationTime", s.confirmationTime))
    return 0;
  const int32_t longestRestMs = int32_t(longestDelay * 1000);
  if (s.cascadeRestMs < 0 || s.cascadeRestMs > longestRestMs) {
    mReportError("mSetSettings: cascadeRestMs %d is out of range (0 to %d ms)",
                 int(s.cascadeRestMs), int(longestRestMs));
    return 0;
  }
  inForce = s;
  return 1;
}

int mSetTechnique(int technique) {
  if (technique != TECHNIQUE_MARKS_AND_MENUS &&
      technique != TECHNIQUE_MENU_ONLY && technique != TECHNIQUE_MARKS_ONLY) {
    mReportError("mSetTechnique: unknown technique %d", technique);
    return 0;
  }
  techniqueInForce = technique;
  return 1;
}

int mGetTechnique() { return techniqueInForce; }

int mSetMarkRecognizer(int kind) {
  if (kind != MARK_RECOGNIZER_STANDARD && kind != MARK_RECOGNIZER_LEGS) {
    mReportError("mSetMarkRecognizer: unknown recognizer %d", kind);
    return 0;
  }
  recognizerInForce = kind;
  return 1;
}

int mGetMarkRecognizer() { return recognizerInForce; }

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

namespace {
uint32_t initCount = 0;
}

void mNoteInit() { initCount++; }

uint32_t mInitCount() { return initCount; }
