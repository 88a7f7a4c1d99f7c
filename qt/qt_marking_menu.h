// SPDX-License-Identifier: MIT
// Marking menus for Qt Widgets programs, over the library's public calls.
//
// Index
//   Building ......... Item, Place; MarkingMenu from lists; fromMenu
//   Selecting ........ popup (returns at once; signals highlighted,
//                      triggered, cancelled); select (waits for the result)
//   Where menus show . Path: setPath, path
//
// A menu from lists, popped up from a mouse press:
//
//   tarvel::MarkingMenu menu{{"Colour", {{"Red", 1}, {"Blue", 2}}},
//                            {"Clear", 3}};
//   connect(&menu, &tarvel::MarkingMenu::triggered,
//           [](const tarvel::Choice& c) { apply(c.value); });
//   ... in mousePressEvent:
//   menu.popup(this, event->globalPosition().toPoint());
//
// or, waiting for the result in the press handler:
//
//   if (auto choice = menu.select(event->globalPosition().toPoint()))
//     apply(choice->value);
//
// Items fill the compass from North clockwise (N, NE, E, SE, S, SW, W, NW),
// then the list below; an item may name its place instead (Place(n) for
// list row n - 8). An item placed outside 0 to 57, or where an earlier item
// of its menu is, is reported and left out; the rest of the menu is built.
// An item with items of its own is a submenu.
//
// Where the menus show (Path):
//   InWindow  inside the host widget's own top-level window, on a
//             transparent layer over it, fed by the window's own events.
//             Works on every Qt platform (Wayland, X11, offscreen, ...);
//             menus near the window's edges are kept inside it.
//   Overlay   over the whole desktop, on X11 (Qt's xcb platform): menus
//             may reach past the window. Asked for on another Qt platform,
//             the menus show in the window instead (said once).
//   Automatic (the default) popup() uses InWindow everywhere; select() uses
//             the overlay on xcb and InWindow elsewhere. A program that
//             installed a platform of its own (platform::install, a
//             SimPlatform) has select() run on that platform. The
//             environment's TARVEL_MENU_PATH, "in-window" or "overlay"
//             (on xcb), chooses for Automatic menus without a rebuild.
//
// One selection at a time in the whole program, from the thread of the Qt
// application (a QApplication), with a mouse button, pen or finger held
// down: the one that pressed. Meanwhile the program's event loop, timers
// and painting go on; the window's pointer, key and context-menu events
// belong to the selection (the press's context-menu event included), and
// Escape cancels it. A selection asked for while one runs is refused
// (reported) and changes nothing. Problems (no host, a host without a
// window, the window closed or resized during the selection, the
// MarkingMenu deleted during it) end the selection cleanly: reported in one
// line, with cancelled() when the MarkingMenu still exists.
#pragma once

#include <QAction>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "menu/marking_menu.h"

class QMenu;
class QWidget;

namespace tarvel {

namespace detail {
struct SelectionRun;
}

enum class Place {
  Next = -1,
  North = 0,
  NorthEast,
  East,
  SouthEast,
  South,
  SouthWest,
  West,
  NorthWest,
  List,  // the first row of the list; later rows follow it
};

struct TARVEL_API Item {
  Item(std::string label, std::intptr_t value, bool enabled = true,
       Place place = Place::Next);
  Item(std::string label, std::initializer_list<Item> items,
       Place place = Place::Next);

  std::string label;  // UTF-8
  std::intptr_t value = 0;
  bool enabled = true;
  Place place = Place::Next;
  std::vector<Item> items;  // a submenu when not empty
  // A toggle: its check mark shows while `checked`.
  bool checkable = false;
  bool checked = false;
  // Triggered when the item is chosen, unless deleted by then (fromMenu).
  QPointer<QAction> action;
};

struct Choice {
  std::vector<std::string> labels;  // from the root down
  std::vector<int> positions;       // 0 N ... 7 NW, 8 on: list rows
  std::intptr_t value = 0;          // the chosen item's
  QPointer<QAction> action;         // the item's action (fromMenu), or NULL
};

class TARVEL_API MarkingMenu : public QObject {
  Q_OBJECT

 public:
  enum class Path { Automatic, Overlay, InWindow };

  MarkingMenu(std::initializer_list<Item> items, QObject* parent = nullptr);
  explicit MarkingMenu(const std::vector<Item>& items,
                       QObject* parent = nullptr);
  // A selection of this menu still running is cancelled (reported, and
  // no signal: the object is going).
  ~MarkingMenu() override;
  MarkingMenu(const MarkingMenu&) = delete;
  MarkingMenu& operator=(const MarkingMenu&) = delete;

  // The tree of a QMenu's actions as they are now: the visible ones fill
  // the compass from North clockwise, then the list; separators are left
  // out, disabled actions stay disabled, submenus become submenus, and
  // checkable actions show a check mark while checked. '&' mnemonics are
  // taken out of the labels, and what follows a tab (a shortcut's text).
  // Choosing an item triggers its action. Each selection takes the
  // actions' checked and enabled states afresh (an action deleted since
  // is disabled); labels and the tree's shape are taken here, once. Past
  // 58 actions in one menu the rest are left out, reported in one line; a
  // menu met again inside itself is left out, reported. NULL gives an
  // empty menu.
  static std::unique_ptr<MarkingMenu> fromMenu(const QMenu* menu);

  void setPath(Path path);
  Path path() const { return path_; }

  // Starts a selection pressed at `globalPos` (Qt's global coordinates, as
  // QMouseEvent::globalPosition gives them) in `host`'s window, and returns
  // at once. Call it from a press handler (mousePressEvent, or
  // contextMenuEvent for a press that makes one) while the button is still
  // down. The selection then follows the window's events: highlighted()
  // as the highlight moves, and at the end triggered() or cancelled().
  void popup(QWidget* host, QPoint globalPos);

  // A whole selection in one call: returns once it has ended, with the
  // chosen item, or nothing (no item, a submenu's title, a disabled item,
  // Escape, no window to show it in). The program's timers and painting go
  // on meanwhile (in-window; over the desktop they wait). Emits the same
  // signals as popup(). The first form shows it in the window of the widget
  // that received the latest press.
  std::optional<Choice> select(QPoint globalPress);
  std::optional<Choice> select(QWidget* host, QPoint globalPress);

  // A selection of this menu is running.
  bool isActive() const;

  // The tree for the procedural calls; the library owns it.
  Menu* root() const { return root_; }

 signals:
  // The item now highlighted in a shown menu, with the path down to it;
  // empty labels when the highlight leaves every item.
  void highlighted(const tarvel::Choice& choice);
  // An enabled item without a submenu was chosen. Its action, if any, is
  // triggered right after.
  void triggered(const tarvel::Choice& choice);
  // The selection ended without a choice.
  void cancelled();

 private:
  friend struct detail::SelectionRun;
  // Where the library's value `value` (1-based) of `menu` came from.
  struct Entry {
    const Item* item;
    Menu* menu;
    int position;
    bool fromAction;  // its action, once there, is taken afresh
  };

  enum class Start { Running, Refused, Failed };

  void add(Menu* menu, const std::vector<Item>& items, int level);
  void prepare();
  Path resolve(bool waiting) const;
  // Starts a selection driven by the host window's events; Refused and
  // Failed are reported.
  Start start(QWidget* host, QPoint globalPos, Path path);
  std::optional<Choice> selectByPolling(QPoint globalPress);
  void refreshActions();
  std::optional<Choice> result() const;
  Choice choiceTo(Menu* menu, int item) const;

  Menu* root_ = nullptr;
  int depth_ = 0;              // levels of the tree
  std::vector<Entry> chosen_;  // by the library's value - 1
  std::vector<Item> items_;
  bool toggles_ = false;  // some item shows a check mark
  Path path_ = Path::Automatic;
};

}  // namespace tarvel
