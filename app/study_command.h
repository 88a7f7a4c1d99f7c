// The trainer's actions other than training: a study with a participant,
// a pilot in simulation, help and version.
#pragma once

#include "app/command_line.h"

// Carries out `command` (any action but Train) and returns the exit status:
// 0 done, 1 it could not be done, 2 a bad command line or study file, in
// which case nothing was shown or written.
int mRunCommand(const CommandLine& command, int& argc, char** argv);
