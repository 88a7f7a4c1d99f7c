// The trainer's view on Qt's offscreen platform with the simulated platform
// underneath: virtual time, so pauses cost nothing, and scripted input.
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
  // Runs one trial with the pointer following `gesture`, which must begin
  // with a press inside the panel (screen coordinates).
  void trial(const platform::Gesture& gesture) {
    gesture.playOn(sim);
    view.runTrial();
    sim.setInputScript(nullptr);
  }
  QPoint panelCentre() const {
    return origin() + view.panelRect.rect().center();
  }

  platform::SimPlatform sim{1280, 1024};
  TrainerView view;
};
