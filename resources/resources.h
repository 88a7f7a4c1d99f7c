// The trainer's pictures, sounds and cursor, drawn and synthesised by
// Tarvel's own code at build time and embedded in the program.
//
//   bitmap        one of the 45 pictures by its id (130..175 without 144)
//   sound         the bytes of a whole .wav file by its name ("IDW_CLICK", ...)
//   cursorImage   the 32 x 32 pointing hand; cursorHotSpot its hot spot
//   iconImage     the window's icon at one of iconSizes
//   bitmapIds     every picture id, in ascending order
//   soundNames    every sound name
//
// All calls may be made before or after a QGuiApplication exists; they need
// none, and each loads its data from the embedded resources on first use.
#pragma once

#include <QImage>
#include <QPoint>
#include <cstddef>

#include "resources/catalogue.h"

namespace resources {

// The picture with this id as a 24-bit RGB image (QImage::Format_RGB32), or a
// null QImage for an id that is not one of the 45.
QImage bitmap(int id);

// A whole RIFF/WAVE file: mono PCM, 8-bit unsigned or 16-bit signed samples.
struct Wave {
  const unsigned char* data;
  size_t size;
};

// The sound of this name; {nullptr, 0} for an unknown or null name. The bytes
// stay valid, unchanged and at the same address until the process ends.
Wave sound(const char* name);

// The pointing-hand cursor: 32 x 32, ARGB32 premultiplied, only opaque black,
// opaque white and fully transparent pixels.
QImage cursorImage();

// The cursor's hot spot, the fingertip: (0, 0).
QPoint cursorHotSpot();

// The window's icon, size x size, ARGB32 premultiplied on a transparent
// ground; a null QImage for a size that is not one of iconSizes.
QImage iconImage(int size);

// Points *ids at the ascending list of all picture ids and returns their
// number (45). A null ids only returns the number.
int bitmapIds(const int** ids);

// Returns the list of all sound names and puts their number (11) in *count
// when count is not null.
const char* const* soundNames(int* count);

}  // namespace resources
