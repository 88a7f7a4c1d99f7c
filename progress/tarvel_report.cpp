// tarvel-report: a trace file as data. One CSV row per selection, the
// progress charts as a picture, or a short summary.
//
//   tarvel-report TRACE [--csv OUT.csv] [--png OUT.png [--size WxH]]
#include <QApplication>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "progress/progress_charts.h"

namespace {

constexpr int shownSkippedLines = 20;

int usage() {
  std::fprintf(stderr,
               "usage: tarvel-report TRACE [--csv OUT.csv] "
               "[--png OUT.png [--size WxH]]\n");
  return 2;
}

bool writeCsv(const TraceLog& log, const char* path) {
  FILE* out = std::strcmp(path, "-") == 0 ? stdout : std::fopen(path, "w");
  if (!out) return false;
  std::fprintf(out,
               "line,press_time,kind,duration_s,path,mark_ahead,back_ups,"
               "changes\n");
  for (const TraceRecord& r : log.records)
    std::fprintf(out, "%d,%.0f,%s,%.2f,%s,%d,%d,%d\n", r.line, r.pressTime,
                 r.byMenu ? "menu" : "mark", r.duration, r.path.c_str(),
                 r.markedAhead ? 1 : 0, r.backUps, r.changes);
  bool written = std::fflush(out) == 0 && !std::ferror(out);
  if (out != stdout) written = std::fclose(out) == 0 && written;
  return written;
}

void summarise(const TraceLog& log, const Progress& p) {
  size_t n = log.records.size();
  std::printf("%zu selections\n", n);
  if (n == 0) return;
  int marks = 0;
  for (const TraceRecord& r : log.records) marks += r.byMenu ? 0 : 1;
  std::printf("by mark: %d (%.0f%%), by menu: %zu\n", marks,
              100.0 * marks / double(n), n - size_t(marks));
  std::printf("median seconds, first %d: %.2f, last %d: %.2f\n",
              movingMedianWindow,
              mMedian(p.seconds, 0, std::min(n, size_t(movingMedianWindow))),
              movingMedianWindow, p.medianSeconds.back());
}

}  // namespace

int main(int argc, char** argv) {
  const char* trace = nullptr;
  const char* csv = nullptr;
  const char* png = nullptr;
  int width = 1200, height = 900;
  for (int i = 1; i < argc; i++) {
    std::string arg = argv[i];
    if (arg == "--csv" && i + 1 < argc) {
      csv = argv[++i];
    } else if (arg == "--png" && i + 1 < argc) {
      png = argv[++i];
    } else if (arg == "--size" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 ||
          width < 200 || height < 150 || width > 8000 || height > 8000)
        return usage();
    } else if (!arg.empty() && arg[0] != '-' && !trace) {
      trace = argv[i];
    } else {
      return usage();
    }
  }
  if (!trace) return usage();

  TraceLog log = mReadTrace(trace);
  if (!log.opened || !log.error.empty()) {
    std::fprintf(stderr, "tarvel-report: can't read %s: %s\n", trace,
                 log.error.c_str());
    return 1;
  }
  if (!log.skippedLines.empty()) {
    std::string lines;
    for (size_t i = 0;
         i < log.skippedLines.size() && i < size_t(shownSkippedLines); i++)
      lines += (i ? ", " : "") + std::to_string(log.skippedLines[i]);
    if (log.skippedLines.size() > size_t(shownSkippedLines)) lines += ", ...";
    std::fprintf(stderr,
                 "tarvel-report: %zu line(s) of %s are no selection and "
                 "were skipped: %s\n",
                 log.skippedLines.size(), trace, lines.c_str());
  }
  Progress progress = mProgressOf(log);
  if (csv && !writeCsv(log, csv)) {
    std::fprintf(stderr, "tarvel-report: can't write %s: %s\n", csv,
                 std::strerror(errno));
    return 1;
  }
  if (png) {
    // The charts are drawn off screen; no display is needed.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QImage picture = mRenderProgress(
        log, progress, QString::fromLocal8Bit(trace), QSize(width, height));
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(png), "PNG")) {
      std::fprintf(stderr, "tarvel-report: can't write %s\n", png);
      return 1;
    }
  }
  if (!csv && !png) summarise(log, progress);
  return 0;
}
