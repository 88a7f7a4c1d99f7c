// The desktop colours the library's menus are drawn in, from the Qt
// application's palette. Qt's palette has no menu or 3-D button roles of
// its own: menus are drawn in the window's colours, as Qt's own menus are;
// the highlight is the selection's; the engraved shadow and light edge of a
// raised frame are Qt's Dark and Light. Shared by the platforms that draw
// with Qt; needs a QGuiApplication.
#pragma once

#include <QGuiApplication>
#include <QPalette>

#include "platform/platform.h"

namespace tarvel::platform {

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

}  // namespace tarvel::platform
