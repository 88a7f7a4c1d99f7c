// Trace paths for people: the digits of a path read through the tree they
// were made in.
#pragma once

#include <string>
#include <vector>

#include "menu/marking_menu.h"

// "11" in the practice menu is "Food > Apple": item numbers of one or two
// digits, read so that every level names an item and the digits run out at
// the last; "10" is "Food > (nothing)". Empty when the path names nothing in
// `root`.
std::string labelPath(const Menu* root, const std::string& digits);

// The last label of a path that ends without a selection.
inline constexpr const char* nothingLabel = "(nothing)";

struct MenuItem {
  std::string path;   // as a trace writes it: "11"
  std::string label;  // as labelPath names it: "Food > Apple"
};

// Every item of the tree beneath `root` that has no submenu, in the order
// of their positions, level by level from the root down.
std::vector<MenuItem> menuItems(const Menu* root);

// A trial log's path ("2/0": positions from 0, joined by '/') as a trace
// writes it ("31"); empty when it is no such path.
std::string traceDigits(const std::string& positions);
