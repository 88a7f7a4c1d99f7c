#include "app/cmainframe.h"

#include <QMenuBar>

#include "app/aboutdialog.h"
#include "app/trainerview.h"

namespace {
// The screens are pictures of this size.
constexpr int viewWidth = 600;
constexpr int viewHeight = 400;
}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Tarvel"));
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("E&xit"), this, &QWidget::close);
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&About Tarvel..."), this, &CMainFrame::showAbout);

  view_ = new TrainerView(this);
  view_->setFixedSize(viewWidth, viewHeight);
  setCentralWidget(view_);
  setFocusProxy(view_);
  // Neither resized nor maximised: the frame keeps the size of its screens.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(viewWidth, viewHeight + menuBar()->sizeHint().height());
}

void CMainFrame::focusInEvent(QFocusEvent* event) {
  QMainWindow::focusInEvent(event);
  view_->setFocus();
}

void CMainFrame::showAbout() {
  AboutDialog about(this);
  about.exec();
}
