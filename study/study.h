// A study as a researcher writes it in a JSON file: the menus, the
// conditions that use them, and the design that orders the trials. Plain
// data; study_file reads it, study_menus builds the menus and study_plan
// orders a participant's trials.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "menu/marking_menu.h"

// One item of a menu written out: a label at a position (0..7 around the
// centre, 8..57 in the list below), with the items of its submenu.
struct StudyItem {
  std::string label;
  int position = 0;
  bool enabled = true;
  // A toggle beside the label, as the practice menu's categories show;
  // study files do not set it.
  bool hasToggle = false;
  bool toggleOn = false;
  std::vector<StudyItem> submenu;
};

struct StudyMenu {
  enum class Kind { Practice, Tree, Generated };
  std::string name;
  Kind kind = Kind::Tree;
  std::vector<StudyItem> items;  // Tree (and Practice, filled when read)
  int breadth = 0;               // Generated: 4, 8 or 12 (8 around, 4 listed)
  int depth = 0;                 // Generated: 1..4
};

// How a condition lets people select.
enum class Technique {
  MarksAllowed,  // the menu pops up after a rest, or a mark is drawn
  MenuOnly,      // the menu pops up at the press
  MarksOnly,     // the menu never pops up
};

struct StudyCondition {
  std::string name;
  std::string menu;  // a StudyMenu's name
  // The library's delays for this condition; unset ones keep the library's
  // defaults. Seconds, except the cascade rest in milliseconds.
  std::optional<double> popupDelay, markingPopupDelay, menuRestDelay;
  std::optional<int> cascadeRestMs;
  Technique technique = Technique::MarksAllowed;
  // How marks are read: MARK_RECOGNIZER_STANDARD or MARK_RECOGNIZER_LEGS.
  int recognizer = MARK_RECOGNIZER_STANDARD;
};

enum class TargetOrder {
  Shuffled,  // every leaf once, shuffled, per round within a block
  Balanced,  // each leaf equally often over the condition's blocks
  Fixed,     // the list given, in order, again and again
};

enum class ConditionOrder {
  Fixed,        // as written, for every participant
  LatinSquare,  // a row of a balanced Latin square by participant number
};

struct StudyDesign {
  int blocks = 1;
  int trialsPerBlock = 0;  // 0: every leaf once
  TargetOrder targetOrder = TargetOrder::Shuffled;
  // Fixed order: targets as paths of positions ("2/0").
  std::vector<std::vector<int>> fixedTargets;
  int practiceTrials = 0;  // before the first block of each condition
  bool pauseBetweenBlocks = true;
  ConditionOrder conditionOrder = ConditionOrder::Fixed;
  uint32_t seed = 1;
};

struct Study {
  std::string name;         // from the file, else the file's base name
  std::string description;  // shown before the first trial, may be empty
  std::string file;         // the path it was read from
  std::string sha256;       // of the file's bytes, in hex
  std::vector<StudyMenu> menus;
  std::vector<StudyCondition> conditions;
  StudyDesign design;
};

// What is wrong with a study file, with where.
struct StudyError {
  std::string file;
  int line = 0;       // 1-based; 0 when the whole file is meant
  std::string field;  // a path of keys, "conditions[1].menu"; may be empty
  std::string message;
  // "FILE:LINE: FIELD: MESSAGE", parts left out when unknown.
  std::string text() const;
};

// Limits a study file must keep.
inline constexpr int studyMaxRadialItems = 8;
inline constexpr int studyMaxPosition = 57;
// The library keeps labels of up to 48 bytes whole and shortens longer
// ones, which would then differ from the label a log names.
inline constexpr int studyMaxLabelBytes = 48;
inline constexpr int studyMaxDepth = 8;
inline constexpr int studyMaxGeneratedDepth = 4;
inline constexpr int studyMaxBlocks = 1000;
inline constexpr int studyMaxTrialsPerBlock = 10000;
inline constexpr double studyMaxDelaySeconds = 60.0;
