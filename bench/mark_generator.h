// Synthetic marks for measuring recognition: the pointer path a practised
// hand draws through a menu tree, sampled the way the trainer samples it.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

// How the hand is modelled. Directions are degrees clockwise from straight
// up, lengths pixels, times seconds.
struct MarkModel {
  double directionSigma = 0;  // normal noise on each leg's direction
  double levelPixels = 80;    // mean length drawn for one level
  double levelSpread = 0.25;  // each level's length varies by up to +-25 %
  double cornerPixels = 4;    // corners are cut by up to this much
  double cornerFraction = 0;  // when above 0: cut by this share of each
                              // leg instead
  double hookChance = 0;      // of a hook at the start; as much at the end
  double hookPixelsLow = 4, hookPixelsHigh = 12;  // a hook's length
  double hookTurnLow = 60, hookTurnHigh = 150;    // its turn off the leg
  double legStartSeconds = 0.1;                   // a leg lasts this much ...
  double pixelsPerSecond = 1000;  // ... plus its length at this rate
  double sampleHz = 100;
};

// Deterministic on every platform: the engine is specified exactly and the
// conversions to real numbers are done here.
class MarkRandom {
 public:
  explicit MarkRandom(uint64_t seed) : engine_(seed) {}
  double uniform();  // [0, 1)
  double normal();   // mean 0, deviation 1
 private:
  std::mt19937_64 engine_;
};

struct MarkSample {
  int x, y;  // screen pixels
  double t;  // seconds since the press
};

// The samples of one mark, the press first and the release position last.
// Consecutive samples at the same pixel are merged, as pointer motion
// reports only changes.
std::vector<MarkSample> generateMark(const std::vector<double>& levelDirections,
                                     const MarkModel& model, MarkRandom& random,
                                     int pressX, int pressY);
