#include "app/study_command.h"

#include <QApplication>
#include <QInputDialog>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "app/study_window.h"
#include "app/trainerapp.h"
#include "app/window_picture.h"
#include "progress/trainer_record.h"
#include "study/pilot.h"
#include "study/study_file.h"

namespace {

int simulate(const CommandLine& command, const Study& study) {
  PilotOptions options;
  options.participants = command.simulate;
  options.noiseDegrees = command.noise;
  options.output = command.output.empty() ? tarvelDataPath() : command.output;
  PilotResult result;
  std::string error;
  if (!mRunPilot(study, options, &result, &error)) {
    std::fprintf(stderr, "tarvel: %s\n", error.c_str());
    return 1;
  }
  std::fputs(mPilotSummary(study, options, result).c_str(), stdout);
  if (!result.folders.empty())
    std::printf("logs: %s ... %s\n", result.folders.front().c_str(),
                result.folders.back().c_str());
  return 0;
}

int runStudy(const CommandLine& command, const Study& study, int& argc,
             char** argv) {
  if (!TrainerApp::prepareDisplay()) return 1;
  QApplication app(argc, argv);
  releaseDisplay();
  QApplication::setApplicationName(QStringLiteral("Tarvel"));
  std::string participant = command.participant;
  if (participant.empty()) {
    bool given = false;
    QString id = QInputDialog::getText(
        nullptr,
        QStringLiteral("Tarvel: %1").arg(QString::fromStdString(study.name)),
        QStringLiteral("Participant ID:"), QLineEdit::Normal, QString(),
        &given);
    participant = id.trimmed().toStdString();
    if (!given || participant.empty()) {
      std::fprintf(stderr,
                   "tarvel: no participant ID given; nothing was run\n");
      return 1;
    }
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  RunSetup setup;
  setup.participant = participant;
  setup.output = command.output.empty() ? tarvelDataPath() : command.output;
  if (screen) {
    setup.pixelRatio = screen->devicePixelRatio();
    setup.screenWidth = int(screen->geometry().width() * setup.pixelRatio);
    setup.screenHeight = int(screen->geometry().height() * setup.pixelRatio);
  }
  auto run = std::make_unique<StudyRun>();
  std::string error;
  if (!run->start(study, setup, &error)) {
    std::fprintf(stderr, "tarvel: %s\n", error.c_str());
    return 1;
  }
  std::printf("tarvel: logging to %s\n", run->log().folder().c_str());
  std::fflush(stdout);
  StudyWindow window(std::move(run));
  window.show();
  return app.exec();
}

}  // namespace

int mRunCommand(const CommandLine& command, int& argc, char** argv) {
  switch (command.action) {
    case CommandLine::Action::Help:
      std::fputs(mUsage(), stdout);
      return 0;
    case CommandLine::Action::Version:
      std::printf("tarvel %s\n", mTarvelVersion());
      return 0;
    case CommandLine::Action::Bad:
      std::fprintf(stderr, "tarvel: %s; tarvel --help says how it is used\n",
                   command.error.c_str());
      return 2;
    case CommandLine::Action::Train:
      return 2;
    case CommandLine::Action::Study:
    case CommandLine::Action::Simulate:
      break;
  }
  Study study;
  StudyError error;
  if (!mReadStudy(command.study, &study, &error)) {
    std::fprintf(stderr, "tarvel: %s\n", error.text().c_str());
    return 2;
  }
  if (command.action == CommandLine::Action::Simulate)
    return simulate(command, study);
  return runStudy(command, study, argc, argv);
}
