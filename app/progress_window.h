// Help > Progress: the charts of the user's trace file, read again on
// request.
#pragma once

#include <QDialog>

#include "menu/marking_menu.h"

class QVBoxLayout;

class ProgressWindow : public QDialog {
 public:
  // Paths of the trace are named through `menu`, the tree they were made in.
  ProgressWindow(const Menu* menu, QWidget* parent = nullptr);
  // Reads the trace file again and shows what it holds now.
  void reload();

 private:
  const Menu* menu_;
  QVBoxLayout* layout_;
  QWidget* charts_ = nullptr;
};
