#include "study/study_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "progress/trial_log_reader.h"

namespace {

constexpr int maxSessions = 100000;

std::string headerLine(const LogHeader& h, int session) {
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%g", h.pixelRatio);
  std::string line =
      "# tarvel " + h.version + "; study " + h.study + "; sha256 " + h.sha256 +
      "; screen " + std::to_string(h.screenWidth) + "x" +
      std::to_string(h.screenHeight) + "; pixel ratio " + ratio + "; session " +
      std::to_string(session) + "; started " + h.startedAt;
  if (!h.resumedAfter.empty()) line += "; resumed after " + h.resumedAfter;
  // The header is one line whatever a study's name holds.
  std::replace(line.begin(), line.end(), '\n', ' ');
  std::replace(line.begin(), line.end(), '\r', ' ');
  return line + '\n';
}

int createOnly(const std::string& path) {
  return ::open(path.c_str(),
                O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
}

}  // namespace

std::string mFolderName(const std::string& text) {
  std::string name;
  for (unsigned char c : text)
    name += std::isalnum(c) || c == '-' || c == '_' || c == '.' ? char(c) : '_';
  if (name.empty() || name == "." || name == "..") name = "_" + name;
  return name.substr(0, 100);
}

StudyLog::~StudyLog() { closeFiles(); }

void StudyLog::closeFiles() {
  if (trials_ >= 0) ::close(trials_);
  if (strokes_ >= 0) ::close(strokes_);
  trials_ = strokes_ = -1;
}

bool StudyLog::open(const std::string& output, const std::string& studyId,
                    const std::string& participant, const LogHeader& header,
                    std::string* error) {
  std::filesystem::path base = std::filesystem::path(output) /
                               mFolderName(studyId) / mFolderName(participant);
  return openUnder(base.string(), header, error);
}

bool StudyLog::openUnder(const std::string& folder, const LogHeader& header,
                         std::string* error) {
  namespace fs = std::filesystem;
  closeFiles();
  folder_.clear();
  failed_ = false;
  trialsWritten_ = 0;
  fs::path base = folder;
  std::error_code ec;
  fs::create_directories(base, ec);
  if (ec) {
    *error = "can't make the folder " + base.string() + ": " + ec.message();
    return false;
  }
  // The first session number free; a folder made meanwhile by another
  // run is skipped, never shared.
  for (int n = 1; n <= maxSessions; n++) {
    fs::path dir = base / ("session-" + std::to_string(n));
    if (::mkdir(dir.c_str(), 0755) == 0) {
      folder_ = dir.string();
      session_ = n;
      break;
    }
    if (errno != EEXIST) {
      *error =
          "can't make the folder " + dir.string() + ": " + std::strerror(errno);
      return false;
    }
  }
  if (folder_.empty()) {
    *error = "no free session folder under " + base.string();
    return false;
  }
  trials_ = createOnly(folder_ + "/trials.csv");
  strokes_ = trials_ < 0 ? -1 : createOnly(folder_ + "/strokes.csv");
  if (trials_ < 0 || strokes_ < 0) {
    *error = "can't create the log in " + folder_ + ": " + std::strerror(errno);
    closeFiles();
    return false;
  }
  std::string first = headerLine(header, session_);
  return append(trials_, first + trialColumns + "\n", "trials.csv", error) &&
         append(strokes_, first + strokeColumns + "\n", "strokes.csv", error);
}

bool StudyLog::append(int fd, const std::string& bytes, const char* name,
                      std::string* error) {
  if (failed_ || fd < 0) {
    *error = "the log in " + folder_ + " is closed";
    return false;
  }
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int why = n < 0 ? errno : ENOSPC;
      failed_ = true;
      std::string safe =
          trialsWritten_ == 0
              ? "no trial of this session is on disk"
              : std::to_string(trialsWritten_) +
                    " trial(s) of this session are safely on disk, the "
                    "last " +
                    lastTrial_;
      *error = "can't write " + folder_ + "/" + name + ": " +
               std::strerror(why) + "; " + safe;
      return false;
    }
    p += n;
    left -= size_t(n);
  }
  return true;
}

bool StudyLog::write(const TrialRow& trial,
                     const std::vector<StrokeRow>& strokes,
                     std::string* error) {
  std::string samples;
  for (const StrokeRow& s : strokes) samples += strokeCsvLine(s);
  // The samples first: a trial counts as logged once its row is there.
  if (!append(strokes_, samples, "strokes.csv", error) ||
      !append(trials_, trialCsvLine(trial), "trials.csv", error))
    return false;
  trialsWritten_++;
  lastTrial_ = "condition " + trial.condition + ", " +
               (trial.practice ? std::string("practice")
                               : "block " + std::to_string(trial.block)) +
               ", trial " + std::to_string(trial.trial);
  return true;
}

bool StudyLog::note(const std::string& text, std::string* error) {
  std::string line = "# " + text;
  std::replace(line.begin(), line.end(), '\n', ' ');
  return append(trials_, line + "\n", "trials.csv", error);
}

std::vector<LoggedTrial> mLoggedTrials(const std::string& output,
                                       const std::string& studyId,
                                       const std::string& participant) {
  namespace fs = std::filesystem;
  fs::path base =
      fs::path(output) / mFolderName(studyId) / mFolderName(participant);
  std::vector<LoggedTrial> logged;
  for (int n = 1; n <= maxSessions; n++) {
    fs::path dir = base / ("session-" + std::to_string(n));
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) break;
    TrialLog file = readTrialLog((dir / "trials.csv").string());
    // Two IDs may share a folder name ("P 1" and "P_1"); only this one's
    // rows count.
    for (const TrialRow& r : file.rows)
      if (r.participant == participant)
        logged.push_back({r.condition, r.block, r.trial, r.practice});
  }
  return logged;
}
