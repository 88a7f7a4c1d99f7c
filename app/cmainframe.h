// The main window: a fixed size, a menu bar, and the view filling the rest.
#pragma once

#include <QMainWindow>

class TrainerView;

class CMainFrame : public QMainWindow {
 public:
  explicit CMainFrame(QWidget* parent = nullptr);

  TrainerView* view() const { return view_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void showAbout();

  TrainerView* view_;
};
