// A study's menus as library trees: leaves, their numbers and the labels the
// library keeps; generated menus' shape and labels.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "study/study_file.h"
#include "study/study_menus.h"

namespace {

// Every leaf is where its path says in the library's tree, with its label
// and its number; categories and disabled items carry no number.
void expectTreeMatchesLeaves(const BuiltMenu& built) {
  ASSERT_NE(built.root, nullptr);
  std::set<uintptr_t> seen;
  for (size_t k = 0; k < built.leaves.size(); k++) {
    const StudyLeaf& leaf = built.leaves[k];
    SCOPED_TRACE(leaf.fullLabel);
    Menu* m = built.root;
    for (size_t level = 0; level + 1 < leaf.path.size(); level++) {
      EXPECT_EQ(m->value[leaf.path[level]], 0u) << "a category has a value";
      m = m->submenu[leaf.path[level]];
      ASSERT_NE(m, nullptr);
    }
    int position = leaf.path.back();
    EXPECT_STREQ(m->label[position], leaf.label.c_str());
    EXPECT_EQ(m->value[position], k + 1);
    EXPECT_TRUE(m->enabled[position]);
    EXPECT_EQ(m->submenu[position], nullptr);
    EXPECT_EQ(mLeafIndex(built, leaf.path), int(k));
    seen.insert(m->value[position]);
  }
  EXPECT_EQ(seen.size(), built.leaves.size());
}

TEST(StudyMenus, PracticeMenuMirrorsTheTrainers) {
  StudyMenu menu;
  menu.name = "practice";
  menu.kind = StudyMenu::Kind::Practice;
  BuiltMenu built = mBuildStudyMenu(menu, 1);
  EXPECT_TRUE(built.practice);
  std::vector<std::string> labels;
  for (const StudyLeaf& l : built.leaves) labels.push_back(l.fullLabel);
  EXPECT_EQ(
      labels,
      (std::vector<std::string>{
          "Food > Apple", "Food > Banana", "Tools > Saw", "Tools > Hammer",
          "Tools > Wrench", "Animals > Pig", "Animals > Duck", "Vehicles > Car",
          "Vehicles > Forklift", "Vehicles > Tricycle", "Vehicles > Truck"}));
  EXPECT_EQ(built.leaves[6].path, (std::vector<int>{4, 6}));
  expectTreeMatchesLeaves(built);
  const Menu* root = built.root;
  for (int p : {0, 2, 4, 6}) EXPECT_TRUE(root->hasToggle[p]);
  EXPECT_TRUE(root->toggleOn[4]) << "Animals is toggled on";
  EXPECT_FALSE(root->toggleOn[0] || root->toggleOn[2] || root->toggleOn[6]);
}

TEST(StudyMenus, OwnLabelsWithDisabledItemsAndAList) {
  Study study;
  StudyError error;
  ASSERT_TRUE(
      mReadStudy(TARVEL_EXAMPLE_STUDIES "/own-labels.json", &study, &error))
      << error.text();
  BuiltMenu built = mBuildStudyMenu(study.menus[0], study.design.seed);
  expectTreeMatchesLeaves(built);
  EXPECT_EQ(mLeafIndex(built, {0, 4}), -1) << "Print is disabled";
  EXPECT_FALSE(built.root->submenu[0]->enabled[4]);
  EXPECT_STREQ(built.root->submenu[0]->label[4], "Print");
  EXPECT_EQ(mLeafIndex(built, {0}), -1) << "a category is no leaf";
  int help = mLeafIndex(built, {8});
  ASSERT_GE(help, 0);
  int recent = mLeafIndex(built, {9, 8});
  ASSERT_GE(recent, 0);
  EXPECT_EQ(built.leaves[size_t(recent)].fullLabel, "Recent > notes.txt");
  // Depth first, positions ascending: Undo (4) before View (6) before Help.
  EXPECT_LT(mLeafIndex(built, {4}), mLeafIndex(built, {6, 0}));
  EXPECT_LT(mLeafIndex(built, {6, 4}), help);
}

TEST(StudyMenus, LeavesBeneathADisabledCategoryAreNone) {
  StudyMenu menu;
  StudyItem under;
  under.label = "Under";
  StudyItem off;
  off.label = "Off";
  off.enabled = false;
  off.submenu = {under};
  StudyItem on;
  on.label = "On";
  on.position = 2;
  menu.items = {off, on};
  BuiltMenu built = mBuildStudyMenu(menu, 1);
  ASSERT_EQ(built.leaves.size(), 1u);
  EXPECT_EQ(built.leaves[0].label, "On");
  EXPECT_EQ(built.root->submenu[0]->value[0], 0u);
}

TEST(StudyMenus, GeneratedMenusHaveTheirShapeAndDistinctSiblings) {
  for (int breadth : {4, 8, 12}) {
    for (int depth = 1; depth <= 3; depth++) {
      SCOPED_TRACE(std::to_string(breadth) + "x" + std::to_string(depth));
      StudyMenu menu;
      menu.name = "g";
      menu.kind = StudyMenu::Kind::Generated;
      menu.breadth = breadth;
      menu.depth = depth;
      BuiltMenu built = mBuildStudyMenu(menu, 99);
      EXPECT_EQ(built.leaves.size(),
                size_t(std::lround(std::pow(breadth, depth))));
      for (const StudyLeaf& leaf : built.leaves)
        EXPECT_TRUE(mIsGeneratedLeaf(breadth, depth, leaf.path))
            << mPathText(leaf.path);
      expectTreeMatchesLeaves(built);

      std::vector<StudyItem> items = mStudyMenuItems(menu, 99);
      std::set<std::string> all;
      size_t itemCount = 0;
      std::vector<const std::vector<StudyItem>*> levels = {&items};
      while (!levels.empty()) {
        const std::vector<StudyItem>* level = levels.back();
        levels.pop_back();
        std::set<std::string> siblings;
        for (const StudyItem& i : *level) {
          EXPECT_TRUE(siblings.insert(i.label).second) << i.label;
          all.insert(i.label);
          itemCount++;
          if (!i.submenu.empty()) levels.push_back(&i.submenu);
        }
      }
      if (itemCount <= mStudyWords().size()) {
        EXPECT_EQ(all.size(), itemCount) << "a word repeats in the menu";
      }
    }
  }
}

TEST(StudyMenus, GeneratedLabelsFollowTheSeedAndTheMenuName) {
  auto labels = [](const std::vector<StudyItem>& items) {
    std::string text;
    for (const StudyItem& i : items) text += i.label + " ";
    return text;
  };
  EXPECT_EQ(labels(mGeneratedMenuItems(8, 2, 5)),
            labels(mGeneratedMenuItems(8, 2, 5)));
  EXPECT_NE(labels(mGeneratedMenuItems(8, 2, 5)),
            labels(mGeneratedMenuItems(8, 2, 6)));
  StudyMenu a;
  a.name = "a";
  a.kind = StudyMenu::Kind::Generated;
  a.breadth = 8;
  a.depth = 1;
  StudyMenu b = a;
  b.name = "b";
  EXPECT_NE(labels(mStudyMenuItems(a, 5)), labels(mStudyMenuItems(b, 5)));
  EXPECT_TRUE(mGeneratedMenuItems(6, 2, 1).empty());
  EXPECT_TRUE(mGeneratedMenuItems(8, 5, 1).empty());
}

TEST(StudyMenus, TwelveAListUnderAListItem) {
  EXPECT_EQ(mGeneratedPositions(4, false), (std::vector<int>{0, 2, 4, 6}));
  EXPECT_EQ(mGeneratedPositions(12, false).back(), 11);
  EXPECT_EQ(mGeneratedPositions(12, true).front(), 8);
  EXPECT_TRUE(mIsGeneratedLeaf(12, 2, {9, 19}));
  EXPECT_FALSE(mIsGeneratedLeaf(12, 2, {9, 3}));
  EXPECT_FALSE(mIsGeneratedLeaf(4, 2, {1, 0}));
  EXPECT_FALSE(mIsGeneratedLeaf(4, 2, {0}));
}

TEST(StudyMenus, WordListIsPlainAndDistinct) {
  const std::vector<const char*>& words = mStudyWords();
  EXPECT_GE(words.size(), 300u);
  std::set<std::string> distinct;
  for (const char* w : words) {
    EXPECT_TRUE(distinct.insert(w).second) << w;
    EXPECT_GT(std::strlen(w), 1u);
    EXPECT_LE(std::strlen(w), 12u) << w;
    for (const char* c = w; *c; c++)
      EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(*c))) << w;
  }
  EXPECT_EQ(mPathText({2, 0}), "2/0");
  EXPECT_EQ(mPathText({}), "");
}

}  // namespace
