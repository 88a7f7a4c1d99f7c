#include "progress/trial_log_reader.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "progress/log_file.h"
#include "progress/trace_reader.h"

namespace {

std::vector<std::string> columnsOf(const char* header) {
  std::vector<std::string> names;
  std::istringstream in(header);
  for (std::string name; std::getline(in, name, ',');) names.push_back(name);
  return names;
}

bool hasAll(const std::vector<std::string>& fields,
            const std::vector<std::string>& names) {
  for (const std::string& name : names)
    if (std::find(fields.begin(), fields.end(), name) == fields.end())
      return false;
  return true;
}

// The first line that is neither blank nor a comment, from *pos.
size_t firstRowAt(const std::string& text, size_t pos, int* lines) {
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    bool blank = text.find_first_not_of(" \t\r", pos) >= end;
    if (!blank && text[pos] != '#') return pos;
    pos = end + 1;
    ++*lines;
  }
  return text.size();
}

// A whole number as the writer prints it: decimal digits only.
bool wholeNumber(const std::string& field, long long limit, long long* out) {
  if (field.empty() || field.size() > 12) return false;
  long long value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > limit) return false;
  *out = value;
  return true;
}

}  // namespace

LogKind logKind(const std::string& text) {
  int lines = 0;
  size_t pos = firstRowAt(text, 0, &lines);
  if (pos >= text.size()) return LogKind::other;
  std::vector<std::string> fields;
  std::string problem;
  bool cut = false;
  size_t at = pos;
  if (csvRecord(text, &at, &lines, &fields, &problem, &cut)) {
    static const std::vector<std::string> trials = columnsOf(trialColumns);
    static const std::vector<std::string> strokes = columnsOf(strokeColumns);
    // A trials.csv with columns missing still reads as one, so that what
    // is missing can be named.
    if (std::find(fields.begin(), fields.end(), "participant") !=
            fields.end() &&
        (std::find(fields.begin(), fields.end(), "target_path") !=
             fields.end() ||
         std::find(fields.begin(), fields.end(), "selection_ms") !=
             fields.end()))
      return LogKind::trials;
    if (hasAll(fields, strokes)) return LogKind::strokes;
  }
  // A trace may start with a damaged line: any of its first few lines will do.
  for (int line = 0; line < 5 && pos < text.size(); line++) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) break;
    if (parseTraceLine(text.substr(pos, end - pos), nullptr))
      return LogKind::trace;
    pos = end + 1;
  }
  return LogKind::other;
}

const char* logKindName(LogKind kind) {
  switch (kind) {
    case LogKind::trials:
      return "a trials.csv";
    case LogKind::strokes:
      return "a strokes.csv";
    case LogKind::trace:
      return "a trace file";
    case LogKind::other:
      break;
  }
  return "no log";
}

bool csvRecord(const std::string& text, size_t* pos, int* lines,
               std::vector<std::string>* fields, std::string* problem,
               bool* cut) {
  fields->clear();
  *cut = false;
  size_t i = *pos;
  size_t start = i;
  std::string field;
  auto fail = [&](const std::string& why) {
    *problem = why;
    // Resynchronise on the next line break.
    size_t end = text.find('\n', i);
    if (end == std::string::npos) {
      *pos = text.size();
    } else {
      *pos = end + 1;
      ++*lines;
    }
    return false;
  };
  for (;;) {
    if (i - start > maxCsvRecordBytes)
      return fail("longer than " + std::to_string(maxCsvRecordBytes / 1024) +
                  " KiB");
    field.clear();
    if (i < text.size() && text[i] == '"') {
      for (i++;; i++) {
        if (i >= text.size()) {
          *cut = true;
          *pos = i;
          return false;
        }
        if (i - start > maxCsvRecordBytes) break;
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i++;
          } else {
            i++;
            break;
          }
        } else {
          if (text[i] == '\n') ++*lines;
          field += text[i];
        }
      }
      if (i - start > maxCsvRecordBytes) continue;
      if (i < text.size() && text[i] == '\r' && i + 1 < text.size() &&
          text[i + 1] == '\n')
        i++;
      if (i < text.size() && text[i] != ',' && text[i] != '\n')
        return fail("text after a closing quote in field " +
                    std::to_string(fields->size() + 1));
    } else {
      size_t end = text.find_first_of(",\n\"", i);
      if (end == std::string::npos) end = text.size();
      if (end < text.size() && text[end] == '"')
        return fail("a quote inside unquoted field " +
                    std::to_string(fields->size() + 1));
      field.assign(text, i, end - i);
      if (end < text.size() && text[end] == '\n' && !field.empty() &&
          field.back() == '\r')
        field.pop_back();
      i = end;
    }
    fields->push_back(field);
    if (i >= text.size()) {
      // Every row the writer finishes ends in a line break.
      *cut = true;
      *pos = i;
      return false;
    }
    if (text[i] == '\n') {
      ++*lines;
      *pos = i + 1;
      return true;
    }
    i++;  // past the comma
  }
}

TrialLog parseTrialLog(const std::string& text) {
  TrialLog log;
  LogKind kind = logKind(text);
  if (kind != LogKind::trials) {
    if (text.empty())
      log.error = "empty";
    else if (kind == LogKind::other)
      log.error = "not a trials.csv: no header row naming its columns";
    else
      log.error = std::string(logKindName(kind)) + ", not a trials.csv";
    return log;
  }
  if (text.compare(0, 1, "#") == 0) {
    size_t end = text.find('\n');
    log.origin = text.substr(1, end == std::string::npos ? end : end - 1);
    size_t first = log.origin.find_first_not_of(' ');
    log.origin.erase(0, first == std::string::npos ? log.origin.size() : first);
  }

  int lines = 0;  // line breaks passed
  size_t pos = firstRowAt(text, 0, &lines);
  std::vector<std::string> header;
  std::string problem;
  bool cut = false;
  csvRecord(text, &pos, &lines, &header, &problem, &cut);
  if (cut) {
    log.error = "the header row is cut short";
    return log;
  }
  static const std::vector<std::string> wanted = columnsOf(trialColumns);
  std::map<std::string, size_t> at;
  for (size_t i = 0; i < header.size(); i++) {
    if (at.count(header[i])) {
      log.error = "the column " + header[i] + " is named twice";
      return log;
    }
    at[header[i]] = i;
  }
  std::string missing;
  for (const std::string& name : wanted)
    if (!at.count(name)) missing += (missing.empty() ? "" : ", ") + name;
  if (!missing.empty()) {
    log.error = "no column " + missing;
    return log;
  }
  log.read = true;

  std::vector<std::string> f;
  while (true) {
    pos = firstRowAt(text, pos, &lines);
    if (pos >= text.size()) break;
    int line = lines + 1;
    if (!csvRecord(text, &pos, &lines, &f, &problem, &cut)) {
      if (cut) {
        log.cutLine = line;
        break;
      }
      log.refused.push_back({line, problem});
      continue;
    }
    auto refuse = [&](const std::string& why) {
      log.refused.push_back({line, why});
    };
    if (f.size() != header.size()) {
      refuse(std::to_string(f.size()) + " fields, the header names " +
             std::to_string(header.size()));
      continue;
    }
    std::string why;
    for (size_t i = 0; i < f.size() && why.empty(); i++)
      if (f[i].find('\0') != std::string::npos)
        why = "a NUL byte in field " + header[i];
    auto get = [&](const char* name) -> const std::string& {
      return f[at[name]];
    };
    auto whole = [&](const char* name, long long limit, auto* out) {
      long long value = 0;
      if (!why.empty()) return;
      if (!wholeNumber(get(name), limit, &value))
        why = std::string("field ") + name + ": not a whole number from 0 to " +
              std::to_string(limit) + ": \"" + get(name) + "\"";
      else
        *out = decltype(+*out)(value);
    };
    auto flag = [&](const char* name, bool* out) {
      if (!why.empty()) return;
      if (get(name) != "0" && get(name) != "1")
        why = std::string("field ") + name + ": not 0 or 1: \"" + get(name) +
              "\"";
      else
        *out = get(name) == "1";
    };
    TrialRow r;
    const long long counts = 1000000;
    whole("block", counts, &r.block);
    whole("trial", counts, &r.trial);
    flag("practice", &r.practice);
    flag("hit", &r.hit);
    flag("by_mark", &r.byMark);
    flag("mark_ahead", &r.markAhead);
    whole("back_ups", counts, &r.backUps);
    whole("changes", counts, &r.changes);
    whole("reaction_ms", maxTrialMs, &r.reactionMs);
    whole("selection_ms", maxTrialMs, &r.selectionMs);
    r.participant = get("participant");
    r.study = get("study");
    r.condition = get("condition");
    r.targetPath = get("target_path");
    r.targetLabel = get("target_label");
    r.chosenPath = get("chosen_path");
    r.chosenLabel = get("chosen_label");
    r.targetShownAt = get("target_shown_at");
    if (why.empty() && r.participant.empty()) why = "no participant";
    if (why.empty() && r.condition.empty()) why = "no condition";
    if (!why.empty()) {
      refuse(why);
      continue;
    }
    log.rows.push_back(r);
  }
  return log;
}

TrialLog readTrialLog(const std::string& path) {
  std::string text, error;
  if (!readLogFile(path, &text, &error)) {
    TrialLog log;
    log.error = error;
    return log;
  }
  return parseTrialLog(text);
}
