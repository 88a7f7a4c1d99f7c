#include "tools/mark_explanation.h"

#include <cmath>
#include <cstdio>

#include "core/hit_test.h"
#include "core/menu_tree.h"
#include "core/stroke.h"
#include "display/placement.h"
#include "marks/interpretation.h"
#include "marks/segmentation.h"
#include "platform/sim_platform.h"
#include "study/study_menus.h"

namespace {

constexpr int screenWidth = 1280, screenHeight = 1024;
// The standard segmentation searches corners over windows this fraction of
// the expected leg, and a corner turns by at least this fraction of the
// widest menu's sector.
constexpr float windowFraction = 0.1f;
constexpr float sectorFraction = 0.5f;
constexpr uint32_t labelSeed = 1;  // generated trees' labels
constexpr int fanSteps = 1440;     // directions tried per sector fan

struct TreeShape {
  const char* name;
  int breadth, depth;  // breadth 0: the practice menu
};
constexpr TreeShape trees[] = {
    {"practice", 0, 2}, {"8x2", 8, 2}, {"4x3", 4, 3}, {"8x3", 8, 3}};

const TreeShape* shapeOf(const std::string& name) {
  for (const TreeShape& t : trees)
    if (name == t.name) return &t;
  return nullptr;
}

float degreesOf(float dx, float dy) {
  float d = float(std::atan2(-dy, dx) * 180.0 / M_PI);
  // Adding 0 turns a -0 (straight east, drawn from right to left of 0) into 0.
  return (d < 0 ? d + 360 : d) + 0.0f;
}

// The item each direction around the centre reads as, and where it changes.
SectorFan fanOf(const Menu* m, float x, float y) {
  SectorFan fan;
  fan.x = x;
  fan.y = y;
  auto itemAt = [m](int step) {
    double r = step * 2 * M_PI / fanSteps;
    return mItemInDirection(m, float(std::cos(r)), float(-std::sin(r)));
  };
  // Start where an item begins, so that no run wraps around.
  int first = 0;
  while (first < fanSteps && itemAt(first) == itemAt(first - 1 + fanSteps))
    first++;
  if (first == fanSteps) first = 0;
  int runStart = first, runItem = itemAt(first);
  for (int k = 1; k <= fanSteps; k++) {
    int step = (first + k) % fanSteps;
    int item = itemAt(step);
    if (item == runItem && k < fanSteps) continue;
    float from = runStart * 360.0f / fanSteps,
          to = (first + k) * 360.0f / fanSteps;
    if (runItem > 0)
      fan.labels.push_back(
          {std::fmod((from + to) / 2, 360.0f), m->label[runItem - 1]});
    if (k < fanSteps || fan.labels.size() > 1)
      fan.boundaries.push_back(std::fmod(to, 360.0f));
    runStart = first + k;
    runItem = item;
  }
  return fan;
}

ExplainedLeg legOf(const Point& a, const Point& b) {
  return {a.x, a.y, b.x, b.y, degreesOf(b.x - a.x, b.y - a.y)};
}

// The path the tree's `selected` fields hold, and the menus along it.
PathReading pathOf(Menu* root, std::vector<Menu*>* menus) {
  int positions[MENU_DEPTH_LIMIT];
  const char* labels[MENU_DEPTH_LIMIT];
  int n =
      mGetResult(root, positions, labels, nullptr, nullptr, nullptr, nullptr);
  PathReading path;
  std::string names, numbers;
  Menu* m = root;
  for (int i = 0; i < n && positions[i] >= 0; i++) {
    if (menus) menus->push_back(m);
    if (i) {
      names += " > ";
      numbers += "/";
    }
    names += labels[i];
    numbers += std::to_string(positions[i]);
    m = m ? m->submenu[positions[i]] : nullptr;
  }
  if (names.empty())
    path.text = "nothing";
  else
    path.text = names + " (" + numbers + ")" +
                (n > 0 && positions[n - 1] < 0 ? ", ending in a centre" : "");
  return path;
}

// Why the standard recognizer reads nothing, before any leg is looked at.
std::string rejection(Menu* root, const PointList* stroke) {
  if (mStrokeTooShort(root)) return "shorter than 16 pixels";
  double seconds = root->releaseTime - root->pressTime;
  double speed = mStrokeLength(root) / seconds;
  if (speed > MARKSPEEDLIMIT) {
    char text[64];
    std::snprintf(text, sizeof text, "faster than %d px/s", MARKSPEEDLIMIT);
    return text;
  }
  if (strokeOverflow) return "more samples than a mark keeps";
  if (mTreeDepth(root) > 1) {
    PointList out;
    uint8_t scribble = 0;
    mIsScribble(root, stroke, &out, &scribble);
    if (scribble) return "a scribble";
  }
  return "";
}

}  // namespace

bool mKnownMarkTree(const std::string& name) { return shapeOf(name); }

bool mExplainMark(const MarkInput& input, const std::string& tree,
                  MarkExplanation* out, std::string* error) {
  const TreeShape* shape = shapeOf(tree);
  if (!shape) {
    *error = "unknown tree \"" + tree + "\": practice, 8x2, 4x3 or 8x3";
    return false;
  }
  if (input.points.empty()) {
    *error = "the stroke has no points";
    return false;
  }
  MarkExplanation& e = *out;
  e.tree = tree;
  int pressX = screenWidth / 2, pressY = screenHeight / 2;
  e.offsetX = float(pressX - input.points[0].x);
  e.offsetY = float(pressY - input.points[0].y);

  platform::SimPlatform sim(screenWidth, screenHeight);
  mInit(0, 0, 0, 0, 0, 0);
  StudyMenu menu;
  menu.name = tree;
  menu.kind =
      shape->breadth ? StudyMenu::Kind::Generated : StudyMenu::Kind::Practice;
  menu.breadth = shape->breadth;
  menu.depth = shape->depth;
  // Menus live as long as the program; kept here, they stay reachable.
  static Menu* root = nullptr;
  root = mBuildStudyMenu(menu, labelSeed).root;
  if (!root) {
    *error = "no memory for the menu";
    mShutdown();
    return false;
  }
  // Placement sets the radius that the length test compares with.
  mPlaceMenu(root, pressX, pressY);

  // The stroke as a selection records it.
  root->pressTime = root->nowTime = 0;
  mStrokeReset(root);
  strokeOverflow = 0;
  for (const MarkSamplePoint& p : input.points) {
    MarkSamplePoint s{p.x + e.offsetX, p.y + e.offsetY, p.tMs};
    e.drawn.push_back(s);
    root->nowTime = std::fmax(root->nowTime, s.tMs / 1000.0);
    mStrokeAdd(root, int(std::lround(s.x)), int(std::lround(s.y)));
  }
  root->releaseTime = root->nowTime;
  e.durationMs = float(root->releaseTime * 1000.0);
  e.overflow = strokeOverflow;
  PointList stroke;
  mStrokeToList(root->stroke, &stroke);
  e.kept = stroke.count;
  e.lengthPx = mListLength(&stroke);

  int depth = mTreeDepth(root);
  int widest = mWidestRadialPart(root);
  e.expectedLeg = e.lengthPx / float(depth);
  e.window = e.expectedLeg * windowFraction;
  e.cornerTurn = 360.0f / float(widest > 0 ? widest : 1) * sectorFraction;
  PointList corners;
  mFindArticulationPoints(root, &stroke, e.expectedLeg, 1.0f, &corners);
  for (int i = 0; i < corners.count; i++)
    e.corners.push_back(
        {corners.points[i].x, corners.points[i].y, corners.points[i].a});

  std::string why = rejection(root, &stroke);
  if (why.empty()) {
    PointList segments;
    if (depth == 1 && stroke.count > 0) {
      mListClear(&segments);
      mListAppend(&segments, &stroke.points[0]);
      mListAppend(&segments, &stroke.points[stroke.count - 1]);
    } else {
      uint8_t scribble = 0;
      mIsScribble(root, &stroke, &segments, &scribble);
      mReshapeMark(root, &segments);
    }
    for (int i = 0; i + 1 < segments.count; i += 2)
      e.legs.push_back(legOf(segments.points[i], segments.points[i + 1]));
  }

  mInterpretMark(root, &stroke);
  std::vector<Menu*> menus;
  e.standard = pathOf(root, &menus);
  if (!why.empty()) e.standard.text += " (" + why + ")";
  e.fans.push_back(fanOf(root, float(pressX), float(pressY)));
  if (!e.legs.empty()) e.fans.back().legDegrees = e.legs[0].directionDegrees;
  for (size_t i = 1; i < menus.size() && i < e.legs.size(); i++) {
    e.fans.push_back(fanOf(menus[i], e.legs[i].fromX, e.legs[i].fromY));
    e.fans.back().legDegrees = e.legs[i].directionDegrees;
  }

  e.legReading = mExplainLegReading(root, &stroke);
  mInterpretWithLegRecognizer(root, &stroke);
  e.legPath = pathOf(root, nullptr);
  mShutdown();
  return true;
}

namespace {

// "corner x y turn=..." and "leg n: ... direction=..." lines, in the
// input's frame, each after `prefix`.
void cornerAndLegLines(const MarkExplanation& e, const char* prefix,
                       const std::vector<ExplainedCorner>& corners,
                       const std::vector<ExplainedLeg>& legs,
                       std::vector<std::string>* lines) {
  char text[256];
  float ox = e.offsetX, oy = e.offsetY;
  for (const ExplainedCorner& c : corners) {
    std::snprintf(text, sizeof text, "%scorner %.0f %.0f turn=%.1f", prefix,
                  double(c.x - ox), double(c.y - oy), double(c.turnDegrees));
    lines->push_back(text);
  }
  for (size_t i = 0; i < legs.size(); i++) {
    const ExplainedLeg& l = legs[i];
    std::snprintf(
        text, sizeof text, "%sleg %zu: %.0f %.0f -> %.0f %.0f direction=%.1f",
        prefix, i + 1, double(l.fromX - ox), double(l.fromY - oy),
        double(l.toX - ox), double(l.toY - oy), double(l.directionDegrees));
    lines->push_back(text);
  }
}

}  // namespace

std::vector<std::string> mExplanationLines(const MarkExplanation& e) {
  std::vector<std::string> lines;
  char text[256];
  std::snprintf(text, sizeof text,
                "mark: %zu points (%d kept), %.1f px in %.0f ms, tree %s",
                e.drawn.size(), e.kept, double(e.lengthPx),
                double(e.durationMs), e.tree.c_str());
  lines.push_back(text);
  std::snprintf(text, sizeof text,
                "segmentation: expected leg %.1f px, window %.1f px, corner "
                "turn >= %.1f",
                double(e.expectedLeg), double(e.window), double(e.cornerTurn));
  lines.push_back(text);
  cornerAndLegLines(e, "", e.corners, e.legs, &lines);
  lines.push_back("standard: " + e.standard.text);
  cornerAndLegLines(e, "legs ", e.legReading.corners, e.legReading.legs,
                    &lines);
  lines.push_back("legs: " + e.legPath.text);
  return lines;
}
