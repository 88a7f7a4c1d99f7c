// The main window: a fixed size, a menu bar, and the view filling the rest.
#pragma once

#include <QMainWindow>

class ProgressWindow;
class TrainerView;

class CMainFrame : public QMainWindow {
 public:
  explicit CMainFrame(QWidget* parent = nullptr);

  TrainerView* view() const { return view_; }
  // Help > Progress: opens the progress window, or reads it again.
  void showProgress();
  ProgressWindow* progressWindow() const { return progress_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void showAbout();

  TrainerView* view_;
  ProgressWindow* progress_ = nullptr;
};
