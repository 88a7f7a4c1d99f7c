// Stroke segmentation: cutting a recorded mark at its corners into one
// straight segment per menu level, and telling a scribble from a mark.
//
// A segment list is read in pairs: slots 0 and 1 are the start and end of
// the first segment, slots 2 and 3 of the second, and so on. A corner placed
// in a list carries its turning angle in degrees in field a.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "menu/marking_menu.h"

// Fills `out` and sets *scribble. A stroke with more pauses than the tree has
// levels, one inside a 16-pixel box, or one with more segments than levels
// is a scribble; after the first two tests `out` holds the pause points
// (those after a pause, then the last point) rather than segment pairs.
// `recognizer` (MARK_RECOGNIZER_STANDARD or MARK_RECOGNIZER_LEGS) chooses
// how the segments are found; the tests around them are the same.
void mIsScribble(const Menu* root, const PointList* stroke, PointList* out,
                 uint8_t* scribble,
                 int recognizer = tarvel::MARK_RECOGNIZER_STANDARD);

// Replaces `out` by the segment pairs of the stroke. Legs no longer than half
// the expected segment length and no longer than 100 pixels are dropped.
void mSegmentMark(const Menu* root, const PointList* stroke, PointList* out);

// True when a leg `length` pixels long stands for a level of a mark whose
// legs would be `expected` long if it used every level: longer than half of
// that, or longer than 100 pixels. Shorter ones are dropped.
bool mLegCounts(double length, double expected);

// The least turn that makes a corner: half a sector of the tree's widest
// radial part (a reversal alone counts when it has no radial items).
float mCornerAngle(const Menu* root);

// Clears `out` and appends the corners of the stroke in order: points where
// it turns by at least half a sector (divided by `tolerance`), searched over
// windows a tenth of `segmentLength` long.
void mFindArticulationPoints(const Menu* root, const PointList* stroke,
                             float segmentLength, float tolerance,
                             PointList* out);

// The first index e' >= e at which the polyline from slot s to slot e'
// reaches `length`, summed in single precision; -1 when e is past the end or
// the list ends first.
int mArcReach(int s, int e, float length, const PointList* list);

// Clears `out`, appends each point that follows a gap of more than 0.5 s
// between points at least 5 pixels apart, then the stroke's last point.
void mFindPauses(const PointList* stroke, PointList* out);

// Clears `out`, appends the first point and then every point farther than
// `distance` from the last one appended.
void mResample(const PointList* list, float distance, PointList* out);
