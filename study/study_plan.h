// The order of one participant's trials: conditions by the design's order,
// practice trials, then blocks of targets. The same study and participant
// always give the same plan.
#pragma once

#include <string>
#include <vector>

#include "study/study.h"
#include "study/study_menus.h"

struct PlannedTrial {
  int condition = 0;  // index into Study::conditions
  int block = 0;      // 0 for practice, then 1..blocks
  int trial = 0;      // 1-based within its block
  bool practice = false;
  int leaf = 0;  // index into the condition's menu's leaves
};

// The number a Latin square row is chosen by: the ID's last run of digits
// ("P07" is 7), else a number derived from the whole ID.
int mParticipantNumber(const std::string& participant);
// Condition indices in the order this participant meets them. A Latin
// square is balanced (each condition follows each other equally often)
// when the number of conditions is even.
std::vector<int> mConditionOrder(const Study& study, int participantNumber);
// Every trial, in order. `conditionMenus[c]` is condition c's menu built;
// a fixed target that is no leaf of it is skipped (the reader refuses such
// a file).
std::vector<PlannedTrial> mPlanTrials(
    const Study& study, const std::vector<const BuiltMenu*>& conditionMenus,
    int participantNumber);
