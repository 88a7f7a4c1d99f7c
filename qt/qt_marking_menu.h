// SPDX-License-Identifier: MIT
// A marking menu for Qt programs in a few lines, over the library's public
// calls:
//
//   tarvel::MarkingMenu menu{{"Colour", {{"Red", 1}, {"Blue", 2}}},
//                            {"Clear", 3}};
//   if (auto choice = menu.select(event->globalPosition().toPoint()))
//     apply(choice->value);
//
// Items fill the compass from North clockwise (N, NE, E, SE, S, SW, W, NW),
// then the list below; an item may name its place instead (Place(n) for
// list row n - 8). An item placed outside 0 to 57, or where an earlier item
// of its menu is, is reported and left out; the rest of the menu is built.
// An item with items of its own is a submenu. One selection at a time, from the
// thread of the Qt application, with a mouse button held (the one that
// pressed).
#pragma once

#include <QPoint>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "menu/marking_menu.h"

namespace tarvel {

enum class Place {
  Next = -1,
  North = 0,
  NorthEast,
  East,
  SouthEast,
  South,
  SouthWest,
  West,
  NorthWest,
  List,  // the first row of the list; later rows follow it
};

struct TARVEL_API Item {
  Item(std::string label, std::intptr_t value, bool enabled = true,
       Place place = Place::Next);
  Item(std::string label, std::initializer_list<Item> items,
       Place place = Place::Next);

  std::string label;
  std::intptr_t value = 0;
  bool enabled = true;
  Place place = Place::Next;
  std::vector<Item> items;  // a submenu when not empty
};

struct Choice {
  std::vector<std::string> labels;  // from the root down
  std::vector<int> positions;       // 0 N ... 7 NW, 8 on: list rows
  std::intptr_t value = 0;          // the chosen item's
};

class TARVEL_API MarkingMenu {
 public:
  MarkingMenu(std::initializer_list<Item> items);
  explicit MarkingMenu(const std::vector<Item>& items);
  MarkingMenu(const MarkingMenu&) = delete;
  MarkingMenu& operator=(const MarkingMenu&) = delete;

  // Runs a whole selection begun by a press at `globalPress` (Qt's global
  // coordinates, as QMouseEvent::globalPosition gives them) while a mouse
  // button stays down, with the menu's feedback on the desktop. The chosen
  // item, or nothing: no item, a submenu's title, a disabled item, no
  // display.
  std::optional<Choice> select(QPoint globalPress);

  // The tree for the procedural calls; the library owns it.
  Menu* root() const { return root_; }

 private:
  void add(Menu* menu, const std::vector<Item>& items, int level);

  Menu* root_ = nullptr;
  int depth_ = 0;                    // levels of the tree
  std::vector<const Item*> chosen_;  // client values by the library's value
  std::vector<Item> items_;
};

}  // namespace tarvel
