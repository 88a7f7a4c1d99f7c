// What a mark shows: the ink trail while it is drawn, the idealised mark
// with the chosen item's box after it is recognised, and ancestors moved
// out from under a submenu opened along a paused mark.
#pragma once

#include "core/geometry.h"
#include "menu/marking_menu.h"

namespace tarvel::internal {
// The idealised mark of the last confirmation, as leg pairs.
extern PointList idealMark;
}  // namespace tarvel::internal
using tarvel::internal::idealMark;

// Saves the screen under the newest stroke segment and inks it.
void mInkNewest(Menu* root);
// Inks the segment from stroke position i to i + 1.
void mInkSegment(Menu* root, int i);
// Inks segments a to b again, clamped to the stroke; saves nothing.
void mInkRedraw(Menu* root, int a, int b);
void mInkErase(Menu* root);

void mDrawIdealMark(Menu* root);
// Appends the leg from Q of length L in the direction of m's selection.
// Both its points carry that direction (degrees clockwise from up) in `a`.
void mAddIdealSegment(PointList* list, const Point* q, const Menu* m, int L);
// Turns a leg whose item points straight back along the leg before it, a
// degree at a time, until its end is 6 pixels from that leg's start (at most
// half a turn), and moves the legs after it along.
void mSeparateReversal(PointList* list);
void mEraseIdealMark(Menu* root);
// The idealised mark of a path given by positions, one per level, from
// (x, y): a leg of a fixed length per compass item, and the last item's box
// at its end, saved like the confirmation's. The walk stops at a position
// that is no compass item of its menu.
void mDrawPathMark(Menu* root, const int* positions, int levels, int x, int y);

// Whether a box of the root's current menu covers an ancestor's centre.
bool mCentresCovered(const Menu* root);
// Moves such ancestors back along the mark until clear, placing them again.
void mClearAncestorCentres(Menu* root);
