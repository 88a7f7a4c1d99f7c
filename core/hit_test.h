// Which item lies under a point of a laid-out menu, or in a direction from
// its centre. Item numbers are position + 1, 0 for none.
#pragma once

#include "menu/marking_menu.h"

// A slot is drawn and can be hit when its label is not empty, or when every
// label of the menu is empty.
bool mSlotVisible(const Menu* menu, int position);
// The same for item number n (1-based); false outside 1 to itemCount.
bool mItemVisible(const Menu* menu, int n);

// Manhattan distance from the centre under 16 pixels.
bool mInCentreZone(const Menu* menu, int x, int y);
bool mOutsideCircle(const Menu* menu, int x, int y);
// The item of the direction (dx, dy) from the centre; in an eight-slot menu
// an empty slot's direction goes to the nearest labelled slot by
// half-sectors, ties counter-clockwise.
int mHitByDirection(const Menu* menu, float dx, float dy);
// As mHitByDirection, but 0 unless the item is visible and enabled.
int mItemInDirection(const Menu* menu, float dx, float dy);
// The item under (x, y): none in the centre zone, then boxes (lowest item
// number first), then the direction. byBox (may be NULL) tells which.
int mHitTest(const Menu* menu, int x, int y, uint8_t* byBox);
