// The one random generator of studies. Its own rather than the standard
// library's distributions and shuffle, whose results differ between
// standard libraries: a study file must give the same menus and plans on
// every machine.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// splitmix64: a 64-bit state stepped by a constant and mixed.
class StudyRandom {
 public:
  explicit StudyRandom(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in 0..n-1 (n > 0): draws that would favour the low values are
  // drawn again.
  uint64_t below(uint64_t n) {
    uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    uint64_t x;
    do x = next();
    while (x >= limit);
    return x % n;
  }

  // Fisher–Yates.
  template <typename T>
  void shuffle(std::vector<T>* v) {
    for (size_t i = v->size(); i > 1; i--) {
      size_t j = size_t(below(i));
      std::swap((*v)[i - 1], (*v)[j]);
    }
  }

 private:
  uint64_t state_;
};

// One seed from several numbers, each mixed in so that neighbouring values
// give unrelated streams.
inline uint64_t mMixSeed(uint64_t seed, uint64_t value) {
  StudyRandom r(seed ^ (value * 0xD1B54A32D192ED03ull));
  return r.next();
}

// FNV-1a over a text, to mix names into seeds.
inline uint64_t mTextHash(const std::string& text) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 0x100000001B3ull;
  }
  return h;
}
