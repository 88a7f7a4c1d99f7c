// The pictures of the training and laboratory areas and their trial lamps.
#pragma once

#include <QColor>
#include <QImage>

namespace gen {

QImage laboratoryPicture(QColor ground);
QImage trainingPicture(QColor ground);
QImage lamp(QColor hue, bool lit);

}  // namespace gen
