// The leg recognizer as explain_mark sees it: its corners, its legs, and the
// path it reads.
#pragma once

#include <string>
#include <vector>

#include "core/geometry.h"
#include "menu/marking_menu.h"

struct ExplainedCorner {
  float x, y;         // screen pixels
  float turnDegrees;  // 0 straight on, 180 a reversal
};

struct ExplainedLeg {
  float fromX, fromY, toX, toY;  // screen pixels
  float directionDegrees;        // 0 = East, counter-clockwise, y up
};

struct LegRecognizerReading {
  std::vector<ExplainedCorner> corners;
  std::vector<ExplainedLeg> legs;
};

// The leg recognizer's corners and legs of `stroke` under `root`.
LegRecognizerReading mExplainLegReading(const Menu* root,
                                        const PointList* stroke);

// Runs mInterpretMark with the leg recognizer chosen, then puts back the
// recognizer that was in force.
void mInterpretWithLegRecognizer(Menu* root, const PointList* stroke);
