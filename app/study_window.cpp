#include "app/study_window.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "app/study_view.h"

namespace {
constexpr int viewWidth = 640;
constexpr int viewHeight = 480;
}  // namespace

StudyWindow::StudyWindow(std::unique_ptr<StudyRun> run, QWidget* parent)
    : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Tarvel: %1")
                     .arg(QString::fromStdString(run->study().name)));
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("E&xit"), this, &QWidget::close);
  view_ = new StudyView(std::move(run));
  view_->setFixedSize(viewWidth, viewHeight);
  setCentralWidget(view_);
  setFocusProxy(view_);
  setFixedSize(viewWidth, viewHeight + menuBar()->sizeHint().height());
}

void StudyWindow::closeEvent(QCloseEvent* event) {
  view_->closing();
  QMainWindow::closeEvent(event);
}
