// One participant's run through a study, shared by the trainer and the
// simulated pilots: which trial comes next, the library's settings for its
// condition, the selection itself, its scoring and its log. The trainer
// shows the target and waits for the press; a pilot scripts the pointer.
#pragma once

#include <QDateTime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "study/study.h"
#include "study/study_log.h"
#include "study/study_menus.h"
#include "study/study_plan.h"

// What a condition's trials came to, practice left out.
struct ConditionScore {
  int trials = 0;
  int hits = 0;
  int byMark = 0;
  int markErrors = 0;   // misfires made by a mark
  int64_t totalMs = 0;  // press to release, summed
};

struct RunSetup {
  std::string participant;
  std::string output;  // the folder logs go under
  int screenWidth = 0, screenHeight = 0;
  double pixelRatio = 1;
  // Wall-clock time at the start; times of day in the log follow the
  // platform's clock from here, so that pilots on virtual time get times
  // as regular as the trials.
  QDateTime wallStart = QDateTime::currentDateTimeUtc();
};

class StudyRun {
 public:
  StudyRun() = default;
  // Puts back the library's settings as they were before the run.
  ~StudyRun();
  StudyRun(const StudyRun&) = delete;
  StudyRun& operator=(const StudyRun&) = delete;

  // Builds the menus, plans this participant's trials, skips those logged
  // in earlier sessions and opens a new session's log. False, with
  // `error`, when the log cannot be opened. Menus built before, by
  // mBuildStudyMenus for this study, may be given: the library's menus
  // live as long as the program, so runs one after another share them.
  bool start(const Study& study, const RunSetup& setup, std::string* error,
             const std::vector<BuiltMenu>* built = nullptr);

  bool done() const { return next_ >= plan_.size(); }
  // The trial to run next; valid while !done().
  const PlannedTrial& trial() const { return plan_[next_]; }
  const StudyCondition& condition() const;
  const BuiltMenu& menu() const;
  const StudyLeaf& target() const;
  // Trials this participant has in all, and done so far (earlier sessions
  // included).
  size_t planned() const { return plan_.size(); }
  size_t position() const { return next_; }
  // The next trial opens a block after another one of the same condition,
  // or a new condition: a place to rest, and to stop and resume later.
  bool atBlockStart() const;
  bool atConditionStart() const;
  // The earlier sessions ended before this trial; empty for a fresh run.
  const std::string& resumedAfter() const { return resumedAfter_; }

  // The target is on the screen now; reaction times run from here.
  void targetShown();
  // Runs the selection for the current trial, pressed where the pointer
  // is, holding the program until the buttons come up or Escape goes
  // down; `onPass` runs on every pass, as the client's own work. Scores,
  // logs and moves on. False, with `error`, when the log could not be
  // written: the run must stop.
  bool runTrial(const std::function<void()>& onPass, std::string* error);
  // The row of the trial last run.
  const TrialRow& lastRow() const { return lastRow_; }
  // Writes where the participant stopped, for the next session to read;
  // once.
  void stop();

  const StudyLog& log() const { return log_; }
  const Study& study() const { return study_; }
  const std::string& participant() const { return setup_.participant; }
  // Per condition index, this session's trials.
  const std::vector<ConditionScore>& scores() const { return scores_; }

 private:
  void applySettings() const;
  std::string nowText() const;
  std::string trialName(const PlannedTrial& t) const;

  Study study_;
  RunSetup setup_;
  std::vector<BuiltMenu> menus_;
  std::vector<int> menuOfCondition_;
  std::vector<PlannedTrial> plan_;
  size_t next_ = 0;
  std::string resumedAfter_;
  StudyLog log_;
  uint32_t startTick_ = 0;
  uint32_t shownTick_ = 0;
  std::string shownAt_;
  TrialRow lastRow_;
  bool stopped_ = false;
  std::vector<ConditionScore> scores_;
};

// The study's menus, in the order of Study::menus.
std::vector<BuiltMenu> mBuildStudyMenus(const Study& study);

// Tarvel's version, as logs and --version give it.
const char* mTarvelVersion();
