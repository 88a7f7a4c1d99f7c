#include "core/scale.h"

#include <cmath>

namespace {
double scale = 1;
}

void mSetScale(double ratio) {
  // Up to 8: beyond that no screen exists, and lengths must stay small.
  scale = ratio >= 0.5 && ratio <= 8 ? ratio : 1;
}

double mScale() { return scale; }

int mScaled(int pixels) { return int(std::lround(pixels * scale)); }
