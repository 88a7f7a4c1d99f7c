#include "app/session.h"

#include "app/random.h"
#include "app/weak_items.h"

void Session::startRun() {
  hits = 0;
  misfires = 0;
  totalTime = 0;
}

void Session::enterArea() {
  targetRange = firstTargetRange;
  trialsLeft = labTrialCount;
}

void Session::chooseTarget(int draw, bool laboratory) {
  if (laboratory) targetRange = practiceItemCount;
  targetIndex = scaleDraw(draw, targetRange);
  widenRange();
}

void Session::chooseWeakTarget(WeakItems& weak, int draw) {
  targetIndex = weak.choose(targetRange, draw);
  widenRange();
}

void Session::widenRange() {
  if (++picksAtRange >= picksPerRange) {
    targetRange =
        targetRange < practiceItemCount ? targetRange + 1 : practiceItemCount;
    picksAtRange = 0;
  }
}

bool Session::isHit(uintptr_t value) const {
  // Item values point at the item's number.
  return value != 0 && *reinterpret_cast<const int*>(value) == targetIndex;
}

bool Session::score(uintptr_t value, uint32_t pressToReleaseMs) {
  bool hit = isHit(value);
  if (hit)
    hits++;
  else
    misfires++;
  trialsLeft--;
  totalTime += pressToReleaseMs;
  return hit;
}
