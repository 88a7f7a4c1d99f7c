// The in-window platform on Qt's offscreen platform: a real selection drawn
// over a plain window, the window's events as the pointer, the waits.
// Positions are worked out from the window's ratio, so the tests hold at
// any QT_SCALE_FACTOR.
#include "platform/qt_window/window_platform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTimer>
#include <QTouchEvent>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "menu/marking_menu.h"

using tarvel::platform::PointerEvent;
using tarvel::platform::WindowInput;
using tarvel::platform::WindowPlatform;

namespace {

void startApplication() {
  static int argc = 1;
  static char name[] = "window_tests";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

// Runs the event loop for `ms`.
void pump(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

int opaquePixels(const QImage& picture) {
  int count = 0;
  for (int y = 0; y < picture.height(); y++)
    for (int x = 0; x < picture.width(); x++)
      count += qAlpha(picture.pixel(x, y)) == 0xFF;
  return count;
}

// A widget inside the window that counts the input events reaching it.
class Pad : public QWidget {
 public:
  using QWidget::QWidget;
  std::map<QEvent::Type, int> seen;
  std::function<void()> onPress;
  int count(QEvent::Type type) const {
    auto found = seen.find(type);
    return found == seen.end() ? 0 : found->second;
  }

 protected:
  bool event(QEvent* e) override {
    if (!e->isInputEvent()) return QWidget::event(e);
    seen[e->type()]++;
    if (e->type() == QEvent::MouseButtonPress && onPress) onPress();
    e->accept();
    return true;
  }
};

Menu* compassMenu() {
  Menu* root = mCreateMenu();
  const char* labels[] = {"North", "East", "South", "West"};
  for (int i = 0; i < 4; i++)
    mAddItem(root, labels[i], i * 2, uintptr_t(i + 1), 0, 0, 0, 0, 1, 0, 0);
  return root;
}

class WindowPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    startApplication();
    host = std::make_unique<QWidget>();
    host->setAutoFillBackground(true);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    host->setPalette(palette);
    host->resize(400, 300);
    pad = new Pad(host.get());
    pad->setGeometry(50, 40, 200, 150);
    pad->setMouseTracking(true);
    host->show();
    pump(10);
    ratio = host->devicePixelRatioF();
  }
  void TearDown() override { tarvel::platform::install(nullptr); }

  // A point of the pad in window device pixels.
  QPoint device(QPointF local) const {
    QPointF at = (local + QPointF(pad->pos())) * ratio;
    return QPoint(int(std::lround(at.x())), int(std::lround(at.y())));
  }
  void sendMouse(QEvent::Type type, QPointF local, Qt::MouseButton button,
                 Qt::MouseButtons buttons) {
    QMouseEvent e(type, local, pad->mapToGlobal(local), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(pad, &e);
  }
  void sendContextMenu() {
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5),
                        pad->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(pad, &e);
  }

  std::unique_ptr<QWidget> host;
  Pad* pad = nullptr;
  double ratio = 1;
};

// A real selection: the picture is clear at the start, the menu comes up
// by the deadline handler alone, shows over the window exactly as drawn,
// and once erased and shut down leaves nothing behind.
TEST_F(WindowPlatformTest, MenuIsDrawnOverTheWindowAndClearedAfter) {
  WindowPlatform wp(host.get());
  tarvel::platform::install(&wp);
  wp.setDeadlineHandler([] { mPoll(); });
  mInit(0, 0, 0, 0, 0, 0);
  ASSERT_NE(wp.overlay(), nullptr);
  EXPECT_EQ(host->findChildren<QWidget*>().size(), 2);
  QImage clear = wp.picture();
  EXPECT_EQ(clear.width(), int(std::lround(400 * ratio)));
  EXPECT_EQ(opaquePixels(clear), 0);

  Menu* root = compassMenu();
  int cx = wp.input().width() / 2, cy = wp.input().height() / 2;
  mPress(root, cx, cy);
  for (int i = 0; i < 100 && opaquePixels(wp.picture()) == 0; i++) pump(10);
  QImage shown = wp.picture();
  ASSERT_GT(opaquePixels(shown), 0) << "the menu never came up";
  EXPECT_EQ(qAlpha(shown.pixel(cx, cy)), 0xFF);
  EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);

  // The window's own picture: the menu where drawn, the window elsewhere.
  QImage seen = host->grab().toImage();
  EXPECT_EQ(seen.pixel(cx, cy) & 0xFFFFFF, shown.pixel(cx, cy) & 0xFFFFFF);
  EXPECT_EQ(seen.pixel(2, 2), qRgb(0, 200, 0));

  mRelease(root, cx, cy);
  EXPECT_EQ(opaquePixels(wp.picture()), 0);
  mShutdown();
  EXPECT_EQ(wp.overlay(), nullptr);
  EXPECT_EQ(host->findChildren<QWidget*>().size(), 1);
  EXPECT_FALSE(host->testAttribute(Qt::WA_SetCursor));
  pump(10);
  EXPECT_EQ(host->grab().toImage().pixel(cx, cy), qRgb(0, 200, 0));
}

// The mouse as the pointer, in window device pixels; the pad sees its
// events unless a selection captures them, and what is left of the
// captured press after the capture (the rest of the press, the context
// menu made of it) stays with the selection.
TEST_F(WindowPlatformTest, MouseEventsAreThePointerAndCapturedEventsAreTaken) {
  WindowInput input(pad);
  EXPECT_EQ(input.window(), host.get());
  std::vector<PointerEvent> told;
  input.setListener([&](const PointerEvent& e) { told.push_back(e); });

  sendMouse(QEvent::MouseButtonPress, {10, 20}, Qt::RightButton,
            Qt::RightButton);
  auto state = input.state();
  EXPECT_TRUE(state.buttonsDown);
  EXPECT_EQ(QPoint(state.x, state.y), device({10, 20}));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].kind, PointerEvent::Press);
  QPointF global = pad->mapToGlobal(QPointF(10, 20));
  EXPECT_EQ(told[0].globalX, int(std::lround(global.x() * ratio)));
  IntPoint back = input.fromGlobal(global);
  EXPECT_EQ(QPoint(back.x, back.y), device({10, 20}));
  EXPECT_EQ(pad->count(QEvent::MouseButtonPress), 1);

  input.setCapturing(true);
  sendMouse(QEvent::MouseMove, {30, 20}, Qt::NoButton, Qt::RightButton);
  EXPECT_EQ(input.state().x, device({30, 20}).x());
  EXPECT_EQ(told.back().kind, PointerEvent::Move);
  QWheelEvent wheel({5, 5}, pad->mapToGlobal(QPointF(5, 5)), {}, {0, 120},
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(pad, &wheel);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(pad, &escape);
  EXPECT_TRUE(input.state().escapeDown);
  EXPECT_EQ(told.back().kind, PointerEvent::Escape);
  EXPECT_EQ(pad->seen.size(), 1u);

  // Escape ended the selection with the button still down.
  input.setCapturing(false);
  sendMouse(QEvent::MouseMove, {40, 20}, Qt::NoButton, Qt::RightButton);
  sendMouse(QEvent::MouseButtonRelease, {40, 20}, Qt::RightButton,
            Qt::NoButton);
  EXPECT_FALSE(input.state().buttonsDown);
  EXPECT_EQ(told.back().kind, PointerEvent::Release);
  EXPECT_EQ(pad->seen.size(), 1u);
  sendContextMenu();
  EXPECT_EQ(pad->count(QEvent::ContextMenu), 0);
  sendContextMenu();
  EXPECT_EQ(pad->count(QEvent::ContextMenu), 1);
  sendMouse(QEvent::MouseMove, {45, 20}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(pad->count(QEvent::MouseMove), 1);
}

// Qt hands the window's events to its Qt window, then to the widget they
// are for: each change is told once, and a selection run from the press
// (as a blocking one is) keeps the context menu Qt makes of that press.
TEST_F(WindowPlatformTest, EventsThroughTheQtWindowAreToldOnce) {
  WindowInput input(host.get());
  std::vector<PointerEvent::Kind> told;
  input.setListener([&](const PointerEvent& e) { told.push_back(e.kind); });
  QWindow* window = host->windowHandle();
  ASSERT_NE(window, nullptr);
  auto send = [&](QEvent::Type type, QPointF local, Qt::MouseButton button,
                  Qt::MouseButtons buttons) {
    QPointF at = local + QPointF(pad->pos());
    QMouseEvent e(type, at, window->mapToGlobal(at), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(window, &e);
  };
  pad->onPress = [&] {
    input.setCapturing(true);
    input.setCapturing(false);
  };
  send(QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(pad->count(QEvent::MouseButtonPress), 1);
  EXPECT_EQ(pad->count(QEvent::ContextMenu), 0);
  send(QEvent::MouseButtonRelease, {10, 10}, Qt::RightButton, Qt::NoButton);
  pad->onPress = nullptr;
  send(QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(pad->count(QEvent::ContextMenu), 1);
  send(QEvent::MouseButtonRelease, {10, 10}, Qt::RightButton, Qt::NoButton);

  // Captured from the press on and ended by the release, as a selection
  // driven by the listener is: the pad sees the press alone.
  pad->seen.clear();
  pad->onPress = [&] { input.setCapturing(true); };
  input.setListener([&](const PointerEvent& e) {
    told.push_back(e.kind);
    if (e.kind == PointerEvent::Release) input.setCapturing(false);
  });
  told.clear();
  send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, {30, 10}, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {30, 10}, Qt::LeftButton, Qt::NoButton);
  using K = PointerEvent;
  EXPECT_EQ(told,
            (std::vector<PointerEvent::Kind>{K::Press, K::Move, K::Release}));
  EXPECT_EQ(pad->seen,
            (std::map<QEvent::Type, int>{{QEvent::MouseButtonPress, 1}}));
  EXPECT_FALSE(input.capturing());
}

// A finger and a pen hold the button down while they touch; the first
// finger down is the pointer, the others are not followed.
TEST_F(WindowPlatformTest, TouchAndPenAreThePointerToo) {
  WindowInput input(host.get());
  std::vector<PointerEvent::Kind> told;
  input.setListener([&](const PointerEvent& e) { told.push_back(e.kind); });
  pad->setAttribute(Qt::WA_AcceptTouchEvents);
  QPointingDevice screen("test touch screen", 9001,
                         QInputDevice::DeviceType::TouchScreen,
                         QPointingDevice::PointerType::Finger,
                         QInputDevice::Capability::Position, 10, 0);
  auto touch = [&](QEvent::Type type, QList<QEventPoint> points) {
    QTouchEvent e(type, &screen, Qt::NoModifier, points);
    QCoreApplication::sendEvent(pad, &e);
  };
  auto point = [&](int id, QEventPoint::State s, QPointF at) {
    return QEventPoint(id, s, at, pad->mapToGlobal(at));
  };

  input.setCapturing(true);
  touch(QEvent::TouchBegin, {point(1, QEventPoint::Pressed, {20, 30})});
  EXPECT_TRUE(input.state().buttonsDown);
  EXPECT_EQ(QPoint(input.state().x, input.state().y), device({20, 30}));
  touch(QEvent::TouchUpdate, {point(1, QEventPoint::Updated, {60, 30}),
                              point(2, QEventPoint::Pressed, {90, 90})});
  EXPECT_EQ(QPoint(input.state().x, input.state().y), device({60, 30}));
  touch(QEvent::TouchUpdate, {point(1, QEventPoint::Stationary, {60, 30}),
                              point(2, QEventPoint::Updated, {95, 95})});
  EXPECT_EQ(QPoint(input.state().x, input.state().y), device({60, 30}));
  touch(QEvent::TouchEnd, {point(1, QEventPoint::Released, {70, 30}),
                           point(2, QEventPoint::Released, {95, 95})});
  EXPECT_FALSE(input.state().buttonsDown);
  EXPECT_TRUE(pad->seen.empty());

  QPointingDevice pen(
      "test pen", 9002, QInputDevice::DeviceType::Stylus,
      QPointingDevice::PointerType::Pen,
      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure,
      1, 3);
  auto tablet = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QTabletEvent e(type, &pen, at, pad->mapToGlobal(at), 0.5, 0, 0, 0, 0, 0,
                   Qt::NoModifier, Qt::LeftButton, held);
    QCoreApplication::sendEvent(pad, &e);
  };
  tablet(QEvent::TabletPress, {15, 15}, Qt::LeftButton);
  EXPECT_TRUE(input.state().buttonsDown);
  tablet(QEvent::TabletMove, {25, 35}, Qt::LeftButton);
  EXPECT_EQ(QPoint(input.state().x, input.state().y), device({25, 35}));
  tablet(QEvent::TabletRelease, {25, 35}, Qt::NoButton);
  EXPECT_FALSE(input.state().buttonsDown);
  EXPECT_TRUE(pad->seen.empty());

  using K = PointerEvent;
  EXPECT_EQ(told,
            (std::vector<PointerEvent::Kind>{K::Press, K::Move, K::Release,
                                             K::Press, K::Move, K::Release}));
}

// The loop a program runs while the button is held, fed by the window's
// events as they come: a quick mark east selects East, and the loop
// sleeps between events instead of spinning.
TEST_F(WindowPlatformTest, ABlockingLoopSelectsByAMark) {
  WindowPlatform wp(host.get());
  tarvel::platform::install(&wp);
  Menu* root = compassMenu();
  QWindow* window = host->windowHandle();
  ASSERT_NE(window, nullptr);
  auto send = [this, window](QEvent::Type type, double x, bool held) {
    QPointF at = QPointF(x, 100) + QPointF(pad->pos());
    QMouseEvent e(type, at, window->mapToGlobal(at), Qt::LeftButton,
                  held ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &e);
  };
  send(QEvent::MouseButtonPress, 60, true);
  for (int step = 1; step <= 4; step++)
    QTimer::singleShot(25 * step, host.get(), [send, step] {
      send(QEvent::MouseMove, 60 + 25 * step, true);
    });
  QTimer::singleShot(125, host.get(),
                     [send] { send(QEvent::MouseButtonRelease, 160, false); });

  mInit(0, 0, 0, 0, 0, 0);
  auto in = wp.pollInput();
  mPress(root, in.x, in.y);
  int passes = 0;
  while (mButtonsDown() && passes < 1000) {
    in = wp.pollInput();
    mMotion(root, in.x, in.y);
    mPoll();
    wp.spinStep();
    passes++;
  }
  in = wp.pollInput();
  mRelease(root, in.x, in.y);
  mShowConfirmation(root);
  mEraseConfirmation(root);
  mShutdown();
  EXPECT_LT(passes, 60);
  int positions[2] = {-1, -1};
  uintptr_t value = 0;
  EXPECT_EQ(
      mGetResult(root, positions, nullptr, nullptr, nullptr, nullptr, &value),
      1);
  EXPECT_EQ(value, 2u);  // East
  EXPECT_EQ(root->mode, 0) << "chosen by a mark";
}

// The window destroyed during a selection ends it: nothing more is drawn,
// the loop's buttons are up, the calls that end a selection do nothing.
TEST_F(WindowPlatformTest, WindowDestroyedDuringASelectionEndsIt) {
  WindowPlatform wp(host.get());
  tarvel::platform::install(&wp);
  wp.setDeadlineHandler([] { mPoll(); });
  std::vector<PointerEvent::Kind> told;
  wp.input().setListener(
      [&](const PointerEvent& e) { told.push_back(e.kind); });
  mInit(0, 0, 0, 0, 0, 0);
  Menu* root = compassMenu();
  sendMouse(QEvent::MouseButtonPress, {100, 70}, Qt::LeftButton,
            Qt::LeftButton);
  QPoint at = device({100, 70});
  mPress(root, at.x(), at.y());
  for (int i = 0; i < 100 && opaquePixels(wp.picture()) == 0; i++) pump(10);
  ASSERT_GT(opaquePixels(wp.picture()), 0);

  host.reset();
  EXPECT_EQ(wp.window(), nullptr);
  EXPECT_EQ(wp.overlay(), nullptr);
  EXPECT_FALSE(mButtonsDown());
  EXPECT_EQ(root->current, nullptr);
  EXPECT_EQ(told.back(), PointerEvent::Gone);
  mMotion(root, at.x() + 40, at.y());
  mPoll();
  mRelease(root, at.x() + 40, at.y());
  mShowConfirmation(root);
  mEraseConfirmation(root);
  mShutdown();
  EXPECT_EQ(wp.openOverlay(), nullptr);
}

// Hidden or resized, the window says so; the overlay keeps covering it,
// above children added meanwhile too.
TEST_F(WindowPlatformTest, ResizeAndHideAreTold) {
  WindowPlatform wp(host.get());
  std::vector<PointerEvent::Kind> told;
  wp.input().setListener(
      [&](const PointerEvent& e) { told.push_back(e.kind); });
  ASSERT_NE(wp.openOverlay(), nullptr);
  host->resize(500, 320);
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), PointerEvent::Resized);
  EXPECT_EQ(wp.workArea().xmax, int(std::lround(500 * ratio)) - 1);
  QWidget* overlay = host->findChildren<QWidget*>().last();
  EXPECT_EQ(overlay->geometry(), host->rect());
  (new QWidget(host.get()))->show();
  EXPECT_EQ(host->children().last(), overlay);
  wp.overlay()->fillRect(-10, -10, 10000, 10000, 0x0000FF);
  wp.overlay()->flush();
  host->grab();
  host->hide();
  EXPECT_EQ(told.back(), PointerEvent::Gone);
  wp.closeOverlay();
  EXPECT_EQ(host->findChildren<QWidget*>().size(), 2);
}

// Without a window, or with an empty one, there is nothing to draw on.
TEST_F(WindowPlatformTest, NoWindowOrAnEmptyOneGivesNoOverlay) {
  WindowPlatform none(nullptr);
  EXPECT_EQ(none.openOverlay(), nullptr);
  EXPECT_EQ(none.workArea().xmax, 0);
  EXPECT_FALSE(none.pollInput().buttonsDown);
  none.wakeBy(none.microseconds() + 2000);
  none.spinStep();
  none.sleepMs(1);
  none.setCursor(tarvel::platform::Cursor::Cross);
  none.closeOverlay();
  EXPECT_TRUE(none.picture().isNull());

  QWidget empty;
  empty.resize(0, 0);
  WindowPlatform wp(&empty);
  EXPECT_EQ(wp.openOverlay(), nullptr);
  EXPECT_TRUE(empty.findChildren<QWidget*>().isEmpty());
}

// A loop of passes sleeps until the deadline, not past it and without
// spinning; a sleep lets the program's timers run and keeps the deadline
// handler out of the library's call; a loop that never calls spinStep
// still sees the events of the window.
TEST_F(WindowPlatformTest, WaitsEndByTheDeadlineAndLetTheProgramRun) {
  WindowPlatform wp(host.get());
  pump(5);
  uint64_t start = wp.microseconds(), due = start + 40000;
  int passes = 0;
  while (wp.microseconds() < due && passes < 1000) {
    wp.wakeBy(due);
    wp.spinStep();
    passes++;
  }
  uint64_t ended = wp.microseconds();
  EXPECT_LT(passes, 20);
  EXPECT_LT(ended - due, 45000u);

  bool fired = false, sleeping = false, handledInSleep = false;
  int handled = 0;
  QTimer::singleShot(10, [&] { fired = true; });
  wp.setDeadlineHandler([&] {
    handled++;
    handledInSleep = handledInSleep || sleeping;
  });
  start = wp.microseconds();
  wp.wakeBy(start + 5000);
  sleeping = true;
  wp.sleepMs(40);
  sleeping = false;
  EXPECT_GE(wp.microseconds() - start, 40000u);
  EXPECT_TRUE(fired);
  pump(10);
  EXPECT_EQ(handled, 1);
  EXPECT_FALSE(handledInSleep);

  sendMouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  QCoreApplication::postEvent(
      pad, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(10, 10),
                           pad->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                           Qt::NoButton, Qt::NoModifier));
  int reads = 0;
  while (wp.pollInput().buttonsDown && reads < 1000) reads++;
  EXPECT_LT(reads, 1000);
}

}  // namespace
