#include "progress/study_charts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <functional>
#include <set>

#include "progress/progress_charts.h"

namespace {

// Grids side by side before a new row starts.
constexpr int gridsPerRow = 3;
// Counts are written into cells at least this wide, in pixels.
constexpr int countedCellPx = 16;
// A grid of few items stays this fine, in pixels, rather than filling all.
constexpr int largestCellPx = 44;

// Blocks on whole numbers, with room at either end for the first and last
// points' markers.
QValueAxis* blockAxis(int first, int last) {
  auto* axis = new QValueAxis;
  axis->setTitleText("block");
  axis->setLabelFormat("%d");
  axis->setRange(first - 0.25, last + 0.25);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(first);
  axis->setTickInterval(std::max(1, (last - first + 1) / 10));
  return axis;
}

QChartView* curveChart(const StudyFigures& study, const QString& title,
                       const QString& unit, double top,
                       const std::function<double(const Figures&)>& value) {
  auto* chart = new QChart;
  chart->setTitle(title);
  int first = 1 << 30, last = -(1 << 30);
  for (const StudyCell& condition : study.conditions) {
    auto* line = new QLineSeries;
    line->setName(QString::fromStdString(condition.condition));
    line->setPointsVisible(true);
    for (const StudyCell& point : study.curves) {
      if (point.condition != condition.condition) continue;
      line->append(point.block, value(point.figures));
      top = std::max(top, value(point.figures));
      first = std::min(first, point.block);
      last = std::max(last, point.block);
    }
    chart->addSeries(line);
  }
  if (first > last) first = last = 1;
  auto* left = new QValueAxis;
  left->setTitleText(unit);
  left->setRange(0, top);
  left->setLabelFormat("%.1f");
  left->applyNiceNumbers();
  // Points at the very top or bottom would lose half their marker.
  double step = (left->max() - left->min()) / (left->tickCount() - 1);
  left->setTickType(QValueAxis::TicksDynamic);
  left->setTickAnchor(0);
  left->setTickInterval(step);
  left->setRange(-step / 8, left->max() + step / 8);
  return chartWithAxes(chart, blockAxis(first, last), left);
}

// Counts of one condition as a grid of cells, darker for more: the
// diagonal holds the hits, everything off it a confusion.
// Grids of more targets than this are listed instead.
constexpr int largestGridRows = 24;

class ConfusionGrid : public QWidget {
 public:
  explicit ConfusionGrid(const Confusion& confusion) : c(confusion) {
    setMinimumSize(240, 200);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    QFont titleFont = font();
    titleFont.setBold(true);
    p.setFont(titleFont);
    int titleHeight = QFontMetrics(titleFont).height() + 6;
    p.drawText(QRect(0, 0, width(), titleHeight), Qt::AlignCenter,
               QString("%1: target (rows) by chosen (columns)")
                   .arg(QString::fromStdString(c.condition)));
    int rows = int(c.targets.size()), columns = int(c.chosen.size());
    if (rows == 0 || columns == 0) return;
    if (rows > largestGridRows) {
      paintList(p, titleHeight);
      return;
    }

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    // Many items call for smaller type and labels cut short.
    if (std::max(rows, columns) > 16)
      small.setPointSizeF(small.pointSizeF() * 0.75);
    QFontMetrics metrics(small);
    int labelWidth = 0;
    for (const std::string& name : c.targets)
      labelWidth = std::max(
          labelWidth, metrics.horizontalAdvance(QString::fromStdString(name)));
    for (const std::string& name : c.chosen)
      labelWidth = std::max(
          labelWidth, metrics.horizontalAdvance(QString::fromStdString(name)));
    labelWidth = std::min(labelWidth + 8, width() / 4);
    QRect area(labelWidth, titleHeight + labelWidth, width() - labelWidth - 4,
               height() - titleHeight - labelWidth - 4);
    int cell =
        std::clamp(std::min(area.width() / columns, area.height() / rows), 1,
                   largestCellPx);
    // The names and the grid together, centred across the widget.
    int left = (width() - labelWidth - cell * columns) / 2;
    area.moveLeft(left + labelWidth);
    area.setSize(QSize(cell * columns, cell * rows));
    p.setFont(small);

    for (int t = 0; t < rows; t++) {
      QRect label(left, area.top() + t * cell, labelWidth - 4, cell);
      p.setPen(Qt::black);
      p.drawText(
          label, Qt::AlignRight | Qt::AlignVCenter,
          metrics.elidedText(QString::fromStdString(c.targets[size_t(t)]),
                             Qt::ElideRight, labelWidth - 4));
      for (int k = 0; k < columns; k++) {
        int n = c.counts[size_t(t)][size_t(k)];
        double share = c.largest > 0 ? double(n) / c.largest : 0;
        QColor colour = n == 0
                            ? QColor(248, 248, 248)
                            : QColor::fromRgbF(1 - 0.8 * share, 1 - 0.6 * share,
                                               1 - 0.2 * share);
        QRect box(area.left() + k * cell, area.top() + t * cell, cell, cell);
        p.fillRect(box, colour);
        p.setPen(QColor(220, 220, 220));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (n > 0 && cell >= countedCellPx) {
          p.setPen(share > 0.5 ? Qt::white : Qt::black);
          p.drawText(box, Qt::AlignCenter, QString::number(n));
        }
      }
    }
    // Column names read upwards above their columns.
    p.setPen(Qt::black);
    for (int k = 0; k < columns; k++) {
      p.save();
      p.translate(area.left() + k * cell + cell / 2.0, area.top() - 4);
      p.rotate(-90);
      p.drawText(QRect(0, -cell / 2, labelWidth - 4, cell),
                 Qt::AlignLeft | Qt::AlignVCenter,
                 metrics.elidedText(QString::fromStdString(c.chosen[size_t(k)]),
                                    Qt::ElideRight, labelWidth - 4));
      p.restore();
    }
  }

 private:
  // A grid of many items would be too fine to read: the confusions that
  // came most often are listed instead, with how often they came.
  void paintList(QPainter& p, int top) {
    struct Pair {
      int count;
      size_t target, chosen;
    };
    std::vector<Pair> pairs;
    int hits = 0, trials = 0;
    for (size_t t = 0; t < c.targets.size(); t++)
      for (size_t k = 0; k < c.chosen.size(); k++) {
        int n = c.counts[t][k];
        trials += n;
        if (k == t)
          hits += n;
        else if (n > 0)
          pairs.push_back({n, t, k});
      }
    std::stable_sort(
        pairs.begin(), pairs.end(),
        [](const Pair& a, const Pair& b) { return a.count > b.count; });
    p.setFont(font());
    p.setPen(Qt::black);
    QFontMetrics metrics(p.font());
    int line = metrics.height() + 2;
    int y = top + line;
    p.drawText(8, y,
               QString("%1 targets, %2 of %3 trials right")
                   .arg(c.targets.size())
                   .arg(hits)
                   .arg(trials));
    y += line;
    p.drawText(8, y,
               pairs.empty() ? QString("No confusions")
                             : QString("Most frequent confusions:"));
    int countX = width() - 8 - metrics.horizontalAdvance("0000000");
    int half = (countX - 16) / 2;
    for (const Pair& pair : pairs) {
      y += line;
      if (y > height() - 4) break;
      p.drawText(
          QRect(8, y - line + 4, half, line), Qt::AlignLeft,
          metrics.elidedText(QString::fromStdString(c.targets[pair.target]),
                             Qt::ElideRight, half));
      p.drawText(
          QRect(8 + half, y - line + 4, half, line), Qt::AlignLeft,
          metrics.elidedText(QString::fromUtf8("\u2192 ") +
                                 QString::fromStdString(c.chosen[pair.chosen]),
                             Qt::ElideRight, half));
      p.drawText(QRect(countX, y - line + 4, width() - 8 - countX, line),
                 Qt::AlignRight, QString::number(pair.count));
    }
  }

  Confusion c;
};

}  // namespace

QWidget* makeStudyView(const StudyFigures& study, QWidget* parent) {
  auto* view = new QWidget(parent);
  view->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(view);
  std::set<std::string> people;
  int trials = 0;
  for (const StudyCell& cell : study.cells) {
    people.insert(cell.participant);
    trials += cell.figures.trials;
  }
  auto* heading = new QLabel(
      QString("%1 participant%2, %3 condition%4, %5 trials (practice left out)")
          .arg(people.size())
          .arg(people.size() == 1 ? "" : "s")
          .arg(study.conditions.size())
          .arg(study.conditions.size() == 1 ? "" : "s")
          .arg(trials));
  layout->addWidget(heading);
  auto* curves = new QGridLayout;
  curves->addWidget(curveChart(study, "Hit rate per block", "hit rate", 1,
                               [](const Figures& f) { return f.hitRate; }),
                    0, 0);
  curves->addWidget(
      curveChart(study, "Median selection time per block", "seconds", 0.5,
                 [](const Figures& f) { return f.medianMs / 1000; }),
      0, 1);
  layout->addLayout(curves, 1);
  auto* grids = new QGridLayout;
  for (size_t i = 0; i < study.confusions.size(); i++)
    grids->addWidget(new ConfusionGrid(study.confusions[i]),
                     int(i) / gridsPerRow, int(i) % gridsPerRow);
  layout->addLayout(grids, 1);
  return view;
}

QImage renderStudy(const StudyFigures& study, QSize size) {
  return renderOffScreen(makeStudyView(study), size);
}
