// The trainer's practice menu for tests, and what a selection made in it
// reads back through mGetResult.
#pragma once

#include <string>

#include "app/practice_menu.h"

struct PracticeMenu {
  int itemValues[practiceItemCount];
  Menu* root = buildPracticeMenu(itemValues);

  // The chosen item's number, or -1 when the result carries no value.
  int chosen() const { return chosenItem(root); }
  // The selected path's labels joined by ", ", "Center" where it ends
  // without an item.
  std::string path() const { return selectedPath(root); }

  static int chosenItem(Menu* root) {
    uintptr_t value = 0;
    mGetResult(root, nullptr, nullptr, nullptr, nullptr, nullptr, &value);
    return value ? *reinterpret_cast<const int*>(value) : -1;
  }
  static std::string selectedPath(Menu* root) {
    const char* labels[8] = {};
    int n =
        mGetResult(root, nullptr, labels, nullptr, nullptr, nullptr, nullptr);
    std::string text;
    for (int i = 0; i < n && i < 8; i++) {
      if (i > 0) text += ", ";
      text += labels[i];
    }
    return text;
  }
};
