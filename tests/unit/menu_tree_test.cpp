#include "core/menu_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "report_capture.h"

namespace {

void add(Menu* m, const char* label, int position, uintptr_t value = 0,
         uint8_t enabled = 1) {
  mAddItem(m, label, position, value, 0, 0, 0, 0, enabled, 0, 0);
}

std::string stored(const std::string& label) {
  Menu* m = mCreateMenu();
  add(m, label.c_str(), 0);
  return m->label[0];
}

std::string backslashed(std::string s) {
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

}  // namespace

TEST(MenuTree, NewMenuHasEightEmptyEnabledSlots) {
  Menu* m = mCreateMenu();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->itemCount, 8);
  EXPECT_EQ(m->radialCount, 8);
  EXPECT_EQ(m->selected, 0);
  EXPECT_STREQ(m->title, "");
  EXPECT_NE(m->stroke, nullptr);
  for (int i = 0; i < MENU_SLOTS; i++) {
    EXPECT_STREQ(m->label[i], "");
    EXPECT_EQ(m->enabled[i], 1);
  }
  int position = 5;
  const char* label = nullptr;
  uintptr_t value = 99;
  Menu* last = nullptr;
  int lastPosition = 5;
  EXPECT_EQ(
      mGetResult(m, &position, &label, nullptr, &last, &lastPosition, &value),
      1);
  EXPECT_EQ(position, -1);
  EXPECT_STREQ(label, "Center");
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(last, m);
  EXPECT_EQ(lastPosition, -1);
}

TEST(MenuTree, LabelListParsingTrimsAndCaps) {
  Menu* m = mCreateMenu();
  mFillLabels(m, "  one |two words\t| three\n|");
  EXPECT_EQ(m->itemCount, 4);
  EXPECT_STREQ(m->label[0], "one");
  EXPECT_STREQ(m->label[1], "two words");
  EXPECT_STREQ(m->label[2], "three");
  EXPECT_STREQ(m->label[3], "");
  std::string many;
  for (int i = 0; i < 70; i++) many += "x|";
  mFillLabels(m, many.c_str());
  EXPECT_EQ(m->itemCount, MENU_SLOTS);
  mFillLabels(m, std::string(80, 'y').c_str());
  EXPECT_EQ(std::string(m->label[0]), std::string(49, 'y'));
}

TEST(Labels, ShortLabelsKeptLongOnesEndInDots) {
  std::string l48(48, 'a');
  EXPECT_EQ(stored(l48), l48);
  std::string l49 = std::string(46, 'b') + "cde";
  EXPECT_EQ(stored(l49), std::string(46, 'b') + "...");
  EXPECT_EQ(stored(std::string(100000, 'z')), std::string(46, 'z') + "...");
  EXPECT_EQ(stored(""), "");
}

TEST(Labels, LongTextNeverSplitsACharacter) {
  // 45 letters, then "é" in bytes 45 and 46: cutting at 46 would halve it.
  std::string text = std::string(45, 'a') + "\xC3\xA9" + std::string(20, 'b');
  EXPECT_EQ(stored(text), std::string(45, 'a') + "...");
  // A path tail that would start inside a character starts after it.
  std::string path = "/" + std::string(30, 'p') + "/" + std::string(10, 'q') +
                     "\xE2\x82\xAC" + std::string(44, 'r');
  std::string s = stored(path);
  EXPECT_EQ(s, "..." + std::string(44, 'r'));
}

TEST(Labels, PathsKeepHeadAndTail) {
  // Drive letter and backslash: "C:\", "...", the last 42 characters.
  std::string drive = "C:\\" + std::string(20, 'd') + "\\" +
                      std::string(20, 'e') + "\\file" + std::string(11, 'f');
  ASSERT_EQ(drive.size(), 60u);
  std::string s = stored(drive);
  EXPECT_EQ(s.size(), 48u);
  EXPECT_EQ(s, "C:\\..." + drive.substr(60 - 42));

  // A three-letter first component is kept as the head.
  std::string usr =
      "/usr/" + std::string(30, 'l') + "/" + std::string(30, 'm') + "/tail.txt";
  EXPECT_EQ(stored(usr), backslashed("/usr/..." + usr.substr(usr.size() - 40)));
  // Four letters: no head.
  std::string home = "/home/" + std::string(60, 'n') + "/x";
  EXPECT_EQ(stored(home), backslashed("..." + home.substr(home.size() - 45)));
  // A share keeps "//server/".
  std::string share = "//server/" + std::string(50, 's') + "/doc";
  EXPECT_EQ(stored(share),
            backslashed("//server/..." + share.substr(share.size() - 36)));
  // A colon later on, not before the first slash: no head.
  std::string url = "/a:" + std::string(60, 'u');
  EXPECT_EQ(stored(url), backslashed("..." + url.substr(url.size() - 45)));
}

TEST(MenuTree, AddItemGrowsCountAndKeepsIndicatorsAndFlags) {
  Menu* m = mCreateMenu();
  add(m, "Far", 11, 77);
  EXPECT_EQ(m->itemCount, 12);
  for (int p = 8; p <= 10; p++) EXPECT_STREQ(m->label[p], "");
  EXPECT_EQ(m->value[11], 77u);

  mAddItem(m, "Both", 2, 0, 1, 1, 1, 1, 0, 1, 1);
  EXPECT_EQ(m->hasToggle[2], 1);
  EXPECT_EQ(m->toggleOn[2], 1);
  EXPECT_EQ(m->hasChoice[2], 0);  // one indicator per call, toggle first
  EXPECT_EQ(m->enabled[2], 0);
  EXPECT_EQ(m->italic[2], 1);
  mAddItem(m, "Both", 2, 0, 0, 0, 1, 0, 1, 0, 0);
  EXPECT_EQ(m->hasToggle[2], 1);  // never cleared by a later call
  EXPECT_EQ(m->hasChoice[2], 1);
  EXPECT_EQ(m->choiceOn[2], 0);

  // Bad input does nothing.
  mAddItem(nullptr, "x", 0, 0, 0, 0, 0, 0, 1, 0, 0);
  add(m, nullptr, 0);
  add(m, "x", -1);
  add(m, "x", MENU_SLOTS);
  EXPECT_EQ(m->itemCount, 12);
  EXPECT_STREQ(m->label[0], "");
}

TEST(MenuTree, SubmenusOfListItemsHaveNoCompassSlots) {
  Menu* root = mCreateMenu();
  add(root, "List row", 8);
  Menu* sub = mNewSubmenu(root, 8);
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(mHangsFromLinearItem(sub));
  mAddItem(sub, "Ignored", 3, 55, 1, 1, 0, 0, 0, 1, 0);
  EXPECT_STREQ(sub->label[3], "");
  EXPECT_EQ(sub->value[3], 0u);
  EXPECT_EQ(sub->hasToggle[3], 0);
  EXPECT_EQ(sub->enabled[3], 1);
  EXPECT_EQ(sub->italic[3], 0);
  EXPECT_EQ(sub->regularWeight[3], 1);
  add(sub, "Row", 8, 3);
  EXPECT_STREQ(sub->label[8], "Row");
  EXPECT_TRUE(mIsLinearOnly(sub));
}

TEST(MenuTree, NewSubmenuLinksTitlesAndRejectsBadPositions) {
  Menu* root = mCreateMenu();
  add(root, "First", 2);
  Menu* a = mNewSubmenu(root, 2);
  add(root, "Second", 2);
  Menu* b = mNewSubmenu(root, 2);
  EXPECT_EQ(root->submenu[2], b);
  EXPECT_STREQ(a->title, "First");
  EXPECT_STREQ(b->title, "Second");
  EXPECT_EQ(b->parent, root);
  EXPECT_EQ(b->parentPosition, 2);
  EXPECT_EQ(mNewSubmenu(root, 8), nullptr);
  EXPECT_EQ(mNewSubmenu(root, -1), nullptr);
  EXPECT_EQ(mNewSubmenu(nullptr, 0), nullptr);
}

TEST(GetResult, WalksTheSelectedPathToAnEnabledLeaf) {
  static int apple = 0, saw = 4;
  Menu* root = mCreateMenu();
  add(root, "Food", 0);
  add(root, "Tools", 2);
  Menu* food = mNewSubmenu(root, 0);
  add(food, "Apple", 0, reinterpret_cast<uintptr_t>(&apple));
  Menu* tools = mNewSubmenu(root, 2);
  add(tools, "Saw", 0, reinterpret_cast<uintptr_t>(&saw), 0);

  root->selected = 1;
  food->selected = 1;
  int positions[3];
  const char* labels[3];
  uintptr_t values[3];
  Menu* last = nullptr;
  int lastPosition = -2;
  uintptr_t value = 0;
  ASSERT_EQ(
      mGetResult(root, positions, labels, values, &last, &lastPosition, &value),
      2);
  EXPECT_EQ(positions[0], 0);
  EXPECT_EQ(labels[0], root->label[0]);  // the label itself, not a copy
  EXPECT_EQ(last, food);
  EXPECT_EQ(lastPosition, 0);
  EXPECT_EQ(reinterpret_cast<int*>(value), &apple);  // the full pointer

  // A category without a choice below it reports "Center" and nothing.
  food->selected = 0;
  ASSERT_EQ(
      mGetResult(root, positions, labels, nullptr, &last, nullptr, &value), 2);
  EXPECT_EQ(positions[1], -1);
  EXPECT_STREQ(labels[1], "Center");
  EXPECT_EQ(last, food);
  EXPECT_EQ(value, 0u);

  // A disabled leaf: reported, but its value is 0.
  root->selected = 3;
  tools->selected = 1;
  ASSERT_EQ(
      mGetResult(root, positions, labels, values, nullptr, nullptr, &value), 2);
  EXPECT_STREQ(labels[1], "Saw");
  EXPECT_EQ(values[1], reinterpret_cast<uintptr_t>(&saw));
  EXPECT_EQ(value, 0u);

  // Every output may be NULL; a NULL menu reports nothing.
  EXPECT_EQ(
      mGetResult(root, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
      2);
  EXPECT_EQ(mGetResult(nullptr, positions, labels, values, &last, &lastPosition,
                       &value),
            0);
}

TEST(Queries, PartsDepthAndSelection) {
  Menu* root = mCreateMenu();
  add(root, "A", 0);
  add(root, "Row", 9);
  Menu* a = mNewSubmenu(root, 0);
  Menu* row = mNewSubmenu(root, 9);
  Menu* deep = mNewSubmenu(a, 0);
  add(deep, "leaf", 1);
  for (int i = 0; i < 5; i++) add(row, "x", 8 + i);

  EXPECT_EQ(mRadialSlotsShown(root), 8);
  EXPECT_TRUE(mIsRadialPosition(root, 7));
  EXPECT_FALSE(mIsRadialPosition(root, 8));
  EXPECT_TRUE(mIsLinearPosition(root, 9));
  EXPECT_FALSE(mIsLinearPosition(root, 10));
  EXPECT_TRUE(mHasLinearPart(root));
  EXPECT_FALSE(mIsLinearOnly(root));
  EXPECT_TRUE(mIsLinearOnly(row));
  EXPECT_FALSE(mIsLinearOnly(a));  // all empty, but no list either
  EXPECT_TRUE(mAllLabelsEmpty(a));
  EXPECT_TRUE(mHasSubmenu(root, 1));
  EXPECT_FALSE(mHasSubmenu(root, 2));
  EXPECT_FALSE(mHasSubmenu(root, 0));
  EXPECT_FALSE(mHasSubmenu(root, 11));
  EXPECT_TRUE(mIsEnabled(root, 10));
  EXPECT_FALSE(mIsEnabled(root, 11));
  EXPECT_EQ(mTreeDepth(root), 3);
  EXPECT_EQ(mTreeDepth(deep), 1);
  EXPECT_EQ(mWidestRadialPart(root), 8);

  root->selected = 1;
  a->selected = 1;
  deep->selected = 2;
  EXPECT_EQ(mSelectionDepth(root), 3);
  root->releasedIn = a;  // the release was made while `a` was tracked
  EXPECT_EQ(mSelectionDepth(root), 2);
  EXPECT_FALSE(mSelectionReachesLinear(root));
  root->releasedIn = nullptr;
  root->selected = 10;
  row->selected = 9;
  EXPECT_EQ(mSelectionDepth(root), 2);
  EXPECT_TRUE(mSelectionReachesLinear(root));

  EXPECT_FALSE(mHasRadialPart(nullptr));
  EXPECT_FALSE(mIsEnabled(nullptr, 1));
  EXPECT_EQ(mTreeDepth(nullptr), 0);
  EXPECT_EQ(mSelectionDepth(nullptr), 0);
}

// A tree is at most MENU_DEPTH_LIMIT levels deep, and no walk goes further,
// even through submenu fields linked into a loop by hand.
TEST(DepthLimit, NewSubmenuRefusesALevelBeyondTheLimit) {
  ReportCapture reports;
  Menu* root = mCreateMenu();
  Menu* m = root;
  for (int level = 1; level < MENU_DEPTH_LIMIT; level++) {
    add(m, "down", 3, uintptr_t(level));
    m->selected = 4;
    m = mNewSubmenu(m, 3);
    ASSERT_NE(m, nullptr) << level;
  }
  add(m, "leaf", 3, 99);
  m->selected = 4;
  EXPECT_EQ(mNewSubmenu(m, 3), nullptr);
  EXPECT_EQ(reports.last(), "menus go at most 64 levels deep");
  EXPECT_EQ(mTreeDepth(root), MENU_DEPTH_LIMIT);

  // The deepest tree allowed fits arrays of the limit exactly.
  int positions[MENU_DEPTH_LIMIT];
  uintptr_t value = 0;
  EXPECT_EQ(
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &value),
      MENU_DEPTH_LIMIT);
  EXPECT_EQ(positions[MENU_DEPTH_LIMIT - 1], 3);
  EXPECT_EQ(value, 99u);
}

TEST(DepthLimit, LoopsLinkedByHandAreWalkedNoDeeperThanTheLimit) {
  Menu* root = mCreateMenu();
  add(root, "a", 0, 1);
  Menu* child = mNewSubmenu(root, 0);
  add(child, "back", 0, 2);
  add(child, "wide", 8, 3);
  child->submenu[0] = root;  // written directly: a loop
  for (int p = 1; p < RADIAL_SLOTS; p++) {
    add(root, "again", p);
    root->submenu[p] = root;
  }
  root->selected = 1;
  child->selected = 1;

  EXPECT_EQ(mTreeDepth(root), 2);
  EXPECT_EQ(mWidestRadialPart(root), RADIAL_SLOTS);
  EXPECT_LE(mSelectionDepth(root), MENU_DEPTH_LIMIT);

  // Room for more than the limit: nothing is written past it.
  constexpr int sentinel = 12345;
  int positions[MENU_DEPTH_LIMIT + 8];
  const char* labels[MENU_DEPTH_LIMIT + 8] = {};
  for (int& p : positions) p = sentinel;
  Menu* last = nullptr;
  int lastPosition = -2;
  uintptr_t value = 7;
  int n = mGetResult(root, positions, labels, nullptr, &last, &lastPosition,
                     &value);
  EXPECT_EQ(n, MENU_DEPTH_LIMIT);
  EXPECT_EQ(positions[MENU_DEPTH_LIMIT], sentinel);
  EXPECT_EQ(labels[MENU_DEPTH_LIMIT], nullptr);
  EXPECT_EQ(value, 0u);  // the last item reached leads on: no leaf
  EXPECT_EQ(last, child);
  EXPECT_EQ(lastPosition, 0);
}
