// The list part of a menu: rows under the compass boxes, or a whole menu
// of rows, and cascades of such lists.
#pragma once

#include "menu/marking_menu.h"

// Lays out the rows round a centre at the origin; the last step of
// mLayoutMenu before it moves the menu to its centre.
void mLayoutRows(Menu* menu);
// Draws the rows of a placed menu and highlights the row under (x, y).
void mShowLinear(Menu* menu, int x, int y);
void mTrackLinear(Menu* menu, int x, int y);
// The row under (x, y) in the root's current menu or the lists it cascades
// from, nearest first: *found is NULL when there is none. *base is the first
// menu going up that is not a cascaded list.
void mFindLinearItem(const Menu* root, int x, int y, Menu** found, int* item,
                     Menu** base);
