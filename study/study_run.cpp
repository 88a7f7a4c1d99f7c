#include "study/study_run.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/platform.h"
#include "study/selection_loop.h"

namespace {

constexpr int maxLevels = 16;

// The library's settings in force before a run, put back after it.
struct LibraryDefaults {
  MarkingMenuSettings settings;
  int technique;
  int recognizer;
  LibraryDefaults() {
    mGetSettings(&settings);
    technique = mGetTechnique();
    recognizer = mGetMarkRecognizer();
  }
};

const LibraryDefaults& libraryDefaults() {
  static const LibraryDefaults defaults;
  return defaults;
}

int techniqueCall(Technique t) {
  switch (t) {
    case Technique::MenuOnly:
      return TECHNIQUE_MENU_ONLY;
    case Technique::MarksOnly:
      return TECHNIQUE_MARKS_ONLY;
    case Technique::MarksAllowed:
      break;
  }
  return TECHNIQUE_MARKS_AND_MENUS;
}

}  // namespace

const char* mTarvelVersion() { return TARVEL_VERSION; }

StudyRun::~StudyRun() {
  const LibraryDefaults& d = libraryDefaults();
  mSetSettings(&d.settings);
  mSetTechnique(d.technique);
  mSetMarkRecognizer(d.recognizer);
}

std::vector<BuiltMenu> mBuildStudyMenus(const Study& study) {
  std::vector<BuiltMenu> menus;
  for (const StudyMenu& m : study.menus)
    menus.push_back(mBuildStudyMenu(m, study.design.seed));
  return menus;
}

bool StudyRun::start(const Study& study, const RunSetup& setup,
                     std::string* error, const std::vector<BuiltMenu>* built) {
  libraryDefaults();
  study_ = study;
  setup_ = setup;
  menus_ = built && built->size() == study.menus.size()
               ? *built
               : mBuildStudyMenus(study_);
  menuOfCondition_.clear();
  std::vector<const BuiltMenu*> conditionMenus;
  for (const StudyCondition& c : study_.conditions) {
    int index = 0;
    for (size_t i = 0; i < study_.menus.size(); i++)
      if (study_.menus[i].name == c.menu) index = int(i);
    menuOfCondition_.push_back(index);
    conditionMenus.push_back(&menus_[size_t(index)]);
  }
  for (const BuiltMenu& m : menus_)
    if (!m.root) {
      *error = "out of memory building the menu " + m.name;
      return false;
    }
  plan_ = mPlanTrials(study_, conditionMenus,
                      mParticipantNumber(setup_.participant));
  scores_.assign(study_.conditions.size(), ConditionScore{});

  // A participant who stopped earlier goes on after the last trial logged.
  std::string id = QFileInfo(QString::fromStdString(study_.file))
                       .completeBaseName()
                       .toStdString();
  if (id.empty()) id = study_.name;
  next_ = 0;
  resumedAfter_.clear();
  for (const LoggedTrial& done :
       mLoggedTrials(setup_.output, id, setup_.participant)) {
    for (size_t i = next_; i < plan_.size(); i++) {
      const PlannedTrial& t = plan_[i];
      if (study_.conditions[size_t(t.condition)].name == done.condition &&
          t.block == done.block && t.trial == done.trial &&
          t.practice == done.practice) {
        next_ = i + 1;
        resumedAfter_ = trialName(t);
        break;
      }
    }
  }

  platform::Platform& p = platform::current();
  startTick_ = p.tickCount();
  LogHeader header;
  header.version = mTarvelVersion();
  header.study = study_.name;
  header.sha256 = study_.sha256;
  header.screenWidth = setup_.screenWidth;
  header.screenHeight = setup_.screenHeight;
  header.pixelRatio = setup_.pixelRatio;
  header.startedAt = nowText();
  header.resumedAfter = resumedAfter_;
  return log_.open(setup_.output, id, setup_.participant, header, error);
}

const StudyCondition& StudyRun::condition() const {
  return study_.conditions[size_t(trial().condition)];
}

const BuiltMenu& StudyRun::menu() const {
  return menus_[size_t(menuOfCondition_[size_t(trial().condition)])];
}

const StudyLeaf& StudyRun::target() const {
  return menu().leaves[size_t(trial().leaf)];
}

bool StudyRun::atConditionStart() const {
  return !done() &&
         (next_ == 0 || plan_[next_ - 1].condition != trial().condition);
}

bool StudyRun::atBlockStart() const {
  return !done() &&
         (atConditionStart() || plan_[next_ - 1].block != trial().block);
}

std::string StudyRun::nowText() const {
  uint32_t elapsed = platform::current().tickCount() - startTick_;
  return setup_.wallStart.addMSecs(elapsed)
      .toUTC()
      .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"))
      .toStdString();
}

std::string StudyRun::trialName(const PlannedTrial& t) const {
  return "condition " + study_.conditions[size_t(t.condition)].name + ", " +
         (t.practice ? std::string("practice")
                     : "block " + std::to_string(t.block)) +
         ", trial " + std::to_string(t.trial);
}

void StudyRun::applySettings() const {
  const StudyCondition& c = condition();
  MarkingMenuSettings s = libraryDefaults().settings;
  if (c.popupDelay) s.initialPopupDelay = *c.popupDelay;
  if (c.markingPopupDelay) s.markingPopupDelay = *c.markingPopupDelay;
  if (c.menuRestDelay) s.menuRestDelay = *c.menuRestDelay;
  if (c.cascadeRestMs) s.cascadeRestMs = *c.cascadeRestMs;
  mSetSettings(&s);
  mSetTechnique(techniqueCall(c.technique));
  mSetMarkRecognizer(c.recognizer);
}

void StudyRun::targetShown() {
  shownTick_ = platform::current().tickCount();
  shownAt_ = nowText();
}

bool StudyRun::runTrial(const std::function<void()>& onPass,
                        std::string* error) {
  if (done()) return true;
  const PlannedTrial& t = trial();
  const StudyLeaf& leaf = target();
  Menu* root = menu().root;
  applySettings();
  // The press that starts the trial has happened: opening the overlay may
  // take a while on a plain X desktop, and is no part of the reaction.
  uint32_t pressedTick = platform::current().tickCount();

  TrialRow row;
  row.participant = setup_.participant;
  row.study = study_.name;
  row.condition = condition().name;
  row.block = t.block;
  row.trial = t.trial;
  row.practice = t.practice;
  row.targetPath = mPathText(leaf.path);
  row.targetLabel = leaf.label;
  row.targetShownAt = shownAt_;

  std::vector<StrokeRow> samples;
  int pressX = 0, pressY = 0;
  SelectionRun run =
      mRunSelection(root, onPass, [&](uint32_t ms, int x, int y) {
        if (samples.empty()) {
          pressX = x;
          pressY = y;
        }
        samples.push_back({row.participant, row.condition, row.block, row.trial,
                           int64_t(ms), x - pressX, y - pressY});
      });
  row.reactionMs = int64_t(pressedTick - shownTick_);
  row.selectionMs = run.pressToRelease;
  row.byMark = run.byMark;
  row.markAhead = root->markedAhead != 0;
  row.backUps = root->backUpCount;
  row.changes = root->changeCount;

  int positions[maxLevels];
  const char* labels[maxLevels] = {};
  uintptr_t value = 0;
  int levels =
      mGetResult(root, positions, labels, nullptr, nullptr, nullptr, &value);
  std::vector<int> chosen;
  for (int i = 0; i < levels && i < maxLevels && positions[i] >= 0; i++) {
    chosen.push_back(positions[i]);
    row.chosenLabel = labels[i] ? labels[i] : "";
  }
  row.chosenPath = mPathText(chosen);
  row.hit = value != 0 && value == uintptr_t(t.leaf) + 1;

  if (!t.practice) {
    ConditionScore& score = scores_[size_t(t.condition)];
    score.trials++;
    score.hits += row.hit;
    score.byMark += row.byMark;
    score.markErrors += row.byMark && !row.hit;
    score.totalMs += row.selectionMs;
  }
  lastRow_ = row;
  if (!log_.write(row, samples, error)) return false;
  next_++;
  return true;
}

void StudyRun::stop() {
  if (stopped_) return;
  stopped_ = true;
  std::string error;
  std::string where = next_ == 0 ? "before the first trial"
                                 : "after " + trialName(plan_[next_ - 1]);
  log_.note("stopped by the participant " + where + "; " +
                std::to_string(next_) + " of " + std::to_string(plan_.size()) +
                " trials done",
            &error);
}
