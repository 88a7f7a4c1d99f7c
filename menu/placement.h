// Placing a menu: choosing the font its labels are measured in, laying it
// out at a point, and moving it into the work area when it sticks out.
#pragma once

#include "menu/marking_menu.h"

// Chooses the measuring font, clears movedToFit and fits the menu at
// (x, y). For a list that cascades, (x, y) is its anchor.
void mPlaceMenu(Menu* menu, int x, int y);
// The desktop less its panels, edges inclusive.
void mWorkArea(Rect* out);
// Selects "BOLD_FONT" or "REGULAR_FONT", whichever the widest label needs.
void mChooseMeasureFont(const Menu* menu);
// Lays the menu out at (x, y) and moves it until it fits the work area.
void mFitToWorkArea(Menu* menu, int x, int y);
// Moves the box into the work area by the least distance, as menus are
// moved; a box larger than the area goes to its left or top edge.
void mFitRectToWorkArea(Rect* box);
