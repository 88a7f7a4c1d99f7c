#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "progress/study_stats.h"
#include "progress/trace_reader.h"
#include "progress/trial_log_reader.h"

namespace fs = std::filesystem;

namespace {

const std::string origin =
    "# tarvel 1.0; study breadth-depth; sha256 3f2a; screen 1280x1024; "
    "pixel ratio 1; session 1; started 2026-12-09T07:30:01.123Z\n";

TrialRow row(const std::string& participant, const std::string& condition,
             int block, bool hit, int64_t ms) {
  TrialRow r;
  r.participant = participant;
  r.study = "breadth-depth";
  r.condition = condition;
  r.block = block;
  r.practice = block == 0;
  r.targetPath = "2/0";
  r.targetLabel = "Saw";
  r.chosenPath = hit ? "2/0" : "5/3";
  r.chosenLabel = hit ? "Saw" : "Kettle, old";
  r.hit = hit;
  r.targetShownAt = "2026-12-09T07:30:02.511Z";
  r.reactionMs = 500;
  r.selectionMs = ms;
  return r;
}

std::string logOf(const std::vector<TrialRow>& rows) {
  std::string text = origin + trialColumns + "\n";
  for (const TrialRow& r : rows) text += trialCsvLine(r);
  return text;
}

// Runs `read` on a FIFO nobody writes to; fails instead of hanging when
// the reader waits for a writer.
template <typename Read>
void returnsPromptlyOnFifo(Read read) {
  fs::path fifo =
      fs::temp_directory_path() / ("tarvel-fifo-" + std::to_string(::getpid()));
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto answer = std::async(std::launch::async, [&] { return read(fifo); });
  if (answer.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
    ADD_FAILURE() << "the reader waits on a FIFO";
    int unblock = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (unblock >= 0) ::close(unblock);
  }
  EXPECT_NE(answer.get(), "") << "a FIFO must be refused with a reason";
  fs::remove(fifo);
}

}  // namespace

// What the writer writes reads back field for field: quoted labels, a
// label with a quote and a line break, a participant starting with '#',
// comment lines between rows, columns in another order with one more.
TEST(TrialLogReader, ReadsBackWhatTheWriterWrites) {
  std::vector<TrialRow> rows = {row("P01", "8x2", 0, true, 238),
                                row("P01", "8x2", 1, false, 1402),
                                row("#7", "8x2", 1, true, 300)};
  rows[1].chosenPath = "";
  rows[1].chosenLabel = "";
  rows[1].backUps = 1;
  rows[1].changes = 3;
  rows[2].targetLabel = "say \"hi\"\r\nthere";
  rows[2].byMark = rows[2].markAhead = true;
  std::string text = logOf({rows[0], rows[1]}) +
                     "# stopped by the participant after condition 8x2\n" +
                     trialCsvLine(rows[2]);
  TrialLog log = parseTrialLog(text);
  ASSERT_TRUE(log.read) << log.error;
  EXPECT_EQ(log.origin.substr(0, 10), "tarvel 1.0");
  EXPECT_TRUE(log.refused.empty());
  EXPECT_EQ(log.cutLine, 0);
  ASSERT_EQ(log.rows.size(), 3u);
  for (size_t i = 0; i < rows.size(); i++)
    EXPECT_EQ(trialCsvLine(log.rows[i]), trialCsvLine(rows[i])) << i;

  std::string reordered =
      "selection_ms,extra,participant,study,condition,block,trial,practice,"
      "target_path,target_label,chosen_path,chosen_label,hit,by_mark,"
      "mark_ahead,back_ups,changes,target_shown_at,reaction_ms\r\n"
      "612,x,P02,s,4x4,2,5,0,1/1,Apple,1/1,Apple,1,1,0,0,0,t,300\r\n"
      "700,y,P02,s,4x4,2,6,0,1/1,Apple,1/1,Apple,1,0,0,0,0,t,300";
  log = parseTrialLog(reordered);
  ASSERT_TRUE(log.read) << log.error;
  ASSERT_EQ(log.rows.size(), 1u);
  EXPECT_EQ(log.rows[0].selectionMs, 612);
  EXPECT_EQ(log.rows[0].reactionMs, 300);
  EXPECT_EQ(log.rows[0].block, 2);
  EXPECT_EQ(log.rows[0].targetShownAt, "t");
  EXPECT_EQ(log.cutLine, 3);  // no line break: the writer was stopped
}

TEST(TrialLogReader, RefusesBadRowsByTheirLineNumbers) {
  std::string good = trialCsvLine(row("P01", "8x2", 1, true, 238));
  auto with = [&](size_t field, const std::string& value) {
    std::vector<std::string> fields;
    size_t at = 0;
    for (size_t comma; (comma = good.find(',', at)) != std::string::npos;
         at = comma + 1)
      fields.push_back(good.substr(at, comma - at));
    fields.push_back(good.substr(at, good.size() - at - 1));
    fields[field] = value;
    std::string line;
    for (const std::string& f : fields) line += (line.empty() ? "" : ",") + f;
    return line + "\n";
  };
  using namespace std::string_literals;
  std::string text = origin + trialColumns + "\n" + good;  // line 3
  text += with(3, "1.5");                                  // 4 block
  text += with(4, "0x10");                                 // 5 trial in hex
  text += with(5, "2");                                    // 6 a flag
  text += with(17, "-5");                                  // 7 negative
  text += with(17, "86400001");                            // 8 over a day
  text += with(17,
               "12\0"s
               "3");                               // 9 NUL
  text += with(16, "inf");                         // 10
  text += with(13, "1e3");                         // 11
  text += good.substr(0, good.rfind(',')) + "\n";  // 12 a field short
  text += "P01,\"s\"x,8x2\n";                      // 13 after a quote
  text += with(17, "86400000");                    // 14 a day: good
  TrialLog log = parseTrialLog(text);
  ASSERT_TRUE(log.read) << log.error;
  ASSERT_EQ(log.rows.size(), 2u);
  EXPECT_EQ(log.rows[1].selectionMs, 86400000);
  std::vector<int> lines;
  for (const RefusedRow& r : log.refused) lines.push_back(r.line);
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
  EXPECT_NE(log.refused[0].reason.find("block"), std::string::npos);
  EXPECT_NE(log.refused[5].reason.find("NUL"), std::string::npos);
  EXPECT_NE(log.refused[8].reason.find("17 fields"), std::string::npos);
}

// A file of another kind is named as what it is, and a trials.csv short of
// a column names the column.
TEST(TrialLogReader, TellsOtherKindsOfFile) {
  std::string trace = "1000 m 0.35 11\n1001 M 1.20 23 c b1\n";
  std::string strokes =
      origin + strokeColumns + "\nP01,8x2,1,1,0,0,0\nP01,8x2,1,1,8,3,-2\n";
  std::string header = trialColumns;
  std::string noHit = header;
  noHit.erase(noHit.find(",hit,"), 4);
  std::string study = logOf({row("P01", "8x2", 1, true, 238)});
  EXPECT_EQ(logKind(trace), LogKind::trace);
  EXPECT_EQ(logKind("garbage\n" + trace), LogKind::trace);
  EXPECT_EQ(logKind(strokes), LogKind::strokes);
  EXPECT_EQ(logKind(study), LogKind::trials);
  EXPECT_EQ(logKind("hello, world\nhow are you\n"), LogKind::other);
  EXPECT_EQ(logKind(""), LogKind::other);

  EXPECT_EQ(parseTrialLog(trace).error, "a trace file, not a trials.csv");
  EXPECT_EQ(parseTrialLog(strokes).error, "a strokes.csv, not a trials.csv");
  EXPECT_FALSE(parseTrialLog("hello, world\n").read);
  EXPECT_EQ(parseTrialLog("").error, "empty");
  TrialLog missing = parseTrialLog(noHit + "\n");
  EXPECT_FALSE(missing.read);
  EXPECT_EQ(missing.error, "no column hit");
  EXPECT_FALSE(parseTrialLog(header + "," + "hit\n").read);  // named twice

  // And the other way: a study log read as a trace has no selection.
  fs::path file = fs::temp_directory_path() /
                  ("tarvel-study-" + std::to_string(::getpid()) + ".csv");
  std::ofstream(file, std::ios::binary) << study;
  TraceLog asTrace = readTrace(file.string());
  EXPECT_TRUE(asTrace.records.empty());
  EXPECT_EQ(asTrace.skippedLines.size(), 3u);
  EXPECT_EQ(readTrialLog(file.string()).rows.size(), 1u);
  fs::remove(file);
  EXPECT_EQ(readTrialLog("/nonexistent/trials.csv").error,
            "No such file or directory");
}

// Only what the library's "%.0lf %c %2.2lf" can print is a selection line.
TEST(TraceReader, RefusesNumbersTheLibraryCannotWrite) {
  using namespace std::string_literals;
  TraceRecord r;
  EXPECT_TRUE(parseTraceLine("100 m 0.35 11", &r));
  EXPECT_TRUE(parseTraceLine("100 m -0.00 11", &r));  // a hair below zero
  EXPECT_EQ(r.duration, 0);
  EXPECT_TRUE(parseTraceLine("100 m 86400.00 11", &r));
  EXPECT_TRUE(parseTraceLine("9999999999 M 1 11", &r));
  for (const std::string& bad :
       {"100 m 0.35\0"s
        "99 11",
        "10\0"s
        "0 m 0.35 11",
        "100 m 0x1p-2 11"s, "0x64 m 0.35 11"s, "100 m 1.7e308 11"s,
        "100 m 1e1 11"s, "100 m inf 11"s, "inf m 0.35 11"s, "100 m nan 11"s,
        "100 m 86400.01 11"s, "10000000000 m 0.35 11"s, "100 m -0.01 11"s,
        "-1 m 0.35 11"s, "100 m .35 11"s, "100 m 0. 11"s, "100 m +0.35 11"s,
        "100 m 0.3.5 11"s})
    EXPECT_FALSE(parseTraceLine(bad, &r)) << testing::PrintToString(bad);
}

TEST(TraceReader, FifosAndTrialLogReaderFifosReturnPromptly) {
  returnsPromptlyOnFifo([](const fs::path& p) { return readTrace(p).error; });
  returnsPromptlyOnFifo(
      [](const fs::path& p) { return readTrialLog(p).error; });
}

TEST(StudyFigures, IntervalsWorkedByHand) {
  // 8 of 10: centre (0.8 + 1.9208/10) / 1.38415 = 0.71674, half width
  // 1.95996 * sqrt(0.016 + 0.0096037) / 1.38415 = 0.22658.
  Interval eight = wilsonInterval(8, 10);
  EXPECT_NEAR(eight.low, 0.49016, 1e-4);
  EXPECT_NEAR(eight.high, 0.94332, 1e-4);
  // 0 of 5: from 0 to 2 * 0.38415 / 1.76829.
  Interval none = wilsonInterval(0, 5);
  EXPECT_DOUBLE_EQ(none.low, 0);
  EXPECT_NEAR(none.high, 0.43449, 1e-4);
  EXPECT_NEAR(wilsonInterval(5, 5).low, 1 - 0.43449, 1e-4);
  EXPECT_FALSE(wilsonInterval(0, 0).known());

  // Of ten: P(B <= 1) = 11/1024 <= 0.025 < P(B <= 2) = 56/1024, so x(2)..x(9).
  Interval ten = medianInterval({10, 1, 9, 2, 8, 3, 7, 4, 6, 5});
  EXPECT_EQ(ten.low, 2);
  EXPECT_EQ(ten.high, 9);
  // Six is the fewest: 1/64 in each tail, min to max.
  Interval six = medianInterval({3, 1, 4, 1, 5, 9});
  EXPECT_EQ(six.low, 1);
  EXPECT_EQ(six.high, 9);
  EXPECT_FALSE(medianInterval({1, 2, 3, 4, 5}).known());
  // Large n neither underflows nor loops long: x(40)..x(61) of 100.
  std::vector<double> hundred;
  for (int i = 1; i <= 100; i++) hundred.push_back(i);
  Interval h = medianInterval(hundred);
  EXPECT_EQ(h.low, 40);
  EXPECT_EQ(h.high, 61);
}

TEST(StudyFigures, PerCellConditionCurveAndConfusion) {
  std::vector<TrialRow> rows = {
      row("A", "c", 0, false, 9999),  // practice: counted nowhere
      row("A", "c", 1, true, 100),   row("A", "c", 1, true, 400),
      row("A", "c", 1, false, 300),  row("A", "c", 1, true, 200),
      row("B", "c", 1, true, 1000),  row("B", "c", 2, false, 600),
      row("A", "d", 1, true, 50),
  };
  rows[2].byMark = rows[4].byMark = true;
  rows[3].backUps = 2;
  rows[6].chosenPath = rows[6].chosenLabel = "";  // nothing chosen
  StudyFigures s = studyFigures(rows);
  EXPECT_EQ(s.practiceRows, 1);
  ASSERT_EQ(s.cells.size(), 4u);  // A c 1, A d 1, B c 1, B c 2
  const Figures& a = s.cells[0].figures;
  EXPECT_EQ(s.cells[0].participant, "A");
  EXPECT_EQ(a.trials, 4);
  EXPECT_EQ(a.hits, 3);
  EXPECT_DOUBLE_EQ(a.hitRate, 0.75);
  EXPECT_DOUBLE_EQ(a.medianMs, 250);
  EXPECT_DOUBLE_EQ(a.meanMs, 250);
  EXPECT_DOUBLE_EQ(a.markShare, 0.5);
  EXPECT_EQ(a.backUps, 2);
  EXPECT_EQ(s.cells[1].condition, "d");

  ASSERT_EQ(s.conditions.size(), 2u);
  const Figures& c = s.conditions[0].figures;
  EXPECT_EQ(s.conditions[0].participant, allParticipants);
  EXPECT_EQ(c.participants, 2);
  EXPECT_EQ(c.trials, 6);
  EXPECT_EQ(c.hits, 4);
  EXPECT_DOUBLE_EQ(c.medianMs, 350);  // of 100 200 300 400 600 1000
  EXPECT_EQ(c.medianMsCi.low, 100);   // six trials: min to max
  EXPECT_EQ(c.medianMsCi.high, 1000);
  EXPECT_NEAR(c.hitRateCi.low, wilsonInterval(4, 6).low, 1e-12);

  ASSERT_EQ(s.curves.size(), 3u);  // c 1, c 2, d 1
  EXPECT_EQ(s.curves[0].block, 1);
  EXPECT_EQ(s.curves[0].figures.trials, 5);
  EXPECT_DOUBLE_EQ(s.curves[0].figures.hitRate, 0.8);
  EXPECT_DOUBLE_EQ(s.curves[0].figures.medianMs, 300);
  EXPECT_EQ(s.curves[1].block, 2);
  EXPECT_DOUBLE_EQ(s.curves[1].figures.hitRate, 0);

  const Confusion& k = s.confusions[0];
  EXPECT_EQ(k.targets, (std::vector<std::string>{"Saw"}));
  EXPECT_EQ(k.chosen,
            (std::vector<std::string>{"Saw", "Kettle, old", nothingChosen}));
  EXPECT_EQ(k.counts[0], (std::vector<int>{4, 1, 1}));
  EXPECT_EQ(k.largest, 4);
}
