#include "app/training_menu.h"

#include <QFileInfo>
#include <map>

#include "progress/trainer_record.h"
#include "study/study_file.h"

namespace {

// The labels along `path` through `items`.
std::vector<std::string> labelsAlong(const std::vector<StudyItem>& items,
                                     const std::vector<int>& path) {
  std::vector<std::string> labels;
  const std::vector<StudyItem>* level = &items;
  for (int position : path) {
    const StudyItem* found = nullptr;
    for (const StudyItem& item : *level)
      if (item.position == position) found = &item;
    if (!found) break;
    labels.push_back(found->label);
    level = &found->submenu;
  }
  return labels;
}

std::string joined(const std::vector<std::string>& labels) {
  std::string text;
  for (const std::string& label : labels)
    text += (text.empty() ? "" : " \u203A ") + label;
  return text;
}

// A folder name from a file's name: letters, digits, '.', '-' and '_' kept,
// anything else made '-'.
std::string folderName(const std::string& path) {
  std::string base =
      QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
  std::string name;
  for (char c : base) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                 (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    name += plain ? c : '-';
  }
  if (name.empty() || name[0] == '.') name = "menu" + name;
  return name;
}

}  // namespace

bool TrainingMenu::load(const std::string& path, std::string* error) {
  Study study;
  StudyError problem;
  if (!mReadMenuFile(path, &study, &problem)) {
    *error = problem.text();
    return false;
  }
  const StudyMenu& menu = study.menus.front();
  std::vector<StudyItem> items = mStudyMenuItems(menu, study.design.seed);
  BuiltMenu built = mBuildStudyMenu(menu, study.design.seed);
  if (!built.root) {
    *error = path + ": not enough memory for its menu";
    return false;
  }
  Own own;
  own.name = menu.name;
  own.sha256 = study.sha256;
  own.root = built.root;
  own.leaves = std::move(built.leaves);
  std::map<std::string, int> sameLabel;
  for (const StudyLeaf& leaf : own.leaves) sameLabel[leaf.label]++;
  for (const StudyLeaf& leaf : own.leaves)
    own.askedAs.push_back(sameLabel[leaf.label] > 1
                              ? joined(labelsAlong(items, leaf.path))
                              : leaf.label);
  loaded_.push_back(std::move(own));
  own_ = &loaded_.back();
  file_ = path;
  return true;
}

void TrainingMenu::usePractice() {
  own_ = nullptr;
  file_.clear();
}

int TrainingMenu::itemCount() const {
  return own_ ? int(own_->leaves.size()) : practiceItemCount;
}

int TrainingMenu::itemOf(uintptr_t value) const {
  if (value == 0) return -1;
  // An own menu's leaves have their number + 1 as their value; the practice
  // menu's items point at their number.
  if (own_) return value <= own_->leaves.size() ? int(value - 1) : -1;
  return *reinterpret_cast<const int*>(value);
}

std::vector<int> TrainingMenu::path(int item) const {
  if (own_)
    return item >= 0 && item < itemCount() ? own_->leaves[size_t(item)].path
                                           : std::vector<int>();
  PracticePath p = practicePath(item);
  return {p.category, p.item};
}

std::vector<std::string> TrainingMenu::itemPaths() const {
  std::vector<std::string> paths;
  for (int k = 0; k < itemCount(); k++) paths.push_back(mPathText(path(k)));
  return paths;
}

std::string TrainingMenu::label(int item) const {
  if (own_)
    return item >= 0 && item < itemCount() ? own_->leaves[size_t(item)].label
                                           : std::string();
  return practicePath(item).itemLabel;
}

std::string TrainingMenu::askedAs(int item) const {
  if (own_ && item >= 0 && item < itemCount())
    return own_->askedAs[size_t(item)];
  return label(item);
}

std::string TrainingMenu::studyName() const {
  return own_ ? own_->name : trainerStudy;
}

std::string TrainingMenu::recordFolder() const {
  if (!own_) return trainerRecordPath();
  return tarvelDataPath() + "/" + ownMenuRecordFolder + "/" + folderName(file_);
}
