#include "player/sim_participant.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/hit_test.h"
#include "player/sim_gesture.h"

namespace player {

namespace {

constexpr double pi = 3.14159265358979323846;

// The participant's hand, in pixels and milliseconds.
constexpr uint32_t shortestReactionMs = 150;  // nobody answers faster
constexpr double legMinPx = 80, legMaxPx = 110;
constexpr double markMinSpeed = 1.0, markMaxSpeed = 2.0;  // px per ms
constexpr double hookMinPx = 5, hookMaxPx = 8;
constexpr uint32_t hookMs = 10;
constexpr uint32_t releaseLagMaxMs = 30;  // end of a mark to the release
// Into the menu: far enough past the circle that a rest opens a submenu.
constexpr int radialReachPx = 60;
constexpr int beyondCirclePx = 12;
constexpr double menuSpeed = 0.6;  // px per ms, an aimed movement
constexpr uint32_t settleMs = 60;  // on the leaf before letting go
// A menu that has not come up by then never will: let go where it is.
constexpr uint32_t giveUpMs = 3000;
// Mice report at 100 Hz; the position changes only at report times.
constexpr uint32_t reportMs = 10;

// The direction of radial position p, p * 45 degrees clockwise from north,
// turned by `noise` degrees, as a unit step on the screen (y downwards).
void stepOf(int p, double noise, double* dx, double* dy) {
  double a = (p * 45.0 + noise) * pi / 180.0;
  *dx = std::sin(a);
  *dy = -std::cos(a);
}

// splitmix64: the same numbers from the same seed with every compiler and
// standard library, which the standard's distributions do not promise.
uint64_t nextRandom(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// In [0, 1).
double uniform(uint64_t& state) {
  return double(nextRandom(state) >> 11) * 0x1.0p-53;
}

double uniform(uint64_t& state, double low, double high) {
  return low + (high - low) * uniform(state);
}

// Box-Muller; 1 - u keeps the logarithm's argument above 0.
double normal(uint64_t& state) {
  double u = 1.0 - uniform(state);
  double v = uniform(state);
  return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * pi * v);
}

// Whether every step of `path` is a radial one.
bool allRadial(const std::vector<int>& path) {
  for (int p : path)
    if (p < 0 || p >= RADIAL_SLOTS) return false;
  return true;
}

bool inListRow(const Menu* m, int x, int y) {
  for (int p = RADIAL_SLOTS; p < m->itemCount && p < MENU_SLOTS; p++) {
    const Rect& r = m->itemRect[p];
    if (m->label[p][0] && x >= r.xmin && x <= r.xmax && y >= r.ymin &&
        y <= r.ymax)
      return true;
  }
  return false;
}

// Follows the menus live: waits for each level to come up, aims at its
// item, rests, and lets go on the leaf or when the menu never comes.
class MenuAnswer {
 public:
  MenuAnswer(const Menu* root, std::vector<int> path, int x, int y,
             uint32_t pressMs)
      : root_(root), path_(std::move(path)), x_(x), y_(y), pressMs_(pressMs) {
    MarkingMenuSettings s;
    mGetSettings(&s);
    // A submenu comes after a rest, a cascade after a shorter one; beyond
    // both and some patience, it is not coming.
    patienceMs_ =
        uint32_t(s.menuRestDelay * 1000) + uint32_t(s.cascadeRestMs) + giveUpMs;
    firstPatienceMs_ = uint32_t(s.initialPopupDelay * 1000) + giveUpMs;
  }

  InputState at(uint32_t ms) {
    if (ms < pressMs_) return InputState{x_, y_, false, false};
    if (phase_ == Phase::Pressed) {
      phase_ = Phase::AwaitMenu;
      since_ = ms;
    }
    uint32_t reported = ms - ms % reportMs;
    switch (phase_) {
      case Phase::Pressed:
      case Phase::AwaitMenu: {
        if (menuUp())
          aim(reported);
        else if (ms - since_ > firstPatienceMs_)
          phase_ = Phase::Released;
        break;
      }
      case Phase::Moving: {
        double f = moveMs_ ? double(reported - since_) / moveMs_ : 1.0;
        if (f >= 1.0) {
          x_ = toX_;
          y_ = toY_;
          arrive(ms);
        } else {
          x_ = fromX_ + int(std::lround((toX_ - fromX_) * f));
          y_ = fromY_ + int(std::lround((toY_ - fromY_) * f));
        }
        break;
      }
      case Phase::AwaitSubmenu: {
        if (root_->mode != 0 && root_->current == expected_) {
          level_++;
          aim(reported);
        } else if (ms - since_ > patienceMs_) {
          phase_ = Phase::Released;
        }
        break;
      }
      case Phase::Settling: {
        if (ms - since_ >= settleMs) phase_ = Phase::Released;
        break;
      }
      case Phase::Released:
        break;
    }
    return InputState{x_, y_, phase_ != Phase::Released, false};
  }

 private:
  enum class Phase {
    Pressed,
    AwaitMenu,
    Moving,
    AwaitSubmenu,
    Settling,
    Released
  };

  // The menu of the level being answered, as the path reaches it.
  const Menu* levelMenu() const {
    const Menu* m = root_;
    for (size_t k = 0; k < level_ && m; k++) m = m->submenu[path_[k]];
    return m;
  }

  bool menuUp() const {
    return root_->mode != 0 && root_->current && root_->current == levelMenu();
  }

  // Starts the movement into the item of this level of the menu now shown.
  void aim(uint32_t now) {
    const Menu* m = levelMenu();
    if (!m || level_ >= path_.size()) {
      phase_ = Phase::Released;
      return;
    }
    int p = path_[level_];
    if (p < RADIAL_SLOTS) {
      double dx, dy;
      stepOf(p, 0, &dx, &dy);
      int reach = std::max(radialReachPx, int(m->radius) + beyondCirclePx);
      // From the centre disc as drawn: where a menu pushed to fit opened.
      IntPoint from = mHitCentre(m);
      toX_ = from.x + int(std::lround(dx * reach));
      toY_ = from.y + int(std::lround(dy * reach));
      // A list right under the pie would take the pointer: aim at the
      // item's own box instead, where a rest opens its submenu as well.
      const Rect& box = m->itemRect[p];
      if (inListRow(m, toX_, toY_) && box.xmax > box.xmin) {
        toX_ = (box.xmin + box.xmax) / 2;
        toY_ = (box.ymin + box.ymax) / 2;
      }
    } else {
      const Rect& r = m->itemRect[p];
      toX_ = (r.xmin + r.xmax) / 2;
      toY_ = (r.ymin + r.ymax) / 2;
    }
    fromX_ = x_;
    fromY_ = y_;
    double distance = std::hypot(toX_ - fromX_, toY_ - fromY_);
    moveMs_ = uint32_t(distance / menuSpeed);
    since_ = now;
    phase_ = Phase::Moving;
  }

  // On the item: rest for its submenu, or settle on the leaf and let go.
  void arrive(uint32_t now) {
    const Menu* m = levelMenu();
    int p = path_[level_];
    expected_ = m->submenu[p];
    since_ = now;
    bool last = level_ + 1 >= path_.size();
    phase_ = last || !expected_ ? Phase::Settling : Phase::AwaitSubmenu;
  }

  const Menu* root_;
  std::vector<int> path_;
  int x_, y_;
  uint32_t pressMs_;
  uint32_t patienceMs_ = giveUpMs;
  uint32_t firstPatienceMs_ = giveUpMs;
  Phase phase_ = Phase::Pressed;
  size_t level_ = 0;
  uint32_t since_ = 0;
  int fromX_ = 0, fromY_ = 0, toX_ = 0, toY_ = 0;
  uint32_t moveMs_ = 0;
  const Menu* expected_ = nullptr;
};

}  // namespace

SimParticipant::SimParticipant(uint64_t seed, ParticipantStyle style)
    : state_(seed), style_(style) {}

uint32_t SimParticipant::answer(SimPlatform& sim, const Menu* root,
                                const std::vector<int>& path, bool byMark,
                                int x, int y) {
  double drawn = style_.reactionMs + style_.reactionSpreadMs * normal(state_);
  uint32_t reaction = drawn > shortestReactionMs ? uint32_t(std::lround(drawn))
                                                 : shortestReactionMs;
  if (!root || path.empty() || !byMark || !allRadial(path)) {
    auto menu = std::make_shared<MenuAnswer>(root, path, x, y, reaction);
    sim.setInputScript([menu](uint32_t ms) { return menu->at(ms); });
    return reaction;
  }
  Gesture g;
  g.moveTo(x, y, 0).rest(reaction).press(x, y);
  double px = x, py = y;
  auto to = [&](double nx, double ny, uint32_t ms) {
    px = nx;
    py = ny;
    g.moveTo(int(std::lround(px)), int(std::lround(py)), ms);
  };
  auto hook = [&] {
    double a = uniform(state_, 0, 2 * pi),
           length = uniform(state_, hookMinPx, hookMaxPx);
    to(px + length * std::sin(a), py - length * std::cos(a), hookMs);
  };
  if (uniform(state_) < 0.5) hook();
  for (int p : path) {
    double dx, dy;
    stepOf(p, style_.noiseDegrees * normal(state_), &dx, &dy);
    double length = uniform(state_, legMinPx, legMaxPx);
    double speed = uniform(state_, markMinSpeed, markMaxSpeed);
    to(px + dx * length, py + dy * length, uint32_t(length / speed));
  }
  if (uniform(state_) < 0.5) hook();
  g.rest(uint32_t(uniform(state_, 0, releaseLagMaxMs))).release();
  g.playOn(sim);
  return reaction;
}

}  // namespace player
