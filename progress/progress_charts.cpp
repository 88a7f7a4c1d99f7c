#include "progress/progress_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPercentBarSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {

// The per-item chart names this many items, the most used.
constexpr int itemsShown = 10;

QChartView* viewOf(QChart* chart) {
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(360, 240);
  return view;
}

// A chart of one bar series made of `sets`.
QChart* barChart(const QString& title, QAbstractBarSeries* series,
                 std::initializer_list<QBarSet*> sets) {
  auto* chart = new QChart;
  chart->setTitle(title);
  for (QBarSet* set : sets) series->append(set);
  chart->addSeries(series);
  return chart;
}

QValueAxis* valueAxis(const QString& title, double max, const char* format) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setRange(0, max);
  axis->setLabelFormat(format);
  axis->applyNiceNumbers();
  return axis;
}

// Counts from 0 to `top`, on whole numbers only.
QValueAxis* countAxis(const QString& title, int top) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setLabelFormat("%d");
  if (top <= 10) {
    axis->setRange(0, top);
    axis->setTickCount(top + 1);
  } else {
    axis->setRange(0, top);
    axis->applyNiceNumbers();
  }
  return axis;
}

// Blocks of selections as categories, by their first selection: "1",
// "11", "21", ...
QBarCategoryAxis* blockAxis(size_t blocks, int blockSize) {
  QStringList names;
  for (size_t b = 0; b < blocks; b++)
    names << QString::number(b * size_t(blockSize) + 1);
  auto* axis = new QBarCategoryAxis;
  axis->append(names);
  axis->setTitleText(QString("selections, in blocks of %1").arg(blockSize));
  return axis;
}

QChartView* timeChart(const Progress& p) {
  auto* chart = new QChart;
  chart->setTitle("Time per selection");
  auto* each = new QScatterSeries;
  each->setName("each selection");
  each->setMarkerSize(6);
  auto* median = new QLineSeries;
  median->setName(QString("median of the last %1").arg(movingMedianWindow));
  double top = 0.5;
  for (size_t i = 0; i < p.seconds.size(); i++) {
    each->append(double(i + 1), p.seconds[i]);
    median->append(double(i + 1), p.medianSeconds[i]);
    top = std::max(top, p.seconds[i]);
  }
  chart->addSeries(each);
  chart->addSeries(median);
  return chartWithAxes(
      chart, countAxis("selection", int(std::max<size_t>(p.seconds.size(), 1))),
      valueAxis("seconds", top * 1.1, "%.1f"));
}

QChartView* shareChart(const Progress& p) {
  auto* marks = new QBarSet("by mark");
  auto* menus = new QBarSet("by menu");
  for (double share : p.markShare) {
    *marks << 100 * share;
    *menus << 100 * (1 - share);
  }
  return chartWithAxes(barChart("Marks and menu selections",
                                new QPercentBarSeries, {marks, menus}),
                       blockAxis(p.markShare.size(), p.blockSize),
                       valueAxis("%", 100, "%d"));
}

QChartView* slipChart(const Progress& p) {
  auto* nothing = new QBarSet("chose nothing");
  auto* corrected = new QBarSet("backed up or changed");
  int top = 1;
  for (size_t b = 0; b < p.nothing.size(); b++) {
    *nothing << p.nothing[b];
    *corrected << p.corrected[b];
    top = std::max({top, p.nothing[b], p.corrected[b]});
  }
  return chartWithAxes(barChart("Selections of nothing, and corrected ones",
                                new QBarSeries, {nothing, corrected}),
                       blockAxis(p.nothing.size(), p.blockSize),
                       countAxis("selections", top));
}

QChartView* itemChart(const Progress& p) {
  auto* marks = new QBarSet("by mark");
  auto* menus = new QBarSet("by menu");
  QStringList names;
  int shown = std::min(int(p.items.size()), itemsShown);
  int top = 1;
  // The most used at the top: bars go upwards from the first category.
  for (int i = shown - 1; i >= 0; i--) {
    const ItemUse& use = p.items[size_t(i)];
    names << QString::fromStdString(use.label);
    *marks << use.byMark;
    *menus << use.byMenu;
    top = std::max(top, use.byMark + use.byMenu);
  }
  auto* y = new QBarCategoryAxis;
  y->append(names);
  y->setTruncateLabels(false);
  // Small enough for every item to keep its name beside its bar.
  QFont small = y->labelsFont();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  y->setLabelsFont(small);
  return chartWithAxes(
      barChart("Items: chosen by mark or by menu",
               new QHorizontalStackedBarSeries, {marks, menus}),
      countAxis("selections", top), y);
}

QLabel* note(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QString skippedNote(const TraceLog& log) {
  size_t n = log.skippedLines.size();
  if (n == 0) return QString();
  return QString("%1 line%2 of the trace %3 no selection and %4 left out.")
      .arg(n)
      .arg(n == 1 ? "" : "s")
      .arg(n == 1 ? "is" : "are")
      .arg(n == 1 ? "was" : "were");
}

}  // namespace

QChartView* chartWithAxes(QChart* chart, QAbstractAxis* bottom,
                          QAbstractAxis* left) {
  chart->addAxis(bottom, Qt::AlignBottom);
  chart->addAxis(left, Qt::AlignLeft);
  for (QAbstractSeries* s : chart->series()) {
    s->attachAxis(bottom);
    s->attachAxis(left);
  }
  return viewOf(chart);
}

QImage renderOffScreen(QWidget* view, QSize size) {
  view->resize(size);
  view->setAttribute(Qt::WA_DontShowOnScreen);
  view->show();
  QImage picture = view->grab().toImage();
  delete view;
  return picture;
}

QWidget* makeProgressView(const TraceLog& log, const Progress& progress,
                          const QString& tracePath, QWidget* parent) {
  auto* view = new QWidget(parent);
  view->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(view);
  size_t total = log.records.size();
  if (total == 0) {
    bool tracing = QFileInfo(tracePath).dir().exists();
    QString why;
    if (log.opened)
      why = QString("There are no selections in %1 yet.").arg(tracePath);
    else if (tracing)
      why = QString(
                "There are no selections yet: tracing is on, and the "
                "next selection will be written to %1.")
                .arg(tracePath);
    else
      why = QString("There is no trace to show: %1 cannot be read (%2).")
                .arg(tracePath, QString::fromStdString(log.error));
    if (!tracing)
      why +=
          "\n\nEvery selection is written to the trace file when its "
          "folder exists. Create the folder, or choose another one by "
          "starting Tarvel with the environment variable TARVEL_TRACE_DIR "
          "set to it; then make a few selections and look again.";
    layout->addWidget(note(why));
    QString skipped = skippedNote(log);
    if (!skipped.isEmpty()) layout->addWidget(note(skipped));
    layout->addStretch();
    return view;
  }
  layout->addWidget(note(QString("%1 selection%2 in %3.")
                             .arg(total)
                             .arg(total == 1 ? "" : "s")
                             .arg(tracePath)));
  auto* grid = new QGridLayout;
  grid->addWidget(timeChart(progress), 0, 0);
  grid->addWidget(shareChart(progress), 0, 1);
  grid->addWidget(slipChart(progress), 1, 0);
  grid->addWidget(itemChart(progress), 1, 1);
  layout->addLayout(grid, 1);
  QString skipped = skippedNote(log);
  if (!skipped.isEmpty()) layout->addWidget(note(skipped));
  return view;
}

QImage renderProgress(const TraceLog& log, const Progress& progress,
                      const QString& tracePath, QSize size) {
  return renderOffScreen(makeProgressView(log, progress, tracePath), size);
}
