// Fuzzes the study reader: any bytes are read as a study file, and what
// reads is planned for a participant. A refused file must say where; a read
// one must plan only leaves its menus have. The seeds in study_corpus/ are
// the example studies.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <QByteArray>

#include "study/study_file.h"
#include "study/study_menus.h"
#include "study/study_plan.h"

namespace {

// Plans longer than this are not made: the reader allows millions of
// trials, which would only slow the fuzzer down.
constexpr long long trialsPerInput = 100000;

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
  Study study;
  StudyError error;
  if (!mParseStudy(text, "fuzz.json", &study, &error)) {
    check(error.file == "fuzz.json" && !error.message.empty());
    check(error.line >= 0 && error.line <= text.count('\n') + 1);
    check(!error.text().empty());
    return 0;
  }
  check(!study.conditions.empty() && !study.menus.empty());

  // Leaves as the trees would number them, without building library trees
  // (which live until the program ends).
  std::vector<BuiltMenu> menus;
  long long trials = 0;
  for (const StudyCondition& condition : study.conditions) {
    const StudyMenu* menu = nullptr;
    for (const StudyMenu& m : study.menus)
      if (m.name == condition.menu) menu = &m;
    check(menu != nullptr);
    BuiltMenu built;
    built.leaves = mItemLeaves(mStudyMenuItems(*menu, study.design.seed));
    check(!built.leaves.empty());
    long long perBlock = study.design.trialsPerBlock
                             ? study.design.trialsPerBlock
                             : (long long)built.leaves.size();
    trials += study.design.practiceTrials + study.design.blocks * perBlock;
    for (const std::vector<int>& target : study.design.fixedTargets)
      check(mLeafIndex(built, target) >= 0);
    menus.push_back(std::move(built));
  }
  if (trials > trialsPerInput) return 0;
  std::vector<const BuiltMenu*> pointers;
  for (const BuiltMenu& m : menus) pointers.push_back(&m);
  int participant = mParticipantNumber(std::string(text.left(16)));
  for (const PlannedTrial& t : mPlanTrials(study, pointers, participant)) {
    check(t.condition >= 0 && t.condition < int(menus.size()));
    check(t.leaf >= 0 &&
          t.leaf < int(menus[size_t(t.condition)].leaves.size()));
  }
  return 0;
}
