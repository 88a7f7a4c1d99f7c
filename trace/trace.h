// Trace recording: one text line per finished selection, appended to the
// user's trace file when the trace directory exists. For studying how
// people select: mark or menu, time taken, path, back-ups and changes.
#pragma once

#include <cstddef>
#include <cstdio>

#include "menu/marking_menu.h"

// Asks the file system once whether the trace file can be opened for
// appending; later calls answer from memory.
bool mTraceEnabled();
// Opens the trace file for appending; NULL after reporting why not.
FILE* mTraceOpen();
// Appends the selection's line and flushes it, so that a selection once
// made is on disk even if the process dies afterwards.
void mTraceWrite(const Menu* root);
// The line: press time, m or M, duration, path digits, "c ", "b%d",
// "r%d ". Never writes more than `size` bytes.
void mTraceFormat(const Menu* root, char* out, size_t size);
// Each level's selected item number, from the root down; a level without a
// selection gives 0 and ends the digits.
const char* mPathDigits(const Menu* root);

// Tests only: makes the trace directory `base`/unknown instead of the
// fixed one, and forgets what was asked and opened (NULL restores it).
void mTraceUseBaseForTesting(const char* base);
