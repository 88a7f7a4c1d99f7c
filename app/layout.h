// Where the parts of the screens lie in the view: those a click can hit,
// and the places the others are drawn at. Pictures and the panel slide or
// grow into place, so the screens keep the current rectangles in a Layout.
#pragma once

#include <QPoint>
#include <QRect>

#include "app/hotrect.h"

struct Layout {
  HotRect trainingPicture, labPicture, backButton, logo, areaPicture, panel,
      lampBox;
  // The logo on the results picture, which leads back to the title.
  static constexpr HotRect resultsLogo{48, 130, 109, 191};
};

namespace layout {

// A picture of the left column just above the view, before it slides down.
inline constexpr HotRect aboveView{50, -144, 169, -10};
// The same just below the view, before it slides up.
constexpr HotRect belowView(int viewHeight) {
  return {50, viewHeight + 10, 169, viewHeight + 144};
}
constexpr HotRect backButton(int viewWidth) {
  return {viewWidth - 60, 0, viewWidth, 60};
}
constexpr HotRect logo(int viewWidth, int viewHeight) {
  int cx = viewWidth / 2, cy = viewHeight / 2;
  return {cx - 99, cy - 95, cx + 99, cy + 95};
}
// The panel beside an area's picture, at its narrowest; it grows to the right.
constexpr HotRect panelStart(const HotRect& areaPicture) {
  const HotRect& c = areaPicture;
  return {c.right + 15, c.top + 20, c.right + 50, c.top + 220};
}
// The box of the hit and misfire lamps, under an area's picture.
constexpr HotRect lampBox(const HotRect& areaPicture) {
  const HotRect& c = areaPicture;
  return {c.left, c.bottom + 10, c.left + 43, c.bottom + 83};
}
constexpr QPoint hitLamp(const HotRect& lampBox) {
  return {lampBox.left + 8, lampBox.top + 5};
}
constexpr QPoint misfireLamp(const HotRect& lampBox) {
  return {lampBox.left + 8, lampBox.top + 35};
}
// The target's picture, under the panel.
constexpr QPoint target(const HotRect& panel) {
  return {panel.left + 100, panel.bottom + 10};
}
// The words of a target without a picture, under the line that asks for
// it, as wide as the panel.
constexpr QRect targetWords(const HotRect& panel) {
  return {panel.left, panel.bottom + 45, panel.right - panel.left, 50};
}
// The laboratory clock, in the panel.
inline constexpr QPoint clock{460, 250};
// The needle of the results picture.
inline constexpr QRect needle{242, 230, 134, 49};

}  // namespace layout
