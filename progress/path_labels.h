// Trace paths for people: the digits of a path read through the tree they
// were made in.
#pragma once

#include <string>

#include "menu/marking_menu.h"

// "11" in the practice menu is "Food > Apple": item numbers of one or two
// digits, read so that every level names an item and the digits run out at
// the last; "10" is "Food > (nothing)". Empty when the path names nothing in
// `root`.
std::string labelPath(const Menu* root, const std::string& digits);

// The last label of a path that ends without a selection.
inline constexpr const char* nothingLabel = "(nothing)";
