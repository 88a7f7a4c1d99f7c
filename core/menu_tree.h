// Queries on menu records, for the library's own modules. Item numbers are
// position + 1; a NULL menu or an item number out of range answers false.
#pragma once

#include <cstdint>

#include "menu/marking_menu.h"

namespace tarvel::internal {

// What the pointer is doing in a selection, kept in the root's `mode`.
enum TrackingMode : int32_t {
  modeMarking = 0,  // no menu shown: the pointer draws a mark
  modeRadial = 1,   // a radial menu is shown and follows the pointer
  modeList = 2,     // a linear list is shown and follows the pointer
};

}  // namespace tarvel::internal

using tarvel::internal::TrackingMode;
using enum tarvel::internal::TrackingMode;

// Fills the label table from a "|"-separated list: blanks at the start and
// end of each label are dropped, at most 58 labels of 49 characters kept.
// itemCount becomes the number of labels.
void mFillLabels(Menu* menu, const char* list);

// Stores a label by the shortening rules (path head and tail around "...",
// else the first 46 characters and "..."), never splitting a UTF-8
// character.
void mStoreLabel(char* slot, const char* label);

int mRadialSlotsShown(const Menu* m);
bool mHasRadialPart(const Menu* m);
bool mIsRadialPosition(const Menu* m, int p);
bool mIsLinearPosition(const Menu* m, int p);
bool mHasLinearPart(const Menu* m);
bool mHangsFromLinearItem(const Menu* m);
bool mAllLabelsEmpty(const Menu* m);
bool mAllRadialLabelsEmpty(const Menu* m);
bool mIsLinearOnly(const Menu* m);
bool mHasSubmenu(const Menu* m, int n);
bool mIsEnabled(const Menu* m, int n);
// Levels of the tree from m down, m's own included; at most
// MENU_DEPTH_LIMIT.
int mTreeDepth(const Menu* m);
int mWidestRadialPart(const Menu* m);
// Level of m in its tree, 1 for a root, from its parent links; past
// MENU_DEPTH_LIMIT it stops counting at MENU_DEPTH_LIMIT + 1.
int mLevelOf(const Menu* m);

// Calls visit(menu, level) for `root` (level 1) and every menu hung from its
// slots below itemCount, down to MENU_DEPTH_LIMIT levels. A submenu that is
// one of the menus above it, or that an earlier slot of the same menu leads
// to, is not entered again, so a tree whose submenu fields were linked into
// a loop by hand is still walked in bounded time.
template <typename M, typename Visit>
void mWalkTree(M* root, Visit visit) {
  if (!root) return;
  M* path[MENU_DEPTH_LIMIT];
  int next[MENU_DEPTH_LIMIT];
  int level = 0;  // index of the deepest menu on the path
  path[0] = root;
  next[0] = 0;
  visit(root, 1);
  while (level >= 0) {
    M* m = path[level];
    int filled = m->itemCount < MENU_SLOTS ? m->itemCount : MENU_SLOTS;
    if (level + 1 == MENU_DEPTH_LIMIT || next[level] >= filled) {
      level--;
      continue;
    }
    int i = next[level]++;
    M* sub = m->submenu[i];
    bool seen = !sub;
    for (int k = 0; k <= level && !seen; k++) seen = path[k] == sub;
    for (int j = 0; j < i && !seen; j++) seen = m->submenu[j] == sub;
    if (seen) continue;
    level++;
    path[level] = sub;
    next[level] = 0;
    visit(sub, level + 1);
  }
}
// The item number level `m` adds to the selection's path from `root`, given
// the level `above` it that the walk came from (NULL at the root). Nothing
// below the menu a selection was released in opened during it, so what an
// earlier selection left selected there counts as no selection: 0.
int mPathItem(const Menu* root, const Menu* above, const Menu* m);
// Levels with a selection from the root down, ending at releasedIn.
int mSelectionDepth(const Menu* root);
bool mSelectionReachesLinear(const Menu* root);
