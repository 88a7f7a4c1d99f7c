// Laying out a placed menu (its compass boxes, list rows, centre box,
// bounds and radius) and drawing it onto the overlay, in full or reduced to
// an ancestor's centre disc.
#pragma once

#include "menu/marking_menu.h"

// One pixel toward the centre from each compass position (N, NE, ... NW).
inline constexpr int towardCentreX[RADIAL_SLOTS] = {0, -1, -1, -1, 0, 1, 1, 1};
inline constexpr int towardCentreY[RADIAL_SLOTS] = {1, 1, 0, -1, -1, -1, 0, 1};

// Lays out every slot around the menu's centre, in the font selected now:
// the compass boxes first, then the list rows hung beneath them.
void mLayoutMenu(Menu* menu);

void mDrawMenu(Menu* menu);
void mRedrawMenu(Menu* menu);
void mDrawAsAncestor(Menu* menu);
void mDrawSpokes(const Menu* menu, int x, int y);
void mDrawCentre(int x, int y);
void mDrawParentLine(const Menu* menu);
void mDrawEmptyMarker(int x, int y);
// The rubber band from the centre to (lastX, lastY), saved under first.
void mDrawBand(Menu* menu);

// Draws a placed menu in full and highlights the item under (x, y).
void mShowMenu(Menu* menu, int x, int y);
// Follows the pointer: highlight and rubber band.
void mTrackRadial(Menu* menu, int x, int y);
