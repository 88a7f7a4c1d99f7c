#include "tools/leg_reading_adapter.h"

#include <cmath>

#include "marks/interpretation.h"
#include "marks/leg_reading.h"

LegRecognizerReading mExplainLegReading(const Menu* root,
                                        const PointList* stroke) {
  LegRecognizerReading out;
  LegReading reading = mReadLegs(root, stroke);
  for (const MarkCorner& c : reading.corners)
    out.corners.push_back({c.at.x, c.at.y, c.turnDegrees});
  // Directions from 0 to 360, as the standard recognizer's are shown.
  for (const MarkLeg& l : reading.legs) {
    float d = std::fmod(l.directionDegrees, 360.0f);
    out.legs.push_back(
        {l.from.x, l.from.y, l.to.x, l.to.y, d < 0 ? d + 360.0f : d});
  }
  return out;
}

void mInterpretWithLegRecognizer(Menu* root, const PointList* stroke) {
  int before = mGetMarkRecognizer();
  mSetMarkRecognizer(MARK_RECOGNIZER_LEGS);
  mInterpretMark(root, stroke);
  mSetMarkRecognizer(before);
}
