#include "app/trainer_record.h"

#include <unistd.h>

#include <QGuiApplication>
#include <QScreen>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "progress/trainer_record.h"
#include "study/study_menus.h"
#include "study/study_run.h"

namespace {

const char* const participantName = "learner";

const char* conditionName(bool laboratory) {
  return laboratory ? laboratoryCondition : trainingCondition;
}

std::string utcText(const QDateTime& at) {
  return at.toUTC()
      .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"))
      .toStdString();
}

}  // namespace

std::string TrainerRecord::folder() { return trainerRecordPath(); }

bool TrainerRecord::start(std::string* problem) {
  if (on_) return true;
  std::string where = folder();
  std::error_code ec;
  std::filesystem::create_directories(where, ec);
  if (ec) {
    *problem = "can't make the folder " + where + ": " + ec.message();
    return false;
  }
  if (::access(where.c_str(), W_OK | X_OK) != 0) {
    *problem =
        "can't write in the folder " + where + ": " + std::strerror(errno);
    return false;
  }
  on_ = true;
  return true;
}

void TrainerRecord::stop() {
  on_ = false;
  logs_.clear();
}

std::string TrainerRecord::sessionFolder(
    const std::string& recordFolder) const {
  auto found = logs_.find(recordFolder);
  return found == logs_.end() ? "" : found->second->folder();
}

void TrainerRecord::enterArea(bool laboratory) {
  blocks_[laboratory]++;
  trialInBlock_ = 0;
}

void TrainerRecord::targetShown(uint32_t tick) {
  shownTick_ = tick;
  shownAt_ = QDateTime::currentDateTimeUtc();
}

bool TrainerRecord::write(bool laboratory, const TrainingMenu& menu, int target,
                          uint32_t pressTick, const TrialOutcome& outcome,
                          bool hit, std::string* problem) {
  trialInBlock_++;
  if (!on_) return true;
  std::string where = menu.recordFolder();
  std::unique_ptr<StudyLog>& log = logs_[where];
  if (!log) {
    LogHeader header;
    header.version = mTarvelVersion();
    header.study = menu.studyName();
    header.sha256 = menu.sha256();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      qreal ratio = screen->devicePixelRatio();
      header.screenWidth = int(screen->size().width() * ratio);
      header.screenHeight = int(screen->size().height() * ratio);
      header.pixelRatio = ratio;
    }
    header.startedAt = utcText(QDateTime::currentDateTimeUtc());
    log = std::make_unique<StudyLog>();
    if (!log->openUnder(where, header, problem)) {
      stop();
      return false;
    }
  }
  TrialRow row;
  row.participant = participantName;
  row.study = menu.studyName();
  row.condition = conditionName(laboratory);
  row.block = blocks_[laboratory];
  row.trial = trialInBlock_;
  row.targetPath = mPathText(menu.path(target));
  row.targetLabel = menu.label(target);
  row.chosenPath = mPathText(outcome.positions);
  row.chosenLabel = outcome.labels.empty() ? "" : outcome.labels.back();
  row.hit = hit;
  row.byMark = outcome.byMark;
  row.markAhead = outcome.markAhead;
  row.backUps = outcome.backUps;
  row.changes = outcome.changes;
  row.targetShownAt = utcText(shownAt_);
  row.reactionMs = int64_t(pressTick - shownTick_);
  row.selectionMs = outcome.pressToRelease;
  std::vector<StrokeRow> strokes;
  for (const TrialSample& s : outcome.samples)
    strokes.push_back({row.participant, row.condition, row.block, row.trial,
                       int64_t(s.ms), s.x - outcome.pressX,
                       s.y - outcome.pressY});
  if (log->write(row, strokes, problem)) return true;
  on_ = false;  // the files stay open, but nothing more goes to them
  return false;
}
