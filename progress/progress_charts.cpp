#include "progress/progress_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPercentBarSeries>
#include <QScatterSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

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

// Counts from 0 to `top`, on whole numbers only. Large counts are labelled
// in thousands or millions ("250k", "1M") at three or four round values,
// so that the labels fit a small chart.
QAbstractAxis* countAxis(const QString& title, int top) {
  constexpr int largeCount = 10000;
  if (top >= largeCount) {
    double step = 1;
    for (double unit = 1; step * 4 < top; unit *= 10)
      for (double m : {1.0, 2.0, 2.5, 5.0})
        if (step * 4 < top) step = m * unit;
    auto* axis = new QCategoryAxis;
    axis->setTitleText(title);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    double end = std::ceil(top / step) * step;
    for (double v = step; v <= end; v += step)
      axis->append(v >= 1e6 ? QString::number(v / 1e6) + "M"
                            : QString::number(v / 1e3) + "k",
                   v);
    axis->setRange(0, end);
    return axis;
  }
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setLabelFormat("%d");
  axis->setRange(0, top);
  if (top <= 10)
    axis->setTickCount(top + 1);
  else
    axis->applyNiceNumbers();
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

// Each selection while they are few, else the median and quartiles of each
// block: never more than a few hundred points.
QChartView* timeChart(const Progress& p) {
  auto* chart = new QChart;
  chart->setTitle("Time per selection");
  double top = 0.5;
  size_t n = p.seconds.size();
  if (n <= size_t(maxBlocks)) {
    auto* each = new QScatterSeries;
    each->setName("each selection");
    each->setMarkerSize(6);
    auto* median = new QLineSeries;
    median->setName(QString("median of the last %1").arg(movingMedianWindow));
    for (size_t i = 0; i < n; i++) {
      each->append(double(i + 1), p.seconds[i]);
      median->append(double(i + 1), p.medianSeconds[i]);
      top = std::max(top, p.seconds[i]);
    }
    chart->addSeries(each);
    chart->addSeries(median);
  } else {
    auto* median = new QLineSeries;
    median->setName(QString("median of %1").arg(p.blockSize));
    auto* low = new QLineSeries;
    low->setName("quartiles");
    auto* high = new QLineSeries;
    QPen thin(QColor(120, 120, 120));
    thin.setWidthF(0.8);
    low->setPen(thin);
    high->setPen(thin);
    for (size_t b = 0; b < p.blockMedian.size(); b++) {
      double x = double(b * size_t(p.blockSize) + 1);
      median->append(x, p.blockMedian[b]);
      low->append(x, p.blockLowerQuartile[b]);
      high->append(x, p.blockUpperQuartile[b]);
      top = std::max(top, p.blockUpperQuartile[b]);
    }
    chart->addSeries(median);
    chart->addSeries(low);
    chart->addSeries(high);
    chart->legend()->markers(high).first()->setVisible(false);
  }
  return chartWithAxes(chart,
                       countAxis("selection", int(std::max<size_t>(n, 1))),
                       valueAxis("seconds", top * 1.1, "%.1f"));
}

// Bars while the blocks are few enough to name, lines beyond.
constexpr size_t barredBlocks = 30;

QChartView* blockLines(
    const QString& title,
    std::initializer_list<std::pair<QString, std::vector<double>>> lines,
    const Progress& p, QAbstractAxis* left) {
  auto* chart = new QChart;
  chart->setTitle(title);
  for (const auto& [name, values] : lines) {
    auto* line = new QLineSeries;
    line->setName(name);
    for (size_t b = 0; b < values.size(); b++)
      line->append(double(b * size_t(p.blockSize) + 1), values[b]);
    chart->addSeries(line);
  }
  auto* bottom =
      countAxis(QString("selection, in blocks of %1").arg(p.blockSize),
                int(std::max<size_t>(p.seconds.size(), 1)));
  return chartWithAxes(chart, bottom, left);
}

QChartView* shareChart(const Progress& p) {
  if (p.markShare.size() > barredBlocks) {
    std::vector<double> percent;
    for (double share : p.markShare) percent.push_back(100 * share);
    return blockLines("Marks and menu selections", {{"by mark, %", percent}}, p,
                      valueAxis("%", 100, "%d"));
  }
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
  const QString title = "Selections of nothing, and corrected ones";
  int top = 1;
  for (size_t b = 0; b < p.nothing.size(); b++)
    top = std::max({top, p.nothing[b], p.corrected[b]});
  if (p.nothing.size() > barredBlocks)
    return blockLines(
        title,
        {{"chose nothing",
          std::vector<double>(p.nothing.begin(), p.nothing.end())},
         {"backed up or changed",
          std::vector<double>(p.corrected.begin(), p.corrected.end())}},
        p, countAxis("selections", top));
  auto* nothing = new QBarSet("chose nothing");
  auto* corrected = new QBarSet("backed up or changed");
  for (size_t b = 0; b < p.nothing.size(); b++) {
    *nothing << p.nothing[b];
    *corrected << p.corrected[b];
  }
  return chartWithAxes(barChart(title, new QBarSeries, {nothing, corrected}),
                       blockAxis(p.nothing.size(), p.blockSize),
                       countAxis("selections", top));
}

// Laboratory runs in order, each its hits and mean time; the personal best
// stands out. Beyond a few hundred runs, neighbours are averaged.
QChartView* runChart(const Progress& p) {
  auto* chart = new QChart;
  chart->setTitle(p.targets ? "Laboratory runs: none yet"
                            : "Laboratory runs: only the trainer's record "
                              "tells them");
  auto* hits = new QLineSeries;
  hits->setName("hits");
  hits->setPointsVisible(true);
  auto* time = new QLineSeries;
  time->setName("mean seconds");
  auto* best = new QScatterSeries;
  best->setName("personal best");
  best->setMarkerSize(11);
  best->setColor(QColor(220, 60, 30));
  size_t n = p.runs.size();
  size_t group =
      std::max<size_t>(1, (n + size_t(maxBlocks) - 1) / size_t(maxBlocks));
  int mostHits = 1;
  double slowest = 0.5;
  for (size_t start = 0; start < n; start += group) {
    size_t end = std::min(n, start + group);
    double h = 0, t = 0;
    for (size_t r = start; r < end; r++) {
      h += p.runs[r].hits;
      t += p.runs[r].meanSeconds;
      mostHits = std::max(mostHits, p.runs[r].trials);
    }
    hits->append(double(start + 1), h / double(end - start));
    time->append(double(start + 1), t / double(end - start));
    slowest = std::max(slowest, t / double(end - start));
  }
  if (p.bestRun >= 0)
    best->append(double(p.bestRun + 1), p.runs[size_t(p.bestRun)].hits);
  chart->addSeries(hits);
  chart->addSeries(best);
  QChartView* view =
      chartWithAxes(chart, countAxis("run", int(std::max<size_t>(n, 1))),
                    countAxis("hits", mostHits));
  auto* seconds = valueAxis("mean seconds", slowest * 1.1, "%.1f");
  chart->addSeries(time);
  chart->addAxis(seconds, Qt::AlignRight);
  time->attachAxis(chart->axes(Qt::Horizontal).first());
  time->attachAxis(seconds);
  if (p.bestRun >= 0) {
    const LabRun& b = p.runs[size_t(p.bestRun)];
    // Two lines, so that a narrow chart keeps the whole of it.
    chart->setTitle(QString("Laboratory runs<br>personal best: %1 of %2 "
                            "hits, %3 s, %4")
                        .arg(b.hits)
                        .arg(b.trials)
                        .arg(b.meanSeconds, 0, 'f', 2)
                        .arg(QString::fromStdString(b.when)));
  }
  return view;
}

// One point per session: the median time, and the shares of marks and hits.
QChartView* sessionChart(const Progress& p) {
  auto* chart = new QChart;
  chart->setTitle("Learning curve, session by session");
  auto* time = new QLineSeries;
  time->setName("median seconds");
  time->setPointsVisible(true);
  auto* marks = new QLineSeries;
  marks->setName("by mark, %");
  marks->setPointsVisible(true);
  auto* hits = new QLineSeries;
  hits->setName("hits, %");
  hits->setPointsVisible(true);
  size_t n = p.sessions.size();
  size_t group =
      std::max<size_t>(1, (n + size_t(maxBlocks) - 1) / size_t(maxBlocks));
  double slowest = 0.5;
  for (size_t start = 0; start < n; start += group) {
    size_t end = std::min(n, start + group);
    double t = 0, m = 0, h = 0;
    for (size_t s = start; s < end; s++) {
      t += p.sessions[s].medianSeconds;
      m += p.sessions[s].markShare;
      h += std::isnan(p.sessions[s].hitRate) ? 0 : p.sessions[s].hitRate;
    }
    double k = double(end - start);
    time->append(double(start + 1), t / k);
    marks->append(double(start + 1), 100 * m / k);
    hits->append(double(start + 1), 100 * h / k);
    slowest = std::max(slowest, t / k);
  }
  chart->addSeries(marks);
  if (p.targets) chart->addSeries(hits);
  QChartView* view =
      chartWithAxes(chart, countAxis("session", int(std::max<size_t>(n, 1))),
                    valueAxis("%", 100, "%d"));
  if (!p.targets) delete hits;
  auto* seconds = valueAxis("median seconds", slowest * 1.1, "%.1f");
  chart->addSeries(time);
  chart->addAxis(seconds, Qt::AlignRight);
  time->attachAxis(chart->axes(Qt::Horizontal).first());
  time->attachAxis(seconds);
  return view;
}

QString percent(double share) {
  return std::isnan(share) ? QString("–")
                           : QString::number(qRound(100 * share)) + " %";
}

// Every item with its figures over its last trials.
QTableWidget* itemTable(const Progress& p) {
  QStringList heads = {"item", "trials", "hits", "by mark", "median s"};
  auto* table = new QTableWidget(int(p.items.size()), heads.size());
  table->setHorizontalHeaderLabels(heads);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  for (int i = 0; i < int(p.items.size()); i++) {
    const ItemUse& use = p.items[size_t(i)];
    QStringList cells = {
        QString::fromStdString(use.label),
        QString::number(use.byMark + use.byMenu), percent(use.recentHitRate),
        percent(use.recentMarkShare),
        std::isnan(use.recentMedianSeconds)
            ? QString("–")
            : QString::number(use.recentMedianSeconds, 'f', 2)};
    for (int c = 0; c < cells.size(); c++) {
      auto* cell = new QTableWidgetItem(cells[c]);
      if (c > 0) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(i, c, cell);
    }
  }
  table->setTextElideMode(Qt::ElideNone);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->resizeColumnsToContents();
  table->resizeRowsToContents();
  // Wide enough for every label in full.
  table->setMinimumWidth(table->horizontalHeader()->length() +
                         2 * table->frameWidth() + 2);
  table->setToolTip(QString("Hits, marks and the median time are of each "
                            "item's last %1 trials.")
                        .arg(recentTrials));
  return table;
}

QChartView* itemChart(const Progress& p) {
  auto* marks = new QBarSet("by mark");
  auto* menus = new QBarSet("by menu");
  QStringList names;
  int shown = int(p.items.size());
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
      barChart(p.targets ? "Items asked: answered by mark or by menu"
                         : "Items: chosen by mark or by menu",
               new QHorizontalStackedBarSeries, {marks, menus}),
      countAxis("selections", top), y);
}

QLabel* note(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QString skippedNote(const Progress& p, const ProgressSource& source) {
  QString text;
  int n = p.skipped;
  if (n > 0 && !source.record)
    text = QString("%1 line%2 of the trace %3 no selection and %4 left out.")
               .arg(n)
               .arg(n == 1 ? "" : "s")
               .arg(n == 1 ? "is" : "are")
               .arg(n == 1 ? "was" : "were");
  else if (n > 0)
    text = QString("%1 row%2 of the record %3 damaged and %4 skipped.")
               .arg(n)
               .arg(n == 1 ? "" : "s")
               .arg(n == 1 ? "is" : "are")
               .arg(n == 1 ? "was" : "were");
  if (p.skippedFiles > 0)
    text += QString(
                "%1%2 file%3 of the record %4 no trials.csv and %5 "
                "skipped.")
                .arg(text.isEmpty() ? "" : " ")
                .arg(p.skippedFiles)
                .arg(p.skippedFiles == 1 ? "" : "s")
                .arg(p.skippedFiles == 1 ? "is" : "are")
                .arg(p.skippedFiles == 1 ? "was" : "were");
  return text;
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

QWidget* makeProgressView(const Progress& progress,
                          const ProgressSource& source, QWidget* parent) {
  auto* view = new QWidget(parent);
  view->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(view);
  size_t total = progress.seconds.size();
  QString skipped = skippedNote(progress, source);
  if (total == 0) {
    bool tracing = QFileInfo(source.path).dir().exists();
    QString why;
    if (source.record && source.opened)
      why = QString("There are no trials in %1 yet.").arg(source.path);
    else if (source.record)
      why = QString("There is no record to show: %1 (%2).")
                .arg(source.path, source.error);
    else if (source.opened)
      why = QString("There are no selections in %1 yet.").arg(source.path);
    else if (tracing)
      why = QString(
                "There are no selections yet: tracing is on, and the "
                "next selection will be written to %1.")
                .arg(source.path);
    else
      why = QString("There is no trace to show: %1 cannot be read (%2).")
                .arg(source.path, source.error);
    if (!tracing && !source.record)
      why +=
          "\n\nEvery selection is written to the trace file when its "
          "folder exists. Create the folder, or choose another one by "
          "starting Tarvel with the environment variable TARVEL_TRACE_DIR "
          "set to it; then make a few selections and look again.";
    layout->addWidget(note(why));
    if (!skipped.isEmpty()) layout->addWidget(note(skipped));
    layout->addStretch();
    return view;
  }
  layout->addWidget(note(QString("%1 %2%3 in %4.")
                             .arg(total)
                             .arg(source.record ? "trial" : "selection")
                             .arg(total == 1 ? "" : "s")
                             .arg(source.path)));
  auto* grid = new QGridLayout;
  grid->addWidget(timeChart(progress), 0, 0);
  grid->addWidget(shareChart(progress), 0, 1);
  grid->addWidget(slipChart(progress), 0, 2);
  grid->addWidget(sessionChart(progress), 1, 0);
  grid->addWidget(runChart(progress), 1, 1);
  grid->addWidget(itemChart(progress), 1, 2);
  grid->addWidget(itemTable(progress), 0, 3, 2, 1);
  for (int c = 0; c < 3; c++) grid->setColumnStretch(c, 3);
  grid->setColumnStretch(3, 2);
  layout->addLayout(grid, 1);
  // Seven parts in a smaller picture: the charts give way first.
  for (QChartView* chart : view->findChildren<QChartView*>())
    chart->setMinimumSize(200, 200);
  if (!skipped.isEmpty()) layout->addWidget(note(skipped));
  return view;
}

QImage renderProgress(const Progress& progress, const ProgressSource& source,
                      QSize size) {
  return renderOffScreen(makeProgressView(progress, source), size);
}
