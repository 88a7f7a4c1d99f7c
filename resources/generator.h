// The generator's parts: each makes one kind of resource from nothing but
// code, so the program carries no drawn or recorded material of anyone else.
#pragma once

#include <QByteArray>
#include <QImage>

#include "resources/catalogue.h"

namespace gen {

// The picture of a catalogue id at its catalogue size; a null image for an
// id the catalogue does not have.
QImage drawPicture(int id);

// A whole .wav file in the entry's format and length.
QByteArray makeWave(const resources::SoundEntry& entry);

// The 32 x 32 two-colour pointing hand on a transparent ground.
QImage drawCursor();

// The window's icon at a size of resources::iconSizes, on a transparent
// ground.
QImage drawIcon(int size);

}  // namespace gen
