// The about box: the program's name, version and notices.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};
