// The Qt layer in a program's own window: selections driven by the
// window's mouse and key events in real time, as a person makes them, on
// Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim_platform.h"
#include "player/sim_gesture.h"
#include "qt/qt_marking_menu.h"
#include "report_capture.h"
#include "trace/trace.h"

using player::Gesture;
using tarvel::Choice;
using tarvel::Item;
using tarvel::MarkingMenu;
using tarvel::Place;

namespace {

// Widgets need a QApplication; made before any test makes a SimPlatform,
// which would make a QGuiApplication otherwise.
class WidgetsApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
};
[[maybe_unused]] ::testing::Environment* const widgets =
    ::testing::AddGlobalTestEnvironment(new WidgetsApplication);

constexpr int cx = 400, cy = 300;

// The trainer's practice menu, as lists.
MarkingMenu* practiceMenu() {
  return new MarkingMenu{
      {"Food", {{"Apple", 1}, {"Banana", 2, true, Place::South}}},
      {"Tools",
       {{"Saw", 3},
        {"Hammer", 4, true, Place::East},
        {"Wrench", 5, true, Place::South}},
       Place::East},
      {"Animals",
       {{"Pig", 6, true, Place::East}, {"Duck", 7, true, Place::West}},
       Place::South},
      {"Vehicles",
       {{"Car", 8},
        {"Forklift", 9, true, Place::East},
        {"Tricycle", 10, true, Place::South},
        {"Truck", 11, true, Place::West}},
       Place::West},
  };
}

// A program's window: its press handler starts the selection.
class Host : public QWidget {
 public:
  Host() {
    resize(800, 600);
    show();
  }
  std::function<void(QMouseEvent*)> onPress;
  int contextMenus = 0;
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    presses++;
    if (onPress) onPress(event);
  }
  void contextMenuEvent(QContextMenuEvent* event) override {
    contextMenus++;
    event->accept();
  }
};

// Lets the event loop run for `ms`, timers and all.
void spin(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

bool spinUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    spin(2);
  }
  return true;
}

// A mouse on a window, in real time: the gesture's press, its moves as a
// 100 Hz mouse reports them, Escape, the release, sent to the window as Qt
// delivers a mouse's events. The press goes out on a timer of its own, so
// that a press handler that waits (select) finds the rest still coming.
// With a simulated platform, its time keeps pace.
class WindowMouse : public QObject {
 public:
  WindowMouse(Host& host, Gesture gesture, platform::SimPlatform* sim = nullptr,
              Qt::MouseButton button = Qt::RightButton)
      : host_(host), gesture_(std::move(gesture)), sim_(sim), button_(button) {
    ticks_.setTimerType(Qt::PreciseTimer);
    connect(&ticks_, &QTimer::timeout, this, [this] { tick(); });
  }
  void start() {
    clock_.start();
    ticks_.start(2);
    QTimer::singleShot(0, this, [this] {
      platform::InputState in = gesture_.at(0);
      at_ = QPoint(in.x, in.y);
      down_ = pressed_ = true;
      send(QEvent::MouseButtonPress, button_);
    });
  }
  bool finished() const { return finished_; }

 private:
  void tick() {
    uint32_t t = uint32_t(clock_.elapsed());
    if (sim_ && t > simMs_) {
      sim_->advance(t - simMs_);
      simMs_ = t;
    }
    if (!pressed_ || finished_) return;
    platform::InputState in = gesture_.at(t);
    if (in.escapeDown && !escape_) {
      escape_ = true;
      QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(host_.windowHandle(), &key);
    }
    QPoint at(in.x, in.y);
    if (down_ && at != at_) {
      at_ = at;
      send(QEvent::MouseMove, Qt::NoButton);
    }
    if (down_ && !in.buttonsDown) {
      down_ = false;
      send(QEvent::MouseButtonRelease, button_);
    }
    if (t >= gesture_.duration() && !down_) {
      finished_ = true;
      ticks_.stop();
    }
  }
  void send(QEvent::Type type, Qt::MouseButton button) {
    Qt::MouseButtons held = down_ ? Qt::MouseButtons(button_) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at_), QPointF(host_.mapToGlobal(at_)),
                      button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(host_.windowHandle(), &event);
  }

  Host& host_;
  Gesture gesture_;
  platform::SimPlatform* sim_;
  Qt::MouseButton button_;
  QTimer ticks_;
  QElapsedTimer clock_;
  uint32_t simMs_ = 0;
  QPoint at_;
  bool pressed_ = false, down_ = false, escape_ = false, finished_ = false;
};

// What a selection told the program, for as long as this lives.
struct Told {
  explicit Told(MarkingMenu& menu) {
    QObject::connect(&menu, &MarkingMenu::triggered, &alive,
                     [this](const Choice& c) {
                       chosen = c;
                       ends++;
                     });
    QObject::connect(&menu, &MarkingMenu::cancelled, &alive, [this] {
      cancelled = true;
      ends++;
    });
    QObject::connect(&menu, &MarkingMenu::highlighted, &alive,
                     [this](const Choice& c) { highlights.push_back(c); });
  }
  QObject alive;
  std::optional<Choice> chosen;
  bool cancelled = false;
  int ends = 0;
  std::vector<Choice> highlights;
};

// A trace line without its times: mark or menu, path, flags.
std::string traceFields(const Menu* root) {
  char line[512];
  mTraceFormat(root, line, sizeof line);
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  std::string fields;
  for (size_t i = 0; i < words.size(); i++)
    if (i != 0 && i != 2) fields += words[i] + " ";
  return fields;
}

std::string joined(const std::vector<std::string>& labels) {
  std::string text;
  for (const std::string& l : labels) text += (text.empty() ? "" : ", ") + l;
  return text;
}

// Plays `gesture` on the simulated platform through the library's own loop:
// the labels chosen ("Center" where none) and the trace fields.
std::pair<std::string, std::string> onSimPlatform(Menu* root,
                                                  const Gesture& gesture) {
  platform::SimPlatform sim(1280, 1024);
  player::SelectionOutcome out = player::playSelection(sim, root, gesture);
  std::vector<std::string> labels;
  for (int i = 0; i < out.levels; i++) labels.push_back(out.labels[i]);
  return {joined(labels), traceFields(root)};
}

class InWindow : public ::testing::Test {
 protected:
  // Pops `menu` up from the host's press and plays `gesture`; true once the
  // selection has told its end.
  bool popUpAndPlay(MarkingMenu& menu, const Gesture& gesture,
                    const Told& told) {
    host.onPress = [&](QMouseEvent* e) {
      menu.popup(&host, e->globalPosition().toPoint());
    };
    WindowMouse mouse(host, gesture);
    mouse.start();
    return spinUntil([&] { return mouse.finished() && told.ends > 0; },
                     int(gesture.duration()) + 5000);
  }
  // No layer of the selection's is left on the window.
  int visibleChildren() const {
    int n = 0;
    for (QWidget* w : host.findChildren<QWidget*>())
      n += w->isVisible() ? 1 : 0;
    return n;
  }

  Host host;
};

}  // namespace

// By menu, by mark, with a mark's pause and with a back-up, a selection in
// the window chooses what the simulated platform's loop chooses for the same
// gestures, and traces it alike.
TEST_F(InWindow, GesturesChooseAndTraceAsOnTheSimulatedPlatform) {
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  struct Case {
    const char* name;
    Gesture gesture;
    const char* chosen;
  };
  const Case cases[] = {
      {"menu by menu",
       Gesture()
           .press(cx, cy)
           .rest(250)
           .moveTo(cx, cy - 90, 60)
           .rest(300)
           .moveTo(cx, cy - 180, 60)
           .rest(60)
           .release(),
       "Food, Apple"},
      {"mark",
       Gesture()
           .press(cx, cy)
           .moveTo(cx + 100, cy, 100)
           .moveTo(cx + 100, cy - 100, 100)
           .release(),
       "Tools, Saw"},
      {"paused mark",
       Gesture()
           .press(cx, cy)
           .moveTo(cx + 90, cy, 120)
           .moveTo(cx + 90, cy - 90, 120)
           .rest(500)
           .release(),
       "Tools, Saw"},
      {"back-up",
       Gesture()
           .press(cx, cy)
           .rest(250)
           .moveTo(cx, cy - 90, 60)
           .rest(300)
           .moveTo(cx + 1, cy, 60)
           .rest(300)
           .moveTo(cx + 120, cy, 60)
           .rest(300)
           .moveTo(cx + 210, cy, 60)
           .rest(60)
           .release(),
       "Tools, Hammer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Told told(*menu);
    ASSERT_TRUE(popUpAndPlay(*menu, c.gesture, told));
    ASSERT_TRUE(told.chosen.has_value());
    EXPECT_EQ(joined(told.chosen->labels), c.chosen);
    std::string trace = traceFields(menu->root());
    auto [simChosen, simTrace] = onSimPlatform(menu->root(), c.gesture);
    EXPECT_EQ(simChosen, c.chosen);
    EXPECT_EQ(trace, simTrace);
    EXPECT_EQ(visibleChildren(), 0);
  }
  EXPECT_EQ(host.contextMenus, 0);
}

// The highlight is told as it moves, with the path down to it; the chosen
// item's value and places come with the choice.
TEST_F(InWindow, HighlightsAreToldAsTheyMove) {
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  Told told(*menu);
  ASSERT_TRUE(popUpAndPlay(*menu,
                           Gesture()
                               .press(cx, cy)
                               .rest(250)
                               .moveTo(cx + 100, cy, 60)
                               .rest(300)
                               .moveTo(cx + 100, cy + 90, 60)
                               .rest(60)
                               .release(),
                           told));
  ASSERT_TRUE(told.chosen.has_value());
  EXPECT_EQ(told.chosen->value, 5);
  EXPECT_EQ(told.chosen->positions, (std::vector<int>{2, 4}));
  std::vector<std::string> seen;
  for (const Choice& c : told.highlights) seen.push_back(joined(c.labels));
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), "Tools");
  EXPECT_EQ(seen.back(), "Tools, Wrench");
}

// A popup returns at once: a held selection leaves the program's timers
// ticking, and no context-menu event of the press reaches the window.
TEST_F(InWindow, APopupLeavesTheProgramRunning) {
  // Without a selection the press makes one, so its absence below counts.
  {
    WindowMouse plain(host, Gesture().press(cx, cy).rest(30).release());
    plain.start();
    ASSERT_TRUE(spinUntil([&] { return plain.finished(); }, 3000));
    ASSERT_EQ(host.contextMenus, 1);
  }
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  Told told(*menu);
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] {
    if (menu->isActive()) ticks++;
  });
  clock.start(20);
  ASSERT_TRUE(
      popUpAndPlay(*menu, Gesture().press(cx, cy).rest(450).release(), told));
  EXPECT_GE(ticks, 15);
  EXPECT_TRUE(told.cancelled);  // released in the centre
  EXPECT_EQ(host.contextMenus, 1);
}

// select() in the window waits for its end while the program goes on, and
// finds the host itself when asked without one.
TEST_F(InWindow, SelectWaitsInTheWindowAndEscapeCancelsIt) {
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  menu->setPath(MarkingMenu::Path::InWindow);
  std::optional<Choice> result;
  bool returned = false;
  host.onPress = [&](QMouseEvent* e) {
    result = menu->select(e->globalPosition().toPoint());
    returned = true;
  };
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&] { ticks++; });
  clock.start(20);
  WindowMouse mark(host, Gesture()
                             .press(cx, cy)
                             .moveTo(cx, cy + 100, 100)
                             .moveTo(cx + 100, cy + 100, 100)
                             .release());
  mark.start();
  ASSERT_TRUE(spinUntil([&] { return returned; }, 5000));
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(joined(result->labels), "Animals, Pig");
  EXPECT_GE(ticks, 5);

  Told told(*menu);
  returned = false;
  WindowMouse escaped(host, Gesture()
                                .press(cx, cy)
                                .rest(250)
                                .moveTo(cx + 120, cy, 60)
                                .escape()
                                .rest(60)
                                .release());
  escaped.start();
  ASSERT_TRUE(spinUntil([&] { return returned && escaped.finished(); }, 5000));
  EXPECT_FALSE(result.has_value());
  EXPECT_TRUE(told.cancelled);
  EXPECT_EQ(visibleChildren(), 0);
  EXPECT_EQ(host.contextMenus, 0);
}

// Escape during a popup takes the menus away with nothing chosen; a second
// popup while one runs is refused and leaves the first to finish.
TEST_F(InWindow, EscapeCancelsAndASecondPopupIsRefused) {
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  std::unique_ptr<MarkingMenu> other(practiceMenu());
  Told told(*menu), otherTold(*other);
  ReportCapture reports;
  QTimer::singleShot(
      300, [&] { other->popup(&host, host.mapToGlobal(QPoint(cx, cy))); });
  ASSERT_TRUE(popUpAndPlay(*menu,
                           Gesture()
                               .press(cx, cy)
                               .rest(250)
                               .moveTo(cx + 120, cy, 60)
                               .rest(100)
                               .escape()
                               .rest(60)
                               .release(),
                           told));
  EXPECT_TRUE(told.cancelled);
  EXPECT_FALSE(told.chosen.has_value());
  EXPECT_EQ(otherTold.ends, 0);
  EXPECT_FALSE(other->isActive());
  ASSERT_EQ(reports.all().size(), 1u);
  EXPECT_NE(reports.last().find("refused"), std::string::npos);
  EXPECT_EQ(visibleChildren(), 0);

  // The next selection is whole.
  Told again(*menu);
  ASSERT_TRUE(popUpAndPlay(*menu,
                           Gesture()
                               .press(cx, cy)
                               .moveTo(cx - 100, cy, 100)
                               .moveTo(cx - 100, cy + 100, 100)
                               .release(),
                           again));
  ASSERT_TRUE(again.chosen.has_value());
  EXPECT_EQ(joined(again.chosen->labels), "Vehicles, Tricycle");
}

// What goes wrong around a selection ends it cleanly: no host, a host in no
// window, the MarkingMenu deleted, the window resized or closed.
TEST_F(InWindow, BadHostsAndThingsGoingEndTheSelectionCleanly) {
  ReportCapture reports;
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  {
    Told told(*menu);
    menu->popup(nullptr, QPoint(cx, cy));
    EXPECT_TRUE(told.cancelled);
    QWidget hidden;
    menu->popup(&hidden, QPoint(cx, cy));
    EXPECT_EQ(told.ends, 2);
    EXPECT_FALSE(menu->select(&hidden, QPoint(cx, cy)).has_value());
    EXPECT_EQ(told.ends, 3);
    EXPECT_EQ(reports.all().size(), 3u);
  }
  const Gesture held = Gesture().press(cx, cy).rest(600).release();

  // Deleted while its menu is up.
  {
    MarkingMenu* doomed = practiceMenu();
    Told told(*doomed);
    QTimer::singleShot(300, [&] { delete doomed; });
    host.onPress = [&](QMouseEvent* e) {
      doomed->popup(&host, e->globalPosition().toPoint());
    };
    WindowMouse mouse(host, held);
    mouse.start();
    ASSERT_TRUE(spinUntil([&] { return mouse.finished(); }, 5000));
    spin(50);
    EXPECT_EQ(visibleChildren(), 0);
    EXPECT_NE(reports.last().find("deleted"), std::string::npos);
  }

  // Resized, then closed, while held.
  for (bool close : {false, true}) {
    Told told(*menu);
    QTimer::singleShot(300, [&] {
      if (close)
        host.close();
      else
        host.resize(700, 500);
    });
    ASSERT_TRUE(popUpAndPlay(*menu, held, told));
    EXPECT_TRUE(told.cancelled);
    EXPECT_NE(reports.last().find(close ? "went away" : "size"),
              std::string::npos)
        << reports.last();
    EXPECT_EQ(visibleChildren(), 0);
  }
}

// Over the desktop (here the simulated one, the program's platform) a
// popup follows the window's events in the desktop's coordinates, draws on
// the desktop and leaves it as it was.
TEST_F(InWindow, AnOverlayPopupFollowsTheWindowsEvents) {
  platform::SimPlatform sim(1280, 1024);
  const QImage desktop = sim.screenImage().copy();
  // Away from the desktop's corner, so that its coordinates and the
  // window's differ.
  host.move(130, 70);
  spin(20);
  const QPoint origin = host.mapToGlobal(QPoint(0, 0));
  ASSERT_GE(origin.x(), 130);
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  menu->setPath(MarkingMenu::Path::Overlay);
  Told told(*menu);
  bool drawn = false;
  QObject::connect(menu.get(), &MarkingMenu::highlighted, &told.alive,
                   [&] { drawn = drawn || sim.screenImage() != desktop; });
  host.onPress = [&](QMouseEvent* e) {
    menu->popup(&host, e->globalPosition().toPoint());
  };
  WindowMouse mouse(host,
                    Gesture()
                        .press(cx, cy)
                        .rest(250)
                        .moveTo(cx, cy + 90, 60)
                        .rest(300)
                        .moveTo(cx - 90, cy + 90, 60)
                        .rest(60)
                        .release(),
                    &sim);
  mouse.start();
  ASSERT_TRUE(
      spinUntil([&] { return mouse.finished() && told.ends > 0; }, 5000));
  ASSERT_TRUE(told.chosen.has_value());
  EXPECT_EQ(joined(told.chosen->labels), "Animals, Duck");
  // Drawn where the press was on the desktop.
  EXPECT_TRUE(drawn);
  EXPECT_EQ(menu->root()->centreX, origin.x() + cx);
  EXPECT_EQ(menu->root()->centreY, origin.y() + cy);
  EXPECT_EQ(sim.screenImage(), desktop);
  EXPECT_EQ(visibleChildren(), 0);
  EXPECT_EQ(host.contextMenus, 0);
}

// Where nothing may be drawn over the desktop, a menu asked to show there
// shows in the window, and says so once.
TEST_F(InWindow, AnOverlayAskedForWithoutADesktopShowsInTheWindow) {
  ReportCapture reports;
  std::unique_ptr<MarkingMenu> menu(practiceMenu());
  menu->setPath(MarkingMenu::Path::Overlay);
  const Gesture mark = Gesture()
                           .press(cx, cy)
                           .moveTo(cx, cy + 100, 100)
                           .moveTo(cx + 100, cy + 100, 100)
                           .release();
  for (int i = 0; i < 2; i++) {
    Told told(*menu);
    ASSERT_TRUE(popUpAndPlay(*menu, mark, told));
    ASSERT_TRUE(told.chosen.has_value());
    EXPECT_EQ(joined(told.chosen->labels), "Animals, Pig");
  }
  EXPECT_LE(reports.all().size(), 1u);
  for (const std::string& r : reports.all())
    EXPECT_NE(r.find("in the program's window instead"), std::string::npos)
        << r;
}

// A QMenu becomes the tree: the visible actions in order, separators and
// hidden actions left out, disabled ones disabled, submenus nested,
// checkable ones toggles; past 58 actions the rest is reported and left
// out.
TEST(FromMenu, ActionsBecomeTheTree) {
  ReportCapture reports;
  QMenu menu("&Edit");
  QAction* undo = menu.addAction("&Undo\tCtrl+Z");
  menu.addSeparator();
  menu.addAction("Cut && paste")->setEnabled(false);
  menu.addAction("Hidden")->setVisible(false);
  QAction* grid = menu.addAction("Grid");
  grid->setCheckable(true);
  grid->setChecked(true);
  QMenu* more = menu.addMenu("&More");
  more->addAction("Deeper");
  QAction* rulers = menu.addAction("Rulers");
  rulers->setCheckable(true);
  menu.addMenu("Empty");
  for (int i = 0; i < 60; i++) menu.addAction(QString("Row %1").arg(i));

  std::unique_ptr<MarkingMenu> mm = MarkingMenu::fromMenu(&menu);
  Menu* root = mm->root();
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->label[0], "Undo");
  EXPECT_STREQ(root->label[1], "Cut & paste");
  EXPECT_FALSE(root->enabled[1]);
  EXPECT_STREQ(root->label[2], "Grid");
  EXPECT_TRUE(root->hasToggle[2] && root->toggleOn[2]);
  EXPECT_STREQ(root->label[3], "More");
  ASSERT_NE(root->submenu[3], nullptr);
  EXPECT_STREQ(root->submenu[3]->label[0], "Deeper");
  EXPECT_TRUE(root->hasToggle[4] && !root->toggleOn[4]);
  EXPECT_FALSE(root->hasToggle[0]);
  EXPECT_STREQ(root->label[5], "Empty");
  EXPECT_FALSE(root->enabled[5]);
  EXPECT_STREQ(root->label[6], "Row 0");
  EXPECT_STREQ(root->label[57], "Row 51");
  EXPECT_EQ(root->itemCount, 58);
  ASSERT_EQ(reports.all().size(), 1u);
  EXPECT_NE(reports.last().find("\"Edit\": 8 actions past its 58 places"),
            std::string::npos)
      << reports.last();
  (void)undo;

  EXPECT_EQ(MarkingMenu::fromMenu(nullptr)->root()->itemCount, 8);
}

namespace {

// A mark on the simulated platform through select(): up, then right.
void markUpRight(platform::SimPlatform& sim, QPoint press) {
  sim.setInputScript([press](uint32_t ms) {
    QPoint at =
        ms < 150 ? press - QPoint(0, int(ms * 100 / 150))
                 : press + QPoint(std::min<int>(int(ms - 150) * 100 / 150, 100),
                                  -100);
    return platform::InputState{at.x(), at.y(), ms < 300, false};
  });
}

}  // namespace

// Choosing an item of a QMenu's tree triggers its action, once, unless it
// was deleted; check marks show during its selections only, as the actions
// are checked then.
TEST(FromMenu, ChoosingTriggersTheActionAndTogglesShowTheirState) {
  platform::SimPlatform sim;
  QMenu menu;
  QMenu* colour = menu.addMenu("Colour");
  QAction* red = colour->addAction("Red");
  QAction* blue = nullptr;
  colour->addAction("Green");
  blue = colour->addAction("Blue");
  QAction* grid = menu.addAction("Grid");
  grid->setCheckable(true);
  int blues = 0;
  QObject::connect(blue, &QAction::triggered, [&] { blues++; });
  std::unique_ptr<MarkingMenu> mm = MarkingMenu::fromMenu(&menu);
  mm->setPath(MarkingMenu::Path::Overlay);

  int indicatorsMeanwhile = -1;
  QObject::connect(mm.get(), &MarkingMenu::highlighted,
                   [&] { indicatorsMeanwhile = mIndicatorsShown(); });
  grid->setChecked(true);  // after the tree was made
  const QPoint press(640, 512);
  // Up then right: Colour's east item, the third added.
  QAction* east = colour->actions().at(2);
  ASSERT_EQ(east, blue);
  markUpRight(sim, press);
  auto choice = mm->select(press);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->labels, (std::vector<std::string>{"Colour", "Blue"}));
  EXPECT_EQ(choice->action, blue);
  EXPECT_EQ(blues, 1);
  EXPECT_EQ(mm->root()->toggleOn[1], 1);
  EXPECT_EQ(mIndicatorsShown(), 0);

  // The menu up after a rest, Grid highlighted with check marks on, and
  // chosen: a checkable action triggered toggles.
  sim.setInputScript([press](uint32_t ms) {
    return platform::InputState{press.x() + (ms > 200 ? 80 : 0), press.y(),
                                ms < 400, false};
  });
  choice = mm->select(press);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->labels, (std::vector<std::string>{"Grid"}));
  EXPECT_FALSE(grid->isChecked());
  EXPECT_EQ(indicatorsMeanwhile, 1);
  EXPECT_EQ(mIndicatorsShown(), 0);

  delete blue;
  markUpRight(sim, press);
  EXPECT_FALSE(mm->select(press).has_value());
  EXPECT_EQ(blues, 1);
  (void)red;
}
