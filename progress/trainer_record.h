// The trainer's own record of its trials, in the trials.csv format: where
// it lies and how its rows tell training from the laboratory.
#pragma once

#include <string>

// Under tarvelDataPath(): one folder per session, each with its trials.csv.
inline constexpr const char* trainerRecordFolder = "trainer";
inline constexpr const char* trainerStudy = "trainer";
// Under tarvelDataPath(): the records of menus of the learner's own, one
// folder each, named after the menu file, with sessions as above.
inline constexpr const char* ownMenuRecordFolder = "menus";
// The condition column of its rows.
inline constexpr const char* trainingCondition = "training";
inline constexpr const char* laboratoryCondition = "laboratory";

// Where Tarvel keeps what it records, $XDG_DATA_HOME/tarvel
// (~/.local/share/tarvel), whether or not it exists yet.
std::string tarvelDataPath();
// The folder of the record, whether or not it exists yet.
std::string trainerRecordPath();
