#include "platform/qt_window/window_input.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTouchEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <optional>

#if QT_CONFIG(tabletevent)
#include <QTabletEvent>
#endif

namespace tarvel::platform {

namespace {

int rounded(double v) {
  // Far beyond any window, and inside int whatever Qt hands over.
  return int(std::lround(std::clamp(v, -1e9, 1e9)));
}

// Qt's global position in device pixels: each screen scaled about its own
// top-left corner, as the desktop platform measures the desktop.
QPoint globalDevicePixels(QPointF global) {
  QScreen* screen = QGuiApplication::screenAt(global.toPoint());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return QPoint(rounded(global.x()), rounded(global.y()));
  qreal ratio = screen->devicePixelRatio();
  QPointF origin = screen->geometry().topLeft();
  QPointF device = origin + (global - origin) * ratio;
  return QPoint(rounded(device.x()), rounded(device.y()));
}

bool isPress(QEvent::Type type) {
  return type == QEvent::MouseButtonPress ||
         type == QEvent::MouseButtonDblClick || type == QEvent::TabletPress ||
         type == QEvent::TouchBegin;
}

bool isRelease(QEvent::Type type) {
  return type == QEvent::MouseButtonRelease || type == QEvent::TabletRelease ||
         type == QEvent::TouchEnd || type == QEvent::TouchCancel;
}

bool isPointer(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
      return true;
    default:
      return false;
  }
}

// The pointer's events, and those of keys, the wheel, context menus and
// tooltips (consumed while capturing) and of the window's own changes.
bool isWatched(QEvent::Type type) {
  if (isPointer(type)) return true;
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::ToolTip:
    case QEvent::Resize:
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
      return true;
    default:
      return false;
  }
}

// The window's own Qt window, or a native child window inside it.
bool inWindowOf(const QWindow* window, const QWidget* top) {
  const QWindow* handle = top->windowHandle();
  for (; window && handle; window = window->parent())
    if (window == handle) return true;
  return false;
}

}  // namespace

struct WindowInput::State {
  QPointer<QWidget> host;
  std::function<void(const PointerEvent&)> listener;
  InputState input{};
  QPoint global;
  // Each kind of pointer holds the button down on its own; the state's is
  // down while any does.
  bool mouseDown = false;
  bool penDown = false;
  bool touchDown = false;
  int touchId = -1;  // the finger that is the pointer
  bool capturing = false;
  // After a capture, what is left of the gesture that made it (the rest of
  // the press, the release) and the context menu Qt makes of it belong to
  // the selection still. Both end at the next press.
  bool finishing = false;
  bool eatContextMenu = false;
  std::deque<PointerEvent> pending;
  bool telling = false;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  QWidget* window() const { return host ? host->window() : nullptr; }

  // Tells `e`, and whatever is told meanwhile after it. False when the
  // listener destroyed the WindowInput.
  bool tell(PointerEvent e) {
    if (!listener) return true;
    pending.push_back(e);
    if (telling) return true;
    telling = true;
    std::shared_ptr<bool> living = alive;
    while (!pending.empty()) {
      PointerEvent next = pending.front();
      pending.pop_front();
      // A copy: the listener may replace itself.
      std::function<void(const PointerEvent&)> call = listener;
      if (call) call(next);
      if (!*living) return false;
    }
    telling = false;
    return true;
  }

  PointerEvent event(PointerEvent::Kind kind) const {
    return PointerEvent{kind, input.x, input.y, global.x(), global.y()};
  }

  // Takes in what one event says of the pointer: where it is (in the
  // window's logical pixels and Qt's global ones) and, when it says so,
  // whether its kind holds the button down. Tells what changed.
  bool apply(QPointF at, QPointF globalAt, bool* held, std::optional<bool> down,
             QWidget* top) {
    double ratio = top->devicePixelRatioF();
    int x = rounded(at.x() * ratio), y = rounded(at.y() * ratio);
    bool moved = x != input.x || y != input.y;
    input.x = x;
    input.y = y;
    global = globalDevicePixels(globalAt);
    bool was = input.buttonsDown;
    if (down) *held = *down;
    input.buttonsDown = mouseDown || penDown || touchDown;
    if (!was && input.buttonsDown) return tell(event(PointerEvent::Press));
    if (was && !input.buttonsDown) return tell(event(PointerEvent::Release));
    if (moved) return tell(event(PointerEvent::Move));
    return true;
  }

  bool gone() {
    mouseDown = penDown = touchDown = false;
    touchId = -1;
    input.buttonsDown = false;
    input.escapeDown = false;
    return tell(event(PointerEvent::Gone));
  }
};

WindowInput::WindowInput(QWidget* window) : d_(new State) {
  d_->host = window;
  if (!window || !QCoreApplication::instance()) return;
  QCoreApplication::instance()->installEventFilter(this);
  // The host goes with its window, so this hears of either going.
  connect(window, &QObject::destroyed, this, [this] { d_->gone(); });
}

WindowInput::~WindowInput() {
  *d_->alive = false;
  delete d_;
}

QWidget* WindowInput::window() const { return d_->window(); }

InputState WindowInput::state() const { return d_->input; }

int WindowInput::width() const {
  QWidget* top = window();
  return top ? rounded(top->width() * top->devicePixelRatioF()) : 0;
}

int WindowInput::height() const {
  QWidget* top = window();
  return top ? rounded(top->height() * top->devicePixelRatioF()) : 0;
}

double WindowInput::devicePixelRatio() const {
  QWidget* top = window();
  return top ? top->devicePixelRatioF() : 1.0;
}

IntPoint WindowInput::fromGlobal(QPointF global) const {
  QWidget* top = window();
  if (!top) return IntPoint{0, 0};
  QPointF at = top->mapFromGlobal(global) * top->devicePixelRatioF();
  return IntPoint{rounded(at.x()), rounded(at.y())};
}

void WindowInput::setListener(std::function<void(const PointerEvent&)> l) {
  d_->listener = std::move(l);
}

void WindowInput::setCapturing(bool capturing) {
  if (d_->capturing && !capturing) {
    d_->finishing = true;
    d_->eatContextMenu = true;
  }
  d_->capturing = capturing;
}

bool WindowInput::capturing() const { return d_->capturing; }

bool WindowInput::eventFilter(QObject* watched, QEvent* event) {
  QEvent::Type type = event->type();
  if (!isWatched(type)) return false;
  QWidget* top = d_->window();
  if (!top || !watched) return false;
  // Qt hands an event to the window's Qt window first, then to the widget
  // it is for: the state is taken from both (the first tells, the second
  // finds nothing changed), and an event is consumed at the widget, after
  // Qt has kept its own account of grabs and clicks.
  QWidget* widget = nullptr;
  if (watched->isWidgetType()) {
    widget = static_cast<QWidget*>(watched);
    if (widget->window() != top) return false;
  } else if (!watched->isWindowType() ||
             !inWindowOf(static_cast<QWindow*>(watched), top)) {
    return false;
  }
  auto inWindow = [&](QPointF local) {
    if (widget) return widget->mapTo(top, local);
    auto* window = static_cast<QWindow*>(watched);
    if (window == top->windowHandle()) return local;
    return top->mapFromGlobal(window->mapToGlobal(local));
  };

  switch (type) {
    case QEvent::Resize: {
      auto* resize = static_cast<QResizeEvent*>(event);
      if (widget != top || resize->size() == resize->oldSize()) return false;
      d_->tell(d_->event(PointerEvent::Resized));
      return false;
    }
    case QEvent::Hide:
      if (widget == top) d_->gone();
      return false;
    case QEvent::WindowDeactivate:
      // Its release goes to whichever window is active now.
      if (widget == top) d_->input.escapeDown = false;
      return false;
    case QEvent::ContextMenu: {
      auto* menu = static_cast<QContextMenuEvent*>(event);
      bool eat = d_->capturing;
      if (!eat && d_->eatContextMenu &&
          menu->reason() == QContextMenuEvent::Mouse) {
        d_->eatContextMenu = false;
        eat = true;
      }
      if (eat) event->accept();
      return eat;
    }
    default:
      break;
  }

  if (isPress(type)) {
    d_->finishing = false;
    d_->eatContextMenu = false;
  }
  // Decided before the listener hears of the event, which may end the
  // capture.
  bool consume = widget && d_->capturing;
  std::shared_ptr<bool> alive = d_->alive;

  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      // What Qt or the system made of a pen or a finger was told as such.
      Qt::MouseEventSource source = mouse->source();
      if (source == Qt::MouseEventSynthesizedByQt ||
          source == Qt::MouseEventSynthesizedBySystem)
        break;
      d_->apply(inWindow(mouse->position()), mouse->globalPosition(),
                &d_->mouseDown, mouse->buttons() != Qt::NoButton, top);
      break;
    }
#if QT_CONFIG(tabletevent)
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease: {
      auto* tablet = static_cast<QTabletEvent*>(event);
      std::optional<bool> down;
      if (type != QEvent::TabletMove) down = type == QEvent::TabletPress;
      d_->apply(inWindow(tablet->position()), tablet->globalPosition(),
                &d_->penDown, down, top);
      break;
    }
#endif
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
      auto* touch = static_cast<QTouchEvent*>(event);
      const QList<QEventPoint>& points = touch->points();
      if (points.isEmpty()) break;
      // A finger that lands while none is the pointer becomes it; the
      // others are not followed.
      const QEventPoint* finger = nullptr;
      for (const QEventPoint& p : points)
        if (d_->touchDown ? p.id() == d_->touchId
                          : p.state() == QEventPoint::Pressed)
          finger = finger ? finger : &p;
      if (!finger) break;
      d_->touchId = finger->id();
      bool down = type != QEvent::TouchEnd && type != QEvent::TouchCancel &&
                  finger->state() != QEventPoint::Released;
      // A touch point's own position is the receiver's to set, and one
      // made by hand may have none: its global position is always given.
      d_->apply(top->mapFromGlobal(finger->globalPosition()),
                finger->globalPosition(), &d_->touchDown, down, top);
      break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() != Qt::Key_Escape) break;
      if (type == QEvent::KeyPress && !d_->input.escapeDown) {
        d_->input.escapeDown = true;
        d_->tell(d_->event(PointerEvent::Escape));
      } else if (type == QEvent::KeyRelease && !key->isAutoRepeat()) {
        d_->input.escapeDown = false;
      }
      break;
    }
    default:
      break;
  }
  if (!*alive) return consume;

  if (widget && !consume && d_->finishing && isPointer(type)) {
    if (isRelease(type) || d_->input.buttonsDown) consume = true;
    if (!d_->input.buttonsDown) d_->finishing = false;
  }
  // A pen or finger whose event is taken is not made into mouse events.
  if (consume) event->accept();
  return consume;
}

}  // namespace tarvel::platform
