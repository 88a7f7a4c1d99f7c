// A study's menus built as library menu trees, and their leaves: the items
// a trial can ask for.
#pragma once

#include <string>
#include <vector>

#include "menu/marking_menu.h"
#include "study/study.h"

struct StudyLeaf {
  std::vector<int> path;  // positions from the root down
  std::string label;      // the leaf's own label
  std::string fullLabel;  // the labels along the path, "Food > Apple"
};

struct BuiltMenu {
  std::string name;
  Menu* root = nullptr;
  // Leaves in a fixed order: depth first, positions ascending. A leaf's
  // client value in the tree is its index here + 1.
  std::vector<StudyLeaf> leaves;
  bool practice = false;  // the trainer's practice menu, with pictures
};

// The items of the trainer's practice menu, as a study names it
// ("practice").
const std::vector<StudyItem>& mPracticeMenuItems();
// The items of a generated menu: `breadth` items a level (4: N E S W;
// 8: all around; 12: all around and four in a list), `depth` levels,
// labels drawn from the word list without repeats among siblings, the same
// for the same seed.
std::vector<StudyItem> mGeneratedMenuItems(int breadth, int depth,
                                           uint32_t seed);
// Builds `menu` as a library tree. Disabled items are never leaves.
BuiltMenu mBuildStudyMenu(const StudyMenu& menu, uint32_t seed);
// The leaf whose path is `path`, or -1.
int mLeafIndex(const BuiltMenu& menu, const std::vector<int>& path);
// "2/0"; empty for no positions.
std::string mPathText(const std::vector<int>& path);
// The words generated labels are drawn from.
const std::vector<const char*>& mStudyWords();
