#include "progress/tarvel_report.h"

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QApplication>
#include "progress/log_file.h"
#include "progress/path_labels.h"
#include "progress/progress_charts.h"
#include "progress/progress_source.h"
#include "progress/study_charts.h"
#include "progress/trainer_record.h"
#include "progress/trial_log_reader.h"

namespace {

constexpr int shownSkippedLines = 20;

int usage() {
  std::fprintf(
      stderr,
      "usage: tarvel-report FILE|FOLDER... [--csv OUT.csv] "
      "[--png OUT.png [--size WxH]]\n"
      "\n"
      "Each FILE is a trace (user.trc) or a study log (trials.csv), told\n"
      "apart by its content; each FOLDER is searched at any depth for files\n"
      "named trials.csv. Files of another kind are named and skipped.\n"
      "\n"
      "One trace: --csv writes one row per selection, --png the progress\n"
      "charts, and with neither a summary is printed. Several traces: a\n"
      "summary of each.\n"
      "\n"
      "Study logs (practice trials left out): with neither option, a table\n"
      "per condition and one per participant, condition and block. --csv\n"
      "writes one tidy file: a row per participant, condition and block;\n"
      "rows with participant ALL per condition and block (the learning\n"
      "curves); and rows with participant ALL and block NA per condition.\n"
      "The hit rate's 95%% interval is Wilson's score interval, the median\n"
      "time's the distribution-free one from order statistics (binomial);\n"
      "NA where there are too few trials. --png draws the learning curves\n"
      "and a confusion grid per condition (default size 1200x900).\n"
      "\n"
      "Exit status: 0 when something was read, 1 when nothing could be,\n"
      "2 for a bad option.\n");
  return 2;
}

// Names the lines of `file` that were left out, the first few of them.
void nameSkipped(const std::string& file, const std::vector<int>& skipped) {
  if (skipped.empty()) return;
  std::string lines;
  for (size_t i = 0; i < skipped.size() && i < size_t(shownSkippedLines); i++)
    lines += (i ? ", " : "") + std::to_string(skipped[i]);
  if (skipped.size() > size_t(shownSkippedLines)) lines += ", ...";
  std::fprintf(stderr,
               "tarvel-report: %zu line(s) of %s are no selection and "
               "were skipped: %s\n",
               skipped.size(), file.c_str(), lines.c_str());
}

void summarise(const Progress& p) {
  size_t n = p.seconds.size();
  std::printf("%zu selections\n", n);
  if (n == 0) return;
  std::printf("by mark: %d (%.0f%%), by menu: %zu\n", p.marks,
              100.0 * p.marks / double(n), n - size_t(p.marks));
  std::printf("chose nothing: %d\n", p.nothingChosen);
  std::printf("items: %zu\n", p.items.size());
  for (const ItemUse& use : p.items)
    std::printf("  %s: %d by mark, %d by menu\n", use.label.c_str(), use.byMark,
                use.byMenu);
  std::printf("median seconds, first %d: %.2f, last %d: %.2f\n",
              movingMedianWindow,
              median(p.seconds, 0, std::min(n, size_t(movingMedianWindow))),
              movingMedianWindow, p.medianSeconds.back());
  if (p.bestRun >= 0) {
    const LabRun& b = p.runs[size_t(p.bestRun)];
    std::printf(
        "laboratory runs: %zu, personal best: run %d, %d of %d hits, %.2f s, "
        "%s\n",
        p.runs.size(), p.bestRun + 1, b.hits, b.trials, b.meanSeconds,
        b.when.c_str());
  }
}

// Draws off screen: no display is needed. The program may have made its
// application already.
QImage drawn(int argc, char** argv, const std::function<QImage()>& draw) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return draw();
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return draw();
}

bool savePng(const QImage& picture, const char* path) {
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(path), "PNG")) {
    std::fprintf(stderr, "tarvel-report: can't write %s\n", path);
    return false;
  }
  return true;
}

// The figures of one trace, read in one pass, items named through `menu`.
Progress traceProgress(const std::string& trace, const Menu* menu,
                       std::string* error,
                       const std::function<void(const TraceRecord&)>& each) {
  ProgressBuilder builder = progressBuilderFor(menu);
  std::vector<int> skipped;
  bool read = streamTrace(
      trace,
      [&](const TraceRecord& r) {
        builder.add(r);
        if (each) each(r);
      },
      [&](int line) {
        builder.skipLine(line);
        skipped.push_back(line);
      },
      error);
  if (read) nameSkipped(trace, skipped);
  Progress p = builder.finish();
  if (!read) p = Progress();
  return p;
}

// One trace, as tarvel-report has always reported it.
int reportTrace(const char* trace, const char* csv, const char* png, QSize size,
                int argc, char** argv, const Menu* menu) {
  std::string error;
  FILE* out = nullptr;
  if (csv) {
    // Written row by row as the trace is read; removed if it cannot be.
    out = std::strcmp(csv, "-") == 0 ? stdout : std::fopen(csv, "w");
    if (!out) {
      std::fprintf(stderr, "tarvel-report: can't write %s: %s\n", csv,
                   std::strerror(errno));
      return 1;
    }
    std::fprintf(out,
                 "line,press_time,kind,duration_s,path,mark_ahead,back_ups,"
                 "changes\n");
  }
  Progress progress =
      traceProgress(trace, menu, &error, [out](const TraceRecord& r) {
        if (out)
          std::fprintf(out, "%d,%.0f,%s,%.2f,%s,%d,%d,%d\n", r.line,
                       r.pressTime, r.byMenu ? "menu" : "mark", r.duration,
                       r.path.c_str(), r.markedAhead ? 1 : 0, r.backUps,
                       r.changes);
      });
  if (out) {
    bool written = std::fflush(out) == 0 && !std::ferror(out);
    if (out != stdout) written = std::fclose(out) == 0 && written;
    if (!error.empty() && out != stdout) std::remove(csv);
    if (error.empty() && !written) {
      std::fprintf(stderr, "tarvel-report: can't write %s: %s\n", csv,
                   std::strerror(errno));
      return 1;
    }
  }
  if (!error.empty()) {
    std::fprintf(stderr, "tarvel-report: can't read %s: %s\n", trace,
                 error.c_str());
    return 1;
  }
  ProgressSource source;
  source.path = QString::fromLocal8Bit(trace);
  source.opened = true;
  if (png &&
      !savePng(drawn(argc, argv,
                     [&] { return renderProgress(progress, source, size); }),
               png))
    return 1;
  if (!csv && !png) summarise(progress);
  return 0;
}

std::string fixed(double value, int decimals) {
  if (std::isnan(value)) return "NA";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string range(const Interval& ci, int decimals) {
  if (!ci.known()) return "n/a";
  std::string text = "[";
  text += fixed(ci.low, decimals);
  text += ", ";
  text += fixed(ci.high, decimals);
  return text + "]";
}

// Columns padded to their widest cell; names to the left, numbers to the
// right.
void printTable(const std::vector<std::vector<std::string>>& rows,
                size_t leftColumns) {
  std::vector<size_t> widths;
  for (const auto& row : rows)
    for (size_t i = 0; i < row.size(); i++) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  for (const auto& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); i++) {
      std::string pad(widths[i] - row[i].size(), ' ');
      line += i < leftColumns ? row[i] + pad : pad + row[i];
      if (i + 1 < row.size()) line += "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  }
}

void printStudy(const StudyFigures& study) {
  std::vector<std::vector<std::string>> rows = {
      {"condition", "people", "trials", "hits", "hit rate", "95% CI (Wilson)",
       "median ms", "95% CI (binomial)", "mean ms", "by mark", "back-ups"}};
  for (const StudyCell& c : study.conditions) {
    const Figures& f = c.figures;
    rows.push_back(
        {c.condition, std::to_string(f.participants), std::to_string(f.trials),
         std::to_string(f.hits), fixed(f.hitRate, 2), range(f.hitRateCi, 2),
         fixed(f.medianMs, 0), range(f.medianMsCi, 0), fixed(f.meanMs, 0),
         fixed(f.markShare, 2), std::to_string(f.backUps)});
  }
  std::printf("Per condition, all participants:\n");
  printTable(rows, 1);
  rows = {{"participant", "condition", "block", "trials", "hits", "hit rate",
           "median ms", "mean ms", "by mark", "back-ups"}};
  for (const StudyCell& c : study.cells) {
    const Figures& f = c.figures;
    rows.push_back({c.participant, c.condition, std::to_string(c.block),
                    std::to_string(f.trials), std::to_string(f.hits),
                    fixed(f.hitRate, 2), fixed(f.medianMs, 0),
                    fixed(f.meanMs, 0), fixed(f.markShare, 2),
                    std::to_string(f.backUps)});
  }
  std::printf("\nPer participant, condition and block:\n");
  printTable(rows, 2);
}

bool writeStudyCsv(const StudyFigures& study, const char* path) {
  FILE* out = std::strcmp(path, "-") == 0 ? stdout : std::fopen(path, "w");
  if (!out) return false;
  std::fprintf(out,
               "participant,condition,block,participants,trials,hits,"
               "hit_rate,hit_rate_wilson95_low,hit_rate_wilson95_high,"
               "median_selection_ms,median_selection_ms_binom95_low,"
               "median_selection_ms_binom95_high,mean_selection_ms,"
               "mark_share,back_ups\n");
  for (const auto* cells : {&study.cells, &study.curves, &study.conditions})
    for (const StudyCell& c : *cells) {
      const Figures& f = c.figures;
      std::string block = c.block == allBlocks ? "NA" : std::to_string(c.block);
      std::fprintf(
          out, "%s,%s,%s,%d,%d,%d,%s,%s,%s,%s,%s,%s,%s,%s,%d\n",
          csvField(c.participant).c_str(), csvField(c.condition).c_str(),
          block.c_str(), f.participants, f.trials, f.hits,
          fixed(f.hitRate, 4).c_str(), fixed(f.hitRateCi.low, 4).c_str(),
          fixed(f.hitRateCi.high, 4).c_str(), fixed(f.medianMs, 1).c_str(),
          fixed(f.medianMsCi.low, 1).c_str(),
          fixed(f.medianMsCi.high, 1).c_str(), fixed(f.meanMs, 1).c_str(),
          fixed(f.markShare, 4).c_str(), f.backUps);
    }
  bool written = std::fflush(out) == 0 && !std::ferror(out);
  if (out != stdout) written = std::fclose(out) == 0 && written;
  return written;
}

// What a log told about its rows: those refused and a last line cut short.
void nameRefused(const std::string& file, const TrialLog& log) {
  for (size_t i = 0; i < log.refused.size() && i < size_t(shownSkippedLines);
       i++)
    std::fprintf(stderr, "tarvel-report: %s, line %d: %s; skipped\n",
                 file.c_str(), log.refused[i].line,
                 log.refused[i].reason.c_str());
  if (log.refused.size() > size_t(shownSkippedLines))
    std::fprintf(stderr, "tarvel-report: %s: %zu more rows skipped\n",
                 file.c_str(), log.refused.size() - size_t(shownSkippedLines));
  if (log.cutLine)
    std::fprintf(stderr,
                 "tarvel-report: %s, line %d: cut short (the file ends "
                 "inside it); skipped\n",
                 file.c_str(), log.cutLine);
}

int reportStudy(const std::vector<std::string>& files, const char* csv,
                const char* png, QSize size, int argc, char** argv,
                const Menu* trainerMenu) {
  std::vector<TrialRow> rows;
  // The trainer's record is also read as the Progress window reads it.
  ProgressBuilder progress = progressBuilderFor(trainerMenu);
  int read = 0;
  for (const std::string& file : files) {
    TrialLog log = readTrialLog(file);
    if (!log.read) {
      std::fprintf(stderr, "tarvel-report: %s: %s; skipped\n", file.c_str(),
                   log.error.c_str());
      continue;
    }
    nameRefused(file, log);
    for (const TrialRow& row : log.rows) progress.add(row, read);
    read++;
    rows.insert(rows.end(), log.rows.begin(), log.rows.end());
  }
  if (read == 0) {
    std::fprintf(stderr, "tarvel-report: no study log could be read\n");
    return 1;
  }
  StudyFigures study = studyFigures(rows);
  if (study.studies.size() > 1) {
    std::string names;
    for (const std::string& name : study.studies)
      names += (names.empty() ? "" : ", ") + name;
    std::fprintf(stderr,
                 "tarvel-report: the logs come from %zu studies (%s); "
                 "conditions of the same name are counted together\n",
                 study.studies.size(), names.c_str());
  }
  if (csv && !writeStudyCsv(study, csv)) {
    std::fprintf(stderr, "tarvel-report: can't write %s: %s\n", csv,
                 std::strerror(errno));
    return 1;
  }
  if (png &&
      !savePng(drawn(argc, argv, [&] { return renderStudy(study, size); }),
               png))
    return 1;
  if (!csv && !png) {
    printStudy(study);
    if (study.studies == std::vector<std::string>{trainerStudy}) {
      std::printf("\nAs Help > Progress shows the trainer's record:\n");
      summarise(progress.finish());
    }
  }
  return 0;
}

// The trials.csv files under `folder`, session-10 after session-9.
std::vector<std::string> trialLogsUnder(const std::string& folder) {
  return recordFiles(folder);
}

}  // namespace

int tarvelReport(int argc, char** argv, const Menu* traceMenu) {
  std::vector<std::string> arguments;
  const char* csv = nullptr;
  const char* png = nullptr;
  int width = 1200, height = 900;
  bool sized = false;
  for (int i = 1; i < argc; i++) {
    std::string arg = argv[i];
    if (arg == "--csv" && i + 1 < argc) {
      csv = argv[++i];
    } else if (arg == "--png" && i + 1 < argc) {
      png = argv[++i];
    } else if (arg == "--size" && i + 1 < argc) {
      sized = true;
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 ||
          width < 200 || height < 150 || width > 8000 || height > 8000)
        return usage();
    } else if (!arg.empty() && arg[0] != '-') {
      arguments.push_back(arg);
    } else {
      return usage();
    }
  }
  if (arguments.empty()) return usage();
  QSize size(width, height);
  // The trace's charts and table of every item need more room.
  QSize traceSize = sized ? size : QSize(1600, 1000);

  // Each file is told by its content; folders hold study logs.
  std::vector<std::string> traces, studyLogs, others;
  for (const std::string& arg : arguments) {
    std::error_code error;
    if (std::filesystem::is_directory(arg, error)) {
      std::vector<std::string> found = trialLogsUnder(arg);
      if (found.empty())
        std::fprintf(stderr, "tarvel-report: no trials.csv in %s\n",
                     arg.c_str());
      studyLogs.insert(studyLogs.end(), found.begin(), found.end());
      continue;
    }
    std::string text, why;
    if (!readLogFile(arg, &text, &why)) {
      std::fprintf(stderr, "tarvel-report: can't read %s: %s\n", arg.c_str(),
                   why.c_str());
      continue;
    }
    // A trace just begun is empty.
    bool empty = text.find_first_not_of(" \t\r\n") == std::string::npos;
    LogKind kind = empty ? LogKind::trace : logKind(text);
    if (kind == LogKind::trace)
      traces.push_back(arg);
    else if (kind == LogKind::trials)
      studyLogs.push_back(arg);
    else
      others.push_back(arg + " is " + logKindName(kind) +
                       ", neither a trace nor a trials.csv");
  }
  for (const std::string& file : traces)
    if (!studyLogs.empty())
      others.push_back(file + " is a trace file among study logs");
  for (const std::string& why : others)
    std::fprintf(stderr, "tarvel-report: %s; skipped\n", why.c_str());

  if (!studyLogs.empty())
    return reportStudy(studyLogs, csv, png, size, argc, argv, traceMenu);
  if (traces.size() == 1)
    return reportTrace(traces[0].c_str(), csv, png, traceSize, argc, argv,
                       traceMenu);
  if (traces.empty()) return 1;
  if (csv || png) {
    std::fprintf(stderr,
                 "tarvel-report: --csv and --png take one trace at a time\n");
    return usage();
  }
  for (size_t i = 0; i < traces.size(); i++) {
    std::printf("%s%s:\n", i ? "\n" : "", traces[i].c_str());
    std::string error;
    Progress p = traceProgress(traces[i], traceMenu, &error, {});
    if (!error.empty()) {
      std::fprintf(stderr, "tarvel-report: can't read %s: %s\n",
                   traces[i].c_str(), error.c_str());
      continue;
    }
    summarise(p);
  }
  return 0;
}
