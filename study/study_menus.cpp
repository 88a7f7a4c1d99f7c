#include "study/study_menus.h"

#include <algorithm>
#include <unordered_set>

#include "study/study_random.h"

namespace {

StudyItem item(const char* label, int position,
               std::vector<StudyItem> submenu = {}) {
  StudyItem i;
  i.label = label;
  i.position = position;
  i.submenu = std::move(submenu);
  return i;
}

StudyItem category(const char* label, int position, bool toggleOn,
                   std::vector<StudyItem> submenu) {
  StudyItem i = item(label, position, std::move(submenu));
  i.hasToggle = true;
  i.toggleOn = toggleOn;
  return i;
}

// Labels dealt from shuffled decks of the word list: a new deck when one
// runs out, so a menu repeats no word until it has used them all, and
// siblings never share one.
class WordDealer {
 public:
  explicit WordDealer(uint64_t seed) : random_(seed) {}

  std::vector<std::string> siblings(size_t count) {
    const std::vector<const char*>& words = mStudyWords();
    std::vector<std::string> out;
    std::unordered_set<std::string> taken;
    // Words skipped because a sibling has them go back on the deck.
    std::vector<const char*> skipped;
    while (out.size() < count && out.size() < words.size()) {
      if (deck_.empty()) {
        deck_ = words;
        random_.shuffle(&deck_);
      }
      const char* word = deck_.back();
      deck_.pop_back();
      if (taken.insert(word).second)
        out.push_back(word);
      else
        skipped.push_back(word);
    }
    deck_.insert(deck_.end(), skipped.begin(), skipped.end());
    return out;
  }

 private:
  StudyRandom random_;
  std::vector<const char*> deck_;
};

void generate(int breadth, int depth, bool underListItem, WordDealer* dealer,
              std::vector<StudyItem>* out) {
  std::vector<int> positions = mGeneratedPositions(breadth, underListItem);
  std::vector<std::string> labels = dealer->siblings(positions.size());
  for (size_t k = 0; k < positions.size() && k < labels.size(); k++) {
    StudyItem i;
    i.label = labels[k];
    i.position = positions[k];
    if (depth > 1)
      generate(breadth, depth - 1, positions[k] >= RADIAL_SLOTS, dealer,
               &i.submenu);
    out->push_back(std::move(i));
  }
}

// Items in ascending position, the order leaves are numbered in.
std::vector<const StudyItem*> byPosition(const std::vector<StudyItem>& items) {
  std::vector<const StudyItem*> sorted;
  for (const StudyItem& i : items) sorted.push_back(&i);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const StudyItem* a, const StudyItem* b) {
                     return a->position < b->position;
                   });
  return sorted;
}

void collectLeaves(const std::vector<StudyItem>& items, std::vector<int>* path,
                   const std::string& above, std::vector<StudyLeaf>* leaves) {
  for (const StudyItem* i : byPosition(items)) {
    if (!i->enabled) continue;
    path->push_back(i->position);
    std::string full = above.empty() ? i->label : above + " > " + i->label;
    if (i->submenu.empty())
      leaves->push_back({*path, i->label, full});
    else
      collectLeaves(i->submenu, path, full, leaves);
    path->pop_back();
  }
}

// Adds `items` to `menu`, giving each leaf its number: `next` counts the
// leaves in the order collectLeaves lists them.
void addItems(Menu* menu, const std::vector<StudyItem>& items,
              bool beneathDisabled, uintptr_t* next) {
  for (const StudyItem* i : byPosition(items)) {
    bool leaf = i->enabled && !beneathDisabled && i->submenu.empty();
    uintptr_t value = leaf ? (*next)++ : 0;
    mAddItem(menu, i->label.c_str(), i->position, value, i->hasToggle,
             i->toggleOn, 0, 0, i->enabled, 0, 0);
    if (i->submenu.empty()) continue;
    Menu* sub = mNewSubmenu(menu, i->position);
    if (sub) addItems(sub, i->submenu, beneathDisabled || !i->enabled, next);
  }
}

}  // namespace

const std::vector<StudyItem>& mPracticeMenuItems() {
  static const std::vector<StudyItem> items = {
      category("Food", 0, false, {item("Apple", 0), item("Banana", 4)}),
      category("Tools", 2, false,
               {item("Saw", 0), item("Hammer", 2), item("Wrench", 4)}),
      category("Animals", 4, true, {item("Duck", 6), item("Pig", 2)}),
      category("Vehicles", 6, false,
               {item("Car", 0), item("Forklift", 2), item("Tricycle", 4),
                item("Truck", 6)}),
  };
  return items;
}

std::vector<int> mGeneratedPositions(int breadth, bool underListItem) {
  std::vector<int> positions;
  if (underListItem) {
    for (int k = 0; k < breadth; k++) positions.push_back(RADIAL_SLOTS + k);
  } else if (breadth == 4) {
    positions = {0, 2, 4, 6};
  } else {
    for (int k = 0; k < breadth; k++) positions.push_back(k);
  }
  return positions;
}

bool mIsGeneratedLeaf(int breadth, int depth, const std::vector<int>& path) {
  if (int(path.size()) != depth) return false;
  bool underListItem = false;
  for (int position : path) {
    std::vector<int> level = mGeneratedPositions(breadth, underListItem);
    if (std::find(level.begin(), level.end(), position) == level.end())
      return false;
    underListItem = position >= RADIAL_SLOTS;
  }
  return true;
}

std::vector<StudyItem> mGeneratedMenuItems(int breadth, int depth,
                                           uint32_t seed) {
  std::vector<StudyItem> items;
  if (breadth != 4 && breadth != 8 && breadth != 12) return items;
  if (depth < 1 || depth > studyMaxGeneratedDepth) return items;
  WordDealer dealer(seed);
  generate(breadth, depth, false, &dealer, &items);
  return items;
}

std::vector<StudyLeaf> mItemLeaves(const std::vector<StudyItem>& items) {
  std::vector<StudyLeaf> leaves;
  std::vector<int> path;
  collectLeaves(items, &path, "", &leaves);
  return leaves;
}

std::vector<StudyItem> mStudyMenuItems(const StudyMenu& menu, uint32_t seed) {
  switch (menu.kind) {
    case StudyMenu::Kind::Practice: {
      return mPracticeMenuItems();
    }
    case StudyMenu::Kind::Generated: {
      uint64_t mixed = mMixSeed(seed, mTextHash(menu.name));
      return mGeneratedMenuItems(menu.breadth, menu.depth,
                                 uint32_t(mixed ^ (mixed >> 32)));
    }
    case StudyMenu::Kind::Tree: {
      return menu.items;
    }
  }
  return menu.items;
}

BuiltMenu mBuildStudyMenu(const StudyMenu& menu, uint32_t seed) {
  BuiltMenu built;
  built.name = menu.name;
  built.practice = menu.kind == StudyMenu::Kind::Practice;
  std::vector<StudyItem> items = mStudyMenuItems(menu, seed);
  built.leaves = mItemLeaves(items);
  built.root = mCreateMenu();
  uintptr_t next = 1;
  if (built.root) addItems(built.root, items, false, &next);
  return built;
}

int mLeafIndex(const BuiltMenu& menu, const std::vector<int>& path) {
  for (size_t k = 0; k < menu.leaves.size(); k++)
    if (menu.leaves[k].path == path) return int(k);
  return -1;
}

std::string mPathText(const std::vector<int>& path) {
  std::string text;
  for (size_t k = 0; k < path.size(); k++) {
    if (k > 0) text += '/';
    text += std::to_string(path[k]);
  }
  return text;
}
