// tarvel-report: trace files and study logs as data. For a trace, one CSV
// row per selection, the progress charts as a picture, or a short summary;
// for the trials.csv files of a study, its figures as tables, a tidy CSV
// and charts.
#pragma once

#include "menu/marking_menu.h"

// The whole command, given its arguments. Paths of traces are named
// through `traceMenu`, the tree they were made in.
int tarvelReport(int argc, char** argv, const Menu* traceMenu);
