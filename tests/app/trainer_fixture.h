// The trainer's view on Qt's offscreen platform with the simulated platform
// underneath: virtual time, so pauses cost nothing, and scripted input. The
// view is driven as the user and the event loop drive it: clicks, and the
// screens that move on run one at a time.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "app/trainerview.h"
#include "player/sim_gesture.h"

class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "app_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }
};

class Trainer : public ::testing::Test {
 protected:
  using S = TrainerView::Screen;

  Trainer() {
    view.resize(600, 400);
    view.show();
  }
  // The view's top-left corner on the simulated screen.
  QPoint origin() const { return view.mapToGlobal(QPoint(0, 0)); }
  // A press of the left button at a point of the view, as Qt delivers it.
  void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                      QPointF(view.mapToGlobal(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &press);
  }
  void move(QPoint at) {
    QMouseEvent moved(QEvent::MouseMove, QPointF(at),
                      QPointF(view.mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &moved);
  }
  // From the opening to the main menu.
  void toMainMenu() {
    view.runScreen();
    view.runScreen();
    ASSERT_EQ(view.screen(), S::MainMenu);
  }
  // From the main menu into an area, to its first target.
  void enterArea(bool lab) {
    const Layout& l = view.layout();
    click((lab ? l.labPicture : l.trainingPicture).rect().center());
    view.runScreen();
    view.runScreen();
    ASSERT_EQ(view.screen(), lab ? S::LabAwaitPress : S::TrainingAwaitPress);
  }
  // After a trial: the lamp blinks and the next target is shown.
  void nextTarget() {
    view.runScreen();
    view.runScreen();
  }
  // A press in the panel, with the pointer following `gesture`, which must
  // begin with a press inside the panel (screen coordinates).
  void trial(const player::Gesture& gesture) {
    gesture.playOn(sim);
    click(view.layout().panel.rect().center());
    sim.setInputScript(nullptr);
  }
  QPoint panelCentre() const {
    return origin() + view.layout().panel.rect().center();
  }
  // A quick mark from the panel's centre through the category and the item
  // of `item`, a leg each, or one long leg where both lie the same way.
  player::Gesture markFor(int item) const;
  // A mark from the panel's centre: legs given as screen offsets.
  player::Gesture mark(std::initializer_list<QPoint> legs) const {
    QPoint at = panelCentre();
    player::Gesture g;
    g.press(at.x(), at.y());
    for (QPoint leg : legs) {
      at += leg;
      g.moveTo(at.x(), at.y(), 120);
    }
    return g.release();
  }

  platform::SimPlatform sim{1280, 1024};
  TrainerView view;
};

// The directions of an item's category and of the item in its submenu, as
// unit steps on the screen.
struct ItemPath {
  QPoint category, item;
};

inline ItemPath itemPath(int item) {
  const QPoint n(0, -1), e(1, 0), s(0, 1), w(-1, 0);
  static const ItemPath paths[practiceItemCount] = {
      {s, w}, {s, e}, {n, n}, {n, s}, {e, n}, {e, e},
      {e, s}, {w, n}, {w, e}, {w, s}, {w, w}};
  return paths[item];
}

inline player::Gesture Trainer::markFor(int item) const {
  ItemPath path = itemPath(item);
  if (path.category == path.item) return mark({path.category * 200});
  return mark({path.category * 100, path.item * 100});
}
