// The trainer's screens drawn into the view's canvas: the still pictures of
// the idle screens and the animations, with their sounds, that lead from
// one screen to the next. An animation holds the program until it is over.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

#include "app/assets.h"
#include "app/canvas.h"
#include "app/layout.h"
#include "app/session.h"

class ScreenDrawing {
 public:
  explicit ScreenDrawing(Canvas& canvas) : canvas_(canvas) {}

  // Where the parts of the screens are now.
  const Layout& layout() const { return layout_; }
  // Places the back button and the main menu's pictures off the view, once,
  // when the canvas first has its size.
  void layOut();

  void opening();
  void animateMainIntro();
  void mainMenu();
  // The main menu dissolving to white, once an area has been chosen.
  void leaveMainMenu();
  void animateAreaEntry(bool lab);
  // An area's screen as it waits, without the target; `inWords` when the
  // target is asked for in words rather than shown in a picture.
  void trialScreen(bool lab, const Session& session, bool inWords = false);
  // The target's place shows the pictures of the practice menu's items by
  // turns; with `words`, those words instead.
  void shuffleTargets(const std::vector<QString>& words = {});
  void showTarget(int item);
  // A target of a menu without pictures: the words that ask for it.
  void showTargetWords(const QString& words);
  void blinkLamp(bool hit);
  // The laboratory clock's figure over the last one; returns where it is.
  QRect clockFigure(int ms);
  // A line at the foot of the training panel, over what it said before.
  QRect panelNote(const QString& text);
  void animateResults(const Session& session);
  void results(const Session& session);

 private:
  QRect viewRect() const { return QRect(QPoint(0, 0), canvas_.size()); }
  void speckle(const QColor& colour);
  void mainMenuTexts(bool capitalised);
  void resultsTexts(const Session& session);
  // Words in the target's place, as large as fit, over what was there.
  void targetWords(const QString& words);

  Canvas& canvas_;
  Pictures pictures_;
  Layout layout_;
  bool laidOut_ = false;
};
