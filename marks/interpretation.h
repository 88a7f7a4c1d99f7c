// Mark interpretation: what a finished mark selected. The result is left in
// the `selected` fields along the chosen path, read afterwards with
// mGetResult.
#pragma once

#include "core/geometry.h"
#include "menu/marking_menu.h"

// Average speed above which a mark is taken for a flick, pixels per second.
inline constexpr int MARKSPEEDLIMIT = 15000;

// Decides the selection of a mark made with no menu shown. Marks that are
// too short (under 16 pixels), too fast, too long to record or scribbled
// leave the root's `selected` 0, as does a mark whose every leg was dropped.
// A one-level tree looks only at the chord from the first point to the last.
// Reads the root's stroke length, pressTime, releaseTime and strokeOverflow.
// `recognizer` chooses how the stroke is cut into legs (mIsScribble); with
// fewer legs than levels the leg recognizer first tries its even cuts
// (mSplitLegsEvenly), then the repair below.
void mInterpretMark(Menu* root, const PointList* stroke,
                    int recognizer = tarvel::MARK_RECOGNIZER_STANDARD);

// The item in the direction from a to b, by the hit rule of the menu's
// sectors (an empty slot goes to the nearest labelled one); 0 unless visible
// and enabled, and 0 for a zero vector.
int mItemByDirection(const Menu* menu, const Point* a, const Point* b);

// Sets `selected` level by level, one segment pair per level, clearing the
// level below each chosen item with a submenu. Stops at a level that gets no
// item or at a leaf; an empty list changes nothing.
void mApplySegments(Menu* root, const PointList* segments);

// When fewer segments were found than the tree has levels (trees of depth 4
// at most), tries splitting found segments into equal parts and keeps the
// first candidate that reaches a leaf, preferring plausible length and shape.
// Leaves the list as it was when no candidate reaches a leaf.
void mReshapeMark(Menu* root, PointList* segments);

// True when each segment selects an item and the last one ends the path
// below a leaf. Writes `selected` along the way.
bool mPathReachesLeaf(Menu* root, const PointList* candidate);

// True when segments x root radius is between half and one and a half times
// the candidate's polyline length (both bounds excluded).
bool mLengthPlausible(const Menu* root, const PointList* candidate);

// True when the candidate's segment lengths have the proportions its shape
// implies: a leg standing for two levels in one direction is more than 1.5
// times a single leg, single legs are of similar length. `n` is the number
// of segments found, `altType` the candidate number + 1; an altType outside
// the shapes for that n is reported and fails.
bool ProperShape(const Menu* root, const PointList* candidate, int n,
                 int altType);
