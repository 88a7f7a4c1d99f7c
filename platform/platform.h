// SPDX-License-Identifier: MIT
// The seam between the library and the machine. The library reaches time,
// input, cursors, desktop settings, the overlay and sound only through the
// current Platform. Two implementations exist: the desktop platform (Qt on
// X11, SDL2_mixer) and SimPlatform (virtual time, scripted input, an
// in-memory screen) for tests, benchmarks and replays.
#pragma once

#include <cstddef>
#include <cstdint>

#include "menu/marking_menu.h"

namespace tarvel::platform {

// 0x00BBGGRR, as the library stores colours.
using Colour = uint32_t;

inline constexpr Colour rgb(int r, int g, int b) {
  return Colour(r & 0xFF) | Colour(g & 0xFF) << 8 | Colour(b & 0xFF) << 16;
}

enum class Cursor { Arrow, Cross };

// The desktop colours the library's menus are drawn in.
enum class SystemColour {
  MenuText,
  Menu,
  Highlight,
  HighlightText,
  ButtonShadow,
  ButtonHighlight,
};

struct FontSpec {
  char family[64];
  int pixelSize;  // character height, not point size
  int weight;     // 100..900, 400 regular, 700 bold
  bool italic;
};

struct TextMetrics {
  int height;  // ascent + descent
  int ascent;
  int descent;
  int externalLeading;
};

struct InputState {
  int x, y;          // pointer in screen pixels
  bool buttonsDown;  // any of the three mouse buttons
  bool escapeDown;
};

// Pixels copied off the screen, to be put back later.
class Bitmap;
// A small see-through picture drawn once and put on surfaces many times.
class Stamp;

// Where the library draws: the overlay covering the desktop, in screen
// pixels. Rectangles given as (left, top, right, bottom) exclude the right
// and bottom edges. Nothing is antialiased.
class TARVEL_API Surface {
 public:
  virtual ~Surface() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual void fillRect(int left, int top, int right, int bottom, Colour c) = 0;
  virtual void fillEllipse(int left, int top, int right, int bottom,
                           Colour c) = 0;
  virtual void outlineEllipse(int left, int top, int right, int bottom,
                              Colour c, int penWidth) = 0;
  virtual void outlineRect(int left, int top, int right, int bottom, Colour c,
                           int penWidth) = 0;
  // The end point (x1, y1) is not drawn.
  virtual void line(int x0, int y0, int x1, int y1, Colour c, int penWidth) = 0;
  virtual void fillPolygon(const IntPoint* points, int count, Colour c) = 0;
  virtual void polyline(const IntPoint* points, int count, Colour c,
                        int penWidth) = 0;

  virtual void selectFont(const FontSpec& font) = 0;
  virtual int textWidth(const char* text) = 0;
  virtual TextMetrics textMetrics() = 0;
  // Text with the left end of its baseline at (x, y), no background.
  virtual void drawText(int x, int y, const char* text, Colour c) = 0;

  // NULL when the copy cannot be made.
  virtual Bitmap* copyOut(int x, int y, int width, int height) = 0;
  virtual void copyIn(const Bitmap* bitmap, int x, int y) = 0;

  // Puts what was drawn into the stamp with its corner at (x, y); the
  // rest of it leaves the surface as it is. Nothing by default.
  virtual void putStamp(const Stamp* stamp, int x, int y) {
    (void)stamp, (void)x, (void)y;
  }

  // Shows what changed since the last flush, at once.
  virtual void flush() = 0;

  // True when the desktop shows through wherever nothing was drawn, as it
  // changes (a live overlay over a compositor); false when the surface is
  // a picture of the desktop taken when it opened.
  virtual bool showsDesktop() const { return false; }
  // Puts `count` pixels of a client's picture, 0x00RRGGBB each, in a row
  // from (x, y), beneath what was drawn: only where the surface still shows
  // the desktop it opened on. False, doing nothing, when the surface cannot
  // tell drawn pixels from the desktop's.
  virtual bool putBeneath(int x, int y, const uint32_t* pixels, int count) {
    (void)x, (void)y, (void)pixels, (void)count;
    return false;
  }
};

class TARVEL_API Platform {
 public:
  virtual ~Platform() = default;

  // Time. A monotonic source that never wraps; the 32-bit tick count is its
  // milliseconds, which wrap after 2^32 like the classic system tick.
  virtual uint64_t microseconds() = 0;
  uint32_t tickCount() { return uint32_t(microseconds() / 1000); }
  virtual void sleepMs(uint32_t ms) = 0;
  // Called on every pass of a polling loop; may wait there for input.
  virtual void spinStep() = 0;
  // The library's next deadline, on the microseconds() clock: a wait of the
  // next pass ends by then. Nothing for a platform that never waits long.
  virtual void wakeBy(uint64_t us) { (void)us; }

  // Input, read from the device state without dispatching any events.
  virtual InputState pollInput() = 0;

  virtual void setCursor(Cursor cursor) = 0;
  virtual bool moduleLoaded(const char* name) = 0;

  // Desktop settings.
  virtual Colour systemColour(SystemColour which) = 0;
  virtual FontSpec menuFont() = 0;
  virtual Rect workArea() = 0;     // the primary screen less panels
  virtual Rect desktopRect() = 0;  // the whole virtual desktop
  // The work area of the monitor showing (x, y), or of the nearest monitor
  // when none does (between monitors, off the desktop).
  virtual Rect workAreaAt(int x, int y) {
    (void)x;
    (void)y;
    return workArea();
  }
  // Device pixels per logical pixel where the pointer is: 2 on a screen
  // scaled to twice the size.
  virtual double devicePixelRatio() { return 1.0; }

  // The overlay: created covering the desktop and showing what it shows,
  // on top of every window, passing every click through. NULL without a
  // display. closeOverlay takes it down again.
  virtual Surface* openOverlay() = 0;
  virtual void closeOverlay() = 0;
  virtual Surface* overlay() = 0;

  // Plays a wave held in memory; a new sound cuts off the one playing.
  // Synchronous play returns when the sound has ended.
  virtual void playSound(const char* name, const void* wave, size_t bytes,
                         bool synchronous) = 0;
};

// Frees a copy made by Surface::copyOut; the surface need not exist any more.
TARVEL_API void deleteBitmap(Bitmap* bitmap);
// A stamp of width x height, nothing drawn in it yet; NULL for a size out
// of 1 to 1024 or when it cannot be made. Drawn into through its surface,
// in its own coordinates with (0, 0) at its corner, with the pixel rules of
// every surface; put by Surface::putStamp, it draws the same pixels as
// drawing there would, for a fraction of the cost.
TARVEL_API Stamp* newStamp(int width, int height);
TARVEL_API Surface* stampSurface(Stamp* stamp);
TARVEL_API void deleteStamp(Stamp* stamp);
// Surface::putBeneath for every copy made by copyOut and not yet freed, at
// the place on the surface it was copied from: what they put back shows the
// client's picture where nothing was drawn.
TARVEL_API void putBeneathCopies(int x, int y, const uint32_t* pixels,
                                 int count);

// A platform about to go away says so with announceGoing, while its overlay
// still exists; each handler registered with onGoing then forgets what the
// library keeps of it (the overlay, the copies saved from it, the selection
// in progress) without drawing on it again. A handler is registered once,
// however often onGoing is called with it; there is room for four.
using GoingHandler = void (*)(Platform* going);
TARVEL_API void onGoing(GoingHandler handler);
TARVEL_API void announceGoing(Platform* going);

// The platform in use: the one installed last, else the default platform.
TARVEL_API Platform& current();

// Makes `p` current and returns the one it replaces (NULL for the default).
// Pass NULL to go back to the default platform.
TARVEL_API Platform* install(Platform* p);

// The default platform is the desktop platform when its library is linked
// in: that library calls setDefaultPlatform as it loads. Without it the
// default is a platform without a display: real time, no input, no overlay
// (mInit reports it), no sound. `make` is called once, on first use.
using PlatformMaker = Platform* (*)();
TARVEL_API void setDefaultPlatform(PlatformMaker make);

}  // namespace tarvel::platform
