// Draws what the recognizers make of one stroke, and prints it:
//
//   explain_mark --strokes FILE --trial N [--block B] [--tree T] [--out F.png]
//   explain_mark --points "x,y;x,y;..." | @FILE [--tree T] [--out F.png]
//
// The stroke is a trial of a strokes.csv (its target read from the
// trials.csv beside it) or points given in pixels, "x,y,t" with times in
// ms, on the command line or in a file. T is practice (the default), 8x2, 4x3
// or 8x3.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/mark_explanation.h"
#include "tools/mark_input.h"
#include "tools/mark_picture.h"

namespace {

const char* const usage =
    "usage: explain_mark --strokes FILE --trial N [--block B] [--tree T] "
    "[--out F.png]\n"
    "       explain_mark --points \"x,y;x,y;...\" | @FILE [--tree T] "
    "[--out F.png]\n"
    "T: practice (the default), 8x2, 4x3, 8x3\n";

struct Arguments {
  std::string strokes, points, tree = "practice", out;
  int trial = 0, block = 0;
  bool hasPoints = false;
};

bool positive(const char* text, int* value) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 1 || v > 1000000000) return false;
  *value = int(v);
  return true;
}

// False with `error` set for arguments that make no request.
bool parse(int argc, char** argv, Arguments* a, std::string* error) {
  for (int i = 1; i < argc; i++) {
    std::string flag = argv[i];
    if (i + 1 >= argc) {
      *error = flag + " needs a value";
      return false;
    }
    const char* value = argv[++i];
    if (flag == "--strokes") {
      a->strokes = value;
    } else if (flag == "--points") {
      a->points = value;
      a->hasPoints = true;
    } else if (flag == "--tree") {
      a->tree = value;
    } else if (flag == "--out") {
      a->out = value;
    } else if (flag == "--trial" || flag == "--block") {
      if (!positive(value, flag == "--trial" ? &a->trial : &a->block)) {
        *error = flag + " takes a whole number from 1: " + value;
        return false;
      }
    } else {
      *error = "unknown argument " + flag;
      return false;
    }
  }
  if (a->strokes.empty() == !a->hasPoints) {
    *error = "give either --strokes FILE --trial N or --points";
    return false;
  }
  if (!a->strokes.empty() && a->trial == 0) {
    *error = "--strokes needs --trial N";
    return false;
  }
  if (!mKnownMarkTree(a->tree)) {
    *error = "unknown tree " + a->tree;
    return false;
  }
  if (a->out.empty())
    a->out =
        a->hasPoints ? "mark.png" : "mark-" + std::to_string(a->trial) + ".png";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  std::string error;
  if (!parse(argc, argv, &args, &error)) {
    std::fprintf(stderr, "explain_mark: %s\n%s", error.c_str(), usage);
    return 2;
  }
  // Pictures need no display.
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);

  MarkInput input;
  std::string warning;
  // --points @FILE: more points than a command line holds.
  bool read = true;
  if (args.hasPoints && args.points.compare(0, 1, "@") == 0)
    read = mReadWholeFile(args.points.substr(1), &args.points, &error);
  if (read)
    read = args.hasPoints
               ? mParsePoints(args.points, &input, &error)
               : mReadTrialStroke(args.strokes, args.trial, args.block, &input,
                                  &error, &warning);
  if (!warning.empty())
    std::fprintf(stderr, "explain_mark: %s\n", warning.c_str());
  if (!read) {
    std::fprintf(stderr, "explain_mark: %s\n", error.c_str());
    return 1;
  }
  MarkExplanation e;
  if (!mExplainMark(input, args.tree, &e, &error)) {
    std::fprintf(stderr, "explain_mark: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& line : mExplanationLines(e))
    std::printf("%s\n", line.c_str());
  std::string target;
  if (!input.targetLabel.empty()) {
    target = input.targetLabel + " (" + input.targetPath + ")";
    std::printf("target: %s\n", target.c_str());
  }
  if (!mDrawExplanation(e, input.source, target)
           .save(QString::fromStdString(args.out), "PNG")) {
    std::fprintf(stderr, "explain_mark: can't write %s\n", args.out.c_str());
    return 1;
  }
  return 0;
}
