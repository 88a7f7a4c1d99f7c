// The title picture, the logo's fade steps and the logo buttons.
#pragma once

#include <QColor>
#include <QImage>

namespace gen {

QImage titlePicture();
// Step 0 is the logo at full strength, 9 nearly black.
QImage logoStep(int step);
// The emblem on a button of the ground colour: a glow on a dark ground, a
// shadow on a light one.
QImage logoButton(QColor ground);

}  // namespace gen
