#include "app/cmainframe.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QFrame>
#include <QIcon>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdio>

#include "app/aboutdialog.h"
#include "app/progress_window.h"
#include "app/trainerview.h"
#include "resources/resources.h"

namespace {
// The screens are pictures of this size.
constexpr int viewWidth = 600;
constexpr int viewHeight = 400;
// Whether the trainer keeps a record of the trials; on unless turned off.
const char* const keepRecordKey = "trainer/keepRecord";
// Whether a misfire in the training area shows the target's mark; off
// unless turned on.
const char* const rightMarkKey = "trainer/showRightMark";
// Whether the training area's targets favour the items the learner finds
// hard; off unless turned on.
const char* const weakItemsKey = "trainer/aimAtWeakItems";
// The menu file the training area practises; none, or empty, for the
// practice menu.
const char* const menuFileKey = "trainer/menuFile";
// Which recognizer reads marks: the standard one unless the other is
// chosen.
const char* const recognizerKey = "trainer/markRecognizer";
}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Tarvel"));
  QIcon icon;
  for (int size : resources::iconSizes)
    icon.addPixmap(QPixmap::fromImage(resources::iconImage(size)));
  setWindowIcon(icon);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  recordAction_ = file->addAction(tr("&Keep a record of my trials"));
  recordAction_->setCheckable(true);
  connect(recordAction_, &QAction::triggered, this, &CMainFrame::setKeepRecord);
  file->addSeparator();
  file->addAction(tr("E&xit"), this, &QWidget::close);
  QMenu* options = menuBar()->addMenu(tr("&Options"));
  rightMarkAction_ =
      options->addAction(tr("&Show the right mark after a misfire"));
  rightMarkAction_->setCheckable(true);
  connect(rightMarkAction_, &QAction::triggered, this, [this](bool on) {
    QSettings().setValue(rightMarkKey, on);
    view_->showRightMark(on);
  });
  weakItemsAction_ = options->addAction(tr("&Aim practice at weak items"));
  weakItemsAction_->setCheckable(true);
  connect(weakItemsAction_, &QAction::triggered, this, [this](bool on) {
    QSettings().setValue(weakItemsKey, on);
    view_->aimAtWeakItems(on);
  });
  QMenu* reading = options->addMenu(tr("Read marks with\u2026"));
  auto* recognizers = new QActionGroup(this);
  standardReadingAction_ =
      reading->addAction(tr("&Corners along the mark (standard)"));
  legReadingAction_ = reading->addAction(tr("&Legs at their own scale"));
  for (QAction* kind : {standardReadingAction_, legReadingAction_}) {
    kind->setCheckable(true);
    recognizers->addAction(kind);
  }
  connect(recognizers, &QActionGroup::triggered, this, [this](QAction* kind) {
    int chosen = kind == legReadingAction_ ? MARK_RECOGNIZER_LEGS
                                           : MARK_RECOGNIZER_STANDARD;
    mSetMarkRecognizer(chosen);
    QSettings().setValue(recognizerKey, chosen);
  });
  options->addSeparator();
  practiceMenuAction_ = options->addAction(tr("&Practice menu"));
  practiceMenuAction_->setCheckable(true);
  connect(practiceMenuAction_, &QAction::triggered, this,
          &CMainFrame::usePracticeMenu);
  menuFileAction_ = options->addAction(tr("Practise a menu &file..."));
  menuFileAction_->setCheckable(true);
  connect(menuFileAction_, &QAction::triggered, this,
          &CMainFrame::chooseMenuFile);
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
  view_->onRecordProblem(
      [this](const QString& problem) { showRecordProblem(problem); });
  bool keep = QSettings().value(keepRecordKey, true).toBool();
  recordAction_->setChecked(keep && view_->keepRecord(keep));
  bool rightMark = QSettings().value(rightMarkKey, false).toBool();
  rightMarkAction_->setChecked(rightMark);
  view_->showRightMark(rightMark);
  bool weakItems = QSettings().value(weakItemsKey, false).toBool();
  weakItemsAction_->setChecked(weakItems);
  view_->aimAtWeakItems(weakItems);
  bool legs =
      QSettings().value(recognizerKey, MARK_RECOGNIZER_STANDARD).toInt() ==
      MARK_RECOGNIZER_LEGS;
  mSetMarkRecognizer(legs ? MARK_RECOGNIZER_LEGS : MARK_RECOGNIZER_STANDARD);
  (legs ? legReadingAction_ : standardReadingAction_)->setChecked(true);
  QString menuFile = QSettings().value(menuFileKey).toString();
  // A file kept from before that no longer reads is said once, without
  // holding the start up, and forgotten.
  if (!menuFile.isEmpty() && !practiseMenuFile(menuFile, false))
    QSettings().remove(menuFileKey);
  showMenuInUse();
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
  const TrainingMenu& training = view_->trainingMenu();
  if (!progress_)
    progress_ = new ProgressWindow(training.root(), this, recordShown());
  else if (!progress_->showRecordOf(training.root(), recordShown()))
    progress_->reload();
  progress_->show();
  progress_->raise();
  progress_->activateWindow();
}

void CMainFrame::showAbout() {
  AboutDialog about(this);
  about.exec();
}

void CMainFrame::setKeepRecord(bool on) {
  QSettings().setValue(keepRecordKey, on);
  if (!view_->keepRecord(on)) recordAction_->setChecked(false);
}

// One message at a time, left open while the learner goes on.
void CMainFrame::showRecordProblem(const QString& problem) {
  recordAction_->setChecked(view_->keepingRecord());
  QString text = problem.left(1).toUpper() + problem.mid(1) + '.';
  if (!recordMessage_) {
    recordMessage_ = new QMessageBox(QMessageBox::Warning, windowTitle(), text,
                                     QMessageBox::Ok, this);
    recordMessage_->setAttribute(Qt::WA_DeleteOnClose);
    recordMessage_->setModal(false);
  } else {
    recordMessage_->setText(text);
  }
  recordMessage_->show();
}

std::string CMainFrame::recordShown() const {
  const TrainingMenu& training = view_->trainingMenu();
  return training.practice() ? "" : training.recordFolder();
}

void CMainFrame::showMenuInUse() {
  const TrainingMenu& training = view_->trainingMenu();
  if (progress_) progress_->showRecordOf(training.root(), recordShown());
  bool practice = training.practice();
  practiceMenuAction_->setChecked(practice);
  menuFileAction_->setChecked(!practice);
  QString file = QString::fromStdString(view_->trainingMenu().file());
  menuFileAction_->setStatusTip(file);
  menuFileAction_->setToolTip(file);
}

bool CMainFrame::practiseMenuFile(const QString& path, bool wait) {
  std::string error;
  if (!view_->practiseMenuFile(path.toStdString(), &error)) {
    std::fprintf(stderr, "tarvel: %s\n", error.c_str());
    QString text = tr("This menu file cannot be practised; the training "
                      "area keeps the menu it had.\n\n%1")
                       .arg(QString::fromStdString(error));
    if (wait) {
      QMessageBox::warning(this, windowTitle(), text);
    } else {
      auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text,
                                  QMessageBox::Ok, this);
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->setModal(false);
      box->show();
    }
    showMenuInUse();
    return false;
  }
  QSettings().setValue(menuFileKey, path);
  showMenuInUse();
  return true;
}

void CMainFrame::chooseMenuFile() {
  QString start = QString::fromStdString(view_->trainingMenu().file());
  QString path =
      QFileDialog::getOpenFileName(this, tr("Practise a menu file"), start,
                                   tr("Menu files (*.json);;All files (*)"));
  if (path.isEmpty()) {
    showMenuInUse();
    return;
  }
  practiseMenuFile(path);
}

void CMainFrame::usePracticeMenu() {
  view_->practisePracticeMenu();
  QSettings().remove(menuFileKey);
  showMenuInUse();
}
