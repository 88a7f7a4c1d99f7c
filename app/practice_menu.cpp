#include "app/practice_menu.h"

#include <cstdint>

namespace {

void addCategory(Menu* root, const char* label, int position,
                 uint8_t toggleOn) {
  mAddItem(root, label, position, 0, 1, toggleOn, 0, 0, 1, 0, 0);
}

void addItem(Menu* menu, const char* label, int position, int* value) {
  mAddItem(menu, label, position, reinterpret_cast<uintptr_t>(value), 0, 0, 0,
           0, 1, 0, 0);
}

}  // namespace

PracticePath practicePath(int item) {
  static const PracticePath paths[practiceItemCount] = {
      {4, 6, "Animals", "Duck"},      {4, 2, "Animals", "Pig"},
      {0, 0, "Food", "Apple"},        {0, 4, "Food", "Banana"},
      {2, 0, "Tools", "Saw"},         {2, 2, "Tools", "Hammer"},
      {2, 4, "Tools", "Wrench"},      {6, 0, "Vehicles", "Car"},
      {6, 2, "Vehicles", "Forklift"}, {6, 4, "Vehicles", "Tricycle"},
      {6, 6, "Vehicles", "Truck"}};
  return paths[item >= 0 && item < practiceItemCount ? item : 0];
}

Menu* buildPracticeMenu(int itemValues[practiceItemCount]) {
  for (int k = 0; k < practiceItemCount; k++) itemValues[k] = k;
  Menu* root = mCreateMenu();
  if (!root) return nullptr;
  addCategory(root, "Food", 0, 0);
  addCategory(root, "Tools", 2, 0);
  addCategory(root, "Animals", 4, 1);
  addCategory(root, "Vehicles", 6, 0);

  Menu* food = mNewSubmenu(root, 0);
  addItem(food, "Apple", 0, &itemValues[Apple]);
  addItem(food, "Banana", 4, &itemValues[Banana]);
  Menu* tools = mNewSubmenu(root, 2);
  addItem(tools, "Saw", 0, &itemValues[Saw]);
  addItem(tools, "Hammer", 2, &itemValues[Hammer]);
  addItem(tools, "Wrench", 4, &itemValues[Wrench]);
  Menu* animals = mNewSubmenu(root, 4);
  addItem(animals, "Duck", 6, &itemValues[Duck]);
  addItem(animals, "Pig", 2, &itemValues[Pig]);
  Menu* vehicles = mNewSubmenu(root, 6);
  addItem(vehicles, "Car", 0, &itemValues[Car]);
  addItem(vehicles, "Forklift", 2, &itemValues[Forklift]);
  addItem(vehicles, "Tricycle", 4, &itemValues[Tricycle]);
  addItem(vehicles, "Truck", 6, &itemValues[Truck]);
  return root;
}
