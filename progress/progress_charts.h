// The progress charts of a trace, drawn with Qt Charts: for the trainer's
// Progress window and for pictures made off screen.
#pragma once

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

#include "progress/progress_stats.h"

// Where the figures came from, for the words around the charts.
struct ProgressSource {
  QString path;         // the trace file or the record's folder
  bool record = false;  // the trainer's record, not a trace
  bool opened = false;  // false: `error` says why nothing was read
  QString error;
};

// A widget with the charts and the table of items of `progress`, or with
// a message saying why there are none and how a record is begun.
QWidget* makeProgressView(const Progress& progress,
                          const ProgressSource& source,
                          QWidget* parent = nullptr);
// The same widget drawn into a picture of `size`.
QImage renderProgress(const Progress& progress, const ProgressSource& source,
                      QSize size);

// `chart` with every series on the two axes, in a view ready for a layout.
QChartView* chartWithAxes(QChart* chart, QAbstractAxis* bottom,
                          QAbstractAxis* left);
// `view` laid out at `size` and drawn into a picture without being shown,
// so that no display is needed; the view is deleted.
QImage renderOffScreen(QWidget* view, QSize size);
