// The main window: a fixed size, a menu bar, and the view filling the rest.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

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

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void showAbout();
  void setKeepRecord(bool on);
  void showRecordProblem(const QString& problem);

  TrainerView* view_;
  ProgressWindow* progress_ = nullptr;
  QAction* recordAction_ = nullptr;
  QAction* rightMarkAction_ = nullptr;
  QAction* weakItemsAction_ = nullptr;
  QPointer<QMessageBox> recordMessage_;
};
