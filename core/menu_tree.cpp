#include "core/menu_tree.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/stroke.h"
#include "platform/report.h"

namespace {

constexpr int labelRoom = LABEL_CAPACITY - 1;  // 49 characters
constexpr int keptWhole = 48;                  // longest label stored as it is

bool isContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Length of the longest prefix of text[0..n) that ends on a whole UTF-8
// character.
size_t wholePrefix(const char* text, size_t n) {
  while (n > 0 && isContinuation(text[n])) n--;
  return n;
}

bool isSlash(char c) { return c == '/' || c == '\\'; }

// The first slash or backslash at or after `from`, or NULL.
const char* nextSlash(const char* from) { return std::strpbrk(from, "/\\"); }

// How many leading characters of a long path label are kept as its head:
// a drive or scheme up to its slash, a "//share/" prefix, or a short first
// component ("/usr/"); 0 for none.
size_t pathHeadLength(const char* t) {
  const char* colon = std::strchr(t, ':');
  const char* slash = nextSlash(t);
  if (colon) return slash && slash == colon + 1 ? size_t(slash - t) + 1 : 0;
  if (isSlash(t[0]) && isSlash(t[1])) {
    const char* third = nextSlash(t + 2);
    if (third) return size_t(third - t) + 1;
  }
  if (isSlash(t[0])) {
    const char* second = nextSlash(t + 1);
    // The first two slashes may be at most 0.1 x 49 = 4.9 characters apart.
    if (second && double(second - t) <= 0.1 * labelRoom)
      return size_t(second - t) + 1;
  }
  return 0;
}

// Head, "..." and as much of the tail as fits in 48 characters, with every
// slash shown as a backslash.
void shortenPath(const char* t, size_t length, char* out) {
  int room = keptWhole;
  size_t n = 0;
  size_t head = pathHeadLength(t);
  if (head > 0 && int(head) < room) {
    std::memcpy(out, t, head);
    n = head;
    room -= int(head);
  }
  int dots = room < 3 ? room : 3;
  if (dots > 0) {
    std::memcpy(out + n, "...", size_t(dots));
    n += size_t(dots);
  }
  room -= 3;
  if (room > 0) {
    const char* from = t + length - size_t(room);
    while (*from && isContinuation(*from)) from++;
    size_t rest = std::strlen(from);
    std::memcpy(out + n, from, rest);
    n += rest;
  }
  out[n] = '\0';
  for (char* c = out; *c; c++)
    if (*c == '/') *c = '\\';
}

}  // namespace

void mStoreLabel(char* slot, const char* label) {
  size_t length = std::strlen(label);
  if (length <= size_t(keptWhole)) {
    std::memcpy(slot, label, length + 1);
    return;
  }
  bool isPath = isSlash(label[0]) || (label[1] == ':' && isSlash(label[2]));
  if (isPath) {
    shortenPath(label, length, slot);
    return;
  }
  size_t keep = wholePrefix(label, 46);
  std::memcpy(slot, label, keep);
  std::memcpy(slot + keep, "...", 4);
}

void mFillLabels(Menu* menu, const char* list) {
  int count = 0;
  const char* p = list;
  for (;;) {
    const char* end = std::strchr(p, '|');
    const char* stop = end ? end : p + std::strlen(p);
    while (p < stop && (*p == ' ' || *p == '\t' || *p == '\n')) p++;
    const char* last = stop;
    while (last > p &&
           (last[-1] == ' ' || last[-1] == '\t' || last[-1] == '\n'))
      last--;
    if (count < MENU_SLOTS) {
      size_t n = size_t(last - p);
      if (n > size_t(LABEL_CAPACITY - 1))
        n = wholePrefix(p, LABEL_CAPACITY - 1);
      std::memcpy(menu->label[count], p, n);
      menu->label[count][n] = '\0';
      count++;
    }
    if (!end) break;
    p = end + 1;
  }
  menu->itemCount = count;
}

namespace {

Menu* newRecord(const char* title) {
  Menu* m = static_cast<Menu*>(std::calloc(1, sizeof(Menu)));
  if (!m) return nullptr;
  m->stroke = static_cast<StrokeBuffer*>(std::calloc(1, sizeof(StrokeBuffer)));
  size_t n = std::strlen(title);
  if (n > size_t(LABEL_CAPACITY - 1))
    n = wholePrefix(title, LABEL_CAPACITY - 1);
  std::memcpy(m->title, title, n);
  // The label table starts from eight empty names, one per compass slot.
  char list[64];
  std::snprintf(list, sizeof list, " %s | %s | %s | %s | %s | %s | %s | %s ",
                "", "", "", "", "", "", "", "");
  mFillLabels(m, list);
  for (uint8_t& e : m->enabled) e = 1;
  m->radialCount = RADIAL_SLOTS;
  return m;
}

}  // namespace

Menu* mCreateMenu() { return newRecord(""); }

Menu* mNewSubmenu(Menu* menu, int position) {
  if (!menu || position < 0 || position >= menu->itemCount ||
      position >= MENU_SLOTS)
    return nullptr;
  if (mLevelOf(menu) >= MENU_DEPTH_LIMIT) {
    mReportError("menus go at most %d levels deep", MENU_DEPTH_LIMIT);
    return nullptr;
  }
  Menu* sub = newRecord(menu->label[position]);
  if (!sub) return nullptr;
  sub->parent = menu;
  sub->parentPosition = position;
  menu->submenu[position] = sub;
  return sub;
}

void mAddItem(Menu* menu, const char* label, int position, uintptr_t value,
              uint8_t hasToggle, uint8_t toggleOn, uint8_t hasChoice,
              uint8_t choiceOn, uint8_t enabled, uint8_t italic,
              uint8_t regularWeight) {
  if (!menu || !label || position < 0 || position >= MENU_SLOTS) return;
  // A submenu of a list item is itself a list: its compass slots stay empty.
  if (mHangsFromLinearItem(menu) && position < RADIAL_SLOTS) {
    label = "";
    value = 0;
    hasToggle = hasChoice = 0;
    enabled = 1;
    italic = 0;
    regularWeight = 1;
  }
  mStoreLabel(menu->label[position], label);
  if (position + 1 > menu->itemCount) menu->itemCount = position + 1;
  menu->value[position] = value;
  if (hasToggle) {
    menu->hasToggle[position] = 1;
    menu->toggleOn[position] = toggleOn;
  } else if (hasChoice) {
    menu->hasChoice[position] = 1;
    menu->choiceOn[position] = choiceOn;
  }
  menu->enabled[position] = enabled;
  menu->italic[position] = italic;
  menu->regularWeight[position] = regularWeight;
}

int mPathItem(const Menu* root, const Menu* above, const Menu* m) {
  if (!root || !m || (above && above == root->releasedIn)) return 0;
  return m->selected;
}

int mGetResult(Menu* menu, int* positions, const char** labels,
               uintptr_t* values, Menu** lastMenu, int* lastPosition,
               uintptr_t* value) {
  if (!menu) return 0;
  Menu* above = nullptr;
  int abovePosition = -1;
  Menu* m = menu;
  int n = 0;
  for (;;) {
    // Deeper than any tree may be: submenus linked into a loop by hand. The
    // walk ends on the level it reached, whose item leads on: no value.
    if (n == MENU_DEPTH_LIMIT) {
      if (lastMenu) *lastMenu = above;
      if (lastPosition) *lastPosition = abovePosition;
      if (value) *value = 0;
      return n;
    }
    int i = mPathItem(menu, above, m) - 1;
    if (i < 0 || i >= MENU_SLOTS) {
      if (positions) positions[n] = -1;
      if (labels) labels[n] = "Center";
      if (values) values[n] = 0;
      if (lastMenu) *lastMenu = m;
      if (lastPosition) *lastPosition = -1;
      if (value) *value = 0;
      return n + 1;
    }
    if (positions) positions[n] = i;
    if (labels) labels[n] = m->label[i];
    if (values) values[n] = m->value[i];
    n++;
    if (!m->submenu[i]) {
      if (lastMenu) *lastMenu = m;
      if (lastPosition) *lastPosition = i;
      if (value) *value = m->enabled[i] ? m->value[i] : 0;
      return n;
    }
    above = m;
    abovePosition = i;
    m = m->submenu[i];
  }
}

int mRadialSlotsShown(const Menu* m) {
  if (!m) return 0;
  return m->itemCount < m->radialCount ? m->itemCount : m->radialCount;
}

bool mHasRadialPart(const Menu* m) { return mRadialSlotsShown(m) > 0; }

bool mIsRadialPosition(const Menu* m, int p) {
  return m && p >= 0 && p < m->itemCount && p < m->radialCount;
}

bool mIsLinearPosition(const Menu* m, int p) {
  return m && p >= m->radialCount && p < m->itemCount && p < MENU_SLOTS;
}

bool mHasLinearPart(const Menu* m) {
  return m && m->radialCount < m->itemCount;
}

bool mHangsFromLinearItem(const Menu* m) {
  return m && m->parent && mIsLinearPosition(m->parent, m->parentPosition);
}

bool mAllLabelsEmpty(const Menu* m) {
  if (!m) return true;
  for (int i = 0; i < m->itemCount && i < MENU_SLOTS; i++)
    if (m->label[i][0]) return false;
  return true;
}

bool mAllRadialLabelsEmpty(const Menu* m) {
  int shown = mRadialSlotsShown(m);
  for (int i = 0; i < shown && i < MENU_SLOTS; i++)
    if (m->label[i][0]) return false;
  return true;
}

bool mIsLinearOnly(const Menu* m) {
  if (!m) return false;
  return (!mHasRadialPart(m) || mAllRadialLabelsEmpty(m)) &&
         (mHasLinearPart(m) || mHangsFromLinearItem(m));
}

bool mHasSubmenu(const Menu* m, int n) {
  return m && n >= 1 && n <= m->itemCount && n <= MENU_SLOTS &&
         m->submenu[n - 1];
}

bool mIsEnabled(const Menu* m, int n) {
  return m && n >= 1 && n <= m->itemCount && n <= MENU_SLOTS &&
         m->enabled[n - 1];
}

int mLevelOf(const Menu* m) {
  int level = 0;
  for (; m && level <= MENU_DEPTH_LIMIT; m = m->parent) level++;
  return level;
}

int mTreeDepth(const Menu* m) {
  int deepest = 0;
  mWalkTree(
      m, [&](const Menu*, int level) { deepest = std::max(deepest, level); });
  return deepest;
}

int mWidestRadialPart(const Menu* m) {
  int widest = 0;
  mWalkTree(m, [&](const Menu* sub, int) {
    widest = std::max(widest, mRadialSlotsShown(sub));
  });
  return widest;
}

namespace {

// Walks the selected path from the root, as far as the level the release
// was made in; calls visit(menu, position) for each selected level.
template <typename Visit>
void walkSelection(const Menu* root, Visit visit) {
  const Menu* above = nullptr;
  int level = 0;
  for (const Menu* m = root; m && level < MENU_DEPTH_LIMIT; level++) {
    int i = mPathItem(root, above, m) - 1;
    if (i < 0 || i >= MENU_SLOTS) return;
    visit(m, i);
    above = m;
    m = m->submenu[i];
  }
}

}  // namespace

int mSelectionDepth(const Menu* root) {
  int depth = 0;
  if (root) walkSelection(root, [&](const Menu*, int) { depth++; });
  return depth;
}

bool mSelectionReachesLinear(const Menu* root) {
  bool reaches = false;
  if (root)
    walkSelection(root, [&](const Menu* m, int i) {
      if (mIsLinearPosition(m, i)) reaches = true;
    });
  return reaches;
}
