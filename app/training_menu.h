// What the training area asks for: the practice menu, whose items have
// pictures, or a menu of the learner's own read from a menu file (the study
// file format), whose leaves are asked for by label. Items are numbered
// 0..itemCount()-1; for the practice menu these are the PracticeItem
// numbers.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "app/practice_menu.h"
#include "study/study_menus.h"

class TrainingMenu {
 public:
  // The practice menu `practiceRoot`, built by buildPracticeMenu.
  explicit TrainingMenu(Menu* practiceRoot) : practiceRoot_(practiceRoot) {}

  // Reads the first menu of the menu file at `path`. False, with `error`
  // ("FILE:LINE: FIELD: MESSAGE"), when it cannot; the menu stays as it was.
  bool load(const std::string& path, std::string* error);
  void usePractice();

  bool practice() const { return own_ == nullptr; }
  Menu* root() const { return own_ ? own_->root : practiceRoot_; }
  int itemCount() const;
  // The item a chosen item's client value stands for; -1 for none.
  int itemOf(uintptr_t value) const;
  // Positions from the root down to the item.
  std::vector<int> path(int item) const;
  // Every item's path as a record writes it ("2/0"), by number.
  std::vector<std::string> itemPaths() const;
  // The item's own label.
  std::string label(int item) const;
  // The words that ask for the item: its label, or the labels along its
  // path ("File › Open") where another item has the same label.
  std::string askedAs(int item) const;

  // The menu file and the sha256 of its bytes, empty for the practice
  // menu.
  const std::string& file() const { return file_; }
  std::string sha256() const { return own_ ? own_->sha256 : std::string(); }
  // The name the record gives the menu's trials, and the folder their
  // sessions go to: the trainer's own for the practice menu, else one of
  // its own named after the menu file.
  std::string studyName() const;
  std::string recordFolder() const;

 private:
  struct Own {
    std::string name;
    std::string sha256;
    Menu* root = nullptr;
    std::vector<StudyLeaf> leaves;
    std::vector<std::string> askedAs;
  };

  Menu* practiceRoot_;
  // Every menu read so far: the library has no call that frees a tree, and
  // a window may still show an earlier one.
  std::deque<Own> loaded_;
  const Own* own_ = nullptr;
  std::string file_;
};
