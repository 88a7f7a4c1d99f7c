// The charts of a study, drawn with Qt Charts and QPainter off screen: the
// learning curves of every condition and a confusion grid per condition.
#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

#include "progress/study_stats.h"

QWidget* makeStudyView(const StudyFigures& study, QWidget* parent = nullptr);
QImage renderStudy(const StudyFigures& study, QSize size);
