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

// A widget with the four charts of `log`, read from `tracePath`, or with
// a message saying why there are none and how tracing is turned on.
QWidget* makeProgressView(const TraceLog& log, const Progress& progress,
                          const QString& tracePath, QWidget* parent = nullptr);
// The same widget drawn into a picture of `size`.
QImage renderProgress(const TraceLog& log, const Progress& progress,
                      const QString& tracePath, QSize size);

// `chart` with every series on the two axes, in a view ready for a layout.
QChartView* chartWithAxes(QChart* chart, QAbstractAxis* bottom,
                          QAbstractAxis* left);
// `view` laid out at `size` and drawn into a picture without being shown,
// so that no display is needed; the view is deleted.
QImage renderOffScreen(QWidget* view, QSize size);
