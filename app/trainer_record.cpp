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
const char* const studyName = trainerStudy;

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
  log_.reset();
}

void TrainerRecord::enterArea(bool laboratory) {
  blocks_[laboratory]++;
  trialInBlock_ = 0;
}

void TrainerRecord::targetShown(uint32_t tick) {
  shownTick_ = tick;
  shownAt_ = QDateTime::currentDateTimeUtc();
}

bool TrainerRecord::write(bool laboratory, int target, uint32_t pressTick,
                          const TrialOutcome& outcome, bool hit,
                          std::string* problem) {
  trialInBlock_++;
  if (!on_) return true;
  if (!log_) {
    LogHeader header;
    header.version = mTarvelVersion();
    header.study = studyName;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      qreal ratio = screen->devicePixelRatio();
      header.screenWidth = int(screen->size().width() * ratio);
      header.screenHeight = int(screen->size().height() * ratio);
      header.pixelRatio = ratio;
    }
    header.startedAt = utcText(QDateTime::currentDateTimeUtc());
    log_ = std::make_unique<StudyLog>();
    if (!log_->openUnder(folder(), header, problem)) {
      stop();
      return false;
    }
  }
  PracticePath path = practicePath(target);
  TrialRow row;
  row.participant = participantName;
  row.study = studyName;
  row.condition = conditionName(laboratory);
  row.block = blocks_[laboratory];
  row.trial = trialInBlock_;
  row.targetPath = mPathText({path.category, path.item});
  row.targetLabel = path.itemLabel;
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
  if (log_->write(row, strokes, problem)) return true;
  on_ = false;  // the files stay open, but nothing more goes to them
  return false;
}
