// Which drawing makes each picture of the catalogue.
#include "resources/draw_areas.h"
#include "resources/draw_items.h"
#include "resources/draw_results.h"
#include "resources/draw_title.h"
#include "resources/generator.h"
#include "resources/paint_kit.h"

namespace gen {

namespace {

const QColor yellowGround(255, 222, 60);

}  // namespace

QImage drawPicture(int id) {
  if (id == 130) return titlePicture();
  if (id >= 131 && id <= 140) return logoStep(id - 131);
  if (id >= 148 && id <= 158) return drawItem(id - 148);
  if (id >= 166 && id <= 175) return needleStrip(id - 166);
  switch (id) {
    case 141:
      return laboratoryPicture(white);
    case 142:
      return trainingPicture(black);
    case 143:
      return logoButton(black);
    case 145:
      return logoButton(white);
    case 146:
      return laboratoryPicture(yellowGround);
    case 147:
      return trainingPicture(white);
    case 159:
      return lamp(QColor(255, 44, 32), false);
    case 160:
      return lamp(QColor(255, 44, 32), true);
    case 161:
      return lamp(QColor(255, 170, 20), false);
    case 162:
      return lamp(QColor(255, 170, 20), true);
    case 163:
      return lamp(QColor(50, 230, 70), false);
    case 164:
      return lamp(QColor(50, 230, 70), true);
    case 165:
      return resultsBackground();
    default:
      return QImage();
  }
}

}  // namespace gen
