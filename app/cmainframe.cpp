#include "app/cmainframe.h"

#include <QFrame>
#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/aboutdialog.h"
#include "app/progress_window.h"
#include "app/trainerview.h"
#include "resources/resources.h"

namespace {
// The screens are pictures of this size.
constexpr int viewWidth = 600;
constexpr int viewHeight = 400;
}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Tarvel"));
  QIcon icon;
  for (int size : resources::iconSizes)
    icon.addPixmap(QPixmap::fromImage(resources::iconImage(size)));
  setWindowIcon(icon);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("E&xit"), this, &QWidget::close);
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&Progress..."), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                  &CMainFrame::showProgress);
  help->addSeparator();
  help->addAction(tr("&About Tarvel..."), this, &CMainFrame::showAbout);

  // The view sits in a sunken client edge, two pixels all round.
  auto* edge = new QFrame;
  edge->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  auto* layout = new QVBoxLayout(edge);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new TrainerView(edge);
  view_->setFixedSize(viewWidth, viewHeight);
  layout->addWidget(view_);
  setCentralWidget(edge);
  setFocusProxy(view_);
  // Neither resized nor maximised: the frame keeps the size of its screens.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  int edgeWidth = edge->frameWidth();
  setFixedSize(viewWidth + 2 * edgeWidth,
               viewHeight + 2 * edgeWidth + menuBar()->sizeHint().height());
}

void CMainFrame::focusInEvent(QFocusEvent* event) {
  QMainWindow::focusInEvent(event);
  view_->setFocus();
}

void CMainFrame::showProgress() {
  // One window, read again each time it is asked for.
  if (!progress_)
    progress_ = new ProgressWindow(view_->practiceMenu(), this);
  else
    progress_->reload();
  progress_->show();
  progress_->raise();
  progress_->activateWindow();
}

void CMainFrame::showAbout() {
  AboutDialog about(this);
  about.exec();
}
