// The trainer's own record of its trials, in the trials.csv format: where
// it lies and how its rows tell training from the laboratory.
#pragma once

#include <string>

// Under $XDG_DATA_HOME (~/.local/share): one folder per session, each with
// its trials.csv.
inline constexpr const char* trainerRecordFolder = "tarvel/trainer";
inline constexpr const char* trainerStudy = "trainer";
// The condition column of its rows.
inline constexpr const char* trainingCondition = "training";
inline constexpr const char* laboratoryCondition = "laboratory";

// The folder of the record, whether or not it exists yet.
std::string trainerRecordPath();
