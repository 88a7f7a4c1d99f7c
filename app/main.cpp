// Tarvel: a trainer for hierarchical marking menus.
#include "app/command_line.h"
#include "app/study_command.h"
#include "app/trainerapp.h"

int main(int argc, char** argv) {
  CommandLine command = mParseCommandLine(argc, argv);
  if (command.action != CommandLine::Action::Train)
    return mRunCommand(command, argc, argv);
  if (!TrainerApp::prepareDisplay()) return 1;
  TrainerApp app(argc, argv);
  return app.exec();
}
