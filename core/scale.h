// The scale of lengths fixed in pixels (thresholds, line widths, the centre
// disc): device pixels per logical pixel of the screen a selection is on.
#pragma once

// Sets the scale for a platform's device pixel ratio, as mInit does: 1 for
// a ratio that is not a sane one.
void mSetScale(double ratio);
double mScale();
// A length fixed in pixels, in device pixels at the current scale; exact
// at a scale of 1.
int mScaled(int pixels);
