// One item of a placed menu, compass box or list row alike: measuring it,
// placing its label and arrow in its box, and drawing it plain or
// highlighted.
#pragma once

#include <initializer_list>

#include "core/geometry.h"
#include "menu/marking_menu.h"

// The box height of a slot in the font selected now; an empty compass slot
// has no text line.
int mItemHeight(const Menu* menu, int position);
int mItemContentWidth(const Menu* menu, int position);
// Mirror-image compass boxes share a width; all list rows share one width.
int mItemWidthBase(const Menu* menu, int position);
void mMoveItem(Menu* menu, int position, int dx, int dy);
// Sets the label's baseline start and the submenu arrow's centre of a slot
// from its box.
void mPlaceLabelAndArrow(Menu* menu, int position);

// A shape given in pixels, at the current scale.
PointList mScaledPoints(std::initializer_list<Point> points);

void mDrawItem(Menu* menu, int n, bool highlighted);
void mDrawArrow(const Menu* menu, int position, int x, int y);
// Highlight tracking: only a visible, enabled item lights up.
void mHighlightItem(Menu* menu, int n);
void mUnhighlightItem(Menu* menu, int n);
void mRedrawItems(Menu* menu);
