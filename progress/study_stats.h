// The figures of a study: from the trial rows of all its participants,
// per participant, condition and block, per condition over everyone, the
// learning curves and which items were taken for which. Practice rows are
// left out of every figure.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "progress/trial_log.h"

struct Interval {
  double low = NAN, high = NAN;  // NAN when too few trials to say
  bool known() const { return !std::isnan(low); }
};

// The confidence of both intervals.
inline constexpr double confidence = 0.95;

struct Figures {
  int participants = 0;
  int trials = 0;
  int hits = 0;
  double hitRate = 0;
  // Wilson score interval over every trial counted: unlike p ± z·se it stays
  // inside 0..1 and is sensible at hit rates of 0 or 1 and for few trials.
  Interval hitRateCi;
  double medianMs = 0;  // selection time, press to release, of every trial
  double meanMs = 0;
  // Distribution-free: the order statistics x(l)..x(n+1-l) with l from the
  // binomial distribution of B(n, 1/2), covering at least `confidence`.
  // Unknown below six trials, where even min..max covers less.
  Interval medianMsCi;
  double markShare = 0;  // trials selected by a mark, of all trials
  int backUps = 0;       // total
};

// Pooled figures carry these in place of a participant or a block.
inline constexpr const char* allParticipants = "ALL";
inline constexpr int allBlocks = -1;

struct StudyCell {
  std::string participant;  // or allParticipants
  std::string condition;
  int block = allBlocks;
  Figures figures;
};

// How often each target was taken for each item, in one condition. Rows are
// the targets; the columns the targets in the same order (a hit lies on the
// diagonal), then other chosen items, then nothing chosen.
struct Confusion {
  std::string condition;
  std::vector<std::string> targets;
  std::vector<std::string> chosen;
  std::vector<std::vector<int>> counts;  // [target][chosen]
  int largest = 0;
};

inline constexpr const char* nothingChosen = "(nothing)";

struct StudyFigures {
  // Participant x condition x block, in that order of names and numbers.
  std::vector<StudyCell> cells;
  // Per condition, pooled over participants and blocks.
  std::vector<StudyCell> conditions;
  // Per condition and block, pooled over participants: learning curves.
  std::vector<StudyCell> curves;
  std::vector<Confusion> confusions;
  std::vector<std::string> studies;  // the study names met
  int practiceRows = 0;              // left out
};

StudyFigures studyFigures(const std::vector<TrialRow>& rows);
Figures figuresOf(const std::vector<const TrialRow*>& rows);
Interval wilsonInterval(int hits, int trials);
Interval medianInterval(std::vector<double> values);
