// The eleven pictures the trainer asks the user to find, by item number:
// duck, pig, apple, bananas, saw, hammer, wrench, car, forklift, tricycle,
// truck. Each on white; the pig smaller than the rest.
#pragma once

#include <QImage>

namespace gen {

inline constexpr int itemPictureCount = 11;

// The item's picture, or a null image for a number outside 0..10.
QImage drawItem(int number);

}  // namespace gen
