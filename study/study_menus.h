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
// The positions one level of a generated menu fills. A submenu hung from a
// list item is itself a list (the library leaves its compass slots empty),
// so there all `breadth` items go into the list, from position 8.
std::vector<int> mGeneratedPositions(int breadth, bool underListItem);
// Whether `path` is a leaf of every generated menu of that shape, whatever
// its labels.
bool mIsGeneratedLeaf(int breadth, int depth, const std::vector<int>& path);
// The leaves of `items`, numbered as mBuildStudyMenu numbers them: depth
// first, positions ascending; a disabled item and all beneath it are never
// leaves.
std::vector<StudyLeaf> mItemLeaves(const std::vector<StudyItem>& items);
// The items `menu` stands for: its own, the practice menu's, or generated
// ones with labels drawn by `seed` and the menu's name (so two generated
// menus of one study differ).
std::vector<StudyItem> mStudyMenuItems(const StudyMenu& menu, uint32_t seed);
// Builds `menu` as a library tree (root NULL when memory runs out).
BuiltMenu mBuildStudyMenu(const StudyMenu& menu, uint32_t seed);
// The leaf whose path is `path`, or -1.
int mLeafIndex(const BuiltMenu& menu, const std::vector<int>& path);
// "2/0"; empty for no positions.
std::string mPathText(const std::vector<int>& path);
// The words generated labels are drawn from.
const std::vector<const char*>& mStudyWords();
