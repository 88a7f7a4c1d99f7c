// The application: makes the main frame and shows it.
#pragma once

#include <QApplication>
#include <memory>

class CMainFrame;

class TrainerApp : public QApplication {
 public:
  TrainerApp(int& argc, char** argv);
  ~TrainerApp() override;

  // The menus and their input polling need an X11 display: on a Wayland
  // desktop the program runs through XWayland. False, with a message, when
  // there is no X display to run on.
  static bool prepareDisplay();

  CMainFrame* frame() const { return frame_.get(); }

 private:
  std::unique_ptr<CMainFrame> frame_;
};
