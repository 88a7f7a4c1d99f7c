#include "random_menus.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

uint32_t Choices::below(uint32_t bound) {
  if (bound <= 1) return 0;
  uint32_t top = bound - 1;
  int bytes = top <= 0xFF ? 1 : top <= 0xFFFF ? 2 : top <= 0xFFFFFF ? 3 : 4;
  return take(bytes) % bound;
}

int Choices::between(int lo, int hi) {
  if (hi <= lo) return lo;
  return int(int64_t(lo) + below(uint32_t(int64_t(hi) - lo + 1)));
}

uint32_t SeededChoices::take(int bytes) {
  uint32_t v = generator_();
  return bytes >= 4 ? v : v & ((1u << (8 * bytes)) - 1);
}

uint32_t ByteChoices::take(int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes && used_ < size_; i++)
    v |= uint32_t(data_[used_++]) << (8 * i);
  return v;
}

namespace {

const char* const words[] = {
    "Food", "Tools", "Animals", "Vehicles", "Apple", "Banana",   "Saw",
    "Duck", "Pig",   "Open",    "Save as",  "Größe", "Café",     "Ärger",
    "Quit", "Undo",  "Paste",   "W",        "Mm",    "Ångström", "Zoom",
    "Fit",  "Line",  "Fill",    "…more",    "∑ sum", "日本",
};
constexpr int wordCount = int(sizeof words / sizeof words[0]);

// Longer than a label holds, so the library shortens it.
std::string longLabel(Choices& c) {
  const char* heads[] = {"C:\\", "/usr/", "//server/", ""};
  const char separators[] = {'\\', '/', '/', ' '};
  uint32_t kind = c.below(4);
  std::string text = heads[kind];
  size_t length = 50 + c.below(30);
  while (text.size() < length) {
    text += words[c.below(wordCount)];
    text += separators[kind];
  }
  return text;
}

struct Builder {
  Choices& c;
  const TreeShape& shape;
  std::vector<Menu*>* made;
  uint64_t* calls;
  int menus = 1;
  uintptr_t nextValue = 1;

  uint8_t flag(int percent) {
    if (shape.wild && c.chance(5)) return uint8_t(c.below(256));
    return c.chance(percent) ? 1 : 0;
  }

  int position(int wanted) {
    if (!shape.wild || !c.chance(5)) return wanted;
    const int odd[] = {-1,   MENU_SLOTS, MENU_SLOTS + 1,
                       1000, INT32_MIN,  INT32_MAX};
    return odd[c.below(6)];
  }

  void addItem(Menu* m, int p) {
    std::string label = randomLabel(c, shape.wild);
    uintptr_t value = shape.wild ? uintptr_t(c.anyInt()) : nextValue++;
    uint8_t toggle = c.chance(10) ? 1 : flag(0);
    uint8_t toggleOn = flag(50);
    uint8_t choice = c.chance(10) ? 1 : flag(0);
    uint8_t choiceOn = flag(50);
    uint8_t enabled = flag(85), italic = flag(10), regular = flag(30);
    Menu* target = shape.wild && c.chance(2) ? nullptr : m;
    const char* text = shape.wild && c.chance(2) ? nullptr : label.c_str();
    int at = position(p);
    mAddItem(target, text, at, value, toggle, toggleOn, choice, choiceOn,
             enabled, italic, regular);
    (*calls)++;
  }

  Menu* submenu(Menu* m, int p) {
    Menu* target = shape.wild && c.chance(2) ? nullptr : m;
    Menu* sub = mNewSubmenu(target, position(p));
    (*calls)++;
    if (!sub) return nullptr;
    made->push_back(sub);
    menus++;
    return sub;
  }

  void fill(Menu* m, int depth) {
    // A submenu of a list item is itself a list: it starts at position 8.
    bool listOnly = m->parent && m->parentPosition >= RADIAL_SLOTS;
    std::vector<int> used;
    if (!listOnly) {
      int compass = int(c.below(9));
      for (int p = 0; p < RADIAL_SLOTS; p++)
        if (int(c.below(8)) < compass) used.push_back(p);
    }
    if (listOnly || c.chance(25)) {
      int rows = c.between(1, shape.wild ? MENU_SLOTS - RADIAL_SLOTS : 8);
      for (int p = RADIAL_SLOTS; p < RADIAL_SLOTS + rows; p++)
        used.push_back(p);
    }
    for (int p : used) addItem(m, p);
    for (int p : used) {
      if (depth >= shape.maxDepth || menus >= shape.maxMenus) break;
      if (!c.chance(depth == 0 ? 60 : 35)) continue;
      Menu* sub = submenu(m, p);
      // Made twice, the first is no longer linked but still allocated.
      if (sub && shape.wild && c.chance(5)) sub = submenu(m, p);
      if (sub) fill(sub, depth + 1);
    }
  }
};

// Moves by `length` pixels towards compass direction `direction` (0 north,
// clockwise), turned by `noise` degrees.
void step(int direction, double length, double noise, int* x, int* y) {
  double a = (direction * 45.0 + noise) * std::numbers::pi / 180.0;
  *x += int(std::lround(std::sin(a) * length));
  *y -= int(std::lround(std::cos(a) * length));
}

// The difference of two points within +-(2^30 - 1) fits in an int.
constexpr int wideLimit = (1 << 30) - 1;

struct Pen {
  Choices& c;
  const GestureShape& shape;
  player::Gesture& g;
  int x, y;

  // Keeps the pointer on the screen, or within wideLimit for wild gestures.
  void clamp() {
    const Rect& s = shape.screen;
    int lo = shape.wild ? -wideLimit : s.xmin,
        hi = shape.wild ? wideLimit : s.xmax;
    x = std::clamp(x, lo, hi);
    lo = shape.wild ? -wideLimit : s.ymin;
    hi = shape.wild ? wideLimit : s.ymax;
    y = std::clamp(y, lo, hi);
  }

  // A straight move towards a compass direction, a little off true.
  void leg(double length, uint32_t ms) {
    int direction = int(c.below(8));
    double noise = double(c.between(-12, 12));
    step(direction, length, noise, &x, &y);
    clamp();
    g.moveTo(x, y, ms);
  }

  double legLength() {
    if (shape.wild && c.chance(10))
      return c.chance(50) ? 0.0 : double(c.between(0, wideLimit / 2));
    return double(c.between(20, 200));
  }

  void marks(int legs) {
    for (int k = 0; k < legs; k++) {
      double length = legLength();
      leg(length, uint32_t(c.between(40, 250)));
      if (c.chance(30)) g.rest(uint32_t(c.between(0, 80)));
    }
  }

  // Waits for the menu, then moves through it, resting where submenus open
  // and sometimes going back to a parent's centre.
  void menuWalk() {
    g.rest(uint32_t(c.between(160, 400)));
    int levels = c.between(1, shape.depth + 1);
    int cx = x, cy = y;
    for (int k = 0; k < levels; k++) {
      if (c.chance(15)) {
        g.moveTo(cx, cy, uint32_t(c.between(30, 150)));
        x = cx;
        y = cy;
      } else {
        // South-west to south-east reaches into a list under the pie.
        double length = double(c.between(30, 160));
        leg(length, uint32_t(c.between(30, 200)));
      }
      g.rest(uint32_t(c.between(0, 350)));
    }
  }

  // Many short legs: a scribble, or more samples than a stroke holds.
  void wiggle() {
    int legs = c.between(20, shape.wild ? 600 : 200);
    for (int k = 0; k < legs; k++) {
      double length = double(c.between(2, 30));
      leg(length, uint32_t(c.between(5, 30)));
    }
  }
};

}  // namespace

std::string randomLabel(Choices& c, bool wild) {
  if (wild && c.chance(40)) {
    std::string bytes;
    int n = c.chance(20) ? c.between(49, 300) : c.between(0, 60);
    for (int i = 0; i < n; i++) bytes += char(c.between(1, 255));
    return bytes;
  }
  int kind = int(c.below(10));
  if (kind == 0) return "";
  if (kind == 1) return longLabel(c);
  std::string text = words[c.below(wordCount)];
  for (int more = int(c.below(3)); more > 0; more--) {
    text += ' ';
    text += words[c.below(wordCount)];
  }
  return text;
}

Menu* buildRandomTree(Choices& c, const TreeShape& shape,
                      std::vector<Menu*>* made, uint64_t* calls) {
  Menu* root = mCreateMenu();
  (*calls)++;
  if (!root) return nullptr;
  made->push_back(root);
  Builder b{c, shape, made, calls};
  b.fill(root, 0);
  return root;
}

player::Gesture randomGesture(Choices& c, const GestureShape& shape) {
  const int rates[] = {50, 100, 125, 200, 500, 1000};
  player::Gesture g(rates[c.below(6)]);
  Pen pen{c, shape, g, 0, 0};
  if (shape.wild && c.chance(10)) {
    pen.x = c.between(-wideLimit, wideLimit);
    pen.y = c.between(-wideLimit, wideLimit);
  } else {
    pen.x = c.between(shape.screen.xmin, shape.screen.xmax);
    pen.y = c.between(shape.screen.ymin, shape.screen.ymax);
  }
  g.press(pen.x, pen.y);
  switch (c.below(6)) {
    case 0:
      pen.marks(c.between(1, shape.depth + 1));
      break;
    case 1:
      // Paused in the middle: the menus along the mark pop up.
      pen.marks(c.between(1, shape.depth + 1));
      g.rest(uint32_t(c.between(420, 700)));
      pen.marks(int(c.below(3)));
      g.rest(uint32_t(c.between(0, 300)));
      break;
    case 2:
    case 3:
      pen.menuWalk();
      break;
    case 4:
      pen.wiggle();
      break;
    default:
      g.rest(uint32_t(c.between(0, 120)));
      break;
  }
  if (c.chance(8)) g.escape();
  g.release();
  return g;
}
