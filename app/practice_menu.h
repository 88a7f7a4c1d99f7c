// The trainer's practice menu: four categories in the main directions with
// eleven items below them.
#pragma once

#include "menu/marking_menu.h"

inline constexpr int practiceItemCount = 11;

// Item numbers, the values the trainer compares.
enum PracticeItem {
  Duck,
  Pig,
  Apple,
  Banana,
  Saw,
  Hammer,
  Wrench,
  Car,
  Forklift,
  Tricycle,
  Truck
};

// Where an item lies: its category's position in the root menu and its own
// in the category's submenu, with both labels.
struct PracticePath {
  int category, item;
  const char* categoryLabel;
  const char* itemLabel;
};
PracticePath practicePath(int item);

// Builds the menu. Item k's client value is the address of itemValues[k],
// which must live as long as the menu (itemValues[k] holds k).
Menu* buildPracticeMenu(int itemValues[practiceItemCount]);
