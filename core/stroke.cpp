#include "core/stroke.h"

#include "core/scale.h"
#include "platform/report.h"

uint8_t tarvel::internal::strokeOverflow = 0;

void mStrokeReset(Menu* menu) {
  if (!menu || !menu->stroke) return;
  menu->stroke->count = 0;
  menu->stroke->length = 0;
}

void mStrokeAdd(Menu* menu, int x, int y) {
  if (!menu || !menu->stroke) return;
  StrokeBuffer* s = menu->stroke;
  if (s->count >= STROKE_CAPACITY) {
    // Said once a selection: a long scribble drops every position after.
    if (!strokeOverflow) mReportError("marking too long to store");
    strokeOverflow = 1;
    return;
  }
  s->points[s->count] = IntPoint{x, y};
  s->times[s->count] = float(menu->nowTime - menu->pressTime);
  if (s->count > 0) {
    const IntPoint& previous = s->points[s->count - 1];
    s->length += mIntDistance(x, y, previous.x, previous.y);
  }
  s->count++;
}

int mStrokeLength(const Menu* menu) {
  return menu && menu->stroke ? menu->stroke->length : 0;
}

// 16 pixels at the screen's pixel ratio: a mark is as short on any screen.
bool mStrokeTooShort(const Menu* menu) {
  return mStrokeLength(menu) < mScaled(16);
}

void mStrokeToList(const StrokeBuffer* stroke, PointList* out) {
  mListClear(out);
  if (!stroke) return;
  for (int i = 0; i < stroke->count && i < STROKE_CAPACITY; i++) {
    Point p{float(stroke->points[i].x), float(stroke->points[i].y),
            stroke->times[i], 0.0f};
    mListAppend(out, &p);
  }
}
