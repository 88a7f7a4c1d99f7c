// What the recognizers make of one stroke, step by step: the stroke as the
// library keeps it, the corners of the standard segmentation and the
// windows it searches, the legs read, the menu sectors the legs fall in,
// and the item path of each recognizer. Coordinates are the library's
// screen pixels: the input's frame moved so that the press lies at the
// simulated screen's centre.
#pragma once

#include <string>
#include <vector>

#include "tools/leg_reading_adapter.h"
#include "tools/mark_input.h"

// The trees explain_mark knows: "practice", "8x2", "4x3", "8x3".
bool mKnownMarkTree(const std::string& name);

// A menu's sectors around a point, as the item-by-direction rule reads
// them. Degrees: 0 = East, counter-clockwise, y up.
struct SectorFan {
  float x = 0, y = 0;
  std::vector<float> boundaries;
  struct Label {
    float degrees;
    std::string text;
  };
  std::vector<Label> labels;
  float legDegrees = 0;  // the direction of the leg read from here
};

struct PathReading {
  std::string text;  // "Food > Banana (0/4)", or "nothing (too fast)"
};

struct MarkExplanation {
  std::string tree;
  float offsetX = 0, offsetY = 0;      // screen = input + offset
  std::vector<MarkSamplePoint> drawn;  // every sample, in screen pixels
  int kept = 0;                        // samples the library keeps (<= 128)
  bool overflow = false;               // more samples than it keeps
  float lengthPx = 0, durationMs = 0;
  // The standard segmentation: the leg expected if the mark used every
  // level, the corner search window (a tenth of it), the least turn that
  // makes a corner.
  float expectedLeg = 0, window = 0, cornerTurn = 0;
  std::vector<ExplainedCorner> corners;
  std::vector<ExplainedLeg> legs;  // as read, after splitting straight legs
  PathReading standard;
  LegRecognizerReading legReading;
  PathReading legPath;
  std::vector<SectorFan> fans;  // the root's at the press, then one per leg
};

// Runs both recognizers on the stroke under tree `tree`. False with `error`
// for an unknown tree or an input without points.
bool mExplainMark(const MarkInput& input, const std::string& tree,
                  MarkExplanation* out, std::string* error);

// The text lines explain_mark prints, coordinates in the input's frame:
// "corner x y turn=47.3", "leg 1: ... direction=90.0", "standard: Food >
// Apple (0/0)", "legs: ...".
std::vector<std::string> mExplanationLines(const MarkExplanation& e);
