// The main of every test program: a quiet, deterministic Qt environment and
// the leak checker told what the library keeps on purpose.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdlib>
#include <string>

#include "trace/trace.h"
#include "trace_off.h"

// Menu records and their stroke buffers are never freed: a tree lives until
// the program ends. Fontconfig keeps caches of its own to the end as well.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:newRecord\nleak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/tarvel-test-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  mTraceUseBaseForTesting(untracedBase);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
