#include "qt/qt_marking_menu.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QTouchEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <bitset>
#include <cmath>

#include "platform/platform.h"
#include "platform/qt_window/window_input.h"
#include "platform/qt_window/window_platform.h"
#include "platform/report.h"

namespace tarvel {

namespace {

// Over the desktop the library's pending work is looked at this often.
constexpr int overlayPollMs = 10;
// The library keeps 49 bytes of a label, shortening longer ones itself.
constexpr size_t labelBytes = 48;
constexpr size_t shortenedBytes = 46;

// Qt's global coordinates in the screen's device pixels, the library's.
QPoint devicePixels(QPoint logical) {
  QScreen* screen = QGuiApplication::screenAt(logical);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return logical;
  qreal ratio = screen->devicePixelRatio();
  QPoint origin = screen->geometry().topLeft();
  return origin + (logical - origin) * ratio;
}

// An item's label for a report of one line: control characters as "?".
std::string reportable(const std::string& label) {
  std::string out = label.substr(0, 60);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

// The library shortens a long label by bytes; one in UTF-8 beyond ASCII is
// shortened here instead, between characters, so that no character is cut
// in two.
std::string fitted(const std::string& label) {
  bool ascii = std::all_of(label.begin(), label.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80;
  });
  if (ascii || label.size() <= labelBytes) return label;
  size_t end = shortenedBytes;
  while (end > 0 && (static_cast<unsigned char>(label[end]) & 0xC0) == 0x80)
    end--;
  return label.substr(0, end) + "...";
}

// An action's text as a label: "&&" is an ampersand, any other "&" marks a
// mnemonic and goes, and a tab starts the shortcut's text.
std::string labelOf(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); i++) {
    QChar c = text[i];
    if (c == u'\t') break;
    if (c == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        out += u'&';
        i++;
      }
      continue;
    }
    out += c;
  }
  return out.toStdString();
}

// The platform a program installed itself (a SimPlatform, one of its own),
// or NULL when the library runs on its default one.
platform::Platform* programPlatform() {
  platform::Platform* installed = platform::install(nullptr);
  platform::install(installed);
  return installed;
}

bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Watches the program's events from the first MarkingMenu on: the widget
// that received the latest press, for select() without a host; and the
// release of a press that the window's input was made too late to see (a
// menu made in the press handler), which it then cannot tell.
class PressRecorder : public QObject {
 public:
  static void ensure() {
    QCoreApplication* app = QCoreApplication::instance();
    if (instance_ || !app) return;
    instance_ = new PressRecorder(app);
    app->installEventFilter(instance_);
  }
  static QWidget* lastPressed() {
    return instance_ ? instance_->pressed_.data() : nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using QObject::QObject;
  QPointer<QWidget> pressed_;
  static QPointer<PressRecorder> instance_;
};

QPointer<PressRecorder> PressRecorder::instance_;

// The default (desktop) platform with sleeps that keep the program's event
// loop turning, its input held back until they end: a mark's confirmation
// does not stop the program's timers and painting.
class LivelySleeps : public platform::Platform {
 public:
  explicit LivelySleeps(platform::Platform* inner) : inner_(inner) {}

  uint64_t microseconds() override { return inner_->microseconds(); }
  void sleepMs(uint32_t ms) override {
    QEventLoop loop;
    QTimer::singleShot(int(std::min<uint32_t>(ms, 60000)), Qt::PreciseTimer,
                       &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  void spinStep() override { inner_->spinStep(); }
  void wakeBy(uint64_t us) override { inner_->wakeBy(us); }
  platform::InputState pollInput() override { return inner_->pollInput(); }
  void setCursor(platform::Cursor cursor) override {
    inner_->setCursor(cursor);
  }
  bool moduleLoaded(const char* name) override {
    return inner_->moduleLoaded(name);
  }
  platform::Colour systemColour(platform::SystemColour which) override {
    return inner_->systemColour(which);
  }
  platform::FontSpec menuFont() override { return inner_->menuFont(); }
  Rect workArea() override { return inner_->workArea(); }
  Rect desktopRect() override { return inner_->desktopRect(); }
  Rect workAreaAt(int x, int y) override { return inner_->workAreaAt(x, y); }
  double devicePixelRatio() override { return inner_->devicePixelRatio(); }
  platform::Surface* openOverlay() override { return inner_->openOverlay(); }
  void closeOverlay() override { inner_->closeOverlay(); }
  platform::Surface* overlay() override { return inner_->overlay(); }
  void playSound(const char* name, const void* wave, size_t bytes,
                 bool synchronous) override {
    inner_->playSound(name, wave, bytes, synchronous);
  }

 private:
  platform::Platform* inner_;
};

}  // namespace

// One selection, from its press to its end. Kept alive by `running` while
// it runs and by every call of its own under way, so that a MarkingMenu or
// window deleted meanwhile (a program's timer may do either in a nested
// loop) leaves it whole to end cleanly.
namespace detail {

struct SelectionRun : std::enable_shared_from_this<SelectionRun> {
  enum class Stage { Tracking, Ending, Ended };

  void onEvent(const platform::PointerEvent& e);
  void poll();
  void noteHighlight();
  void release(IntPoint at);
  void cancel(const char* why);
  void stopInput();
  void closeLibrary();
  void scheduleFinish();
  void finish();
  IntPoint point(const platform::PointerEvent& e) const {
    return inWindow ? IntPoint{e.x, e.y} : IntPoint{e.globalX, e.globalY};
  }

  QPointer<MarkingMenu> owner;
  Menu* root = nullptr;
  bool inWindow = true;
  QPointer<QWidget> window;    // the host's
  QEventLoop* loop = nullptr;  // select() waits in it
  platform::WindowPlatform* windowPlatform = nullptr;
  // A window platform whose window went while its confirmation showed.
  std::unique_ptr<platform::WindowPlatform> orphan;
  std::unique_ptr<platform::WindowInput> ownInput;  // over the desktop
  platform::WindowInput* input = nullptr;
  std::unique_ptr<platform::Platform> lively;
  platform::Platform* previous = nullptr;
  bool installed = false;  // `previous` is to be put back
  QPointer<QTimer> pollTimer;
  int indicatorsBefore = 0;
  Stage stage = Stage::Tracking;
  bool libraryDone = false;
  Menu* litMenu = nullptr;
  int litItem = 0;
  std::optional<Choice> result;
};

}  // namespace detail

namespace {
using Run = detail::SelectionRun;
}  // namespace

namespace {

// The selection running, one in the whole program.
std::shared_ptr<Run> running;

// The in-window platform of one top-level window, made at its first
// selection and gone with the window.
class WindowPlatformHolder : public QObject {
 public:
  explicit WindowPlatformHolder(QWidget* window)
      : QObject(window),
        platform(std::make_unique<platform::WindowPlatform>(window)) {}
  ~WindowPlatformHolder() override {
    std::shared_ptr<Run> run = running;
    if (!run || run->windowPlatform != platform.get()) return;
    run->cancel("its window went away");
    // A confirmation may be showing on it still: the selection keeps it
    // until it has ended.
    if (!run->libraryDone) run->orphan = std::move(platform);
  }

  std::unique_ptr<platform::WindowPlatform> platform;
};

// A release at the selection's window, when its input never saw the
// press: the position in the window's device pixels, or the desktop's.
void releaseUnseen(QWindow* at, QEvent* event) {
  std::shared_ptr<Run> run = running;
  if (!run || run->stage != Run::Stage::Tracking || !run->input ||
      run->input->state().buttonsDown || !run->window ||
      run->window->windowHandle() != at)
    return;
  QPointF local, global;
  if (event->type() == QEvent::TouchEnd) {
    const auto* touch = static_cast<QTouchEvent*>(event);
    if (touch->points().isEmpty()) return;
    local = touch->points().first().position();
    global = touch->points().first().globalPosition();
  } else {
    const auto* pointer = static_cast<QSinglePointEvent*>(event);
    if (event->type() == QEvent::MouseButtonRelease &&
        pointer->buttons() != Qt::NoButton)
      return;
    local = pointer->position();
    global = pointer->globalPosition();
  }
  if (run->inWindow) {
    QPointF device = local * at->devicePixelRatio();
    run->release(
        IntPoint{int(std::lround(device.x())), int(std::lround(device.y()))});
  } else {
    QPoint device = devicePixels(global.toPoint());
    run->release(IntPoint{device.x(), device.y()});
  }
}

bool PressRecorder::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TabletPress:
    case QEvent::TouchBegin:
      if (watched->isWidgetType()) pressed_ = static_cast<QWidget*>(watched);
      break;
    case QEvent::MouseButtonRelease:
    case QEvent::TabletRelease:
    case QEvent::TouchEnd:
      if (watched->isWindowType())
        releaseUnseen(static_cast<QWindow*>(watched), event);
      break;
    default:
      break;
  }
  return false;
}

platform::WindowPlatform* windowPlatformFor(QWidget* window) {
  for (QObject* child : window->children())
    if (auto* holder = dynamic_cast<WindowPlatformHolder*>(child))
      return holder->platform.get();
  return (new WindowPlatformHolder(window))->platform.get();
}

}  // namespace

void detail::SelectionRun::onEvent(const platform::PointerEvent& e) {
  std::shared_ptr<Run> keep = shared_from_this();
  if (stage != Stage::Tracking) return;
  switch (e.kind) {
    case platform::PointerEvent::Press:  // pressed before it was watched
    case platform::PointerEvent::Move: {
      IntPoint at = point(e);
      mMotion(root, at.x, at.y);
      noteHighlight();
      break;
    }
    case platform::PointerEvent::Release:
      release(point(e));
      break;
    case platform::PointerEvent::Escape:
      cancel(nullptr);
      break;
    case platform::PointerEvent::Gone:
      cancel("its window went away");
      break;
    case platform::PointerEvent::Resized:
      // The desktop's menus do not care; the window's are laid out in it.
      if (inWindow) cancel("its window changed size");
      break;
  }
}

void detail::SelectionRun::poll() {
  std::shared_ptr<Run> keep = shared_from_this();
  if (stage != Stage::Tracking) return;
  mPoll();
  noteHighlight();
}

void detail::SelectionRun::noteHighlight() {
  Menu* menu = nullptr;
  int item = 0;
  if (root->mode != 0 && root->current && root->current->selected &&
      root->current->selectedEnabled) {
    menu = root->current;
    item = menu->selected;
  }
  if (menu == litMenu && item == litItem) return;
  litMenu = menu;
  litItem = item;
  QPointer<MarkingMenu> to = owner;
  if (!to) return;
  Choice choice = menu ? to->choiceTo(menu, item) : Choice{};
  if (choice.action) choice.action->hover();
  if (to) emit to->highlighted(choice);
}

void detail::SelectionRun::release(IntPoint at) {
  std::shared_ptr<Run> keep = shared_from_this();
  if (stage != Stage::Tracking) return;
  stage = Stage::Ending;
  mRelease(root, at.x, at.y);
  if (owner) result = owner->result();
  stopInput();
  scheduleFinish();
}

void detail::SelectionRun::cancel(const char* why) {
  std::shared_ptr<Run> keep = shared_from_this();
  if (stage != Stage::Tracking) return;
  stage = Stage::Ending;
  if (why) mReportError("marking menu: %s: nothing selected", why);
  mCancel(root);
  stopInput();
  closeLibrary();
  scheduleFinish();
}

void detail::SelectionRun::stopInput() {
  if (input) {
    input->setListener(nullptr);
    input->setCapturing(false);
  }
  if (windowPlatform) windowPlatform->setDeadlineHandler(nullptr);
  if (pollTimer) pollTimer->stop();
}

// Takes the overlay down and puts back what the selection changed.
void detail::SelectionRun::closeLibrary() {
  if (libraryDone) return;
  libraryDone = true;
  mShutdown();
  if (installed) platform::install(previous);
  installed = false;
  mShowIndicators(indicatorsBefore);
  if (pollTimer) pollTimer->deleteLater();
}

void detail::SelectionRun::scheduleFinish() {
  std::shared_ptr<Run> keep = shared_from_this();
  QTimer::singleShot(0, QCoreApplication::instance(),
                     [keep] { keep->finish(); });
}

// After the release, out of the event that ended it: the mark's
// confirmation, the overlay taken down, then the program is told.
void detail::SelectionRun::finish() {
  std::shared_ptr<Run> keep = shared_from_this();
  if (stage == Stage::Ended) return;
  if (!libraryDone) {
    // Shown for a while; the program's loop turns meanwhile.
    mShowConfirmation(root);
    mEraseConfirmation(root);
    closeLibrary();
  }
  stage = Stage::Ended;
  ownInput.reset();
  if (running.get() == this) running.reset();
  if (loop) loop->quit();
  QPointer<MarkingMenu> to = owner;
  if (!to) return;
  if (!result) {
    emit to->cancelled();
    return;
  }
  QPointer<QAction> action = result->action;
  emit to->triggered(*result);
  if (action) action->trigger();
}

Item::Item(std::string label, std::intptr_t value, bool enabled, Place place)
    : label(std::move(label)), value(value), enabled(enabled), place(place) {}

Item::Item(std::string label, std::initializer_list<Item> items, Place place)
    : label(std::move(label)), place(place), items(items) {}

MarkingMenu::MarkingMenu(std::initializer_list<Item> items, QObject* parent)
    : MarkingMenu(std::vector<Item>(items), parent) {}

MarkingMenu::MarkingMenu(const std::vector<Item>& items, QObject* parent)
    : QObject(parent), items_(items) {
  root_ = mCreateMenu();
  add(root_, items_, 1);
  prepare();
}

MarkingMenu::~MarkingMenu() {
  std::shared_ptr<Run> run = running;
  if (!run || run->owner != this) return;
  run->owner = nullptr;
  if (run->stage == Run::Stage::Tracking)
    run->cancel("its MarkingMenu was deleted");
  else if (run->stage == Run::Stage::Ending && run->result)
    mReportError("marking menu: its MarkingMenu was deleted: not triggered");
}

// Whatever the first selection needs is made now, so that its menu shows
// at once: over a desktop with a compositor, the desktop platform maps its
// overlay ahead (a window mapped later would fade in).
void MarkingMenu::prepare() {
  PressRecorder::ensure();
  if (path_ == Path::InWindow ||
      !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return;
  if (onX11() && !programPlatform()) platform::current();
}

void MarkingMenu::setPath(Path path) {
  path_ = path;
  prepare();
}

bool MarkingMenu::isActive() const { return running && running->owner == this; }

void MarkingMenu::add(Menu* menu, const std::vector<Item>& items, int level) {
  if (!menu) return;
  depth_ = std::max(depth_, level);
  int next = 0;
  std::bitset<MENU_SLOTS> taken;
  std::vector<std::string> labels(MENU_SLOTS);
  for (const Item& item : items) {
    int position = item.place == Place::Next ? next : int(item.place);
    // A misplaced item is left out alone; the rest of the menu is built.
    if (position < 0 || position >= MENU_SLOTS) {
      mReportError(
          "marking menu item \"%s\" placed at %d, outside 0 to %d: "
          "left out",
          reportable(item.label).c_str(), position, MENU_SLOTS - 1);
      continue;
    }
    next = position + 1;
    if (taken[size_t(position)]) {
      mReportError(
          "marking menu item \"%s\" placed at %d, where \"%s\" "
          "is: left out",
          reportable(item.label).c_str(), position,
          labels[size_t(position)].c_str());
      continue;
    }
    taken[size_t(position)] = true;
    labels[size_t(position)] = reportable(item.label);
    // The library hands back its own value: which item it was.
    chosen_.push_back(Entry{&item, menu, position, !item.action.isNull()});
    toggles_ = toggles_ || item.checkable;
    mAddItem(menu, fitted(item.label).c_str(), position,
             uintptr_t(chosen_.size()), item.checkable ? 1 : 0,
             item.checked ? 1 : 0, 0, 0, item.enabled ? 1 : 0, 0, 0);
    if (!item.items.empty())
      add(mNewSubmenu(menu, position), item.items, level + 1);
  }
}

namespace {

// The items of `menu`'s visible actions; `within` holds the menus it lies
// in, so that a menu met again inside itself is left out.
std::vector<Item> itemsOf(const QMenu* menu,
                          std::vector<const QMenu*>& within) {
  std::vector<Item> items;
  int over = 0;
  within.push_back(menu);
  for (QAction* action : menu->actions()) {
    if (!action || action->isSeparator() || !action->isVisible()) continue;
    if (items.size() >= size_t(MENU_SLOTS)) {
      over++;
      continue;
    }
    std::string label = labelOf(action->text());
    if (label.empty()) label = labelOf(action->iconText());
    if (label.empty()) {
      // A slot without a label shows nothing and cannot be chosen.
      mReportError("marking menu \"%s\": an action without text left out",
                   reportable(labelOf(menu->title())).c_str());
      continue;
    }
    Item item(label, 0, action->isEnabled());
    item.action = action;
    item.checkable = action->isCheckable();
    item.checked = action->isChecked();
    if (QMenu* sub = QMenu::menuInAction(action)) {
      if (std::find(within.begin(), within.end(), sub) != within.end()) {
        mReportError("marking menu: \"%s\" holds its own menu: left out",
                     reportable(label).c_str());
        continue;
      }
      // The library's trees go no deeper; mNewSubmenu says so.
      if (within.size() < size_t(MENU_DEPTH_LIMIT))
        item.items = itemsOf(sub, within);
      else
        mReportError("menus go at most %d levels deep", MENU_DEPTH_LIMIT);
      // A submenu with nothing in it offers nothing to choose.
      if (item.items.empty()) item.enabled = false;
    }
    items.push_back(std::move(item));
  }
  within.pop_back();
  if (over > 0)
    mReportError("marking menu \"%s\": %d actions past its %d places left out",
                 reportable(labelOf(menu->title())).c_str(), over, MENU_SLOTS);
  return items;
}

}  // namespace

std::unique_ptr<MarkingMenu> MarkingMenu::fromMenu(const QMenu* menu) {
  std::vector<const QMenu*> within;
  return std::make_unique<MarkingMenu>(menu ? itemsOf(menu, within)
                                            : std::vector<Item>{});
}

// Actions may have been checked, enabled or deleted since the tree was made.
void MarkingMenu::refreshActions() {
  for (const Entry& entry : chosen_) {
    if (!entry.fromAction) continue;
    QAction* action = entry.item->action;
    // An action deleted since is not offered, nor a submenu left empty.
    bool empty =
        entry.item->items.empty() && action && QMenu::menuInAction(action);
    entry.menu->enabled[entry.position] =
        action && action->isEnabled() && !empty ? 1 : 0;
    if (entry.item->checkable)
      entry.menu->toggleOn[entry.position] =
          action && action->isChecked() ? 1 : 0;
  }
}

MarkingMenu::Path MarkingMenu::resolve(bool waiting) const {
  bool desktop = onX11() || programPlatform();
  if (path_ == Path::Overlay && !desktop) {
    // Nothing may be drawn over other windows here: the window it is.
    static bool said = false;
    if (!said)
      mReportError(
          "marking menu: Qt's %s platform draws nothing over the desktop: "
          "menus show in the program's window instead",
          qPrintable(QGuiApplication::platformName()));
    said = true;
    return Path::InWindow;
  }
  if (path_ != Path::Automatic) return path_;
  // The person running the program may choose for every menu it shows.
  static const QByteArray chosen = qgetenv("TARVEL_MENU_PATH");
  if (chosen == "in-window") return Path::InWindow;
  if (chosen == "overlay" && desktop) return Path::Overlay;
  if (!waiting) return Path::InWindow;
  return desktop ? Path::Overlay : Path::InWindow;
}

Choice MarkingMenu::choiceTo(Menu* menu, int item) const {
  std::vector<Menu*> chain;
  for (Menu* m = menu; m && chain.size() < size_t(MENU_DEPTH_LIMIT);
       m = m->parent)
    chain.push_back(m);
  std::reverse(chain.begin(), chain.end());
  Choice choice;
  auto take = [&](Menu* m, int p) {
    if (p < 0 || p >= MENU_SLOTS) return;
    uintptr_t v = m->value[p];
    if (v == 0 || v > chosen_.size()) return;
    const Item& it = *chosen_[v - 1].item;
    choice.positions.push_back(p);
    choice.labels.push_back(it.label);
    choice.value = it.value;
    choice.action = it.action;
  };
  for (size_t i = 0; i + 1 < chain.size(); i++)
    take(chain[i], chain[i + 1]->parentPosition);
  take(menu, item - 1);
  return choice;
}

std::optional<Choice> MarkingMenu::result() const {
  if (!root_) return std::nullopt;
  // One entry per level of the tree at most.
  size_t room = size_t(std::min(depth_, MENU_DEPTH_LIMIT)) + 1;
  std::vector<int> positions(room);
  std::vector<uintptr_t> values(room);
  uintptr_t value = 0;
  int levels = mGetResult(root_, positions.data(), nullptr, values.data(),
                          nullptr, nullptr, &value);
  if (value == 0 || value > chosen_.size()) return std::nullopt;
  Choice choice;
  for (int i = 0; i < levels && size_t(i) < room; i++) {
    uintptr_t v = values[size_t(i)];
    if (v == 0 || v > chosen_.size()) break;
    choice.positions.push_back(positions[size_t(i)]);
    choice.labels.push_back(chosen_[v - 1].item->label);
  }
  const Item& chosen = *chosen_[value - 1].item;
  choice.value = chosen.value;
  choice.action = chosen.action;
  return choice;
}

MarkingMenu::Start MarkingMenu::start(QWidget* host, QPoint globalPos,
                                      Path path) {
  if (running) {
    mReportError("marking menu: a selection is running: another is refused");
    return Start::Refused;
  }
  if (!root_ || !QCoreApplication::instance()) return Start::Failed;
  PressRecorder::ensure();
  if (!host) {
    mReportError("marking menu: no host widget: nothing selected");
    return Start::Failed;
  }
  QWidget* window = host->window();
  if (!window->isVisible() || !window->windowHandle()) {
    mReportError(
        "marking menu: its host widget is in no window shown: nothing "
        "selected");
    return Start::Failed;
  }
  auto run = std::make_shared<Run>();
  run->owner = this;
  run->root = root_;
  run->inWindow = path == Path::InWindow;
  run->window = window;
  if (run->inWindow) {
    run->windowPlatform = windowPlatformFor(window);
    run->input = &run->windowPlatform->input();
    run->previous = platform::install(run->windowPlatform);
    run->installed = true;
  } else {
    run->ownInput = std::make_unique<platform::WindowInput>(host);
    run->input = run->ownInput.get();
    if (!programPlatform()) {
      run->lively = std::make_unique<LivelySleeps>(&platform::current());
      run->previous = platform::install(run->lively.get());
      run->installed = true;
    }
  }
  run->indicatorsBefore = mIndicatorsShown();
  if (toggles_) mShowIndicators(1);
  refreshActions();
  running = run;
  mInit(0, 0, 0, 0, 0, 0);

  std::weak_ptr<Run> weak = run;
  run->input->setListener([weak](const platform::PointerEvent& e) {
    if (std::shared_ptr<Run> r = weak.lock()) r->onEvent(e);
  });
  run->input->setCapturing(true);
  IntPoint at;
  if (run->inWindow) {
    run->windowPlatform->setDeadlineHandler([weak] {
      if (std::shared_ptr<Run> r = weak.lock()) r->poll();
    });
    at = run->input->fromGlobal(QPointF(globalPos));
  } else {
    // The desktop platform waits for its deadlines only in a polling loop,
    // which this is not: its pending work is looked at on a timer instead.
    auto* timer = new QTimer(QCoreApplication::instance());
    run->pollTimer = timer;
    QObject::connect(timer, &QTimer::timeout, timer, [weak] {
      if (std::shared_ptr<Run> r = weak.lock()) r->poll();
    });
    timer->start(overlayPollMs);
    QPoint device = devicePixels(globalPos);
    at = IntPoint{device.x(), device.y()};
  }
  mPress(root_, at.x, at.y);
  run->noteHighlight();
  return Start::Running;
}

void MarkingMenu::popup(QWidget* host, QPoint globalPos) {
  QPointer<MarkingMenu> self(this);
  if (start(host, globalPos, resolve(false)) == Start::Failed && self)
    emit cancelled();
}

std::optional<Choice> MarkingMenu::select(QPoint globalPress) {
  QWidget* host = nullptr;
  if (resolve(true) == Path::InWindow) {
    host = PressRecorder::lastPressed();
    if ((!host || !host->isVisible()) &&
        qobject_cast<QApplication*>(QCoreApplication::instance())) {
      host = QApplication::widgetAt(globalPress);
      if (!host) host = QApplication::activeWindow();
    }
  }
  return select(host, globalPress);
}

std::optional<Choice> MarkingMenu::select(QWidget* host, QPoint globalPress) {
  if (running) {
    mReportError("marking menu: a selection is running: another is refused");
    return std::nullopt;
  }
  Path path = resolve(true);
  if (path == Path::Overlay) return selectByPolling(globalPress);
  QPointer<MarkingMenu> self(this);
  Start started = start(host, globalPress, path);
  if (started == Start::Refused) return std::nullopt;
  std::shared_ptr<Run> run = running;
  if (started == Start::Failed || !run) {
    if (self && started == Start::Failed) emit cancelled();
    return std::nullopt;
  }
  // The program's events go on being delivered, the window's input to the
  // selection, until it has ended.
  QEventLoop loop;
  run->loop = &loop;
  if (run->stage != Run::Stage::Ended) loop.exec();
  run->loop = nullptr;
  // The loop left early: the program is quitting.
  run->cancel("the program is quitting");
  run->finish();
  if (!self) return std::nullopt;
  return run->result;
}

// The selection as the library's own loop runs it, on the platform in use:
// the desktop's input read without Qt's events, or a program's own
// platform.
std::optional<Choice> MarkingMenu::selectByPolling(QPoint globalPress) {
  QPointer<MarkingMenu> self(this);
  auto run = std::make_shared<Run>();
  run->owner = this;
  run->root = root_;
  run->inWindow = false;
  if (!root_) return std::nullopt;
  run->indicatorsBefore = mIndicatorsShown();
  if (toggles_) mShowIndicators(1);
  refreshActions();
  running = run;
  Menu* root = root_;
  mInit(0, 0, 0, 0, 0, 0);
  QPoint at = devicePixels(globalPress);
  mPress(root, at.x(), at.y());
  platform::Platform& p = platform::current();
  while (run->stage == Run::Stage::Tracking) {
    platform::InputState in = p.pollInput();
    if (in.escapeDown) {
      run->cancel(nullptr);
    } else if (!in.buttonsDown) {
      run->release(IntPoint{in.x, in.y});
    } else {
      mMotion(root, in.x, in.y);
      mPoll();
      run->noteHighlight();
    }
  }
  run->finish();
  if (!self) return std::nullopt;
  return run->result;
}

}  // namespace tarvel
