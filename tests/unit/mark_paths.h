// Strokes for the recognition tests: polylines walked at an even speed, and
// a mark recorded into a root the way a press, motions and a release do.
#pragma once

#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/geometry.h"
#include "core/stroke.h"
#include "marks/interpretation.h"

struct XY {
  float x, y;
};

// Samples the polyline through `corners` every `step` pixels or less, every
// corner included, timed at `speed` pixels per second.
inline std::vector<Point> walk(std::initializer_list<XY> corners,
                               float step = 5, float speed = 500) {
  std::vector<Point> out;
  float t = 0;
  const XY* previous = nullptr;
  for (const XY& c : corners) {
    if (!previous) {
      out.push_back({c.x, c.y, 0, 0});
    } else {
      float dx = c.x - previous->x, dy = c.y - previous->y;
      float length = std::hypot(dx, dy);
      int n = int(std::ceil(length / step));
      for (int i = 1; i <= n; i++) {
        float f = float(i) / float(n);
        out.push_back({previous->x + dx * f, previous->y + dy * f,
                       t + length * f / speed, 0});
      }
      t += length / speed;
    }
    previous = &c;
  }
  return out;
}

// Points with no time.
inline PointList listOf(std::initializer_list<XY> points) {
  PointList list;
  mListClear(&list);
  for (const XY& p : points) {
    Point q{p.x, p.y, 0, 0};
    mListAppend(&list, &q);
  }
  return list;
}

inline PointList listOf(const std::vector<Point>& points) {
  PointList list;
  mListClear(&list);
  for (const Point& p : points) mListAppend(&list, &p);
  return list;
}

// Press at the first point, a motion per point, release at the last: the
// stroke buffer holds whole pixels, and interpretation decides with
// `recognizer`.
inline void drawMark(Menu* root, const std::vector<Point>& points,
                     int recognizer = MARK_RECOGNIZER_STANDARD) {
  root->pressTime = root->nowTime = 0;
  mStrokeReset(root);
  strokeOverflow = 0;
  for (const Point& p : points) {
    root->nowTime = p.t;
    mStrokeAdd(root, int(std::lround(p.x)), int(std::lround(p.y)));
  }
  root->releaseTime = root->nowTime;
  mStrokeAdd(root, int(std::lround(points.back().x)),
             int(std::lround(points.back().y)));
  PointList stroke;
  mStrokeToList(root->stroke, &stroke);
  mInterpretMark(root, &stroke, recognizer);
}
