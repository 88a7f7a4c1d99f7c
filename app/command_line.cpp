#include "app/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int maxSimulated = 10000;
constexpr double maxNoiseDegrees = 180;

bool wholeNumber(const char* text, int* out) {
  errno = 0;
  char* end = nullptr;
  long n = std::strtol(text, &end, 10);
  if (errno || end == text || *end || n < 1 || n > maxSimulated) return false;
  *out = int(n);
  return true;
}

bool degrees(const char* text, double* out) {
  // Plain decimals only: no hex, no exponents, no inf or nan.
  if (!*text || std::strspn(text, "0123456789.") != std::strlen(text))
    return false;
  char* end = nullptr;
  double d = std::strtod(text, &end);
  if (*end || !std::isfinite(d) || d > maxNoiseDegrees) return false;
  *out = d;
  return true;
}

// Qt's own options, which QApplication takes off the command line itself.
bool qtOption(const std::string& arg, bool* takesValue) {
  static const char* const withValue[] = {
      "-platform",        "-platformpluginpath",
      "-platformtheme",   "-plugin",
      "-qwindowgeometry", "-qwindowicon",
      "-qwindowtitle",    "-display",
      "-geometry",        "-style",
      "-stylesheet",      "-session"};
  static const char* const alone[] = {"-reverse", "-widgetcount", "-nograb",
                                      "-dograb", "-sync"};
  for (const char* o : withValue)
    if (arg == o) return *takesValue = true;
  for (const char* o : alone)
    if (arg == o) return !(*takesValue = false);
  return false;
}

CommandLine bad(const std::string& why) {
  CommandLine c;
  c.action = CommandLine::Action::Bad;
  c.error = why;
  return c;
}

}  // namespace

const char* mUsage() {
  return "usage: tarvel                        the trainer\n"
         "       tarvel --study FILE [--participant ID] [--output DIR]\n"
         "                                     runs a study with a "
         "participant\n"
         "       tarvel --study FILE --simulate N [--noise DEGREES] "
         "[--output DIR]\n"
         "                                     pilots a study with N "
         "simulated\n"
         "                                     participants, headless\n"
         "       tarvel --help | --version\n"
         "Logs go to DIR/STUDY/PARTICIPANT/session-N/ (trials.csv, "
         "strokes.csv);\n"
         "DIR is $XDG_DATA_HOME/tarvel (~/.local/share/tarvel) unless "
         "given.\n";
}

CommandLine mParseCommandLine(int argc, const char* const* argv) {
  CommandLine c;
  bool simulate = false, noise = false;
  for (int i = 1; i < argc; i++) {
    std::string arg = argv[i];
    std::string value;
    bool hasValue = false;
    // --option=value and --option value both work.
    if (size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != arg.npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      hasValue = true;
    }
    auto take = [&]() {
      if (hasValue) return true;
      if (i + 1 >= argc) return false;
      value = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      c.action = CommandLine::Action::Help;
      return c;
    }
    if (arg == "--version") {
      c.action = CommandLine::Action::Version;
      return c;
    }
    if (arg == "--study" || arg == "--participant" || arg == "--output" ||
        arg == "--simulate" || arg == "--noise") {
      if (!take()) return bad(arg + " needs a value");
      if (value.empty()) return bad(arg + " needs a value");
      if (arg == "--study") {
        c.study = value;
      } else if (arg == "--participant") {
        c.participant = value;
      } else if (arg == "--output") {
        c.output = value;
      } else if (arg == "--simulate") {
        if (!wholeNumber(value.c_str(), &c.simulate))
          return bad("--simulate takes a number of participants from 1 to " +
                     std::to_string(maxSimulated) + ", not '" + value + "'");
        simulate = true;
      } else {
        if (!degrees(value.c_str(), &c.noise))
          return bad("--noise takes degrees from 0 to 180, not '" + value +
                     "'");
        noise = true;
      }
      continue;
    }
    if (bool takesValue = false; qtOption(arg, &takesValue)) {
      if (takesValue && ++i >= argc) return bad(arg + " needs a value");
      continue;
    }
    return bad("unknown option '" + arg + "'");
  }
  if (c.study.empty()) {
    if (simulate || noise || !c.participant.empty() || !c.output.empty())
      return bad("--study FILE is missing");
    return c;
  }
  if (noise && !simulate) return bad("--noise goes with --simulate");
  if (simulate && !c.participant.empty())
    return bad("--participant does not go with --simulate");
  c.action =
      simulate ? CommandLine::Action::Simulate : CommandLine::Action::Study;
  return c;
}
