#include "bench/stroke_replay.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "app/practice_menu.h"
#include "bench/mark_corpus.h"
#include "core/geometry.h"
#include "display/placement.h"
#include "platform/sim_platform.h"
#include "progress/trial_log_reader.h"
#include "study/study_file.h"
#include "study/study_run.h"

namespace {

constexpr int sampleWindowMs = 10;  // as tracking takes positions
constexpr int pressX = 640, pressY = 512;

using TrialKey = std::tuple<std::string, std::string, int, int>;

struct Timed {
  long long tMs;
  int x, y;
};

bool readText(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

bool integer(const std::string& field, long long* out) {
  if (field.empty() || field.size() > 18) return false;
  size_t i = field[0] == '-' ? 1 : 0;
  if (i == field.size()) return false;
  for (size_t k = i; k < field.size(); k++)
    if (field[k] < '0' || field[k] > '9') return false;
  *out = std::stoll(field);
  return true;
}

// "2/0" as positions; false for anything else.
bool pathOf(const std::string& text, std::vector<int>* out) {
  out->clear();
  std::stringstream s(text);
  std::string part;
  while (std::getline(s, part, '/')) {
    long long p;
    if (!integer(part, &p) || p < 0 || p >= MENU_SLOTS) return false;
    out->push_back(int(p));
  }
  return !out->empty() && text.back() != '/';
}

// The samples of strokes.csv by trial; bad rows named in `skipped`.
bool readStrokes(const std::string& path, const std::string& text,
                 std::map<TrialKey, std::vector<Timed>>* trials,
                 std::vector<std::string>* skipped, std::string* error) {
  if (logKind(text) != LogKind::strokes) {
    *error = path + ": not a strokes.csv";
    return false;
  }
  size_t pos = 0;
  int lines = 0;
  std::vector<std::string> f;
  std::map<std::string, size_t> at;
  const char* names[] = {"participant", "condition", "block", "trial",
                         "t_ms",        "x",         "y"};
  while (pos < text.size()) {
    int line = lines + 1;
    if (text[pos] == '#' || text[pos] == '\n') {
      size_t end = text.find('\n', pos);
      pos = end == std::string::npos ? text.size() : end + 1;
      lines++;
      continue;
    }
    std::string problem;
    bool cut = false;
    if (!csvRecord(text, &pos, &lines, &f, &problem, &cut)) {
      skipped->push_back(path + ":" + std::to_string(line) + ": " +
                         (cut ? "cut short" : problem));
      if (cut) break;
      continue;
    }
    if (at.empty()) {
      for (size_t i = 0; i < f.size(); i++) at[f[i]] = i;
      continue;
    }
    long long v[5];
    std::string bad;
    if (f.size() != at.size()) bad = "not as many fields as columns";
    for (int k = 2; bad.empty() && k < 7; k++)
      if (!integer(f[at[names[k]]], &v[k - 2]))
        bad = std::string("field ") + names[k] + ": not a whole number";
    if (bad.empty() && (std::llabs(v[3]) > COORDINATE_LIMIT ||
                        std::llabs(v[4]) > COORDINATE_LIMIT))
      bad = "position out of range";
    if (!bad.empty()) {
      skipped->push_back(path + ":" + std::to_string(line) + ": " + bad);
      continue;
    }
    (*trials)[{f[at["participant"]], f[at["condition"]], int(v[0]), int(v[1])}]
        .push_back({v[2], int(v[3]), int(v[4])});
  }
  return true;
}

std::vector<MarkSample> asTracked(const std::vector<Timed>& timed) {
  std::vector<MarkSample> out;
  long long kept = 0;
  for (size_t i = 0; i < timed.size(); i++) {
    const Timed& s = timed[i];
    bool last = i + 1 == timed.size();
    if (!out.empty() && !last && s.tMs - kept < sampleWindowMs) continue;
    if (!out.empty() && s.x + pressX == out.back().x &&
        s.y + pressY == out.back().y)
      continue;
    out.push_back({s.x + pressX, s.y + pressY, double(s.tMs) / 1000});
    kept = s.tMs;
  }
  return out;
}

}  // namespace

ReplayResult mReplayStrokes(Menu* root, const std::string& strokesPath) {
  return mReplayStrokes([root](const std::string&) { return root; },
                        strokesPath);
}

ReplayResult mReplayStrokes(const ReplayMenus& menus,
                            const std::string& strokesPath) {
  ReplayResult result;
  std::string text;
  if (!readText(strokesPath, &text)) {
    result.error = strokesPath + ": cannot be read";
    return result;
  }
  std::map<TrialKey, std::vector<Timed>> strokes;
  if (!readStrokes(strokesPath, text, &strokes, &result.skipped, &result.error))
    return result;
  std::string trialsPath =
      (std::filesystem::path(strokesPath).parent_path() / "trials.csv")
          .string();
  TrialLog trials = readTrialLog(trialsPath);
  if (!trials.read) {
    result.error = trialsPath + ": " + trials.error;
    return result;
  }
  for (const RefusedRow& r : trials.refused)
    result.skipped.push_back(trialsPath + ":" + std::to_string(r.line) + ": " +
                             r.reason);
  result.read = true;
  std::map<int, ReplayDepth> depths;
  for (const TrialRow& t : trials.rows) {
    if (!t.byMark || t.markAhead) continue;
    auto name = [&] {
      return trialsPath + ": trial " + t.participant + "/" + t.condition + "/" +
             std::to_string(t.block) + "/" + std::to_string(t.trial);
    };
    std::vector<int> target;
    if (!pathOf(t.targetPath, &target)) {
      result.skipped.push_back(name() + ": target path " + t.targetPath);
      continue;
    }
    Menu* root = menus(t.condition);
    if (!root) {
      result.skipped.push_back(name() + ": no menu for condition " +
                               t.condition);
      continue;
    }
    auto s = strokes.find({t.participant, t.condition, t.block, t.trial});
    if (s == strokes.end() || s->second.size() < 2) {
      result.skipped.push_back(name() + ": no stroke");
      continue;
    }
    std::vector<MarkSample> samples = asTracked(s->second);
    ReplayDepth& d = depths[int(target.size())];
    d.depth = int(target.size());
    d.marks++;
    for (int k : {MARK_RECOGNIZER_STANDARD, MARK_RECOGNIZER_LEGS})
      if (mRecognizeSamples(root, samples, k) == target) d.correct[k]++;
  }
  for (auto& [depth, d] : depths) result.depths.push_back(d);
  return result;
}

int replayStrokesReport(const char* strokesPath, const char* studyPath) {
  platform::SimPlatform sim(1280, 1024);
  std::map<std::string, Menu*> byCondition;
  Menu* practice = nullptr;
  int itemValues[practiceItemCount];
  if (studyPath) {
    Study study;
    StudyError error;
    if (!mReadStudy(studyPath, &study, &error)) {
      std::fprintf(stderr, "%s\n", error.text().c_str());
      return 1;
    }
    std::vector<BuiltMenu> built = mBuildStudyMenus(study);
    for (const StudyCondition& c : study.conditions)
      for (const BuiltMenu& b : built)
        if (b.name == c.menu) byCondition[c.name] = b.root;
  } else {
    practice = buildPracticeMenu(itemValues);
  }
  mInit(0, 0, 0, 0, 0, 0);
  if (practice) mPlaceMenu(practice, pressX, pressY);
  for (auto& [name, root] : byCondition) mPlaceMenu(root, pressX, pressY);
  mShutdown();
  ReplayMenus menus = [&](const std::string& condition) -> Menu* {
    if (practice) return practice;
    auto found = byCondition.find(condition);
    return found == byCondition.end() ? nullptr : found->second;
  };
  ReplayResult r = mReplayStrokes(menus, strokesPath);
  for (const std::string& s : r.skipped)
    std::fprintf(stderr, "skipped %s\n", s.c_str());
  if (!r.read) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    return 1;
  }
  std::printf(
      "Recorded marks replayed on %s: %s\n\n",
      studyPath ? "the menus of the study's conditions" : "the practice menu",
      strokesPath);
  std::printf("%5s %6s %9s %7s\n", "depth", "marks", "standard", "legs");
  for (const ReplayDepth& d : r.depths) {
    auto percent = [&](int n) { return d.marks ? 100.0 * n / d.marks : 0.0; };
    std::printf("%5d %6d %8.1f%% %6.1f%%\n", d.depth, d.marks,
                percent(d.correct[0]), percent(d.correct[1]));
  }
  return 0;
}
