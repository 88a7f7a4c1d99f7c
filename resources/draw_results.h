// The results screen's background and its needle strips.
#pragma once

#include <QImage>

namespace gen {

QImage resultsBackground();
// The strip of picture 166 + index, index 0..9.
QImage needleStrip(int index);

}  // namespace gen
