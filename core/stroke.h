// The stroke buffer: the pointer path of one mark in screen pixels, with
// times and a running length. Every Menu owns one; the root's is used.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "menu/marking_menu.h"

inline constexpr int STROKE_CAPACITY = 128;

struct tarvel::StrokeBuffer {
  IntPoint points[STROKE_CAPACITY];
  float times[STROKE_CAPACITY];  // seconds since the press
  int32_t count;
  int32_t length;  // sum of the truncated segment lengths, pixels
};

namespace tarvel::internal {
// Set when a mark offers more positions than the buffer holds; cleared at
// every press.
extern uint8_t strokeOverflow;
}  // namespace tarvel::internal
using tarvel::internal::strokeOverflow;

void mStrokeReset(Menu* menu);
// Records (x, y) at the root's nowTime - pressTime. A full buffer drops the
// position and sets strokeOverflow; the first drop since it was cleared
// reports "marking too long to store".
void mStrokeAdd(Menu* menu, int x, int y);
int mStrokeLength(const Menu* menu);
// Shorter than the 16 pixels a mark needs.
bool mStrokeTooShort(const Menu* menu);
void mStrokeToList(const StrokeBuffer* stroke, PointList* out);
