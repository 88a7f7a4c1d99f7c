// Which item lies under a point of a laid-out menu, or in a direction from
// its centre. Item numbers are position + 1, 0 for none.
#pragma once

#include "menu/marking_menu.h"

// A slot is drawn and can be hit when its label is not empty, or when every
// label of the menu is empty.
bool mSlotVisible(const Menu* menu, int position);
// The same for item number n (1-based); false outside 1 to itemCount.
bool mItemVisible(const Menu* menu, int n);

// The disc drawn at a menu's centre, in pixels across.
inline constexpr int CENTRE_DISC = 16;

// The menu was moved to fit the work area away from the point it opened at
// (its pivot). Such a menu is drawn where it fits but answers the pointer as
// if centred on its pivot, so that a pointer held still where the menu
// opened selects nothing, whichever edge the menu was pushed from.
bool mMovedOffPivot(const Menu* menu);
// Where directions are measured from: the pivot of a menu moved off it, the
// centre of any other.
IntPoint mHitCentre(const Menu* menu);

// Manhattan distance from the centre under 16 pixels; for a menu moved off
// its pivot, within the centre disc's radius of the pivot.
bool mInCentreZone(const Menu* menu, int x, int y);
// Farther than the radius from mHitCentre.
bool mOutsideCircle(const Menu* menu, int x, int y);
// The item of the direction (dx, dy) from the centre; in an eight-slot menu
// an empty slot's direction goes to the nearest labelled slot by
// half-sectors, ties counter-clockwise.
int mHitByDirection(const Menu* menu, float dx, float dy);
// As mHitByDirection, but 0 unless the item is visible and enabled.
int mItemInDirection(const Menu* menu, float dx, float dy);
// The item under (x, y): none in the centre zone, then boxes (lowest item
// number first), then the direction. byBox (may be NULL) tells which. In a
// menu moved off its pivot only list rows are hit by their boxes: a compass
// box now lies elsewhere than its direction from the pivot, and the pointer
// would cross it on its way to another item.
int mHitTest(const Menu* menu, int x, int y, uint8_t* byBox);
