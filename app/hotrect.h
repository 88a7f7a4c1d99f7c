// A rectangle of the trainer's screens as (left, top, right, bottom), where
// a point is inside when left <= x < right and top <= y < bottom.
#pragma once

#include <QPoint>
#include <QRect>

struct HotRect {
  int left = 0, top = 0, right = 0, bottom = 0;

  constexpr bool contains(QPoint p) const {
    return left <= p.x() && p.x() < right && top <= p.y() && p.y() < bottom;
  }
  void move(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  QRect rect() const { return QRect(left, top, right - left, bottom - top); }
  friend constexpr bool operator==(const HotRect&, const HotRect&) = default;
};
