// Writes one PNG that shows every embedded picture at its own size, labelled
// with its id, and the cursor at its own size and enlarged: for looking at
// the resources without running the trainer.
//
//   resource_sheet OUTPUT.png
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "resources/resources.h"

namespace {

constexpr int sheetWidth = 1300;
constexpr int gap = 14;
constexpr int labelHeight = 18;
constexpr int cursorZoom = 6;

struct Cell {
  QString label;
  QImage image;
  QPoint at;
  int width = 0;  // the picture's or its label's, whichever is wider
};

// Rows left to right, a new row when the next picture does not fit.
int layOut(std::vector<Cell>& cells) {
  int x = gap, y = gap, rowHeight = 0;
  for (Cell& cell : cells) {
    QSize size(cell.width, cell.image.height());
    if (x + size.width() + gap > sheetWidth && x > gap) {
      x = gap;
      y += rowHeight + labelHeight + gap;
      rowHeight = 0;
    }
    cell.at = QPoint(x, y + labelHeight);
    x += size.width() + gap;
    rowHeight = std::max(rowHeight, size.height());
  }
  return y + rowHeight + labelHeight + gap;
}

// The cursor on a checker ground, so that its transparent parts show.
QImage onChecker(const QImage& cursor, int zoom) {
  QImage out(cursor.size() * zoom, QImage::Format_RGB32);
  QPainter p(&out);
  for (int y = 0; y < out.height(); y += 4 * zoom / 2)
    for (int x = 0; x < out.width(); x += 4 * zoom / 2)
      p.fillRect(x, y, 2 * zoom, 2 * zoom,
                 ((x + y) / (2 * zoom)) % 2 ? QColor(150, 170, 200)
                                            : QColor(120, 140, 170));
  p.drawImage(QRect(QPoint(0, 0), out.size()), cursor);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  std::vector<Cell> cells;
  const int* ids = nullptr;
  int count = resources::bitmapIds(&ids);
  for (int i = 0; i < count; ++i)
    cells.push_back({QString::number(ids[i]), resources::bitmap(ids[i]), {}});
  QImage cursor = resources::cursorImage();
  cells.push_back({QStringLiteral("cursor 144"), onChecker(cursor, 1), {}});
  cells.push_back({QStringLiteral("cursor x%1").arg(cursorZoom),
                   onChecker(cursor, cursorZoom),
                   {}});

  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(13);
  QFontMetrics metrics(font);
  for (Cell& cell : cells)
    cell.width =
        std::max(cell.image.width(), metrics.horizontalAdvance(cell.label) + 4);
  int height = layOut(cells);
  QImage sheet(sheetWidth, height, QImage::Format_RGB32);
  sheet.fill(QColor(96, 100, 108));
  QPainter p(&sheet);
  p.setFont(font);
  p.setPen(Qt::white);
  for (const Cell& cell : cells) {
    p.drawText(QPoint(cell.at.x(), cell.at.y() - 5), cell.label);
    p.drawImage(cell.at, cell.image);
  }
  p.end();
  QString path = QString::fromLocal8Bit(argv[1]);
  if (!sheet.save(path, "PNG")) {
    std::fprintf(stderr, "could not write %s\n", argv[1]);
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
