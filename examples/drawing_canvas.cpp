// A drawing canvas whose right-button marking menu picks the colour, the
// brush and the tools. Draw with the left button; press the right one and
// wait for the menu, or flick the mark you know.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "qt/qt_marking_menu.h"

namespace {

enum Command : std::intptr_t {
  Red = 1,
  Green,
  Blue,
  Black,
  Fine,
  Medium,
  Broad,
  Pen,
  Eraser,
  Clear,
};

class Canvas : public QWidget {
 public:
  Canvas() {
    setWindowTitle("Tarvel drawing canvas");
    resize(640, 480);
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(Qt::white);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).drawImage(0, 0, picture_);
  }
  void resizeEvent(QResizeEvent*) override {
    QImage larger(size().expandedTo(picture_.size()), QImage::Format_RGB32);
    larger.fill(Qt::white);
    QPainter(&larger).drawImage(0, 0, picture_);
    picture_ = larger;
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton) {
      if (auto choice = menu_.select(event->globalPosition().toPoint()))
        apply(Command(choice->value));
      return;
    }
    last_ = event->position().toPoint();
    drawTo(last_);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (event->buttons() & Qt::LeftButton) drawTo(event->position().toPoint());
  }

 private:
  void apply(Command command) {
    switch (command) {
      case Red:
        colour_ = QColor(220, 30, 30);
        break;
      case Green:
        colour_ = QColor(30, 160, 60);
        break;
      case Blue:
        colour_ = QColor(30, 60, 220);
        break;
      case Black:
        colour_ = Qt::black;
        break;
      case Fine:
        width_ = 2;
        break;
      case Medium:
        width_ = 6;
        break;
      case Broad:
        width_ = 16;
        break;
      case Pen:
        erasing_ = false;
        break;
      case Eraser:
        erasing_ = true;
        break;
      case Clear:
        picture_.fill(Qt::white);
        update();
        break;
    }
  }
  void drawTo(QPoint to) {
    QPainter p(&picture_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(erasing_ ? QColor(Qt::white) : colour_, width_, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(last_, to);
    last_ = to;
    update();
  }

  tarvel::MarkingMenu menu_{
      {"Colour",
       {{"Red", Red}, {"Green", Green}, {"Blue", Blue}, {"Black", Black}}},
      {"Brush",
       {{"Fine", Fine}, {"Medium", Medium}, {"Broad", Broad}},
       tarvel::Place::East},
      {"Tools",
       {{"Pen", Pen}, {"Eraser", Eraser}, {"Clear", Clear}},
       tarvel::Place::South},
  };
  QImage picture_;
  QPoint last_;
  QColor colour_ = Qt::black;
  int width_ = 6;
  bool erasing_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Canvas canvas;
  canvas.show();
  return app.exec();
}
