#include "qt/qt_marking_menu.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <bitset>

#include "platform/report.h"

namespace tarvel {

namespace {

// Qt's global coordinates in the screen's device pixels, the library's.
QPoint devicePixels(QPoint logical) {
  QScreen* screen = QGuiApplication::screenAt(logical);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return logical;
  qreal ratio = screen->devicePixelRatio();
  QPoint origin = screen->geometry().topLeft();
  return origin + (logical - origin) * ratio;
}

// An item's label for a report of one line: control characters as "?".
std::string reportable(const std::string& label) {
  std::string out = label.substr(0, 60);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

}  // namespace

Item::Item(std::string label, std::intptr_t value, bool enabled, Place place)
    : label(std::move(label)), value(value), enabled(enabled), place(place) {}

Item::Item(std::string label, std::initializer_list<Item> items, Place place)
    : label(std::move(label)), place(place), items(items) {}

MarkingMenu::MarkingMenu(std::initializer_list<Item> items)
    : MarkingMenu(std::vector<Item>(items)) {}

MarkingMenu::MarkingMenu(const std::vector<Item>& items) : items_(items) {
  root_ = mCreateMenu();
  add(root_, items_, 1);
}

void MarkingMenu::add(Menu* menu, const std::vector<Item>& items, int level) {
  if (!menu) return;
  depth_ = std::max(depth_, level);
  int next = 0;
  std::bitset<MENU_SLOTS> taken;
  std::vector<std::string> labels(MENU_SLOTS);
  for (const Item& item : items) {
    int position = item.place == Place::Next ? next : int(item.place);
    // A misplaced item is left out alone; the rest of the menu is built.
    if (position < 0 || position >= MENU_SLOTS) {
      mReportError(
          "marking menu item \"%s\" placed at %d, outside 0 to %d: "
          "left out",
          reportable(item.label).c_str(), position, MENU_SLOTS - 1);
      continue;
    }
    next = position + 1;
    if (taken[size_t(position)]) {
      mReportError(
          "marking menu item \"%s\" placed at %d, where \"%s\" "
          "is: left out",
          reportable(item.label).c_str(), position,
          labels[size_t(position)].c_str());
      continue;
    }
    taken[size_t(position)] = true;
    labels[size_t(position)] = reportable(item.label);
    // The library hands back its own value: which item it was.
    chosen_.push_back(&item);
    mAddItem(menu, item.label.c_str(), position, uintptr_t(chosen_.size()), 0,
             0, 0, 0, item.enabled ? 1 : 0, 0, 0);
    if (!item.items.empty())
      add(mNewSubmenu(menu, position), item.items, level + 1);
  }
}

std::optional<Choice> MarkingMenu::select(QPoint globalPress) {
  if (!root_) return std::nullopt;
  mInit(0, 0, 0, 0, 0, 0);
  QPoint at = devicePixels(globalPress);
  mPress(root_, at.x(), at.y());
  while (mButtonsDown()) {
    at = devicePixels(QCursor::pos());
    mMotion(root_, at.x(), at.y());
    mPoll();
  }
  at = devicePixels(QCursor::pos());
  mRelease(root_, at.x(), at.y());
  mShowConfirmation(root_);
  mEraseConfirmation(root_);
  mShutdown();

  // One entry per level of the tree at most.
  std::vector<int> positions(size_t(depth_) + 1);
  std::vector<const char*> labels(size_t(depth_) + 1);
  uintptr_t value = 0;
  int levels = mGetResult(root_, positions.data(), labels.data(), nullptr,
                          nullptr, nullptr, &value);
  if (value == 0 || value > chosen_.size()) return std::nullopt;
  Choice choice;
  for (int i = 0; i < levels && i <= depth_; i++) {
    choice.positions.push_back(positions[size_t(i)]);
    choice.labels.push_back(labels[size_t(i)] ? labels[size_t(i)] : "");
  }
  choice.value = chosen_[value - 1]->value;
  return choice;
}

}  // namespace tarvel
