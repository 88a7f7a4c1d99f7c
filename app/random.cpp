#include "app/random.h"

#include <cstdint>

namespace {
// The classic portable generator; its sequence is fixed for every run.
uint32_t state = 1;
constexpr float scale = 3.0518509e-5f;  // 32769 / 2^30, just under 1/32767
}  // namespace

int trainerRand() {
  state = state * 1103515245u + 12345u;
  return int((state / 65536u) % 32768u);
}

int scaleDraw(int r, double k) { return int(r * double(scale) * k); }

int scaledRandom(double k) { return scaleDraw(trainerRand(), k); }
