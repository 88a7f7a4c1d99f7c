// A program linked with the core library and the in-window platform, not
// the desktop one: its menus are drawn over its own window, on Qt's
// offscreen platform here, and nothing is left over the window after.
#include <QApplication>
#include <QWidget>
#include <cstdio>

#include "menu/marking_menu.h"
#include "platform/qt_window/window_platform.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QWidget window;
  window.resize(320, 240);
  window.show();
  platform::WindowPlatform inWindow(&window);
  platform::install(&inWindow);

  Menu* root = mCreateMenu();
  mAddItem(root, "North", 0, 1, 0, 0, 0, 0, 1, 0, 0);
  mInit(0, 0, 0, 0, 0, 0);
  QImage picture = inWindow.picture();
  if (!inWindow.overlay() || picture.width() < 320 ||
      qAlpha(picture.pixel(10, 10)) != 0) {
    std::puts("consumer_window: no clear overlay over the window");
    return 1;
  }
  mPress(root, 160, 120);
  mRelease(root, 160, 120);
  mShutdown();
  if (!window.findChildren<QWidget*>().isEmpty()) {
    std::puts("consumer_window: the overlay stayed behind");
    return 1;
  }
  platform::install(nullptr);
  std::puts("consumer_window: ok");
  return 0;
}
