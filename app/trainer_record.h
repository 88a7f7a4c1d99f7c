// The trainer's own record of its trials: one session folder each time the
// trainer records, $XDG_DATA_HOME/tarvel/trainer/session-N, with the
// trials.csv and strokes.csv a study writes. Training and laboratory trials
// are told apart by their condition, "training" or "laboratory"; each visit
// to an area is a block. Trials of a menu of the learner's own go to that
// menu's folder (TrainingMenu::recordFolder), in sessions of their own.
#pragma once

#include <QDateTime>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "app/training_menu.h"
#include "app/trial_runner.h"
#include "study/study_log.h"

class TrainerRecord {
 public:
  // Where the sessions go: tarvel/trainer under $XDG_DATA_HOME, or under
  // ~/.local/share when that is not set.
  static std::string folder();

  // Turns the record on: checks that its folder can be made and written.
  // False, with `problem` saying why, when it cannot; the record stays off.
  // The session's files are made with the first trial.
  bool start(std::string* problem);
  // Turns it off; the next start begins a new session.
  void stop();
  bool on() const { return on_; }
  // The session folder being written under a menu's record folder, empty
  // before its first trial.
  std::string sessionFolder(const std::string& recordFolder) const;

  // An area entered: the next trials are a new block of its condition.
  void enterArea(bool laboratory);
  // The target was shown now (`tick` on the platform's clock).
  void targetShown(uint32_t tick);
  // Writes a trial of `menu`'s item `target` as it ends, pressed at
  // `pressTick`. False, with `problem`, when it cannot be written: the
  // record is off from then on.
  bool write(bool laboratory, const TrainingMenu& menu, int target,
             uint32_t pressTick, const TrialOutcome& outcome, bool hit,
             std::string* problem);

 private:
  // A log for each record folder written this session.
  std::map<std::string, std::unique_ptr<StudyLog>> logs_;
  bool on_ = false;
  std::array<int, 2> blocks_{};  // blocks begun, training and laboratory
  int trialInBlock_ = 0;
  uint32_t shownTick_ = 0;
  QDateTime shownAt_;
};
