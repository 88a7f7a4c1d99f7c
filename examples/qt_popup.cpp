// A window whose right button pops up a marking menu made from a QMenu; its
// text says what was chosen. The menus show inside the window, so it runs
// as it is on Wayland, on X11 and on Qt's offscreen platform.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

#include "qt/qt_marking_menu.h"

class Window : public QLabel {
 public:
  Window() : QLabel("Press the right button: mark, or wait for the menu") {
    setAlignment(Qt::AlignCenter);
    resize(480, 360);
    QMenu* colour = actions_.addMenu("&Colour");
    for (QString name : {"Red", "Green", "Blue", "Black"})
      connect(colour->addAction(name), &QAction::triggered, this,
              [this, name] { setText("Colour: " + name); });
    QAction* grid = actions_.addAction("&Grid");
    grid->setCheckable(true);
    connect(grid, &QAction::toggled, this,
            [this](bool on) { setText(on ? "Grid on" : "Grid off"); });
    connect(actions_.addAction("C&lear"), &QAction::triggered, this,
            [this] { setText("Cleared"); });
    menu_ = tarvel::MarkingMenu::fromMenu(&actions_);
    connect(menu_.get(), &tarvel::MarkingMenu::cancelled, this,
            [this] { setText("Nothing chosen"); });
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton)
      menu_->popup(this, event->globalPosition().toPoint());
  }

 private:
  QMenu actions_;
  std::unique_ptr<tarvel::MarkingMenu> menu_;
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window window;
  window.show();
  return app.exec();
}
