// The window a study runs in: the study's view under a menu bar, a fixed
// size.
#pragma once

#include <QMainWindow>
#include <memory>

class StudyRun;
class StudyView;

class StudyWindow : public QMainWindow {
 public:
  explicit StudyWindow(std::unique_ptr<StudyRun> run,
                       QWidget* parent = nullptr);
  StudyView* view() const { return view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  StudyView* view_;
};
