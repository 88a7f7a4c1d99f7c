// Tarvel: a trainer for hierarchical marking menus.
#include <cstdio>

#include "app/trainerapp.h"

int main(int argc, char** argv) {
  if (!TrainerApp::prepareDisplay()) return 1;
  TrainerApp app(argc, argv);
  return app.exec();
}
