// Fuzzes the library through its public calls. An input is read as a
// sequence of operations: trees of random shape and depth (labels of any
// bytes, positions and flags out of range), single calls with any arguments
// in any order (NULL menus, coordinates anywhere in int), and whole
// selections in the order a client makes them, driven by gestures: marks,
// paused marks, walks through the shown menus, scribbles, clicks.
//
// Everything runs on the simulated platform, whose clock starts afresh for
// every input, so an input always does the same thing. The seeds in
// corpus/ mean what this file's reading makes of them: regress-* are
// inputs that once broke the library. TARVEL_FUZZ_TRACE=1 prints the calls
// an input makes.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <QImage>

#include "core/menu_tree.h"
#include "menu/marking_menu.h"
#include "platform/report.h"
#include "platform/sim_platform.h"
#include "player/sim_gesture.h"
#include "random_menus.h"
#include "trace/trace.h"
#include "trace_off.h"

// Fontconfig keeps caches of its own to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

constexpr int screenWidth = 800, screenHeight = 600;
// What one input may take: enough for deep trees and long selections, too
// little to hold the fuzzer up.
constexpr uint64_t callsPerInput = 200000;
constexpr uint64_t virtualMsPerInput = 120000;
constexpr size_t menusPerInput = 400;
// Room for one entry per level of the deepest tree an input can build.
constexpr int resultRoom = int(menusPerInput) + 1;

uint64_t callsRun = 0;
uint64_t inputsRun = 0;
uint64_t reportsMade = 0;

void printTotals() {
  std::fprintf(stderr,
               "fuzz_menu: %llu public calls run in %llu inputs, %llu "
               "problems reported\n",
               static_cast<unsigned long long>(callsRun),
               static_cast<unsigned long long>(inputsRun),
               static_cast<unsigned long long>(reportsMade));
}

bool tracing = false;

// A label as a C string literal, any byte escaped.
std::string quoted(const char* text) {
  std::string out = "\"";
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text);
       *c; c++) {
    char escaped[16];
    if (*c >= 0x20 && *c < 0x7F && *c != '"' && *c != '\\') {
      out += char(*c);
      continue;
    }
    std::snprintf(escaped, sizeof escaped, "\\x%02x\"\"", *c);
    out += escaped;
  }
  return out + "\"";
}

// Bad input is reported and survived by design; counted, not printed.
void countReport(const char*) { reportsMade++; }

// The simulated machine with a clock that can start again: each input
// sees the same times whatever ran before it.
class FuzzPlatform : public platform::SimPlatform {
 public:
  FuzzPlatform() : SimPlatform(screenWidth, screenHeight) {}
  void restartClock(uint64_t startMs) {
    base_ = SimPlatform::microseconds();
    start_ = startMs * 1000;
  }
  uint64_t microseconds() override {
    return SimPlatform::microseconds() - base_ + start_;
  }
  uint64_t elapsedMs() { return (SimPlatform::microseconds() - base_) / 1000; }

 private:
  uint64_t base_ = 0, start_ = 0;
};

FuzzPlatform* sim = nullptr;

// Frees a record and what it holds the way the library allocated it: the
// stroke buffer and the record with calloc, the saved screen copies through
// the platform.
void freeRecord(Menu* m) {
  for (SaveStack* s : {&m->menuArea, &m->inkArea, &m->bandArea}) {
    int n = std::clamp(s->count, 0, SAVE_STACK_CAPACITY);
    for (int i = 0; i < n; i++) platform::deleteBitmap(s->bitmaps[i]);
  }
  std::free(m->stroke);
  std::free(m);
}

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_menu: %s\n", what);
  std::abort();
}

// Labels and titles always end within their 50 bytes: an overflow from one
// slot into the next stays inside the record, where the address checker
// cannot see it.
void checkLabels(const Menu* m) {
  if (!std::memchr(m->title, 0, LABEL_CAPACITY))
    fail("a title runs past its capacity");
  for (int p = 0; p < MENU_SLOTS; p++)
    if (!std::memchr(m->label[p], 0, LABEL_CAPACITY))
      fail("a label runs past its capacity");
  if (m->itemCount < 0 || m->itemCount > MENU_SLOTS)
    fail("itemCount out of range");
}

class Session {
 public:
  explicit Session(ByteChoices& in) : in_(in) {}
  ~Session() { finish(); }

  void run() {
    // Each input starts from the library's own timing.
    static MarkingMenuSettings defaults = [] {
      MarkingMenuSettings d;
      mGetSettings(&d);
      return d;
    }();
    mSetSettings(&defaults);
    mSetTechnique(TECHNIQUE_MARKS_AND_MENUS);
    mSetMarkRecognizer(MARK_RECOGNIZER_STANDARD);
    mShowIndicators(0);
    chooseWorkArea();
    sim->restartClock(in_.chance(10) ? uint64_t(UINT32_MAX) - in_.below(60000)
                                     : platform::SimPlatform::startTickMs);
    while (!in_.exhausted() && calls_ < callsPerInput &&
           sim->elapsedMs() < virtualMsPerInput)
      step();
  }

 private:
  enum Op {
    Tree,
    Create,
    Submenu,
    AddItem,
    Result,
    ButtonsDown,
    Wait,
    Select,
    SelectAgain,
    // Single calls of a selection, in any order.
    Init,
    Shutdown,
    Press,
    Motion,
    Poll,
    Release,
    ShowConfirmation,
    EraseConfirmation,
    DrawBeneath,
    Input,
    Settings,
    Cancel,
    OpCount
  };

  // Counts a public call about to be made; with TARVEL_FUZZ_TRACE set, also
  // prints it, so that a failing input can be read and made a test.
  void call(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    calls_++;
    callsRun++;
    if (!tracing) return;
    std::fprintf(stderr, "[%6llu ms] ",
                 static_cast<unsigned long long>(sim->elapsedMs()));
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
  }

  std::string name(const Menu* m) const {
    if (!m) return "NULL";
    auto at = std::find(made_.begin(), made_.end(), m);
    return "m" + std::to_string(at - made_.begin());
  }

  // The records made since `from`, as the calls that build them again.
  void traceTree(size_t from) {
    if (!tracing) return;
    for (size_t i = from; i < made_.size(); i++) {
      const Menu* m = made_[i];
      auto untouched = [m](int p) {
        return !m->label[p][0] && !m->value[p] && !m->hasToggle[p] &&
               !m->hasChoice[p] && m->enabled[p] == 1 && !m->italic[p] &&
               !m->regularWeight[p];
      };
      if (m->parent)
        std::fprintf(stderr, "  %s = mNewSubmenu(%s, %d);\n", name(m).c_str(),
                     name(m->parent).c_str(), m->parentPosition);
      else
        std::fprintf(stderr, "  %s = mCreateMenu();\n", name(m).c_str());
      for (int p = 0; p < m->itemCount && p < MENU_SLOTS; p++) {
        if (untouched(p)) continue;
        std::fprintf(stderr,
                     "  mAddItem(%s, %s, %d, %llu, %d, %d, %d, %d, %d, %d, "
                     "%d);\n",
                     name(m).c_str(), quoted(m->label[p]).c_str(), p,
                     static_cast<unsigned long long>(m->value[p]),
                     m->hasToggle[p], m->toggleOn[p], m->hasChoice[p],
                     m->choiceOn[p], m->enabled[p], m->italic[p],
                     m->regularWeight[p]);
      }
    }
  }

  void keep(Menu* m) {
    if (m) made_.push_back(m);
  }

  bool roomForMenus() const { return made_.size() < menusPerInput; }

  Menu* menu() {
    uint32_t i = in_.below(uint32_t(made_.size()) + 1);
    return i < made_.size() ? made_[i] : nullptr;
  }

  // Clients select on the roots of their trees; now and then any record or
  // NULL is passed instead.
  Menu* root() {
    std::vector<Menu*> roots;
    for (Menu* m : made_)
      if (!m->parent) roots.push_back(m);
    if (roots.empty() || in_.chance(10)) return menu();
    return roots[in_.below(uint32_t(roots.size()))];
  }

  int position() {
    if (in_.chance(80)) return int(in_.below(MENU_SLOTS + 2)) - 1;
    return in_.anyInt();
  }

  int coordinate(int size) {
    switch (in_.below(4)) {
      case 0:
        return in_.anyInt();
      case 1:
        return in_.between(-3000, size + 3000);
      default:
        return in_.between(0, size - 1);
    }
  }

  void chooseWorkArea() {
    const Rect areas[] = {
        {0, screenWidth - 1, 0, screenHeight - 1},
        {0, screenWidth - 1, 0, screenHeight - 41},  // a panel at the bottom
        {120, screenWidth - 1, 30, screenHeight - 1},
        {300, 499, 200, 349},  // smaller than many menus
    };
    sim->setWorkArea(areas[in_.below(4)]);
  }

  void step() {
    Op op = Op(in_.below(OpCount));
    // Single calls of a selection may leave menus up on purpose; from then
    // on a selection need not leave the screen as it found it.
    if (op >= Init) inOrder_ = false;
    switch (op) {
      case Tree: {
        if (!roomForMenus()) break;
        TreeShape shape{in_.between(0, 12), in_.between(1, 64), in_.chance(50)};
        // Deep chains: one submenu per level, as deep as the input asks.
        if (in_.chance(10)) shape = TreeShape{60, 60, false};
        size_t before = made_.size();
        uint64_t treeCalls = 0;
        buildRandomTree(in_, shape, &made_, &treeCalls);
        calls_ += treeCalls;
        callsRun += treeCalls;
        for (size_t i = before; i < made_.size(); i++) checkLabels(made_[i]);
        traceTree(before);
        break;
      }
      case Create:
        if (!roomForMenus()) break;
        call("m%zu = mCreateMenu()", made_.size());
        keep(mCreateMenu());
        break;
      case Submenu: {
        if (!roomForMenus()) break;
        Menu* m = menu();
        int p = position();
        call("m%zu = mNewSubmenu(%s, %d)", made_.size(), name(m).c_str(), p);
        keep(mNewSubmenu(m, p));
        break;
      }
      case AddItem: {
        Menu* m = menu();
        std::string label = randomLabel(in_, true);
        bool nullLabel = in_.chance(5);
        int p = position();
        uintptr_t value = uintptr_t(in_.anyInt());
        uint8_t flags[7];
        for (uint8_t& f : flags)
          f = in_.chance(10) ? uint8_t(in_.below(256)) : uint8_t(in_.below(2));
        call("mAddItem(%s, %s, %d, %llu, %d, %d, %d, %d, %d, %d, %d)",
             name(m).c_str(),
             nullLabel ? "NULL" : quoted(label.c_str()).c_str(), p,
             static_cast<unsigned long long>(value), flags[0], flags[1],
             flags[2], flags[3], flags[4], flags[5], flags[6]);
        mAddItem(m, nullLabel ? nullptr : label.c_str(), p, value, flags[0],
                 flags[1], flags[2], flags[3], flags[4], flags[5], flags[6]);
        if (m) checkLabels(m);
        break;
      }
      case Result:
        result(menu());
        break;
      case Init: {
        intptr_t window = 0;
        if (in_.chance(30))
          window = in_.chance(50) ? reinterpret_cast<intptr_t>(sim->overlay())
                                  : intptr_t(in_.anyInt());
        call("mInit(0, %lld, 0, 0, 0, 0)", static_cast<long long>(window));
        mInit(0, window, 0, 0, 0, 0);
        break;
      }
      case Shutdown:
        call("mShutdown()");
        mShutdown();
        break;
      case Press: {
        Menu* m = menu();
        int x = coordinate(screenWidth), y = coordinate(screenHeight);
        call("mPress(%s, %d, %d)", name(m).c_str(), x, y);
        mPress(m, x, y);
        if (m) pressed_ = m;
        break;
      }
      case Motion: {
        Menu* m = menu();
        int x = coordinate(screenWidth), y = coordinate(screenHeight);
        call("mMotion(%s, %d, %d)", name(m).c_str(), x, y);
        mMotion(m, x, y);
        break;
      }
      case Poll:
        call("mPoll()");
        mPoll();
        break;
      case Release: {
        Menu* m = menu();
        int x = coordinate(screenWidth), y = coordinate(screenHeight);
        call("mRelease(%s, %d, %d)", name(m).c_str(), x, y);
        mRelease(m, x, y);
        break;
      }
      case ShowConfirmation: {
        Menu* m = menu();
        call("mShowConfirmation(%s)", name(m).c_str());
        mShowConfirmation(m);
        break;
      }
      case EraseConfirmation: {
        Menu* m = menu();
        call("mEraseConfirmation(%s)", name(m).c_str());
        mEraseConfirmation(m);
        break;
      }
      case DrawBeneath: {
        // A client picture of any shape, held in exactly as many bytes as
        // its rows need, so that a read past them shows.
        int x = coordinate(screenWidth), y = coordinate(screenHeight);
        int width = in_.between(-2, 300), height = in_.between(-2, 300);
        int stride = width * 4 + in_.between(-8, 16);
        size_t bytes =
            width > 0 && height > 0 && stride >= width * 4
                ? size_t(stride) * size_t(height - 1) + size_t(width) * 4
                : 0;
        std::vector<uint32_t> words((bytes + 3) / 4, in_.anyInt());
        call("mDrawBeneath(%d, %d, %d, %d, pixels, %d)", x, y, width, height,
             stride);
        mDrawBeneath(x, y, width, height, bytes ? words.data() : nullptr,
                     stride);
        break;
      }
      case ButtonsDown:
        call("mButtonsDown()");
        mButtonsDown();
        break;
      case Wait:
        sim->advance(in_.below(1000));
        break;
      case Input: {
        int x = coordinate(screenWidth), y = coordinate(screenHeight);
        sim->setPointer(x, y);
        sim->setButtonDown(in_.chance(50));
        sim->setEscapeDown(in_.chance(10));
        break;
      }
      case Select:
        select(root());
        break;
      case SelectAgain:
        // The same tree again: what one selection leaves behind meets the
        // next.
        select(lastSelected_);
        break;
      case Settings:
        settings();
        break;
      case Cancel: {
        Menu* m = menu();
        call("mCancel(%s)", name(m).c_str());
        mCancel(m);
        break;
      }
      case OpCount:
        break;
    }
  }

  // Timing the library takes, mostly short so that selections end within
  // an input's time, and values it must refuse.
  double delay() {
    switch (in_.below(8)) {
      case 0:
        return -double(in_.below(1000)) / 1000;
      case 1:
        return std::numeric_limits<double>::quiet_NaN();
      case 2:
        return 60.0 + in_.below(1000);
      default:
        return double(in_.below(700)) / 1000;
    }
  }

  void settings() {
    MarkingMenuSettings s;
    s.initialPopupDelay = delay();
    s.markingPopupDelay = delay();
    s.menuRestDelay = delay();
    s.confirmationTime = delay();
    s.cascadeRestMs = in_.chance(10) ? in_.anyInt() : in_.between(0, 700);
    call("mSetSettings({%g, %g, %g, %g, %d})", s.initialPopupDelay,
         s.markingPopupDelay, s.menuRestDelay, s.confirmationTime,
         s.cascadeRestMs);
    mSetSettings(in_.chance(5) ? nullptr : &s);
    int technique = in_.between(-1, 3);
    call("mSetTechnique(%d)", technique);
    mSetTechnique(technique);
    int recognizer = in_.between(-1, 2);
    call("mSetMarkRecognizer(%d)", recognizer);
    mSetMarkRecognizer(recognizer);
    int indicators = in_.chance(50);
    call("mShowIndicators(%d)", indicators);
    mShowIndicators(indicators);
  }

  void result(Menu* m) {
    std::vector<int> positions(resultRoom);
    std::vector<const char*> labels(resultRoom);
    std::vector<uintptr_t> values(resultRoom);
    Menu* last = nullptr;
    int lastPosition = 0;
    uintptr_t value = 0;
    bool all = in_.chance(80);
    call("mGetResult(%s, %s)", name(m).c_str(), all ? "all outputs" : "NULLs");
    int n = mGetResult(m, all ? positions.data() : nullptr,
                       all ? labels.data() : nullptr,
                       all ? values.data() : nullptr, all ? &last : nullptr,
                       all ? &lastPosition : nullptr, all ? &value : nullptr);
    if (tracing && all) {
      std::fprintf(stderr, "  -> %d levels:", n);
      for (int i = 0; i < n && i < resultRoom; i++)
        std::fprintf(stderr, " %d", positions[i]);
      std::fprintf(stderr, ", value %llu\n",
                   static_cast<unsigned long long>(value));
    }
    if (!m) {
      if (n != 0) fail("mGetResult of NULL wrote entries");
      return;
    }
    if (n < 1 || n > mTreeDepth(m)) fail("mGetResult's count is not a level");
    if (!all) return;
    for (int i = 0; i < n; i++)
      if (!labels[i] || !std::memchr(labels[i], 0, LABEL_CAPACITY))
        fail("mGetResult handed back a label that does not end");
  }

  // One selection in the order every client makes its calls: mInit, mPress,
  // mMotion and mPoll while a button is held, mRelease, the confirmation,
  // mShutdown and mGetResult. The loop polls every 1 to 16 virtual
  // milliseconds, as clients on slow and fast machines do.
  void select(Menu* root) {
    const uint32_t polls[] = {1, 1, 2, 5, 10, 16};
    uint32_t pollMs = polls[in_.below(6)];
    bool skipInit = in_.chance(3);
    GestureShape shape{Rect{0, screenWidth - 1, 0, screenHeight - 1},
                       root ? mTreeDepth(root) : 1, in_.chance(30)};
    player::Gesture gesture = randomGesture(in_, shape);
    // Now and then the pointer is reported once, or at the release, anywhere
    // in int: further than a gesture's points can lie apart.
    bool jump = in_.chance(10);
    uint64_t jumpAt = in_.below(gesture.duration() + 1);
    int jumpX = in_.anyInt(), jumpY = in_.anyInt();
    auto pointer = [&](uint64_t elapsed) {
      platform::InputState state = sim->pollInput();
      if (jump && elapsed >= jumpAt) {
        state.x = jumpX;
        state.y = jumpY;
        jump = false;
      }
      return state;
    };
    lastSelected_ = root;
    QImage before;
    if (inOrder_) before = sim->screenImage().copy();
    gesture.playOn(*sim);
    // A gesture that never lets go is released a little after it ends.
    uint64_t start = sim->elapsedMs(), limit = gesture.duration() + 2000;
    platform::InputState now = sim->pollInput();
    if (!skipInit) {
      call("mInit(0, 0, 0, 0, 0, 0)");
      mInit(0, 0, 0, 0, 0, 0);
    }
    call("mPress(%s, %d, %d)", name(root).c_str(), now.x, now.y);
    mPress(root, now.x, now.y);
    if (root) pressed_ = root;
    for (;;) {
      call("mButtonsDown()");
      if (!mButtonsDown() || sim->pollInput().escapeDown) break;
      if (sim->elapsedMs() - start > limit || calls_ >= callsPerInput) break;
      now = pointer(sim->elapsedMs() - start);
      call("mMotion(%s, %d, %d)", name(root).c_str(), now.x, now.y);
      mMotion(root, now.x, now.y);
      call("mPoll()");
      mPoll();
      sim->advance(pollMs);
    }
    now = pointer(UINT64_MAX);
    call("mRelease(%s, %d, %d)", name(root).c_str(), now.x, now.y);
    mRelease(root, now.x, now.y);
    call("mShowConfirmation(%s)", name(root).c_str());
    mShowConfirmation(root);
    sim->advance(100);
    call("mEraseConfirmation(%s)", name(root).c_str());
    mEraseConfirmation(root);
    call("mShutdown()");
    mShutdown();
    sim->setInputScript({});
    sim->setButtonDown(false);
    sim->setEscapeDown(false);
    if (inOrder_ && root && !root->parent) {
      if (!(sim->screenImage() == before))
        fail("a selection left something on the screen");
      // A copy kept past its selection is put back over whatever the
      // screen shows when that stack is next restored.
      for (const Menu* m : made_)
        if (m->menuArea.count || m->inkArea.count || m->bandArea.count)
          fail("a selection left copies of the screen held");
    }
    result(root);
  }

  // Ends what the input left going, so that nothing of it reaches the next
  // input, and frees every record it made.
  void finish() {
    if (pressed_) {
      call("mRelease(%s, 0, 0)", name(pressed_).c_str());
      mRelease(pressed_, 0, 0);
    }
    call("mShutdown()");
    mShutdown();
    for (Menu* m : made_) {
      checkLabels(m);
      freeRecord(m);
    }
    made_.clear();
    sim->setInputScript({});
  }

  ByteChoices& in_;
  std::vector<Menu*> made_;
  Menu* pressed_ = nullptr;
  Menu* lastSelected_ = nullptr;
  bool inOrder_ = true;  // every selection so far made in a client's order
  uint64_t calls_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/tarvel-fuzz-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  // Kept for the whole process, like a client's platform.
  sim = new FuzzPlatform();
  mSetReportHook(countReport);
  mTraceUseBaseForTesting(untracedBase);
  tracing = std::getenv("TARVEL_FUZZ_TRACE") != nullptr;
  std::atexit(printTotals);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteChoices in(data, size);
  inputsRun++;
  Session session(in);
  session.run();
  return 0;
}
