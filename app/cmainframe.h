// The main window: a fixed size, a menu bar, and the view filling the rest.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <string>

class QAction;

class ProgressWindow;
class TrainerView;

class CMainFrame : public QMainWindow {
 public:
  explicit CMainFrame(QWidget* parent = nullptr);

  TrainerView* view() const { return view_; }
  // Help > Progress: opens the progress window, or reads it again.
  void showProgress();
  ProgressWindow* progressWindow() const { return progress_; }
  // File > Keep a record of my trials, and the message shown when the
  // record cannot be kept (null when none has been).
  QAction* recordAction() const { return recordAction_; }
  QMessageBox* recordMessage() const { return recordMessage_; }
  // Options > Show the right mark after a misfire.
  QAction* rightMarkAction() const { return rightMarkAction_; }
  // Options > Aim practice at weak items.
  QAction* weakItemsAction() const { return weakItemsAction_; }
  // Options > Read marks with: the standard recognizer, or the one that
  // reads legs at their own scale.
  QAction* standardReadingAction() const { return standardReadingAction_; }
  QAction* legReadingAction() const { return legReadingAction_; }
  // Options > Practice menu, and Options > Practise a menu file...
  QAction* practiceMenuAction() const { return practiceMenuAction_; }
  QAction* menuFileAction() const { return menuFileAction_; }
  // What Options > Practise a menu file... does once a file is chosen:
  // false, with one dialog naming the line and field (waited for when
  // `wait`), when it cannot be read; the training area's menu then stays
  // as it was.
  bool practiseMenuFile(const QString& path, bool wait = true);

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void showAbout();
  void setKeepRecord(bool on);
  void showRecordProblem(const QString& problem);
  void chooseMenuFile();
  void usePracticeMenu();
  // The checks beside the two menus' entries, as the view has it, and the
  // menu's record in the progress window.
  void showMenuInUse();
  // The record the progress window shows: empty for the trainer's own.
  std::string recordShown() const;

  TrainerView* view_;
  ProgressWindow* progress_ = nullptr;
  QAction* recordAction_ = nullptr;
  QAction* rightMarkAction_ = nullptr;
  QAction* weakItemsAction_ = nullptr;
  QAction* standardReadingAction_ = nullptr;
  QAction* legReadingAction_ = nullptr;
  QAction* practiceMenuAction_ = nullptr;
  QAction* menuFileAction_ = nullptr;
  QPointer<QMessageBox> recordMessage_;
};
