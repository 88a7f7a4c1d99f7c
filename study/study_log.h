// A participant's session on disk: trials.csv and strokes.csv in a folder
// of their own, OUTPUT/STUDY/PARTICIPANT/session-N. Each trial is written
// as soon as it ends, straight to the file, and a session never writes
// over an earlier one.
#pragma once

#include <string>
#include <vector>

#include "progress/trial_log.h"

struct LogHeader {
  std::string version;  // Tarvel's
  std::string study;
  std::string sha256;  // of the study file
  int screenWidth = 0, screenHeight = 0;
  double pixelRatio = 1;
  std::string startedAt;     // ISO 8601
  std::string resumedAfter;  // where an earlier session stopped, or empty
};

class StudyLog {
 public:
  StudyLog() = default;
  ~StudyLog();
  StudyLog(const StudyLog&) = delete;
  StudyLog& operator=(const StudyLog&) = delete;

  // Makes the session's folder (the first free session number) under
  // `output`/`studyId`/`participant` and writes both files' first lines.
  // False, with `error` saying why, when it cannot.
  bool open(const std::string& output, const std::string& studyId,
            const std::string& participant, const LogHeader& header,
            std::string* error);
  // The same for a session folder right under `folder` (FOLDER/session-N),
  // for a log kept by someone other than a study's participant.
  bool openUnder(const std::string& folder, const LogHeader& header,
                 std::string* error);
  // Appends one trial and its pointer samples. False, with `error`
  // saying what failed and which trials are safely on disk, when a write
  // fails; nothing more is written after that.
  bool write(const TrialRow& trial, const std::vector<StrokeRow>& strokes,
             std::string* error);
  // A comment line at the end of trials.csv ("# stopped ...").
  bool note(const std::string& text, std::string* error);

  const std::string& folder() const { return folder_; }
  int session() const { return session_; }
  int trialsWritten() const { return trialsWritten_; }

 private:
  bool append(int fd, const std::string& bytes, const char* name,
              std::string* error);
  void closeFiles();

  std::string folder_;
  int session_ = 0;
  int trials_ = -1;
  int strokes_ = -1;
  int trialsWritten_ = 0;
  std::string lastTrial_;  // which trial was last written, for messages
  bool failed_ = false;
};

// A logged trial, enough to know where a participant stands.
struct LoggedTrial {
  std::string condition;
  int block = 0;
  int trial = 0;
  bool practice = false;
};

// Every trial logged in the earlier sessions of `participant` under
// `output`/`studyId`, oldest session first; rows cut short are left out.
std::vector<LoggedTrial> mLoggedTrials(const std::string& output,
                                       const std::string& studyId,
                                       const std::string& participant);

// A name safe as one folder: letters, digits, '-', '_' and '.' kept, the
// rest '_'; never empty, never "." or "..".
std::string mFolderName(const std::string& text);
