#include "progress/path_labels.h"

namespace {

constexpr const char* separator = " > ";

// The labels of `digits` read from `menu` down, or false.
bool labelFrom(const Menu* menu, const std::string& digits, size_t at,
               std::string* out) {
  if (at == digits.size()) return true;
  // A level without a selection ends the path with a 0.
  if (at > 0 && at + 1 == digits.size() && digits[at] == '0') {
    *out = nothingLabel;
    return true;
  }
  if (!menu) return false;
  for (size_t width = 1; width <= 2 && at + width <= digits.size(); width++) {
    if (digits[at] == '0') return false;
    int item = std::stoi(digits.substr(at, width));
    if (item < 1 || item > menu->itemCount || item > MENU_SLOTS) continue;
    const char* label = menu->label[item - 1];
    if (!label[0]) continue;
    std::string rest;
    if (!labelFrom(menu->submenu[item - 1], digits, at + width, &rest))
      continue;
    *out = label + (rest.empty() ? "" : separator + rest);
    return true;
  }
  return false;
}

}  // namespace

std::string labelPath(const Menu* root, const std::string& digits) {
  if (digits.empty() ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return std::string();
  std::string labels;
  return labelFrom(root, digits, 0, &labels) ? labels : std::string();
}

namespace {

void collect(const Menu* menu, const std::string& path,
             const std::string& label, std::vector<MenuItem>* out) {
  for (int i = 0; i < menu->itemCount && i < MENU_SLOTS; i++) {
    const char* name = menu->label[i];
    if (!name[0]) continue;
    std::string itemPath = path + std::to_string(i + 1);
    std::string itemLabel = label.empty() ? name : label + separator + name;
    if (menu->submenu[i])
      collect(menu->submenu[i], itemPath, itemLabel, out);
    else
      out->push_back({itemPath, itemLabel});
  }
}

}  // namespace

std::vector<MenuItem> menuItems(const Menu* root) {
  std::vector<MenuItem> items;
  if (root) collect(root, "", "", &items);
  return items;
}

std::string traceDigits(const std::string& positions) {
  std::string digits;
  size_t start = 0;
  while (start <= positions.size()) {
    size_t end = positions.find('/', start);
    if (end == std::string::npos) end = positions.size();
    std::string part = positions.substr(start, end - start);
    if (part.empty() || part.size() > 2 ||
        part.find_first_not_of("0123456789") != std::string::npos)
      return std::string();
    digits += std::to_string(std::stoi(part) + 1);
    start = end + 1;
  }
  return digits;
}
