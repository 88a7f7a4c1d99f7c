#include "app/session.h"

#include "app/random.h"
#include "app/weak_items.h"

void Session::startRun() {
  hits = 0;
  misfires = 0;
  totalTime = 0;
}

void Session::enterArea(int items) {
  itemCount = items > 0 ? items : 1;
  targetRange = firstTargetRange < itemCount ? firstTargetRange : itemCount;
  trialsLeft = labTrialCount;
}

void Session::chooseTarget(int draw, bool laboratory) {
  if (laboratory) targetRange = itemCount;
  targetIndex = scaleDraw(draw, targetRange);
  widenRange();
}

void Session::chooseWeakTarget(WeakItems& weak, int draw) {
  targetIndex = weak.choose(targetRange, draw);
  widenRange();
}

void Session::widenRange() {
  if (++picksAtRange >= picksPerRange) {
    targetRange = targetRange < itemCount ? targetRange + 1 : itemCount;
    picksAtRange = 0;
  }
}

bool Session::score(int chosenItem, uint32_t pressToReleaseMs) {
  bool hit = isHit(chosenItem);
  if (hit)
    hits++;
  else
    misfires++;
  trialsLeft--;
  totalTime += pressToReleaseMs;
  return hit;
}
