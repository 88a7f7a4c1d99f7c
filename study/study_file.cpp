#include "study/study_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <set>

#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "study/study_menus.h"

namespace {

// Larger than any study a person writes; a bigger file is a mistake.
constexpr qint64 maxFileBytes = 4 * 1024 * 1024;
constexpr int maxCascadeRestMs = 60000;
constexpr double maxSeed = 4294967295.0;

int lineAt(const QByteArray& text, qsizetype offset) {
  if (offset > text.size()) offset = text.size();
  int line = 1;
  for (qsizetype k = 0; k < offset; k++)
    if (text[k] == '\n') line++;
  return line;
}

// Qt's reader gives values no positions, so the text is scanned again for
// the line a field is on: the line of a key, or of an array element's first
// character. The scan also finds keys given twice in one object, which
// Qt's reader lets pass with one value lost. The text is known to parse.
class LineScan {
 public:
  // Scans for the lines of `target` and the fields it lies in.
  LineScan(const QByteArray& text, const std::string& target) {
    for (std::string p = target;; p = parent(p)) {
      wanted_.insert(p);
      if (p.empty()) break;
    }
    scan(text);
  }

  // The line of the deepest of the target's fields found.
  int line() const { return line_; }
  // The first key given twice, and its second line; empty when none.
  const std::string& duplicate() const { return duplicate_; }
  int duplicateLine() const { return duplicateLine_; }

  static std::string parent(const std::string& path) {
    size_t cut = path.find_last_of(".[");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
  }

 private:
  struct Frame {
    bool array = false;
    std::string path;
    int index = 0;
    bool expectKey = true;
    std::string memberPath;
    std::set<std::string> keys;
  };

  void note(const std::string& path, int line) {
    if (!wanted_.count(path)) return;
    if (line_ == 0 || path.size() > found_.size()) {
      found_ = path;
      line_ = line;
    }
  }

  // The path of the value starting here, noted when it is an array element.
  std::string valuePath(std::vector<Frame>& stack, int line) {
    if (stack.empty()) {
      note("", line);
      return "";
    }
    Frame& f = stack.back();
    if (!f.array) return f.memberPath;
    std::string path = f.path + "[" + std::to_string(f.index) + "]";
    note(path, line);
    return path;
  }

  void scan(const QByteArray& text) {
    std::vector<Frame> stack;
    int line = 1;
    qsizetype n = text.size();
    for (qsizetype i = 0; i < n; i++) {
      char c = text[i];
      if (c == '\n') {
        line++;
      } else if (c == '{' || c == '[') {
        Frame f;
        f.array = c == '[';
        f.path = valuePath(stack, line);
        stack.push_back(std::move(f));
      } else if (c == '}' || c == ']') {
        if (!stack.empty()) stack.pop_back();
      } else if (c == ',') {
        if (!stack.empty()) {
          if (stack.back().array)
            stack.back().index++;
          else
            stack.back().expectKey = true;
        }
      } else if (c == '"') {
        std::string s;
        for (i++; i < n && text[i] != '"'; i++) {
          if (text[i] == '\\' && i + 1 < n) {
            i++;
            char e = text[i];
            s += e == 'n' ? '\n' : e == 't' ? '\t' : e;
          } else {
            s += text[i];
          }
        }
        if (!stack.empty() && !stack.back().array && stack.back().expectKey) {
          Frame& f = stack.back();
          f.expectKey = false;
          f.memberPath = f.path.empty() ? s : f.path + "." + s;
          note(f.memberPath, line);
          if (!f.keys.insert(s).second && duplicate_.empty()) {
            duplicate_ = f.memberPath;
            duplicateLine_ = line;
          }
        } else {
          valuePath(stack, line);
        }
      } else if (c != ' ' && c != '\t' && c != '\r' && c != ':') {
        valuePath(stack, line);
        while (i + 1 < n && !std::strchr(",]}\n \t\r", text[i + 1])) i++;
      }
    }
  }

  std::set<std::string> wanted_;
  std::string found_;
  int line_ = 0;
  std::string duplicate_;
  int duplicateLine_ = 0;
};

std::string join(const std::string& path, const std::string& key) {
  return path.empty() ? key : path + "." + key;
}

std::string at(const std::string& path, qsizetype index) {
  return path + "[" + std::to_string(index) + "]";
}

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

std::string formatNumber(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", v);
  return buffer;
}

// Reads one parsed study; the first rule broken ends it.
class Reader {
 public:
  Reader(const QByteArray& text, const std::string& file, StudyError* error)
      : text_(text), file_(file), error_(error) {}

  bool fail(const std::string& field, const std::string& message) {
    if (error_) {
      error_->file = file_;
      error_->line = LineScan(text_, field).line();
      error_->field = field;
      error_->message = message;
    }
    return false;
  }

  // Refuses keys other than `keys`, naming the ones it knows.
  bool onlyKeys(const QJsonObject& o, const std::string& path,
                std::initializer_list<const char*> keys) {
    for (auto it = o.begin(); it != o.end(); ++it) {
      bool known = false;
      for (const char* k : keys) known = known || it.key() == QLatin1String(k);
      if (known) continue;
      std::string list;
      for (const char* k : keys)
        list += std::string(list.empty() ? "" : ", ") + k;
      return fail(join(path, it.key().toStdString()),
                  "unknown key (known here: " + list + ")");
    }
    return true;
  }

  bool object(const QJsonValue& v, const std::string& field, QJsonObject* out) {
    if (!v.isObject()) return fail(field, "must be an object { ... }");
    *out = v.toObject();
    return true;
  }

  bool array(const QJsonValue& v, const std::string& field, QJsonArray* out) {
    if (!v.isArray()) return fail(field, "must be an array [ ... ]");
    *out = v.toArray();
    return true;
  }

  bool string(const QJsonValue& v, const std::string& field, std::string* out) {
    if (!v.isString()) return fail(field, "must be a string");
    *out = v.toString().toStdString();
    return true;
  }

  bool boolean(const QJsonValue& v, const std::string& field, bool* out) {
    if (!v.isBool()) return fail(field, "must be true or false");
    *out = v.toBool();
    return true;
  }

  bool number(const QJsonValue& v, const std::string& field, double low,
              double high, const std::string& what, double* out) {
    if (!v.isDouble() || !(v.toDouble() >= low && v.toDouble() <= high))
      return fail(field, "must be " + what + ", " + formatNumber(low) + " to " +
                             formatNumber(high));
    *out = v.toDouble();
    return true;
  }

  bool whole(const QJsonValue& v, const std::string& field, double low,
             double high, double* out) {
    double d = v.toDouble();
    if (!v.isDouble() || d != std::floor(d) || !(d >= low && d <= high))
      return fail(field, "must be a whole number, " + formatNumber(low) +
                             " to " + formatNumber(high));
    *out = d;
    return true;
  }

  bool whole(const QJsonValue& v, const std::string& field, int low, int high,
             int* out) {
    double d;
    if (!whole(v, field, double(low), double(high), &d)) return false;
    *out = int(d);
    return true;
  }

  // A menu file may leave the conditions out (`menusOnly`); given, they are
  // checked as a study's.
  bool readStudy(const QJsonObject& top, bool menusOnly, Study* study);

 private:
  bool readMenu(const QJsonValue& v, const std::string& field, StudyMenu* menu);
  bool readItems(const QJsonValue& v, const std::string& field, int depth,
                 bool underListItem, std::vector<StudyItem>* items);
  bool readCondition(const QJsonValue& v, const std::string& field,
                     StudyCondition* condition);
  bool readDelay(const QJsonObject& o, const std::string& path, const char* key,
                 std::optional<double>* out);
  bool readDesign(const QJsonValue& v, const std::string& field,
                  StudyDesign* design);
  bool readPath(const QJsonValue& v, const std::string& field,
                std::vector<int>* path);
  bool checkTargets(const Study& study);

  const QByteArray& text_;
  std::string file_;
  StudyError* error_;
};

bool Reader::readItems(const QJsonValue& v, const std::string& field, int depth,
                       bool underListItem, std::vector<StudyItem>* items) {
  if (depth > studyMaxDepth)
    return fail(field, "menus go " + std::to_string(studyMaxDepth) +
                           " levels deep at most");
  QJsonArray list;
  if (!array(v, field, &list)) return false;
  if (list.isEmpty())
    return fail(field,
                "needs at least one item (leave \"items\" out for a "
                "leaf)");
  std::vector<std::string> taken(MENU_SLOTS);
  for (qsizetype k = 0; k < list.size(); k++) {
    std::string path = at(field, k);
    QJsonObject o;
    if (!object(list[k], path, &o)) return false;
    if (!onlyKeys(o, path, {"label", "position", "enabled", "items"}))
      return false;
    StudyItem item;
    if (!o.contains("label")) return fail(path, "needs a \"label\"");
    if (!string(o["label"], join(path, "label"), &item.label)) return false;
    if (item.label.empty())
      return fail(join(path, "label"), "must not be empty");
    if (int(item.label.size()) > studyMaxLabelBytes)
      return fail(join(path, "label"),
                  "is " + std::to_string(item.label.size()) +
                      " bytes long; labels have " +
                      std::to_string(studyMaxLabelBytes) + " at most");
    if (!o.contains("position")) return fail(path, "needs a \"position\"");
    std::string positionField = join(path, "position");
    if (!whole(o["position"], positionField, 0, studyMaxPosition,
               &item.position))
      return false;
    if (underListItem && item.position < RADIAL_SLOTS)
      return fail(positionField,
                  "the submenu of a list item is a list: positions " +
                      std::to_string(RADIAL_SLOTS) + " to " +
                      std::to_string(studyMaxPosition));
    std::string& holder = taken[size_t(item.position)];
    if (!holder.empty())
      return fail(positionField, "position " + std::to_string(item.position) +
                                     " is already taken by " +
                                     inQuotes(holder));
    holder = item.label;
    if (o.contains("enabled") &&
        !boolean(o["enabled"], join(path, "enabled"), &item.enabled))
      return false;
    if (o.contains("items") &&
        !readItems(o["items"], join(path, "items"), depth + 1,
                   item.position >= RADIAL_SLOTS, &item.submenu))
      return false;
    items->push_back(std::move(item));
  }
  return true;
}

bool Reader::readMenu(const QJsonValue& v, const std::string& field,
                      StudyMenu* menu) {
  QJsonObject o;
  if (!object(v, field, &o)) return false;
  std::string kind = "tree";
  if (o.contains("kind") && !string(o["kind"], join(field, "kind"), &kind))
    return false;
  if (kind == "practice") {
    menu->kind = StudyMenu::Kind::Practice;
    if (!onlyKeys(o, field, {"name", "kind"})) return false;
  } else if (kind == "tree") {
    menu->kind = StudyMenu::Kind::Tree;
    if (!onlyKeys(o, field, {"name", "kind", "items"})) return false;
  } else if (kind == "generated") {
    menu->kind = StudyMenu::Kind::Generated;
    if (!onlyKeys(o, field, {"name", "kind", "breadth", "depth"})) return false;
  } else {
    return fail(join(field, "kind"),
                "unknown kind " + inQuotes(kind) +
                    " (known: \"practice\", \"tree\", \"generated\")");
  }
  if (!o.contains("name")) return fail(field, "needs a \"name\"");
  if (!string(o["name"], join(field, "name"), &menu->name)) return false;
  if (menu->name.empty()) return fail(join(field, "name"), "must not be empty");

  switch (menu->kind) {
    case StudyMenu::Kind::Practice: {
      menu->items = mPracticeMenuItems();
      break;
    }
    case StudyMenu::Kind::Tree: {
      if (!o.contains("items")) return fail(field, "needs \"items\"");
      if (!readItems(o["items"], join(field, "items"), 1, false, &menu->items))
        return false;
      if (mItemLeaves(menu->items).empty())
        return fail(join(field, "items"),
                    "has no enabled leaf a trial could ask for");
      break;
    }
    case StudyMenu::Kind::Generated: {
      if (!o.contains("breadth")) return fail(field, "needs a \"breadth\"");
      if (!o.contains("depth")) return fail(field, "needs a \"depth\"");
      std::string breadthField = join(field, "breadth");
      double breadth = o["breadth"].toDouble();
      if (!o["breadth"].isDouble() ||
          (breadth != 4 && breadth != 8 && breadth != 12))
        return fail(breadthField, "must be 4, 8 or 12");
      menu->breadth = int(breadth);
      if (!whole(o["depth"], join(field, "depth"), 1, studyMaxGeneratedDepth,
                 &menu->depth))
        return false;
      break;
    }
  }
  return true;
}

bool Reader::readDelay(const QJsonObject& o, const std::string& path,
                       const char* key, std::optional<double>* out) {
  if (!o.contains(key)) return true;
  double seconds = 0;
  if (!number(o[key], join(path, key), 0, studyMaxDelaySeconds, "seconds",
              &seconds))
    return false;
  *out = seconds;
  return true;
}

bool Reader::readCondition(const QJsonValue& v, const std::string& field,
                           StudyCondition* condition) {
  QJsonObject o;
  if (!object(v, field, &o)) return false;
  if (!onlyKeys(o, field,
                {"name", "menu", "popup_delay", "marking_popup_delay",
                 "rest_delay", "cascade_rest_ms", "technique", "recognizer"}))
    return false;
  if (!o.contains("name")) return fail(field, "needs a \"name\"");
  if (!string(o["name"], join(field, "name"), &condition->name)) return false;
  if (condition->name.empty())
    return fail(join(field, "name"), "must not be empty");
  if (!o.contains("menu")) return fail(field, "needs a \"menu\"");
  if (!string(o["menu"], join(field, "menu"), &condition->menu)) return false;
  if (!readDelay(o, field, "popup_delay", &condition->popupDelay) ||
      !readDelay(o, field, "marking_popup_delay",
                 &condition->markingPopupDelay) ||
      !readDelay(o, field, "rest_delay", &condition->menuRestDelay))
    return false;
  if (o.contains("cascade_rest_ms")) {
    int ms;
    if (!whole(o["cascade_rest_ms"], join(field, "cascade_rest_ms"), 0,
               maxCascadeRestMs, &ms))
      return false;
    condition->cascadeRestMs = ms;
  }
  if (o.contains("technique")) {
    std::string technique;
    std::string techniqueField = join(field, "technique");
    if (!string(o["technique"], techniqueField, &technique)) return false;
    if (technique == "marks")
      condition->technique = Technique::MarksAllowed;
    else if (technique == "menu")
      condition->technique = Technique::MenuOnly;
    else if (technique == "marks-only")
      condition->technique = Technique::MarksOnly;
    else
      return fail(techniqueField,
                  "unknown technique " + inQuotes(technique) +
                      " (known: \"marks\", \"menu\", \"marks-only\")");
  }
  if (o.contains("recognizer")) {
    std::string recognizer;
    std::string recognizerField = join(field, "recognizer");
    if (!string(o["recognizer"], recognizerField, &recognizer)) return false;
    if (recognizer == "standard")
      condition->recognizer = MARK_RECOGNIZER_STANDARD;
    else if (recognizer == "legs")
      condition->recognizer = MARK_RECOGNIZER_LEGS;
    else
      return fail(recognizerField, "unknown recognizer " +
                                       inQuotes(recognizer) +
                                       " (known: \"standard\", \"legs\")");
  }
  return true;
}

bool Reader::readPath(const QJsonValue& v, const std::string& field,
                      std::vector<int>* path) {
  std::string text;
  if (!string(v, field, &text)) return false;
  std::string bad = inQuotes(text) +
                    " is not a path of positions from the root, like \"2/0\"";
  size_t start = 0;
  for (;;) {
    size_t slash = text.find('/', start);
    std::string part = text.substr(
        start, slash == std::string::npos ? std::string::npos : slash - start);
    if (part.empty() || part.size() > 2 ||
        part.find_first_not_of("0123456789") != std::string::npos)
      return fail(field, bad);
    int position = std::stoi(part);
    if (position > studyMaxPosition) return fail(field, bad);
    path->push_back(position);
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return true;
}

bool Reader::readDesign(const QJsonValue& v, const std::string& field,
                        StudyDesign* design) {
  QJsonObject o;
  if (!object(v, field, &o)) return false;
  if (!onlyKeys(o, field,
                {"blocks", "trials_per_block", "target_order", "targets",
                 "practice_trials", "pause_between_blocks", "condition_order",
                 "seed"}))
    return false;
  if (o.contains("blocks") && !whole(o["blocks"], join(field, "blocks"), 1,
                                     studyMaxBlocks, &design->blocks))
    return false;
  if (o.contains("trials_per_block")) {
    std::string trialsField = join(field, "trials_per_block");
    QJsonValue trials = o["trials_per_block"];
    if (trials.isString()) {
      if (trials.toString() != "every-leaf")
        return fail(trialsField, "must be a whole number, 1 to " +
                                     std::to_string(studyMaxTrialsPerBlock) +
                                     ", or \"every-leaf\"");
      design->trialsPerBlock = 0;
    } else if (!whole(trials, trialsField, 1, studyMaxTrialsPerBlock,
                      &design->trialsPerBlock)) {
      return false;
    }
  }
  if (o.contains("practice_trials") &&
      !whole(o["practice_trials"], join(field, "practice_trials"), 0,
             studyMaxTrialsPerBlock, &design->practiceTrials))
    return false;
  if (o.contains("pause_between_blocks") &&
      !boolean(o["pause_between_blocks"], join(field, "pause_between_blocks"),
               &design->pauseBetweenBlocks))
    return false;
  if (o.contains("seed")) {
    double seed;
    if (!whole(o["seed"], join(field, "seed"), 0.0, maxSeed, &seed))
      return false;
    design->seed = uint32_t(seed);
  }
  if (o.contains("condition_order")) {
    std::string order;
    std::string orderField = join(field, "condition_order");
    if (!string(o["condition_order"], orderField, &order)) return false;
    if (order == "fixed")
      design->conditionOrder = ConditionOrder::Fixed;
    else if (order == "latin-square")
      design->conditionOrder = ConditionOrder::LatinSquare;
    else
      return fail(orderField, "unknown order " + inQuotes(order) +
                                  " (known: \"fixed\", \"latin-square\")");
  }
  if (o.contains("target_order")) {
    std::string order;
    std::string orderField = join(field, "target_order");
    if (!string(o["target_order"], orderField, &order)) return false;
    if (order == "shuffled")
      design->targetOrder = TargetOrder::Shuffled;
    else if (order == "balanced")
      design->targetOrder = TargetOrder::Balanced;
    else if (order == "fixed")
      design->targetOrder = TargetOrder::Fixed;
    else
      return fail(orderField,
                  "unknown order " + inQuotes(order) +
                      " (known: \"shuffled\", \"balanced\", \"fixed\")");
  }
  bool fixed = design->targetOrder == TargetOrder::Fixed;
  std::string targetsField = join(field, "targets");
  if (!o.contains("targets")) {
    if (fixed) return fail(field, "target_order \"fixed\" needs \"targets\"");
    return true;
  }
  if (!fixed)
    return fail(targetsField, "are read only with \"target_order\": \"fixed\"");
  QJsonArray targets;
  if (!array(o["targets"], targetsField, &targets)) return false;
  if (targets.isEmpty()) return fail(targetsField, "must name a target");
  for (qsizetype k = 0; k < targets.size(); k++) {
    std::vector<int> path;
    if (!readPath(targets[k], at(targetsField, k), &path)) return false;
    design->fixedTargets.push_back(std::move(path));
  }
  return true;
}

// Every fixed target must be a leaf of every condition's menu, or some
// condition would run short of trials.
bool Reader::checkTargets(const Study& study) {
  for (size_t k = 0; k < study.design.fixedTargets.size(); k++) {
    const std::vector<int>& path = study.design.fixedTargets[k];
    for (const StudyCondition& condition : study.conditions) {
      const StudyMenu* menu = nullptr;
      for (const StudyMenu& m : study.menus)
        if (m.name == condition.menu) menu = &m;
      if (!menu) continue;
      bool leaf = false;
      if (menu->kind == StudyMenu::Kind::Generated) {
        leaf = mIsGeneratedLeaf(menu->breadth, menu->depth, path);
      } else {
        for (const StudyLeaf& l : mItemLeaves(menu->items))
          leaf = leaf || l.path == path;
      }
      if (!leaf)
        return fail(at("design.targets", qsizetype(k)),
                    inQuotes(mPathText(path)) + " is no enabled leaf of menu " +
                        inQuotes(menu->name) + " (condition " +
                        inQuotes(condition.name) + ")");
    }
  }
  return true;
}

bool Reader::readStudy(const QJsonObject& top, bool menusOnly, Study* study) {
  LineScan scan(text_, "");
  if (!scan.duplicate().empty()) {
    if (error_) {
      error_->file = file_;
      error_->line = scan.duplicateLine();
      error_->field = scan.duplicate();
      error_->message = "is given twice";
    }
    return false;
  }
  if (!onlyKeys(top, "",
                {"name", "description", "menus", "conditions", "design"}))
    return false;
  if (top.contains("name")) {
    if (!string(top["name"], "name", &study->name)) return false;
    if (study->name.empty()) return fail("name", "must not be empty");
  }
  if (top.contains("description") &&
      !string(top["description"], "description", &study->description))
    return false;

  QJsonArray menus;
  if (!top.contains("menus")) return fail("", "needs \"menus\"");
  if (!array(top["menus"], "menus", &menus)) return false;
  if (menus.isEmpty()) return fail("menus", "must hold at least one menu");
  for (qsizetype k = 0; k < menus.size(); k++) {
    StudyMenu menu;
    std::string field = at("menus", k);
    if (!readMenu(menus[k], field, &menu)) return false;
    for (const StudyMenu& other : study->menus)
      if (other.name == menu.name)
        return fail(join(field, "name"),
                    "another menu is named " + inQuotes(menu.name));
    study->menus.push_back(std::move(menu));
  }

  if (!menusOnly || top.contains("conditions")) {
    QJsonArray conditions;
    if (!top.contains("conditions")) return fail("", "needs \"conditions\"");
    if (!array(top["conditions"], "conditions", &conditions)) return false;
    if (conditions.isEmpty())
      return fail("conditions", "must hold at least one condition");
    for (qsizetype k = 0; k < conditions.size(); k++) {
      StudyCondition condition;
      std::string field = at("conditions", k);
      if (!readCondition(conditions[k], field, &condition)) return false;
      for (const StudyCondition& other : study->conditions)
        if (other.name == condition.name)
          return fail(join(field, "name"),
                      "another condition is named " + inQuotes(condition.name));
      bool found = false;
      for (const StudyMenu& m : study->menus)
        found = found || m.name == condition.menu;
      if (!found)
        return fail(join(field, "menu"),
                    "no menu is named " + inQuotes(condition.menu));
      study->conditions.push_back(std::move(condition));
    }
  }

  if (top.contains("design") &&
      !readDesign(top["design"], "design", &study->design))
    return false;
  return checkTargets(*study);
}

}  // namespace

std::string StudyError::text() const {
  std::string out = file;
  if (line > 0) out += (out.empty() ? "" : ":") + std::to_string(line);
  if (!field.empty()) out += (out.empty() ? "" : ": ") + field;
  if (!message.empty()) out += (out.empty() ? "" : ": ") + message;
  return out;
}

namespace {

bool parse(const QByteArray& text, const std::string& name, bool menusOnly,
           Study* study, StudyError* error) {
  auto fail = [&](int line, const std::string& message) {
    if (error) *error = StudyError{name, line, "", message};
    return false;
  };
  if (text.size() > maxFileBytes)
    return fail(0, "is larger than " + std::to_string(maxFileBytes >> 20) +
                       " MiB; no study file is that long");
  QJsonParseError parseError;
  QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
  if (parseError.error != QJsonParseError::NoError)
    return fail(lineAt(text, parseError.offset),
                "not JSON: " + parseError.errorString().toStdString());
  if (!document.isObject())
    return fail(1, "must hold one object { ... } with the study's keys");

  Study read;
  Reader reader(text, name, error);
  if (!reader.readStudy(document.object(), menusOnly, &read)) return false;
  read.file = name;
  if (read.name.empty())
    read.name = QFileInfo(QString::fromStdString(name))
                    .completeBaseName()
                    .toStdString();
  read.sha256 = QCryptographicHash::hash(text, QCryptographicHash::Sha256)
                    .toHex()
                    .toStdString();
  *study = std::move(read);
  return true;
}

bool readBytes(const std::string& path, QByteArray* out, StudyError* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = StudyError{path, 0, "", message};
    return false;
  };
  // Non-blocking, so that a FIFO given by mistake cannot hold the program
  // up; only a regular file is read.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(std::string("cannot open: ") + std::strerror(errno));
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return fail("is not a regular file");
  }
  if (info.st_size > maxFileBytes) {
    ::close(fd);
    return fail("is larger than " + std::to_string(maxFileBytes >> 20) +
                " MiB; no study file is that long");
  }
  QByteArray bytes;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int saved = errno;
      ::close(fd);
      return fail(std::string("cannot read: ") + std::strerror(saved));
    }
    if (got == 0) break;
    bytes.append(buffer, got);
    if (bytes.size() > maxFileBytes) {
      ::close(fd);
      return fail("is larger than " + std::to_string(maxFileBytes >> 20) +
                  " MiB; no study file is that long");
    }
  }
  ::close(fd);
  *out = std::move(bytes);
  return true;
}

}  // namespace

bool mParseStudy(const QByteArray& text, const std::string& name, Study* study,
                 StudyError* error) {
  return parse(text, name, false, study, error);
}

bool mReadStudy(const std::string& path, Study* study, StudyError* error) {
  QByteArray bytes;
  return readBytes(path, &bytes, error) &&
         parse(bytes, path, false, study, error);
}

bool mReadMenuFile(const std::string& path, Study* study, StudyError* error) {
  QByteArray bytes;
  return readBytes(path, &bytes, error) &&
         parse(bytes, path, true, study, error);
}
