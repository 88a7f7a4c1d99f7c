#include "app/aboutdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Tarvel"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Tarvel Version 1.0")));
  const char* const notices[] = {
      "A trainer for hierarchical marking menus.",
      "Copyright (C) 2026 the Tarvel developers.",
      "This program comes with no warranty of any kind;",
      "you may use, copy and share it freely."};
  for (const char* line : notices) layout->addWidget(new QLabel(tr(line)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  setFixedSize(404, 242);
}
