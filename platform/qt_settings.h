// The desktop settings the library's menus take from Qt, shared by the
// platforms that draw with Qt: their colours and their font.
#pragma once

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <cstring>

#include "platform/platform.h"

namespace tarvel::platform {

// A colour of the application's palette; needs a QGuiApplication. Qt's
// palette has no menu or 3-D button roles of its own: menus are drawn in the
// window's colours, as Qt's own menus are; the highlight is the selection's;
// the engraved shadow and light edge of a raised frame are Qt's Dark and
// Light.
inline Colour paletteColour(SystemColour which) {
  QPalette::ColorRole role = QPalette::WindowText;
  switch (which) {
    case SystemColour::MenuText:
      role = QPalette::WindowText;
      break;
    case SystemColour::Menu:
      role = QPalette::Window;
      break;
    case SystemColour::Highlight:
      role = QPalette::Highlight;
      break;
    case SystemColour::HighlightText:
      role = QPalette::HighlightedText;
      break;
    case SystemColour::ButtonShadow:
      role = QPalette::Dark;
      break;
    case SystemColour::ButtonHighlight:
      role = QPalette::Light;
      break;
  }
  QColor c = QGuiApplication::palette().color(QPalette::Active, role);
  return rgb(c.red(), c.green(), c.blue());
}

// The menu font without a display: 12 pixels of Liberation Sans.
inline FontSpec fallbackMenuFont() {
  FontSpec spec{};
  std::strcpy(spec.family, "Liberation Sans");
  spec.pixelSize = 12;
  spec.weight = 400;
  return spec;
}

// The menu font as `font` is really drawn (what fontconfig or the system
// chose, not the alias asked for), in device pixels: a size given in points
// is taken at `dotsPerInch`, then scaled by `ratio`.
inline FontSpec menuFontOf(const QFont& font, double dotsPerInch,
                           double ratio) {
  FontSpec spec = fallbackMenuFont();
  QFontInfo chosen(font);
  QByteArray family = chosen.family().toUtf8();
  if (!family.isEmpty() && size_t(family.size()) < sizeof spec.family)
    std::strcpy(spec.family, family.constData());
  double pixels = chosen.pixelSize();
  if (pixels <= 0 && chosen.pointSizeF() > 0)
    pixels = chosen.pointSizeF() * dotsPerInch / 72.0;
  pixels *= ratio;
  if (pixels >= 1) spec.pixelSize = int(std::lround(pixels));
  spec.weight = chosen.weight();
  spec.italic = chosen.italic();
  return spec;
}

}  // namespace tarvel::platform
