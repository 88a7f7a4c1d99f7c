#include "bench/mark_generator.h"

#include <cmath>

namespace {

struct Vec {
  double x, y;
};

Vec along(Vec from, double degrees, double length) {
  double r = degrees * M_PI / 180;
  return {from.x + length * std::sin(r), from.y - length * std::cos(r)};
}

// Position along a polyline by arc length.
struct Path {
  std::vector<Vec> points;
  std::vector<double> arc;  // arc length at each point

  void add(Vec p) {
    double s = points.empty() ? 0
                              : arc.back() + std::hypot(p.x - points.back().x,
                                                        p.y - points.back().y);
    points.push_back(p);
    arc.push_back(s);
  }
  double length() const { return arc.back(); }
  Vec at(double s) const {
    size_t i = 1;
    while (i + 1 < points.size() && arc[i] < s) i++;
    double span = arc[i] - arc[i - 1];
    double f = span > 0 ? (s - arc[i - 1]) / span : 0;
    if (f < 0) f = 0;
    if (f > 1) f = 1;
    return {points[i - 1].x + (points[i].x - points[i - 1].x) * f,
            points[i - 1].y + (points[i].y - points[i - 1].y) * f};
  }
};

// Minimum-jerk progress: a reach that starts and ends at rest, its speed a
// bell over the movement.
double minimumJerk(double tau) {
  return tau * tau * tau * (10 - 15 * tau + 6 * tau * tau);
}

constexpr int cornerSteps = 16;

}  // namespace

double MarkRandom::uniform() { return double(engine_() >> 11) * 0x1.0p-53; }

double MarkRandom::normal() {
  double u1 = 1.0 - uniform(), u2 = uniform();
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * M_PI * u2);
}

std::vector<MarkSample> generateMark(const std::vector<double>& levelDirections,
                                     const MarkModel& model, MarkRandom& random,
                                     int pressX, int pressY) {
  // Successive levels in one direction are drawn as one straight leg: the
  // hand does not stop where nothing turns.
  struct Leg {
    double direction, length;
  };
  std::vector<Leg> legs;
  for (size_t i = 0; i < levelDirections.size(); i++) {
    double length = model.levelPixels *
                    (1 + model.levelSpread * (2 * random.uniform() - 1));
    if (i > 0 && levelDirections[i] == levelDirections[i - 1])
      legs.back().length += length;
    else
      legs.push_back({levelDirections[i], length});
  }
  for (Leg& leg : legs) leg.direction += model.directionSigma * random.normal();

  // Hooks: a flick before the first leg, turned off it by 60 to 150
  // degrees either way, and one as much off the last leg after it ends, each
  // drawn within the reach beside it, without a stop.
  auto hook = [&](double legDirection) -> std::pair<double, double> {
    if (model.hookChance <= 0 || !(random.uniform() < model.hookChance))
      return {0, 0};
    double length =
        model.hookPixelsLow +
        (model.hookPixelsHigh - model.hookPixelsLow) * random.uniform();
    double turn = model.hookTurnLow +
                  (model.hookTurnHigh - model.hookTurnLow) * random.uniform();
    if (random.uniform() < 0.5) turn = -turn;
    return {legDirection + turn, length};
  };
  auto [startHookDirection, startHook] = hook(legs.front().direction);
  auto [endHookDirection, endHook] = hook(legs.back().direction);

  Vec press{double(pressX), double(pressY)};
  std::vector<Vec> corners{along(press, startHookDirection, startHook)};
  for (const Leg& leg : legs)
    corners.push_back(along(corners.back(), leg.direction, leg.length));

  // Each corner is cut by a quadratic curve; one movement ends, and the next
  // begins, halfway round it.
  Path path;
  std::vector<double> bounds{0};
  if (startHook > 0) path.add(press);
  path.add(corners[0]);
  for (size_t k = 0; k < legs.size(); k++) {
    if (k + 1 == legs.size()) {
      path.add(corners[k + 1]);
      if (endHook > 0)
        path.add(along(corners[k + 1], endHookDirection, endHook));
      break;
    }
    double cut =
        model.cornerFraction > 0
            ? model.cornerFraction *
                  std::fmin(legs[k].length, legs[k + 1].length)
            : std::fmin(model.cornerPixels,
                        0.25 * std::fmin(legs[k].length, legs[k + 1].length));
    Vec v = corners[k + 1];
    Vec a = along(v, legs[k].direction + 180, cut);
    Vec b = along(v, legs[k + 1].direction, cut);
    path.add(a);
    for (int j = 1; j <= cornerSteps; j++) {
      double u = double(j) / cornerSteps, w = 1 - u;
      path.add({w * w * a.x + 2 * w * u * v.x + u * u * b.x,
                w * w * a.y + 2 * w * u * v.y + u * u * b.y});
      if (j == cornerSteps / 2) bounds.push_back(path.length());
    }
  }
  bounds.push_back(path.length());

  std::vector<double> starts{0};
  for (size_t k = 0; k + 1 < bounds.size(); k++)
    starts.push_back(starts.back() + model.legStartSeconds +
                     (bounds[k + 1] - bounds[k]) / model.pixelsPerSecond);
  double end = starts.back();

  std::vector<MarkSample> samples;
  auto sampleAt = [&](double t) {
    size_t k = 0;
    while (k + 2 < starts.size() && starts[k + 1] <= t) k++;
    double tau = (t - starts[k]) / (starts[k + 1] - starts[k]);
    if (tau > 1) tau = 1;
    Vec p = path.at(bounds[k] + (bounds[k + 1] - bounds[k]) * minimumJerk(tau));
    return MarkSample{int(std::lround(p.x)), int(std::lround(p.y)), t};
  };
  for (int i = 0;; i++) {
    double t = i / model.sampleHz;
    if (t >= end) break;
    MarkSample s = sampleAt(t);
    if (samples.empty() || s.x != samples.back().x || s.y != samples.back().y)
      samples.push_back(s);
  }
  samples.push_back(sampleAt(end));  // the release, whether it moved or not
  return samples;
}
