// Placing a menu: choosing the font its labels are measured in, laying it
// out at a point, and moving it into the work area when it sticks out.
#pragma once

#include "menu/marking_menu.h"

// Menus fit the work area of the monitor under the press point of the
// selection they belong to (the root's first stroke point): the root, its
// submenus, cascades and the confirmation's label box all stay on the
// monitor the user pressed on, even when the pointer has wandered onto
// another. A menu whose root holds no stroke fits the monitor under the
// point it is placed at.
//
// Chooses the measuring font, clears movedToFit and fits the menu at
// (x, y), which becomes its pivot. For a list that cascades, (x, y) is its
// anchor.
void mPlaceMenu(Menu* menu, int x, int y);
// The primary monitor less its panels, edges inclusive.
void mWorkArea(Rect* out);
// The work area `menu` fits: that of the monitor under its selection's
// press point, else under (x, y); the nearest monitor's when none is there.
void mWorkAreaFor(const Menu* menu, int x, int y, Rect* out);
// Selects "BOLD_FONT" or "REGULAR_FONT", whichever the widest label needs.
void mChooseMeasureFont(const Menu* menu);
// Lays the menu out at (x, y) and moves it until it fits the work area.
void mFitToWorkArea(Menu* menu, int x, int y);
// Moves the box into the work area of `menu` (mWorkAreaFor, from the box's
// corner) by the least distance, as menus are moved; a box larger than the
// area goes to its left or top edge.
void mFitRectToWorkArea(const Menu* menu, Rect* box);
