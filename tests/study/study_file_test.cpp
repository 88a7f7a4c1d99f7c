// Study files: every example reads, and every bad file is refused with the
// file, the line and the field of the fault.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <QCryptographicHash>

#include "study/study_file.h"

namespace {

namespace fs = std::filesystem;

// A valid study; each bad case below changes one piece of it.
const std::string base = R"({
  "name": "base",
  "menus": [
    {"name": "p", "kind": "practice"},
    {"name": "t", "items": [
      {"label": "A", "position": 0},
      {"label": "B", "position": 2, "items": [
        {"label": "C", "position": 0}
      ]},
      {"label": "L", "position": 8, "items": [
        {"label": "M", "position": 8, "enabled": false}
      ]}
    ]},
    {"name": "g", "kind": "generated", "breadth": 8, "depth": 2}
  ],
  "conditions": [
    {"name": "one", "menu": "p"},
    {"name": "two",
     "menu": "t", "popup_delay": 0.3},
    {"name": "three", "menu": "g", "cascade_rest_ms": 100}
  ],
  "design": {
    "blocks": 2,
    "trials_per_block": "every-leaf",
    "seed": 4294967295
  }
})";

int lineOf(const std::string& text, const std::string& marker) {
  size_t at = text.find(marker);
  if (at == std::string::npos) return -1;
  int line = 1;
  for (size_t k = 0; k < at; k++) line += text[k] == '\n';
  return line;
}

std::string replaced(std::string text, const std::string& from,
                     const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << "no " << from << " in the base study";
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

bool parse(const std::string& text, Study* study, StudyError* error) {
  return mParseStudy(QByteArray::fromStdString(text), "dir/bad.json", study,
                     error);
}

struct BadCase {
  const char* what;
  const char* from;     // replaced in the base study
  const char* to;       // by this
  const char* field;    // the field the error names
  const char* marker;   // the line the error names holds this, after `to`
  const char* message;  // part of the message
};

const BadCase badCases[] = {
    {"unknown top key", R"("name": "base")", R"("nme": "base")", "nme",
     R"("nme")", "unknown key"},
    {"unknown menu key", R"("kind": "practice")",
     R"("kind": "practice", "colour": 1)", "menus[0].colour", "colour",
     "unknown key"},
    {"key of another kind", R"("breadth": 8,)", R"("breadth": 8, "items": [],)",
     "menus[2].items", R"("breadth": 8)", "unknown key"},
    {"unknown item key", R"({"label": "C", "position": 0})",
     R"({"label": "C", "position": 0, "icon": "x"})",
     "menus[1].items[1].items[0].icon", R"("C")", "unknown key"},
    {"unknown condition key", R"("popup_delay": 0.3)",
     R"("popup_delay": 0.3, "delay": 1)", "conditions[1].delay", "0.3",
     "unknown key"},
    {"unknown design key", R"("blocks": 2,)", R"("blocks": 2, "trials": 3,)",
     "design.trials", R"("blocks")", "unknown key"},
    {"wrong type", R"("blocks": 2)", R"("blocks": "2")", "design.blocks",
     R"("blocks")", "whole number"},
    {"name not a string", R"("name": "base")", R"("name": ["base"])", "name",
     R"("name")", "must be a string"},
    {"duplicate position", R"({"label": "B", "position": 2,)",
     R"({"label": "B", "position": 0,)", "menus[1].items[1].position", R"("B")",
     "taken by \"A\""},
    {"position over 57", R"("label": "A", "position": 0)",
     R"("label": "A", "position": 58)", "menus[1].items[0].position", R"("A")",
     "0 to 57"},
    {"negative position", R"("label": "A", "position": 0)",
     R"("label": "A", "position": -1)", "menus[1].items[0].position", R"("A")",
     "0 to 57"},
    {"fractional position", R"("label": "A", "position": 0)",
     R"("label": "A", "position": 0.5)", "menus[1].items[0].position", R"("A")",
     "whole number"},
    {"compass position under a list item",
     R"({"label": "M", "position": 8, "enabled": false})",
     R"({"label": "M", "position": 3, "enabled": false})",
     "menus[1].items[2].items[0].position", R"("M")", "is a list"},
    {"empty label", R"("label": "A")", R"("label": "")",
     "menus[1].items[0].label", R"("label": "")", "empty"},
    {"label too long", R"("label": "A")",
     R"("label": "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvw")",
     "menus[1].items[0].label", "abcdef", "49 bytes"},
    {"no label", R"({"label": "C", "position": 0})", R"({"position": 0})",
     "menus[1].items[1].items[0]", R"({"position": 0})", "label"},
    {"empty submenu", R"("position": 8, "items": [
        {"label": "M", "position": 8, "enabled": false}
      ]})",
     R"("position": 8, "items": []})", "menus[1].items[2].items",
     R"("items": []})", "at least one item"},
    {"no enabled leaf", R"({"label": "A", "position": 0},
      {"label": "B", "position": 2, "items": [)",
     R"({"label": "A", "position": 0, "enabled": false},
      {"label": "B", "position": 2, "enabled": false, "items": [)",
     "menus[1].items", R"("name": "t")", "no enabled leaf"},
    {"breadth 6", R"("breadth": 8)", R"("breadth": 6)", "menus[2].breadth",
     R"("breadth")", "4, 8 or 12"},
    {"depth 5", R"("depth": 2)", R"("depth": 5)", "menus[2].depth",
     R"("depth")", "1 to 4"},
    {"depth 0", R"("depth": 2)", R"("depth": 0)", "menus[2].depth",
     R"("depth")", "1 to 4"},
    {"unknown kind", R"("kind": "practice")", R"("kind": "training")",
     "menus[0].kind", "training", "unknown kind"},
    {"menu without name", R"({"name": "p", "kind": "practice"})",
     R"({"kind": "practice"})", "menus[0]", R"({"kind": "practice"})", "name"},
    {"two menus of one name", R"({"name": "g",)", R"({"name": "t",)",
     "menus[2].name", R"("generated")", "another menu"},
    {"two conditions of one name", R"({"name": "three",)", R"({"name": "one",)",
     "conditions[2].name", R"("g", "cascade)", "another condition"},
    {"condition naming no menu", R"("menu": "t")", R"("menu": "tree")",
     "conditions[1].menu", R"("tree")", "no menu is named \"tree\""},
    {"no conditions",
     R"(    {"name": "one", "menu": "p"},
    {"name": "two",
     "menu": "t", "popup_delay": 0.3},
    {"name": "three", "menu": "g", "cascade_rest_ms": 100})",
     "", "conditions", R"("conditions")", "at least one condition"},
    {"zero blocks", R"("blocks": 2)", R"("blocks": 0)", "design.blocks",
     R"("blocks")", "1 to 1000"},
    {"too many blocks", R"("blocks": 2)", R"("blocks": 1001)", "design.blocks",
     R"("blocks")", "1 to 1000"},
    {"zero trials", R"("trials_per_block": "every-leaf")",
     R"("trials_per_block": 0)", "design.trials_per_block",
     R"("trials_per_block")", "1 to 10000"},
    {"negative trials", R"("trials_per_block": "every-leaf")",
     R"("trials_per_block": -3)", "design.trials_per_block",
     R"("trials_per_block")", "1 to 10000"},
    {"too many trials", R"("trials_per_block": "every-leaf")",
     R"("trials_per_block": 10001)", "design.trials_per_block",
     R"("trials_per_block")", "1 to 10000"},
    {"trials word", R"("trials_per_block": "every-leaf")",
     R"("trials_per_block": "all")", "design.trials_per_block",
     R"("trials_per_block")", "every-leaf"},
    {"seed over 32 bits", R"("seed": 4294967295)", R"("seed": 4294967296)",
     "design.seed", R"("seed")", "0 to 4294967295"},
    {"negative seed", R"("seed": 4294967295)", R"("seed": -1)", "design.seed",
     R"("seed")", "whole number"},
    {"fractional seed", R"("seed": 4294967295)", R"("seed": 1.5)",
     "design.seed", R"("seed")", "whole number"},
    {"negative delay", R"("popup_delay": 0.3)", R"("popup_delay": -0.1)",
     "conditions[1].popup_delay", R"("popup_delay")", "seconds, 0 to 60"},
    {"delay over a minute", R"("popup_delay": 0.3)",
     R"("marking_popup_delay": 61)", "conditions[1].marking_popup_delay",
     R"("marking_popup_delay")", "0 to 60"},
    {"delay as text", R"("popup_delay": 0.3)", R"("rest_delay": "0.3")",
     "conditions[1].rest_delay", R"("rest_delay")", "seconds"},
    {"cascade rest over 60000 ms", R"("cascade_rest_ms": 100)",
     R"("cascade_rest_ms": 60001)", "conditions[2].cascade_rest_ms",
     R"("cascade_rest_ms")", "0 to 60000"},
    {"unknown technique", R"({"name": "one", "menu": "p"})",
     R"({"name": "one", "menu": "p", "technique": "pen"})",
     "conditions[0].technique", R"("pen")", "unknown technique"},
    {"unknown recognizer", R"({"name": "one", "menu": "p"})",
     R"({"name": "one", "menu": "p", "recognizer": "dp"})",
     "conditions[0].recognizer", R"("dp")", "unknown recognizer"},
    {"unknown target order", R"("blocks": 2,)",
     R"("blocks": 2, "target_order": "random",)", "design.target_order",
     R"("random")", "unknown order"},
    {"unknown condition order", R"("blocks": 2,)",
     R"("blocks": 2, "condition_order": "latin",)", "design.condition_order",
     R"("latin")", "unknown order"},
    {"fixed order without targets", R"("blocks": 2,)",
     R"("blocks": 2, "target_order": "fixed",)", "design", R"("design")",
     "needs \"targets\""},
    {"targets without fixed order", R"("blocks": 2,)",
     R"("blocks": 2, "targets": ["0/0"],)", "design.targets", R"("targets")",
     "only with"},
    {"empty target list", R"("blocks": 2,)",
     R"("blocks": 2, "target_order": "fixed", "targets": [],)",
     "design.targets", R"("targets")", "must name a target"},
    {"target not a path", R"("blocks": 2,)",
     R"("blocks": 2, "target_order": "fixed", "targets": ["0/a"],)",
     "design.targets[0]", R"("targets")", "not a path"},
    {"target a leaf of only some menus", R"("blocks": 2,)",
     R"("blocks": 2, "target_order": "fixed",
    "targets": ["2/0",
      "4/2"],)",
     "design.targets[1]", R"("4/2")", "no enabled leaf of menu \"t\""},
    {"target a category", R"("blocks": 2,)",
     R"("blocks": 2, "target_order": "fixed",
    "targets": ["2"],)",
     "design.targets[0]", R"(["2"])", "no enabled leaf"},
    {"key given twice", R"("blocks": 2,)", R"("blocks": 2,
    "blocks": 3,)",
     "design.blocks", R"("blocks": 3)", "given twice"},
    {"not JSON", R"("blocks": 2,)", R"("blocks": 2,,)", "", R"(2,,)",
     "not JSON"},
};

TEST(StudyFile, BaseStudyReads) {
  Study study;
  StudyError error;
  ASSERT_TRUE(parse(base, &study, &error)) << error.text();
  EXPECT_EQ(study.menus.size(), 3u);
  EXPECT_EQ(study.conditions.size(), 3u);
  EXPECT_EQ(study.design.seed, 4294967295u);
}

TEST(StudyFile, EveryFaultNamesFileLineAndField) {
  for (const BadCase& c : badCases) {
    SCOPED_TRACE(c.what);
    std::string text = replaced(base, c.from, c.to);
    Study study;
    study.name = "kept";
    StudyError error;
    EXPECT_FALSE(parse(text, &study, &error));
    EXPECT_EQ(study.name, "kept") << "a refused file changed the study";
    EXPECT_EQ(error.file, "dir/bad.json");
    EXPECT_EQ(error.field, c.field);
    EXPECT_EQ(error.line, lineOf(text, c.marker)) << error.text();
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.text();
    std::string prefix = "dir/bad.json:" + std::to_string(error.line) + ": ";
    if (*c.field) prefix += std::string(c.field) + ": ";
    EXPECT_EQ(error.text().rfind(prefix, 0), 0u) << error.text();
  }
}

TEST(StudyFile, WholeFileFaults) {
  Study study;
  StudyError error;
  EXPECT_FALSE(parse("[1, 2]", &study, &error));
  EXPECT_EQ(error.line, 1);
  EXPECT_FALSE(parse("", &study, &error));
  EXPECT_NE(error.message.find("not JSON"), std::string::npos);
  EXPECT_FALSE(parse("{\n}", &study, &error));
  EXPECT_NE(error.message.find("menus"), std::string::npos);
  EXPECT_EQ(StudyError({"f.json", 0, "", "cannot open"}).text(),
            "f.json: cannot open");
}

TEST(StudyFile, DefaultsAndNameFromFile) {
  const std::string text = R"({"menus": [{"name": "p", "kind": "practice"}],
    "conditions": [{"name": "c", "menu": "p"}]})";
  Study study;
  StudyError error;
  ASSERT_TRUE(mParseStudy(QByteArray::fromStdString(text),
                          "/some/where/my-study.json", &study, &error))
      << error.text();
  EXPECT_EQ(study.name, "my-study");
  EXPECT_EQ(study.file, "/some/where/my-study.json");
  EXPECT_EQ(study.menus[0].items.size(), 4u) << "practice items filled in";
  EXPECT_EQ(study.design.blocks, 1);
  EXPECT_EQ(study.design.trialsPerBlock, 0);
  EXPECT_EQ(study.design.targetOrder, TargetOrder::Shuffled);
  EXPECT_EQ(study.design.conditionOrder, ConditionOrder::Fixed);
  EXPECT_TRUE(study.design.pauseBetweenBlocks);
  EXPECT_EQ(study.conditions[0].technique, Technique::MarksAllowed);
  EXPECT_FALSE(study.conditions[0].popupDelay.has_value());
  EXPECT_EQ(study.sha256,
            QCryptographicHash::hash(QByteArray::fromStdString(text),
                                     QCryptographicHash::Sha256)
                .toHex()
                .toStdString());
}

TEST(StudyFile, EveryExampleReads) {
  int read = 0;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(TARVEL_EXAMPLE_STUDIES)) {
    SCOPED_TRACE(entry.path().string());
    Study study;
    StudyError error;
    EXPECT_TRUE(mReadStudy(entry.path().string(), &study, &error))
        << error.text();
    EXPECT_EQ(study.sha256.size(), 64u);
    read++;
  }
  EXPECT_GE(read, 5);
}

TEST(StudyFile, ExamplesMeanWhatTheySay) {
  const std::string dir = TARVEL_EXAMPLE_STUDIES;
  Study study;
  StudyError error;
  ASSERT_TRUE(mReadStudy(dir + "/two-conditions.json", &study, &error));
  EXPECT_EQ(study.conditions[1].technique, Technique::MenuOnly);
  EXPECT_EQ(study.conditions[1].recognizer, MARK_RECOGNIZER_STANDARD);

  EXPECT_EQ(study.design.targetOrder, TargetOrder::Fixed);
  ASSERT_EQ(study.design.fixedTargets.size(), 4u);
  EXPECT_EQ(study.design.fixedTargets[2], (std::vector<int>{4, 6}));
  EXPECT_FALSE(study.design.pauseBetweenBlocks);

  ASSERT_TRUE(mReadStudy(dir + "/popup-delay.json", &study, &error));
  ASSERT_EQ(study.conditions.size(), 3u);
  EXPECT_DOUBLE_EQ(*study.conditions[2].popupDelay, 0.6);
  EXPECT_EQ(study.design.conditionOrder, ConditionOrder::LatinSquare);

  ASSERT_TRUE(mReadStudy(dir + "/recognizers.json", &study, &error));
  EXPECT_EQ(study.conditions[0].recognizer, MARK_RECOGNIZER_STANDARD);
  EXPECT_EQ(study.conditions[1].recognizer, MARK_RECOGNIZER_LEGS);
}

class StudyFileOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarvel-study-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(StudyFileOnDisk, UnreadableFilesAreRefusedAtLineZero) {
  Study study;
  StudyError error;
  std::string missing = (dir_ / "missing.json").string();
  EXPECT_FALSE(mReadStudy(missing, &study, &error));
  EXPECT_EQ(error.line, 0);
  EXPECT_EQ(error.file, missing);
  EXPECT_NE(error.message.find("cannot open"), std::string::npos);

  EXPECT_FALSE(mReadStudy(dir_.string(), &study, &error));
  EXPECT_NE(error.message.find("not a regular file"), std::string::npos);

  // Nobody writes into the FIFO: reading it must not wait for a writer.
  std::string fifo = (dir_ / "fifo.json").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(mReadStudy(fifo, &study, &error));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_NE(error.message.find("not a regular file"), std::string::npos);

  std::string huge = (dir_ / "huge.json").string();
  std::ofstream(huge) << std::string(4 * 1024 * 1024 + 1, ' ');
  EXPECT_FALSE(mReadStudy(huge, &study, &error));
  EXPECT_EQ(error.line, 0);
  EXPECT_NE(error.message.find("MiB"), std::string::npos);
}

TEST_F(StudyFileOnDisk, ErrorsNameThePathGiven) {
  std::string path = (dir_ / "s.json").string();
  std::ofstream(path) << "{\n  \"menus\": 3\n}\n";
  Study study;
  StudyError error;
  EXPECT_FALSE(mReadStudy(path, &study, &error));
  EXPECT_EQ(error.text(), path + ":2: menus: must be an array [ ... ]");
}

}  // namespace
