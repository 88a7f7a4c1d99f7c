// The overlay's lifecycle: mInit puts it up over the desktop and readies the
// drawing state, mShutdown takes it down.
#include <algorithm>
#include <cmath>

#include "core/settings.h"
#include "display/drawing.h"
#include "platform/report.h"

namespace {
bool reportedNoDisplay = false;

void forgetDrawingState() {
  drawState.pen = drawState.penSelected = 0;
  drawState.brush = drawState.brushSelected = 0;
  drawState.screen = nullptr;
  drawState.overlay = nullptr;
}

// The platform whose overlay the library draws on is going away: nothing
// more is drawn on it, and mShutdown has nothing left to take down.
void platformGoing(platform::Platform* going) {
  if (drawState.overlay && going && drawState.overlay == going->overlay())
    forgetDrawingState();
}

}  // namespace

void mInit(intptr_t, intptr_t window, intptr_t, intptr_t, intptr_t, intptr_t) {
  if (window != 0 && window == reinterpret_cast<intptr_t>(drawState.overlay))
    return;
  platform::Platform& p = platform::current();
  platform::onGoing(platformGoing);
  mNoteInit();
  // A previous overlay that was not shut down is forgotten.
  drawState.overlay = p.openOverlay();
  if (!drawState.overlay) {
    if (!reportedNoDisplay)
      mReportError("no display: marking menus cannot be shown");
    reportedNoDisplay = true;
    drawState.screen = nullptr;
    return;
  }
  drawState.screen = drawState.overlay;
  drawState.foreground = p.systemColour(platform::SystemColour::MenuText);
  drawState.background = p.systemColour(platform::SystemColour::Menu);
  drawState.pen = drawState.penSelected = 0;
  mSetScale(p.devicePixelRatio());
  mSelectFont("REGULAR_FONT");
  // Worked out in logical pixels, so that the padding scales with the text.
  platform::TextMetrics m = drawState.screen->textMetrics();
  auto logical = [](int pixels) { return int(std::lround(pixels / mScale())); };
  drawState.pad = mScaled(
      std::max({logical(m.height) - 20, logical(m.externalLeading), 4}) / 2);
}

void mShutdown() {
  if (drawState.screen) {
    drawState.screen->flush();
    drawState.pen = drawState.penSelected = 0;
    drawState.brush = drawState.brushSelected = 0;
    drawState.screen = nullptr;
  }
  if (drawState.overlay) {
    platform::current().closeOverlay();
    drawState.overlay = nullptr;
  }
}
