// explain_mark's picture: the stroke with its sampled points, the corner
// search windows, the corners and legs each recognizer found, the menu
// sectors the legs are read in, and a legend with the paths read.
#pragma once

#include <QImage>
#include <string>

#include "tools/mark_explanation.h"

// `title` names the stroke, `target` what it was meant to select (may be
// empty).
QImage mDrawExplanation(const MarkExplanation& e, const std::string& title,
                        const std::string& target);
