// The trainer's command line: what each form asks for, and what is refused
// before anything is shown or written.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"

namespace {

CommandLine parse(std::vector<const char*> args) {
  args.insert(args.begin(), "tarvel");
  return mParseCommandLine(int(args.size()), args.data());
}

using Action = CommandLine::Action;

TEST(CommandLine, NoArgumentsIsTheTrainerAndQtKeepsItsOwnOptions) {
  EXPECT_EQ(parse({}).action, Action::Train);
  EXPECT_EQ(parse({"-platform", "offscreen", "-reverse"}).action,
            Action::Train);
  EXPECT_EQ(parse({"--help"}).action, Action::Help);
  EXPECT_EQ(parse({"--study", "s.json", "--version"}).action, Action::Version);
}

TEST(CommandLine, StudiesAndPilotsTakeTheirValues) {
  CommandLine study =
      parse({"--study", "s.json", "--participant=P 7", "--output", "/tmp/o"});
  EXPECT_EQ(study.action, Action::Study);
  EXPECT_EQ(study.study, "s.json");
  EXPECT_EQ(study.participant, "P 7");
  EXPECT_EQ(study.output, "/tmp/o");
  EXPECT_EQ(parse({"--study", "s.json"}).action, Action::Study);

  CommandLine pilot =
      parse({"--study=s.json", "--simulate", "24", "--noise", "7.5"});
  EXPECT_EQ(pilot.action, Action::Simulate);
  EXPECT_EQ(pilot.simulate, 24);
  EXPECT_DOUBLE_EQ(pilot.noise, 7.5);
}

TEST(CommandLine, BadFormsAreRefusedWithAReason) {
  const std::vector<std::vector<const char*>> bad = {
      {"--stdy", "s.json"},
      {"--study"},
      {"--study="},
      {"--participant", "P1"},
      {"--simulate", "3"},
      {"--study", "s.json", "--simulate", "0"},
      {"--study", "s.json", "--simulate", "2x"},
      {"--study", "s.json", "--simulate", "99999999999"},
      {"--study", "s.json", "--simulate", "2", "--noise", "0x10"},
      {"--study", "s.json", "--simulate", "2", "--noise", "inf"},
      {"--study", "s.json", "--simulate", "2", "--noise", "1e3"},
      {"--study", "s.json", "--simulate", "2", "--noise", "-5"},
      {"--study", "s.json", "--noise", "5"},
      {"--study", "s.json", "--simulate", "2", "--participant", "P1"},
      {"-platform"},
      {"stray"},
  };
  for (const auto& args : bad) {
    CommandLine c = parse(args);
    std::string shown;
    for (const char* a : args) shown += std::string(a) + " ";
    EXPECT_EQ(c.action, Action::Bad) << shown;
    EXPECT_FALSE(c.error.empty()) << shown;
  }
}

}  // namespace
