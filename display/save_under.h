// Save-under: copies of the screen taken before the library draws over it,
// put back newest first to take the drawing away again.
#pragma once

#include <cstdint>

#include "menu/marking_menu.h"

// Pushes a copy of the part of the screen rectangle that lies on the screen,
// and records that part. Nothing for an empty size or a rectangle off the
// screen, a full stack (the 129th save is dropped) or a copy that cannot be
// made (reported); nothing either for a part that an older copy of the
// stack holds all of, as restoring that one puts it back. A stack that
// would hold more than a screenful has its copies folded into one of the
// whole screen as it was before them.
void mSaveRect(SaveStack* stack, int x, int y, int width, int height);
// Pixels the stack's copies hold.
int64_t mSavedPixels(const SaveStack* stack);
// Puts every copy back, newest first, frees them and empties the stack.
void mRestoreAll(SaveStack* stack);

void mSaveMenuArea(Menu* menu);
void mSaveBandArea(Menu* menu);
// Under the newest segment of the root's stroke; needs two stroke points.
void mSaveInkSegment(Menu* menu);
void mRestoreMenuArea(Menu* menu);
void mRestoreBandArea(Menu* menu);
void mRestoreInkArea(Menu* menu);
// Takes a menu, its rubber band and its parent line off the screen.
void mEraseMenu(Menu* menu);
// Frees every copy the menu's stacks hold without putting any back, and
// empties them: the screen they came from is gone.
void mDropSaved(Menu* menu);
