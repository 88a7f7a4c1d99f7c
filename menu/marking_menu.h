// SPDX-License-Identifier: MIT
// Marking menu library: the one public header.
//
// A marking menu pops up around the press point with up to eight items in the
// compass directions (positions 0 N, 1 NE, 2 E, 3 SE, 4 S, 5 SW, 6 W, 7 NW)
// and an optional vertical list below (positions 8 to 57). A user who knows
// the layout selects without waiting for the menu by drawing a mark: one
// straight leg per level of the tree.
//
// Index
//   Records .......... Rect, IntPoint, SaveStack, Menu
//   Building ......... mCreateMenu, mNewSubmenu, mAddItem
//   One selection .... mInit, mPress, mMotion / mPoll while mButtonsDown,
//                      mRelease (or mCancel), mShowConfirmation,
//                      mEraseConfirmation, mShutdown; mDrawBeneath for a
//                      client that keeps drawing meanwhile; mShowIdealMark,
//                      mHideIdealMark to show the mark of any path
//   Reading it ....... mGetResult
//   Settings ......... MarkingMenuSettings, mGetSettings, mSetSettings,
//                      mSetTechnique, mGetTechnique, mSetMarkRecognizer,
//                      mGetMarkRecognizer, mShowIndicators,
//                      mIndicatorsShown
//   Reports, traces .. mSetReportHook, mTraceFile
//
// A selection, as a client drives it:
//
//   mInit(0, 0, 0, 0, 0, 0);
//   mPress(root, x, y);
//   while (mButtonsDown()) { mMotion(root, px, py); mPoll(); }
//   mRelease(root, px, py);
//   mShowConfirmation(root);   // shows a mark's feedback 0.2 s, erases it
//   mEraseConfirmation(root);  // erases it should it still be shown
//   mShutdown();
//   mGetResult(root, positions, labels, values, &last, &lastPos, &value);
//
// Conventions: positions are 0-based, item numbers (selections) are
// position + 1 with 0 for none (the centre). Coordinates are device pixels:
// the X server's screen pixels (not Qt's logical pixels, which a scale
// factor divides), y downwards.
// Menus are allocated by the library and live until the program ends.
// No call throws; bad input (NULL menu, position out of range) makes a call
// do nothing or return NULL / 0.
//
// Threads and state: the library keeps process-wide state (the overlay, the
// drawing state, the selection being tracked, the trace file), so there is
// one selection at a time, and every call comes from the thread that runs
// the program's Qt application. On the desktop that application (a
// QGuiApplication or QApplication on Qt's xcb platform) must exist before
// mInit. Calls that wait:
//   mInit               opens the overlay: under a millisecond over a
//                       compositor; without one it copies the screen first
//                       (tens of milliseconds on a large desktop).
//   mButtonsDown        may sleep until input arrives or the selection's next
//                       deadline, 10 ms at most: the loop above needs no
//                       sleep of its own and costs almost no CPU.
//   mShowConfirmation   shows a mark's feedback for 0.2 s (the confirmation
//                       time), asleep meanwhile, then erases it.
//   mRelease            appends a line to the trace file when tracing is on.
// The others return at once.
#pragma once

#include <cstdint>

// Marks what a program may call: a shared build of the library exports
// these and hides everything else.
#ifndef TARVEL_API
#define TARVEL_API __attribute__((visibility("default")))
#endif

namespace tarvel {

namespace platform {
class Bitmap;
}

// An inclusive rectangle in screen pixels: width = xmax - xmin + 1.
struct Rect {
  int32_t xmin, xmax, ymin, ymax;
};

struct IntPoint {
  int32_t x, y;
};

struct StrokeBuffer;

inline constexpr int MENU_SLOTS = 58;
inline constexpr int LABEL_CAPACITY = 50;  // 49 characters and the NUL
inline constexpr int RADIAL_SLOTS = 8;
inline constexpr int SAVE_STACK_CAPACITY = 128;
// Levels of a tree, the root's included. A mark draws one leg per level and
// holds at most 128 positions, so no deeper tree could be selected by one.
// mNewSubmenu refuses a deeper level, and no call follows a tree further
// down than this, even one whose submenu fields were linked by hand.
inline constexpr int MENU_DEPTH_LIMIT = 64;

// Screen rectangles saved before the library draws over them, restored
// newest first.
struct SaveStack {
  int32_t count;
  platform::Bitmap* bitmaps[SAVE_STACK_CAPACITY];
  int32_t x[SAVE_STACK_CAPACITY];
  int32_t y[SAVE_STACK_CAPACITY];
  int32_t width[SAVE_STACK_CAPACITY];
  int32_t height[SAVE_STACK_CAPACITY];
};

// One level of a menu tree. The root also carries the tracking state of a
// selection and its stroke. Fields marked (root) are used on the root only.
struct Menu {
  char title[LABEL_CAPACITY];  // label of the item this menu hangs from
  int32_t mode;   // (root) 0 marking, 1 radial menu shown, 2 list shown
  Menu* current;  // (root) deepest menu shown and tracked
  Menu* parent;   // NULL for a root
  int32_t parentPosition;
  Menu* releasedIn;  // (root) `current` at a release made in menu mode
  uint8_t drawnAsParent;
  int32_t lastX, lastY;  // last pointer position given to this menu

  // Placement and layout.
  int32_t centreX, centreY;
  int32_t radius;
  uint8_t movedToFit;
  // Where the menu opened: the press, the resting pointer, a leg's start, or
  // for a list's cascade the pointer on its row. A menu moved to fit keeps
  // behaving as if centred here: its items lie in directions from this point
  // and its centre, where nothing is selected, is a disc round it.
  int32_t pivotX, pivotY;
  Rect bounds;
  Rect centreBox;

  // What lies under the menu, its ink and its rubber band.
  SaveStack menuArea;
  SaveStack inkArea;
  SaveStack bandArea;

  uint8_t markedAhead;   // (root) a pause in a mark popped the menus up
  int32_t backUpCount;   // (root) back-ups to an ancestor this selection
  int32_t changeCount;   // (root) highlight changes this selection
  double nowTime;        // (root) clock seconds of the latest call
  double pressTime;      // (root)
  double releaseTime;    // (root)
  StrokeBuffer* stroke;  // allocated with every record; the root's is used

  int32_t itemCount;    // highest filled position + 1, at least 8
  int32_t radialCount;  // first linear position, 8
  int32_t selected;     // item number, 0 for none
  uint8_t selectedEnabled;
  uint8_t selectedByBox;
  uint8_t enabled[MENU_SLOTS];
  uintptr_t value[MENU_SLOTS];  // client values, opaque to the library
  Rect itemRect[MENU_SLOTS];
  char label[MENU_SLOTS][LABEL_CAPACITY];
  IntPoint labelPoint[MENU_SLOTS];  // left end of the label's baseline
  uint8_t hasToggle[MENU_SLOTS];
  uint8_t toggleOn[MENU_SLOTS];
  uint8_t hasChoice[MENU_SLOTS];
  uint8_t choiceOn[MENU_SLOTS];
  IntPoint arrowPoint[MENU_SLOTS];  // centre of the submenu arrow
  Menu* submenu[MENU_SLOTS];

  uint8_t dwellArmed;   // (root) a list item's cascade is pending
  uint32_t dwellStart;  // (root) tick count in ms when it was armed
  int32_t dwellItem;    // (root) position in `current` of that item

  uint8_t italic[MENU_SLOTS];
  uint8_t regularWeight[MENU_SLOTS];  // neither flag: bold
};

// The library's timing, process-wide. The defaults are those below; a
// program that changes nothing gets them.
struct MarkingMenuSettings {
  double initialPopupDelay;  // s, 0.15: rest after a press before the menu
  double markingPopupDelay;  // s, 0.4: pause in a mark before its menus
  double menuRestDelay;      // s, 0.2: rest that opens a submenu or backs up
  double confirmationTime;   // s, 0.2: a mark's feedback stays this long
  int32_t cascadeRestMs;     // ms, 100: rest on a list item before its
                             // submenu cascades; 0 opens it at once
};

// How a selection may be made (mSetTechnique).
inline constexpr int TECHNIQUE_MARKS_AND_MENUS = 0;
inline constexpr int TECHNIQUE_MENU_ONLY = 1;
inline constexpr int TECHNIQUE_MARKS_ONLY = 2;

// How a mark is read (mSetMarkRecognizer).
inline constexpr int MARK_RECOGNIZER_STANDARD = 0;
inline constexpr int MARK_RECOGNIZER_LEGS = 1;

// Receives the library's reports (mSetReportHook).
using ReportHook = void (*)(const char* message);

}  // namespace tarvel

#ifndef TARVEL_NO_GLOBAL_NAMES
namespace platform = tarvel::platform;
using tarvel::IntPoint;
using tarvel::LABEL_CAPACITY;
using tarvel::MARK_RECOGNIZER_LEGS;
using tarvel::MARK_RECOGNIZER_STANDARD;
using tarvel::MarkingMenuSettings;
using tarvel::Menu;
using tarvel::MENU_DEPTH_LIMIT;
using tarvel::MENU_SLOTS;
using tarvel::RADIAL_SLOTS;
using tarvel::Rect;
using tarvel::ReportHook;
using tarvel::SAVE_STACK_CAPACITY;
using tarvel::SaveStack;
using tarvel::StrokeBuffer;
using tarvel::TECHNIQUE_MARKS_AND_MENUS;
using tarvel::TECHNIQUE_MARKS_ONLY;
using tarvel::TECHNIQUE_MENU_ONLY;
#endif

// Building a tree ----------------------------------------------------------

// A new root with 8 empty radial slots. NULL when memory runs out.
TARVEL_API tarvel::Menu* mCreateMenu();

// A new menu hung from `position` of `menu`, titled with that slot's label
// (add the item first). Replaces an earlier submenu of the slot. NULL when
// menu is NULL or position is not below menu->itemCount; NULL, reported,
// when the new menu would lie deeper than MENU_DEPTH_LIMIT levels.
TARVEL_API tarvel::Menu* mNewSubmenu(tarvel::Menu* menu, int position);

// Fills slot `position` (0..57). Labels over 48 characters are shortened:
// paths keep their head and tail around "...", other text keeps its first 46
// characters and "...". A slot gets at most one indicator per call (toggle
// before choice); indicators are stored in the record for the client to
// read back, and the menus draw them only when asked (mShowIndicators). In
// a submenu of a list item,
// positions 0..7 become empty placeholders. Does nothing for a NULL menu or
// label or a position out of range.
TARVEL_API void mAddItem(tarvel::Menu* menu, const char* label, int position,
                         uintptr_t value, uint8_t hasToggle, uint8_t toggleOn,
                         uint8_t hasChoice, uint8_t choiceOn, uint8_t enabled,
                         uint8_t italic, uint8_t regularWeight);

// Walks the selected path from the root and returns the number of entries
// written: one per level, never more than the tree's depth nor
// MENU_DEPTH_LIMIT, so arrays of MENU_DEPTH_LIMIT entries always do. A level
// without a selection is written as position -1, label "Center", value 0 and
// ends the walk. *value is the client value of the last item when it is
// enabled and has no submenu, else 0. Every output may be NULL.
TARVEL_API int mGetResult(tarvel::Menu* menu, int* positions,
                          const char** labels, uintptr_t* values,
                          tarvel::Menu** lastMenu, int* lastPosition,
                          uintptr_t* value);

// One selection ------------------------------------------------------------

// Creates the overlay the library draws on, covering the desktop. Only the
// second argument is read: when it is non-zero and names the overlay already
// up, nothing happens. Without a display: does nothing, reported once.
TARVEL_API void mInit(intptr_t a0, intptr_t window, intptr_t a2, intptr_t a3,
                      intptr_t a4, intptr_t a5);

// Ends the selection's use of the overlay and releases what it held. Over a
// compositor the window stays, shrunk, so that the next menu is not faded
// in. Harmless without mInit.
TARVEL_API void mShutdown();

// Starts a selection at screen point (x, y) on a root menu: clears the
// stroke and arms the 0.15 s popup timer.
TARVEL_API void mPress(tarvel::Menu* menu, int x, int y);

// Gives the pointer position: records and inks the mark, or follows the
// highlight of the shown menus.
TARVEL_API void mMotion(tarvel::Menu* menu, int x, int y);

// Fires the popup timer when the pointer has rested long enough.
TARVEL_API void mPoll();

// Ends the selection: by the shown menus' highlight, or by interpreting the
// mark when no menu was shown. Writes a trace line when tracing is on.
TARVEL_API void mRelease(tarvel::Menu* menu, int x, int y);

// Ends the selection in progress on `menu` with nothing chosen, as a
// program does when its user presses Escape or its window goes: the menus
// and ink are taken off the screen, the popup timer is disarmed, no trace
// line is written, and mGetResult then reads "Center" with value 0.
// mShowConfirmation after it shows nothing. Does nothing for NULL or when
// no selection is in progress on `menu`.
TARVEL_API void mCancel(tarvel::Menu* menu);

// Shows the feedback of a mark selection (the ideal mark of the chosen
// path) for the confirmation time, 0.2 s, and erases it before returning.
// Nothing for a selection made in a list or of nothing.
TARVEL_API void mShowConfirmation(tarvel::Menu* menu);
// Erases that feedback should it still be shown; harmless when it is not.
TARVEL_API void mEraseConfirmation(tarvel::Menu* menu);

// Shows the ideal mark of a path of the tree under root, whichever item was
// selected: positions[0] in the root, positions[1] in that item's submenu,
// and so on for `levels` levels, one straight leg of 80 pixels per level in
// the item's direction, starting at screen point (x, y), and the last item's
// label at its end, drawn as the confirmation draws a mark's. The walk
// stops at a position that is no compass item of its menu; nothing is
// drawn when the first is not. A mark shown before is erased first. Shown
// until mHideIdealMark; call it while the overlay is up (after mInit, before
// mShutdown) and no selection is tracked (before mPress or after mRelease).
TARVEL_API void mShowIdealMark(tarvel::Menu* menu, const int* positions,
                               int levels, int x, int y);
// Erases that mark; harmless when none is shown.
TARVEL_API void mHideIdealMark(tarvel::Menu* menu);

// True while any mouse button is held.
TARVEL_API bool mButtonsDown();

// A client window that keeps changing during a selection (a clock) -------

// Shows a picture of the client's at screen point (x, y) beneath the menus,
// bands and ink: wherever they do not hide it, and in what they put back
// when taken away. `pixels` holds `height` rows of `width` 32-bit words,
// 0xAARRGGBB with the top byte ignored, rows `stride` bytes apart. Returns
// 1 when shown (parts off the screen are left out); 0 when the client
// should draw in its own window as ever: no overlay is up, the overlay lets
// the desktop show through as it changes (over a compositor), or the
// arguments are bad.
TARVEL_API int mDrawBeneath(int x, int y, int width, int height,
                            const uint32_t* pixels, int stride);

// Settings -----------------------------------------------------------------

// The timing in force is a MarkingMenuSettings (above).

// Copies the settings in force into *settings. Does nothing for NULL.
TARVEL_API void mGetSettings(tarvel::MarkingMenuSettings* settings);
// Puts *settings in force for the selections that start from now on.
// Returns 1; 0, reported, with nothing changed, for NULL or for any value
// out of range: negative, not a number, or over 60 s (60000 ms).
TARVEL_API int mSetSettings(const tarvel::MarkingMenuSettings* settings);

// How a selection may be made. Marks and menus (the default): the menu
// pops up after a rest, or a mark is drawn without it. Menu only: the menu
// pops up at the press. Marks only: no menu ever pops up; the release
// reads the mark. TECHNIQUE_MARKS_AND_MENUS, TECHNIQUE_MENU_ONLY,
// TECHNIQUE_MARKS_ONLY.
// Returns 1; 0, reported, with nothing changed, for another value.
TARVEL_API int mSetTechnique(int technique);
TARVEL_API int mGetTechnique();

// How a mark is read. MARK_RECOGNIZER_STANDARD (the default) cuts it where
// it turns by half a sector over short windows and reads each leg from end
// to end. MARK_RECOGNIZER_LEGS finds the corners at the scale of the legs
// and reads each leg's direction from its middle part, so rounded corners
// and hooks at the ends do not change it. Either way the same marks are
// rejected and repaired, and a mark continued in the menus is followed.
// Takes effect from the next press. Returns 1; 0, reported, with nothing
// changed, for another value.
TARVEL_API int mSetMarkRecognizer(int kind);
TARVEL_API int mGetMarkRecognizer();

// Check marks, off by default. While on, an item with hasToggle and
// toggleOn set shows a check mark in the 17-pixel margin at the left of its
// box (a compass box on the west side with a submenu has its arrow there,
// and the check follows it), in the label's colour, engraved grey when the
// item is disabled. Items without a toggle, or with it off, look as ever.
// Any non-zero `on` turns them on; takes effect from the next drawing.
TARVEL_API void mShowIndicators(int on);
TARVEL_API int mIndicatorsShown();

// Reports and traces -------------------------------------------------------

// The library reports the problems it survives, one line each, and goes on
// with its defined fallback. By default a report goes to standard error as
// "program: message"; a hook receives it instead. Reports given:
//   no display: marking menus cannot be shown            (once, at mInit)
//   Qt runs on Wayland, where no program may draw over   (once; run on xcb)
//     other windows ...
//   lost the input connection: reading input through Qt's
//   can't save the screen under WxH at (X, Y)           (a copy failed)
//   can't open|write Marking Menu trace file PATH: why   (once per kind;
//                                                         control
//                                                         characters of
//                                                         PATH as \xNN)
//   Marking Menu trace path too long (over 4095 bytes):  (once; nothing
//     not traced                                         traced)
//   menus go at most 64 levels deep                      (mNewSubmenu)
//   marking too long to store                            (once a selection)
//   list overflow, point list overflow,
//   index out of bounds, inserting outside a list, equal points
//                                                        (a stroke or mark
//                                                         beyond capacity)
// Installs `hook` (NULL: standard error again); returns the previous one.
TARVEL_API tarvel::ReportHook mSetReportHook(tarvel::ReportHook hook);

// The trace file: one line per selection is appended to "user.trc" in the
// directory named by the environment variable TARVEL_TRACE_DIR, or else in
// the fixed trace directory. Tracing is on while that directory exists,
// looked at again by every mInit. A path longer than 4095 bytes traces
// nothing (reported); mTraceFile then answers "".
TARVEL_API const char* mTraceFile();
