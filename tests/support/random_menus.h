// Menu trees and gestures drawn from a stream of choices: a seeded
// generator in the soak, the fuzzer's input bytes in the fuzz harness. The
// same stream always gives the same tree and the same gesture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "menu/marking_menu.h"
#include "player/sim_gesture.h"

class Choices {
 public:
  virtual ~Choices() = default;
  // 0 .. bound - 1, and 0 for a bound of 0.
  uint32_t below(uint32_t bound);
  int between(int lo, int hi);  // lo .. hi, both included
  bool chance(int percent) { return int(below(100)) < percent; }
  int32_t anyInt() { return int32_t(take(4)); }

 protected:
  // The next `bytes` bytes' worth of choice (1 to 4).
  virtual uint32_t take(int bytes) = 0;
};

class SeededChoices : public Choices {
 public:
  explicit SeededChoices(uint32_t seed) : generator_(seed) {}

 protected:
  uint32_t take(int bytes) override;

 private:
  std::mt19937 generator_;
};

// Reads the bytes in order, little end first; once they are used up every
// choice is 0.
class ByteChoices : public Choices {
 public:
  ByteChoices(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool exhausted() const { return used_ >= size_; }

 protected:
  uint32_t take(int bytes) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

// A label: words, sometimes a long path or text that must be shortened;
// when wild, sometimes any bytes of any length.
std::string randomLabel(Choices& c, bool wild);

struct TreeShape {
  int maxDepth;  // levels below the root
  int maxMenus;  // records in the whole tree
  // Labels of any bytes (invalid UTF-8, control characters, far over the
  // capacity), flags other than 0 and 1, positions out of range, a slot's
  // submenu made twice.
  bool wild;
};

// Builds a tree through mCreateMenu, mNewSubmenu and mAddItem. Every record
// made is appended to `made`, every call counted in `calls`. NULL when
// memory runs out.
Menu* buildRandomTree(Choices& c, const TreeShape& shape,
                      std::vector<Menu*>* made, uint64_t* calls);

struct GestureShape {
  Rect screen;  // press points lie in it
  int depth;    // levels of the tree the gesture is meant for
  // Points anywhere within +-2^30, strokes of thousands of samples.
  bool wild;
};

// A press, then a mark, a paused mark, a wait for the menu and moves
// through it, or a plain click; released, sometimes by Escape.
player::Gesture randomGesture(Choices& c, const GestureShape& shape);
