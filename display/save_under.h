// Save-under: copies of the screen taken before the library draws over it,
// put back newest first to take the drawing away again.
#pragma once

#include "menu/marking_menu.h"

// Pushes a copy of the screen rectangle. Nothing for an empty size, a full
// stack (the 129th save is dropped) or a copy that cannot be made (reported).
void mSaveRect(SaveStack* stack, int x, int y, int width, int height);
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
