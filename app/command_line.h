// What the trainer is asked to do on its command line: with no arguments it
// is the trainer; otherwise it runs a study with a participant, pilots a
// study in simulation, or says how it is used.
#pragma once

#include <string>

struct CommandLine {
  enum class Action { Train, Study, Simulate, Help, Version, Bad };
  Action action = Action::Train;
  std::string study;        // --study FILE
  std::string participant;  // --participant ID; asked for when missing
  std::string output;       // --output DIR; empty: the user's data folder
  int simulate = 0;         // --simulate N
  double noise = 0;         // --noise DEGREES
  std::string error;        // what is wrong, for Bad
};

CommandLine mParseCommandLine(int argc, const char* const* argv);
// The usage text --help prints.
const char* mUsage();
