// Laying out a placed menu (its compass boxes, list rows, centre box,
// bounds and radius) and drawing it onto the overlay, in full or reduced to
// an ancestor's centre disc.
#pragma once

#include <cstdint>

#include "menu/marking_menu.h"

// One pixel toward the centre from each compass position (N, NE, ... NW).
inline constexpr int towardCentreX[RADIAL_SLOTS] = {0, -1, -1, -1, 0, 1, 1, 1};
inline constexpr int towardCentreY[RADIAL_SLOTS] = {1, 1, 0, -1, -1, -1, 0, 1};

// Lays out every slot around the menu's centre, in the font selected now.
void mLayoutMenu(Menu* menu);
int mItemContentWidth(const Menu* menu, int position);
// Mirror-image compass boxes share a width; all list rows share one width.
int mItemWidthBase(const Menu* menu, int position);
void mMoveItem(Menu* menu, int position, int dx, int dy);
// Sets the label's baseline start and the submenu arrow's centre of a slot
// from its box.
void mPlaceLabelAndArrow(Menu* menu, int position);

void mDrawItem(Menu* menu, int n, bool highlighted);
void mDrawMenu(Menu* menu);
void mRedrawMenu(Menu* menu);
void mDrawAsAncestor(Menu* menu);
void mDrawSpokes(const Menu* menu, int x, int y);
void mDrawCentre(int x, int y);
void mDrawParentLine(const Menu* menu);
void mDrawArrow(const Menu* menu, int position, int x, int y);
void mDrawEmptyMarker(int x, int y);
// The rubber band from the centre to (lastX, lastY), saved under first.
void mDrawBand(Menu* menu);

// Highlight tracking of a shown radial menu.
void mHighlightItem(Menu* menu, int n);
void mUnhighlightItem(Menu* menu, int n);
void mRedrawItems(Menu* menu);
// Draws a placed menu in full and highlights the item under (x, y).
void mShowMenu(Menu* menu, int x, int y);
// Follows the pointer: highlight and rubber band.
void mTrackRadial(Menu* menu, int x, int y);
