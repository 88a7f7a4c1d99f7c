// The leg recognizer (MARK_RECOGNIZER_LEGS): a mark read at the scale of its
// legs. Corners are the strongest turns measured over arms a fraction of the
// expected leg long, and each leg's direction is read from its middle part,
// where corner rounding and the hooks at a stroke's ends do not reach.
//
// Everything around the reading (rejections, repair of fewer legs than
// levels, marks continued in the menus, feedback, traces) is the standard
// recognizer's: this reading only replaces how a stroke becomes segment
// pairs.
#pragma once

#include <vector>

#include "core/geometry.h"
#include "menu/marking_menu.h"

namespace tarvel::internal {

// A corner of the stroke and how far it turns there, degrees (0 straight on,
// 180 a reversal), measured over the arms the corners are found with.
struct MarkCorner {
  Point at;
  float turnDegrees;
};

// One leg between corners (or a stroke end). Direction read from the leg's
// middle part, 0 = East, counter-clockwise on screen (y up).
struct MarkLeg {
  Point from, to;
  float directionDegrees;
};

// The corners found, in stroke order, and the legs that count: those
// between consecutive corners (the stroke's ends included) that are not too
// short to be a level (hooks, the arc of a rounded corner).
struct LegReading {
  std::vector<MarkCorner> corners;
  std::vector<MarkLeg> legs;
};

}  // namespace tarvel::internal

using tarvel::internal::LegReading;
using tarvel::internal::MarkCorner;
using tarvel::internal::MarkLeg;

// Reads the stroke's corners and legs for the tree under `root`. An empty
// reading for a null argument, fewer than two points, a stroke of no length
// or one with coordinates that are not finite.
LegReading mReadLegs(const Menu* root, const PointList* stroke);

// Replaces `out` by the segment pairs of the legs read: each pair starts at
// its leg's start and runs the leg's length in the direction read from its
// middle part, so that the item chosen by a pair's direction is the one the
// leg's middle points at.
void mSegmentLegs(const Menu* root, const PointList* stroke, PointList* out);

// The leg recognizer's repair of a mark with fewer legs than the tree has
// levels (depth 8 at most): cuts the legs into equal parts, trying the ways
// that make the levels most even first (the deepest first), and keeps the
// first that ends on a leaf. False, the list as it was, when none does.
bool mSplitLegsEvenly(Menu* root, PointList* segments);
