// Renders menus as they appear on screen into PNG files, on the simulated
// platform: for looking at layout and drawing without a desktop.
//
//   menu_pictures OUTPUT_FOLDER
#include <QDir>
#include <QImage>
#include <cstdio>

#include "app/practice_menu.h"
#include "display/drawing.h"
#include "display/linear_menu.h"
#include "display/placement.h"
#include "display/radial_menu.h"
#include "display/save_under.h"
#include "platform/sim_platform.h"

namespace {

// A quiet desktop behind the menus.
void paintDesktop(platform::SimPlatform& sim) {
  const QImage& screen = sim.screenImage();
  for (int y = 0; y < screen.height(); y += 4) {
    int shade = 150 + 60 * y / screen.height();
    mSetColor(platform::rgb(shade / 3, shade / 2 + 30, shade));
    Rect band{0, screen.width() - 1, y, y + 3};
    mFillRect(&band);
  }
}

bool save(platform::SimPlatform& sim, const QString& folder, const char* name,
          const QRect& area) {
  mFlush();
  QString path = QDir(folder).filePath(QString::fromUtf8(name));
  bool ok = sim.screenImage().copy(area).save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write",
              path.toUtf8().constData());
  return ok;
}

void add(Menu* m, const char* label, int position, uint8_t enabled = 1) {
  mAddItem(m, label, position, 0, 0, 0, 0, 0, enabled, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  platform::SimPlatform sim(800, 600);
  mInit(0, 0, 0, 0, 0, 0);
  paintDesktop(sim);
  int values[practiceItemCount];
  bool ok = true;

  // The practice menu's root as it pops up under a resting pointer.
  Menu* practice = buildPracticeMenu(values);
  mPlaceMenu(practice, 400, 300);
  mShowMenu(practice, 400, 300);
  ok &= save(sim, folder, "practice-root.png", QRect(250, 200, 300, 200));
  mEraseMenu(practice);

  // Food opened above the root, which shrinks to its centre; the pointer
  // rests over Apple.
  mShowMenu(practice, 400, 230);
  mDrawAsAncestor(practice);
  Menu* food = practice->submenu[0];
  mPlaceMenu(food, 400, 230);
  mShowMenu(food, 404, 206);
  ok &= save(sim, folder, "practice-food.png", QRect(250, 120, 300, 220));
  mEraseMenu(food);
  mEraseMenu(practice);

  // A pie with a list under it, a disabled item and a cascaded list.
  Menu* edit = mCreateMenu();
  add(edit, "Copy", 0);
  add(edit, "Paste", 2);
  add(edit, "Cut", 4);
  add(edit, "Delete", 6, 0);
  add(edit, "Find...", 8);
  add(edit, "Recent", 9);
  add(edit, "Preferences", 10, 0);
  Menu* recent = mNewSubmenu(edit, 9);
  add(recent, "notes.txt", 8);
  add(recent, "plan.odt", 9);
  add(recent, "/home/user/projects/tarvel/README.md", 10);
  mPlaceMenu(edit, 330, 200);
  mShowMenu(edit, 330, 200);
  const Rect& row = edit->itemRect[9];
  mTrackRadial(edit, row.xmin + 10, row.ymin + 5);
  mPlaceMenu(recent, row.xmax - 2, row.ymin - 8);
  mShowLinear(recent, recent->itemRect[9].xmin + 20,
              recent->itemRect[9].ymin + 5);
  ok &= save(sim, folder, "pie-and-list.png", QRect(170, 90, 520, 250));
  mEraseMenu(recent);
  mEraseMenu(edit);

  // Pressed near the left edge: the menu moves right to fit.
  mPlaceMenu(practice, 15, 450);
  mShowMenu(practice, 15, 450);
  ok &= save(sim, folder, "pushed-from-edge.png", QRect(0, 350, 300, 200));
  mEraseMenu(practice);

  mShutdown();
  return ok ? 0 : 1;
}
