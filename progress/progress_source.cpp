#include "progress/progress_source.h"

#include <algorithm>
#include <filesystem>

#include "progress/trial_log_reader.h"

namespace fs = std::filesystem;

bool readTraceInto(const std::string& path, ProgressBuilder* builder,
                   std::string* error, ReadProgress* progress) {
  return streamTrace(
      path, [&](const TraceRecord& r) { builder->add(r); },
      [&](int line) { builder->skipLine(line); }, error, progress);
}

namespace {

// "session-12" sorts after "session-9": runs of digits compare as numbers.
bool naturalLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (std::isdigit((unsigned char)a[i]) &&
        std::isdigit((unsigned char)b[j])) {
      size_t ei = a.find_first_not_of("0123456789", i);
      size_t ej = b.find_first_not_of("0123456789", j);
      if (ei == std::string::npos) ei = a.size();
      if (ej == std::string::npos) ej = b.size();
      std::string na = a.substr(i, ei - i), nb = b.substr(j, ej - j);
      na.erase(0, std::min(na.find_first_not_of('0'), na.size()));
      nb.erase(0, std::min(nb.find_first_not_of('0'), nb.size()));
      if (na.size() != nb.size()) return na.size() < nb.size();
      if (na != nb) return na < nb;
      i = ei;
      j = ej;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      i++;
      j++;
    }
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

std::vector<std::string> recordFiles(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  fs::recursive_directory_iterator walk(
      folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && walk != fs::recursive_directory_iterator();
       walk.increment(error))
    if (walk->path().filename() == "trials.csv") found.push_back(walk->path());
  std::sort(found.begin(), found.end(), naturalLess);
  return found;
}

bool readRecordInto(const std::string& folder, ProgressBuilder* builder,
                    std::string* error, ReadProgress* progress) {
  std::vector<std::string> files = recordFiles(folder);
  if (files.empty()) {
    *error = "no trials.csv in " + folder;
    return false;
  }
  if (progress) {
    int64_t total = 0;
    std::error_code e;
    for (const std::string& file : files)
      total += int64_t(fs::file_size(file, e));
    progress->bytesTotal = total;
  }
  int session = 0;
  int64_t done = 0;
  for (const std::string& file : files) {
    if (progress && progress->cancel) {
      *error = "cancelled";
      return false;
    }
    TrialLog log = readTrialLog(file);
    std::error_code e;
    done += int64_t(fs::file_size(file, e));
    if (progress) progress->bytesRead = done;
    if (!log.read) {
      builder->badFile(file + ": " + log.error);
      continue;
    }
    for (const RefusedRow& row : log.refused)
      builder->problem(file + ", line " + std::to_string(row.line) + ": " +
                       row.reason);
    if (log.cutLine)
      builder->problem(file + ", line " + std::to_string(log.cutLine) +
                       ": cut short");
    for (const TrialRow& row : log.rows) builder->add(row, session);
    session++;
  }
  return true;
}

ProgressBuilder progressBuilderFor(const Menu* menu) {
  return ProgressBuilder(
      [menu](const std::string& digits) { return labelPath(menu, digits); },
      menuItems(menu));
}
