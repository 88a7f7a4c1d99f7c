// The trainer's sound cues, synthesised: notes are sums of partials under
// envelopes, noises are a fixed pseudo-random sequence through filters. Every
// build writes the same bytes.
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numbers>
#include <vector>

#include "resources/generator.h"

namespace gen {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;
// Peak level of every sound, a little under full scale so nothing clips.
constexpr double peakLevel = 0.89;
// Fade at the very end of every sound so it never stops on a click, seconds.
constexpr double endFadeSeconds = 0.012;

double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

struct Track {
  int rate;
  std::vector<double> samples;
  Track(int r, long count) : rate(r), samples(static_cast<size_t>(count)) {}
  double seconds() const { return double(samples.size()) / rate; }
  // Adds voice(t) for t from 0 to length seconds, starting at start seconds.
  void add(double start, double length,
           const std::function<double(double)>& voice) {
    long first = std::lround(start * rate);
    long count = std::lround(length * rate);
    for (long i = 0; i < count; ++i) {
      long at = first + i;
      if (at < 0) continue;
      if (at >= long(samples.size())) break;
      samples[size_t(at)] += voice(double(i) / rate);
    }
  }
};

struct Noise {
  uint32_t state;
  explicit Noise(uint32_t seed) : state(seed) {}
  double next() {  // -1 .. 1
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state & 0xffffff) / double(0x800000) - 1.0;
  }
};

// A biquad band-pass (constant peak gain) whose centre may move each sample.
struct BandPass {
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double run(double x, double hz, double q, int rate) {
    double w = twoPi * std::min(hz, rate * 0.45) / rate;
    double alpha = std::sin(w) / (2 * q);
    double a0 = 1 + alpha;
    double b0 = alpha / a0, b2 = -alpha / a0;
    double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
    double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

struct LowPass {
  double y = 0;
  double run(double x, double hz, int rate) {
    double k = 1 - std::exp(-twoPi * hz / rate);
    y += k * (x - y);
    return y;
  }
};

double attackDecay(double t, double attack, double decay) {
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

// Rises over attack, holds, falls over release at the end of length.
double gate(double t, double length, double attack, double release) {
  if (t < attack) return t / attack;
  if (t > length - release) return std::max(0.0, (length - t) / release);
  return 1.0;
}

// Partials up to the band limit only, so no tone folds back as a whistle.
double partials(double t, double hz, int rate,
                const std::function<double(int)>& weight, int count) {
  double sum = 0;
  for (int k = 1; k <= count; ++k) {
    if (hz * k >= rate * 0.45) break;
    sum += weight(k) * std::sin(twoPi * hz * k * t);
  }
  return sum;
}

// A brass note: the upper partials open up as it is blown, with a light
// vibrato once it settles.
std::function<double(double)> brass(double hz, double length, int rate,
                                    double level) {
  return [=](double t) {
    double brightness =
        std::min(1.0, t / 0.05) * (0.75 + 0.25 * std::exp(-t / 0.3));
    double vibrato =
        1 + 0.004 * std::min(1.0, t / 0.3) * std::sin(twoPi * 5.5 * t);
    double tone = partials(
        t, hz * vibrato, rate,
        [brightness](int k) { return std::pow(k, -(2.4 - 1.3 * brightness)); },
        10);
    return level * gate(t, length, 0.025, 0.07) * tone;
  };
}

// A struck bell: inharmonic partials, the high ones dying first.
std::function<double(double)> bell(double hz, double decay, double level) {
  static constexpr double ratios[] = {1.0, 2.0, 2.76, 4.07, 5.43};
  static constexpr double weights[] = {1.0, 0.5, 0.35, 0.18, 0.1};
  return [=](double t) {
    double sum = 0;
    for (int k = 0; k < 5; ++k)
      sum += weights[k] * std::sin(twoPi * hz * ratios[k] * t) *
             std::exp(-t * (1 + k * 1.2) / decay);
    return level * std::min(1.0, t / 0.002) * sum;
  };
}

// A mallet on a wooden bar: fundamental with a bright overtone at 4x.
std::function<double(double)> marimba(double hz, double decay, double level) {
  return [=](double t) {
    double tone = std::sin(twoPi * hz * t) +
                  0.35 * std::sin(twoPi * hz * 3.93 * t) * std::exp(-t / 0.03);
    return level * attackDecay(t, 0.003, decay) * tone;
  };
}

std::vector<double> opening(int rate, long count) {
  Track track(rate, count);
  // G4 C5 E5 G5, a turn on E5, then the held C major chord.
  const struct {
    double at, length;
    int midi;
  } line[] = {{0.00, 0.17, 67}, {0.18, 0.17, 72}, {0.36, 0.17, 76},
              {0.54, 0.30, 79}, {0.86, 0.14, 76}, {1.02, 1.62, 79}};
  for (const auto& n : line)
    track.add(n.at, n.length, brass(noteHz(n.midi), n.length, rate, 0.5));
  for (int midi : {60, 64, 67, 72})
    track.add(1.02, 1.62, brass(noteHz(midi), 1.62, rate, 0.22));
  Noise noise(7);
  LowPass body;
  // A timpani stroke under the chord and a cymbal swell over it.
  track.add(1.02, 1.4, [&](double t) {
    double drop = 1 + 0.3 * std::exp(-t / 0.05);
    return 0.6 * std::exp(-t / 0.35) * std::sin(twoPi * 65.4 * drop * t) +
           0.25 * std::exp(-t / 0.03) * body.run(noise.next(), 600, rate);
  });
  BandPass shimmer;
  track.add(1.02, 1.62, [&](double t) {
    return 0.35 * std::exp(-t / 0.6) *
           shimmer.run(noise.next(), 7500, 0.8, rate);
  });
  // The whole fanfare fades over its last half second.
  for (size_t i = 0; i < track.samples.size(); ++i) {
    double t = double(i) / rate;
    double left = track.seconds() - t;
    if (left < 0.5) track.samples[i] *= left / 0.5;
  }
  return track.samples;
}

std::vector<double> choice(int rate, long count) {
  Track track(rate, count);
  track.add(0.00, 1.65, bell(noteHz(84), 0.45, 0.6));   // C6
  track.add(0.11, 1.54, bell(noteHz(91), 0.45, 0.55));  // G6
  track.add(0.22, 1.43, bell(noteHz(96), 0.35, 0.3));   // C7
  return track.samples;
}

std::vector<double> whoosh(int rate, long count) {
  Track track(rate, count);
  Noise noise(11);
  BandPass band;
  LowPass body;
  double length = track.seconds();
  track.add(0, length, [&](double t) {
    double x = t / length;
    // The air rises to a peak a little before the middle and falls away.
    double swell = std::pow(std::sin(std::numbers::pi * std::pow(x, 0.8)), 2);
    double centre =
        300 + 2600 * std::pow(std::sin(std::numbers::pi * x * 0.95), 3);
    double n = noise.next();
    return swell * (1.6 * band.run(n, centre, 1.3, rate) +
                    0.35 * body.run(n, 400, rate));
  });
  return track.samples;
}

std::vector<double> click(int rate, long count) {
  Track track(rate, count);
  Noise noise(3);
  BandPass snap;
  track.add(0, 0.05, [&](double t) {
    return 0.9 * std::exp(-t / 0.0025) * std::sin(twoPi * 3200 * t) +
           0.5 * std::exp(-t / 0.007) * std::sin(twoPi * 950 * t) +
           0.8 * std::exp(-t / 0.0015) *
               snap.run(noise.next(), 5000, 1.0, rate);
  });
  return track.samples;
}

std::vector<double> back(int rate, long count) {
  Track track(rate, count);
  // Down G5, E5, C5: the way home.
  track.add(0.00, 0.4, marimba(noteHz(79), 0.12, 0.55));
  track.add(0.12, 0.4, marimba(noteHz(76), 0.12, 0.55));
  track.add(0.24, 0.76, marimba(noteHz(72), 0.22, 0.65));
  track.add(0.24, 0.76, marimba(noteHz(60), 0.25, 0.3));
  return track.samples;
}

std::vector<double> right(int rate, long count) {
  Track track(rate, count);
  auto ding = [rate](double hz, double level) {
    return [=](double t) {
      return level * attackDecay(t, 0.002, 0.07) *
             partials(
                 t, hz, rate,
                 [](int k) { return k == 1   ? 1.0
                                    : k == 2 ? 0.4
                                             : 0.15; }, 3);
    };
  };
  track.add(0.00, 0.25, ding(noteHz(88), 0.5));  // E6
  track.add(0.07, 0.18, ding(noteHz(93), 0.6));  // A6
  return track.samples;
}

std::vector<double> wrong(int rate, long count) {
  Track track(rate, count);
  LowPass tone;
  double length = track.seconds();
  auto oddOnly = [](int k) { return k % 2 == 1 ? 1.0 / k : 0.0; };
  track.add(0, length, [&](double t) {
    // Two square waves a little apart beat against each other and sag.
    double sag = 1 - 0.04 * t / length;
    double raw = partials(t, 98 * sag, rate, oddOnly, 41) +
                 partials(t, 103.8 * sag, rate, oddOnly, 41);
    return gate(t, length, 0.01, 0.09) * tone.run(raw, 1400, rate);
  });
  return track.samples;
}

std::vector<double> drumroll(int rate, long count) {
  Track track(rate, count);
  Noise noise(5);
  double length = track.seconds();
  // Strokes come faster and louder towards the end.
  double at = 0;
  int stroke = 0;
  while (at < length) {
    double x = at / length;
    double level = (0.35 + 0.65 * x * x) * (stroke % 2 == 0 ? 1.0 : 0.82);
    BandPass snare;
    track.add(at, 0.12, [&, level](double t) {
      return level * (0.9 * std::exp(-t / 0.028) *
                          snare.run(noise.next(), 2200, 0.7, rate) * 2.2 +
                      0.4 * std::exp(-t / 0.015) * std::sin(twoPi * 185 * t));
    });
    at += 1.0 / (13 + 10 * x);
    ++stroke;
  }
  return track.samples;
}

std::vector<double> report(int rate, long count) {
  Track track(rate, count);
  // "Ta": a short G major chord; "da": the bright C major chord.
  for (int midi : {67, 71, 74})
    track.add(0.00, 0.085, brass(noteHz(midi), 0.085, rate, 0.3));
  for (int midi : {72, 76, 79, 84})
    track.add(0.11, 0.23, brass(noteHz(midi), 0.23, rate, 0.27));
  Noise noise(9);
  BandPass crash;
  track.add(0.11, 0.23, [&](double t) {
    return 0.5 * std::exp(-t / 0.12) * crash.run(noise.next(), 8000, 0.7, rate);
  });
  return track.samples;
}

std::vector<double> ricochet(int rate, long count) {
  Track track(rate, count);
  Noise noise(13);
  BandPass crack;
  track.add(0, 0.03, [&](double t) {
    return 1.2 * std::exp(-t / 0.006) *
           crack.run(noise.next(), 2500, 0.8, rate);
  });
  // The ping whines down in pitch as the bullet flies off, with a warble
  // from its tumbling, and comes back once off a far wall.
  auto ping = [rate](double level) {
    double phase = 0;
    return [=](double t) mutable {
      double hz = 2600 * std::exp(-t / 0.55) + 650;
      hz *= 1 + 0.025 * std::sin(twoPi * 28 * t);
      phase += twoPi * hz / rate;
      return level * attackDecay(t, 0.008, 0.4) * std::sin(phase);
    };
  };
  track.add(0.01, 1.49, ping(0.8));
  track.add(0.32, 1.18, ping(0.16));
  return track.samples;
}

std::vector<double> type(int rate, long count) {
  Track track(rate, count);
  Noise noise(17);
  BandPass strike;
  auto key = [&](double level) {
    return [&, level](double t) {
      return level * (1.1 * std::exp(-t / 0.003) *
                          strike.run(noise.next(), 4200, 0.9, rate) +
                      0.35 * std::exp(-t / 0.012) * std::sin(twoPi * 2350 * t) +
                      0.5 * std::exp(-t / 0.025) * std::sin(twoPi * 140 * t));
    };
  };
  // The type bar strikes, then the key springs back.
  track.add(0.000, 0.16, key(1.0));
  track.add(0.055, 0.12, key(0.35));
  return track.samples;
}

using Synth = std::vector<double> (*)(int rate, long count);

struct Recipe {
  const char* name;
  Synth synth;
  double peak;  // steady sounds peak lower to sound as loud as struck ones
};

constexpr Recipe recipes[] = {
    {"IDW_OPENING", opening, peakLevel}, {"IDW_CHOICE", choice, peakLevel},
    {"IDW_WHOOSH", whoosh, peakLevel},   {"IDW_CLICK", click, peakLevel},
    {"IDW_BACK", back, peakLevel},       {"IDW_RIGHT", right, peakLevel},
    {"IDW_WRONG", wrong, 0.5},           {"IDW_DRUMROLL", drumroll, peakLevel},
    {"IDW_REPORT", report, peakLevel},   {"IDW_RICOCHET", ricochet, peakLevel},
    {"IDW_TYPE", type, peakLevel},
};

void finish(std::vector<double>& samples, int rate, double level) {
  double peak = 0;
  for (double s : samples) peak = std::max(peak, std::abs(s));
  double gain = peak > 0 ? level / peak : 0;
  long fade = std::lround(endFadeSeconds * rate);
  long n = long(samples.size());
  for (long i = 0; i < n; ++i) {
    double f = i >= n - fade ? double(n - 1 - i) / fade : 1.0;
    samples[size_t(i)] *= gain * f;
  }
}

void put16(QByteArray& out, uint16_t v) {
  char b[2];
  qToLittleEndian(v, b);
  out.append(b, 2);
}

void put32(QByteArray& out, uint32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}

QByteArray encode(const std::vector<double>& samples, int rate, int bits) {
  uint32_t bytesPerSample = uint32_t(bits / 8);
  uint32_t dataSize = uint32_t(samples.size()) * bytesPerSample;
  uint32_t pad = dataSize % 2;  // chunks start on even offsets
  QByteArray out;
  out.append("RIFF", 4);
  put32(out, 4 + (8 + 16) + (8 + dataSize + pad));
  out.append("WAVE", 4);
  out.append("fmt ", 4);
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, uint32_t(rate));
  put32(out, uint32_t(rate) * bytesPerSample);
  put16(out, uint16_t(bytesPerSample));
  put16(out, uint16_t(bits));
  out.append("data", 4);
  put32(out, dataSize);
  for (double s : samples) {
    double v = std::clamp(s, -1.0, 1.0);
    if (bits == 8) {
      out.append(char(uint8_t(std::lround(128 + v * 127))));
    } else {
      put16(out, uint16_t(int16_t(std::lround(v * 32767))));
    }
  }
  if (pad) out.append('\0');
  return out;
}

}  // namespace

QByteArray makeWave(const resources::SoundEntry& entry) {
  long count = std::lround(entry.seconds * entry.rate);
  for (const Recipe& recipe : recipes) {
    if (std::strcmp(recipe.name, entry.name) != 0) continue;
    std::vector<double> samples = recipe.synth(entry.rate, count);
    finish(samples, entry.rate, recipe.peak);
    return encode(samples, entry.rate, entry.bits);
  }
  return QByteArray();
}

}  // namespace gen
