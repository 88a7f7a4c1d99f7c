#include "app/progress_window.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "progress/path_labels.h"
#include "progress/progress_charts.h"

ProgressWindow::ProgressWindow(const Menu* menu, QWidget* parent)
    : QDialog(parent), menu_(menu), layout_(new QVBoxLayout(this)) {
  setWindowTitle(tr("Tarvel Progress"));
  resize(1100, 860);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* again =
      buttons->addButton(tr("&Read again"), QDialogButtonBox::ActionRole);
  connect(again, &QPushButton::clicked, this, &ProgressWindow::reload);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout_->addWidget(buttons);
  reload();
}

void ProgressWindow::reload() {
  std::string path = mTraceFile();
  TraceLog log = readTrace(path);
  const Menu* menu = menu_;
  Progress progress = progressOf(log, [menu](const std::string& digits) {
    return labelPath(menu, digits);
  });
  delete charts_;
  charts_ = makeProgressView(log, progress, QString::fromStdString(path));
  layout_->insertWidget(0, charts_, 1);
}
