#include "display/save_under.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <climits>

#include "core/stroke.h"
#include "display/drawing.h"
#include "platform/sim_platform.h"

namespace {

class SaveUnder : public ::testing::Test {
 protected:
  void SetUp() override { mInit(0, 0, 0, 0, 0, 0); }
  void TearDown() override { mShutdown(); }
  void fill(int xmin, int xmax, int ymin, int ymax, Colour c) {
    mSetColor(c);
    Rect r{xmin, xmax, ymin, ymax};
    mFillRect(&r);
  }
  platform::SimPlatform sim{640, 480};
};

}  // namespace

TEST_F(SaveUnder, OverlappingSavesRestoreThePictureFromBefore) {
  QImage before = sim.screenImage().copy();
  SaveStack& stack = *new SaveStack{};
  mSaveRect(&stack, 100, 100, 80, 60);
  fill(100, 179, 100, 159, platform::rgb(255, 0, 0));
  mSaveRect(&stack, 150, 120, 100, 100);  // overlaps the first
  fill(150, 249, 120, 219, platform::rgb(0, 0, 255));
  EXPECT_NE(sim.screenImage(), before);
  mRestoreAll(&stack);
  EXPECT_EQ(stack.count, 0);
  EXPECT_EQ(sim.screenImage(), before);
  mRestoreAll(&stack);  // empty: nothing changes
  EXPECT_EQ(sim.screenImage(), before);
  delete &stack;
}

TEST_F(SaveUnder, FullStackDropsFurtherSaves) {
  auto* stack = new SaveStack{};
  for (int i = 0; i < SAVE_STACK_CAPACITY; i++) mSaveRect(stack, i, 0, 2, 2);
  EXPECT_EQ(stack->count, SAVE_STACK_CAPACITY);
  mSaveRect(stack, 300, 300, 10, 10);
  EXPECT_EQ(stack->count, SAVE_STACK_CAPACITY);
  mSaveRect(stack, 0, 0, 0, 10);  // empty sizes are never saved
  mRestoreAll(stack);
  EXPECT_EQ(stack->count, 0);
  delete stack;
}

TEST_F(SaveUnder, SavesAtTheScreenEdgeRestoreWhatIsOnScreen) {
  QImage before = sim.screenImage().copy();
  auto* stack = new SaveStack{};
  mSaveRect(stack, -20, -20, 60, 60);
  mSaveRect(stack, 600, 440, 100, 100);
  fill(0, 39, 0, 39, 0);
  fill(600, 639, 440, 479, 0);
  mRestoreAll(stack);
  EXPECT_EQ(sim.screenImage(), before);
  delete stack;
}

TEST_F(SaveUnder, BandMenuAndInkAreas) {
  Menu* root = mCreateMenu();
  root->centreX = root->lastX = 200;
  root->centreY = root->lastY = 200;
  mSaveBandArea(root);
  ASSERT_EQ(root->bandArea.count, 1);
  EXPECT_EQ(root->bandArea.x[0], 197);
  EXPECT_EQ(root->bandArea.width[0], 7);
  EXPECT_EQ(root->bandArea.height[0], 7);

  // The menu area covers every box, the parent's centre, and one pixel more
  // right and down.
  Menu* sub = mNewSubmenu(root, 0);
  sub->centreX = 300;
  sub->centreY = 250;
  for (int i = 0; i < sub->itemCount; i++)
    sub->itemRect[i] = Rect{290, 330, 240 + i, 260};
  mSaveMenuArea(sub);
  ASSERT_EQ(sub->menuArea.count, 1);
  EXPECT_EQ(sub->menuArea.x[0], 200);
  EXPECT_EQ(sub->menuArea.y[0], 200);
  EXPECT_EQ(sub->menuArea.width[0], 132);
  EXPECT_EQ(sub->menuArea.height[0], 62);

  root->stroke->count = 0;
  mSaveInkSegment(root);  // fewer than two points: nothing
  EXPECT_EQ(root->inkArea.count, 0);
  root->stroke->points[0] = IntPoint{10, 50};
  root->stroke->points[1] = IntPoint{30, 40};
  root->stroke->count = 2;
  mSaveInkSegment(root);
  ASSERT_EQ(root->inkArea.count, 1);
  EXPECT_EQ(root->inkArea.x[0], 7);
  EXPECT_EQ(root->inkArea.y[0], 37);
  EXPECT_EQ(root->inkArea.width[0], 27);
  EXPECT_EQ(root->inkArea.height[0], 17);

  // Erasing a menu drawn as an ancestor leaves its band alone.
  sub->drawnAsParent = 1;
  sub->lastX = sub->lastY = 260;
  mSaveBandArea(sub);
  mEraseMenu(sub);
  EXPECT_EQ(sub->bandArea.count, 1);
  EXPECT_EQ(sub->menuArea.count, 0);
  EXPECT_EQ(sub->drawnAsParent, 0);
  mEraseMenu(sub);
  EXPECT_EQ(sub->bandArea.count, 0);
  mRestoreAll(&root->bandArea);
  mRestoreInkArea(root);
}

TEST_F(SaveUnder, SavesKeepOnlyWhatIsOnTheScreenAndNothingTwice) {
  QImage before = sim.screenImage().copy();
  auto* stack = new SaveStack{};
  mSaveRect(stack, -20, -30, 60, 60);
  ASSERT_EQ(stack->count, 1);
  EXPECT_EQ(stack->x[0], 0);
  EXPECT_EQ(stack->y[0], 0);
  EXPECT_EQ(stack->width[0], 40);
  EXPECT_EQ(stack->height[0], 30);
  mSaveRect(stack, 5, 5, 10, 10);    // inside the first: restoring it suffices
  mSaveRect(stack, 640, 0, 50, 50);  // wholly off the screen
  mSaveRect(stack, INT_MIN, INT_MIN, 7, 7);
  mSaveRect(stack, INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // ends at -1
  mSaveRect(stack, INT_MAX - 10, 0, INT_MAX, 10);
  EXPECT_EQ(stack->count, 1);
  // The whole screen: more than a screenful with the first, so folded into
  // one copy, which holds every later save.
  mSaveRect(stack, -5, -5, INT_MAX, INT_MAX);
  fill(0, 639, 0, 479, 0);
  mSaveRect(stack, 0, 0, 640, 480);
  EXPECT_EQ(stack->count, 1);
  EXPECT_EQ(mSavedPixels(stack), 640 * 480);
  mRestoreAll(stack);
  EXPECT_EQ(sim.screenImage(), before);
  delete stack;
}

// Copies that do not nest would add up without bound: past a screenful
// they are folded into one, and restoring still gives the screen from
// before the first.
TEST_F(SaveUnder, AStackHoldsNoMoreThanAScreenful) {
  QImage before = sim.screenImage().copy();
  auto* stack = new SaveStack{};
  for (int i = 0; i < 20; i++) {
    mSaveRect(stack, -3000, 10 * i, 6000, 300);
    fill(i * 20, 639, 10 * i, 10 * i + 299, platform::rgb(i * 12, 0, 0));
    EXPECT_LE(mSavedPixels(stack), 640 * 480);
  }
  EXPECT_EQ(stack->count, 1);
  mRestoreAll(stack);
  EXPECT_EQ(sim.screenImage(), before);
  delete stack;
}

// The areas under ink and band from points at the ends of the int range:
// only the screen's part of them is saved, and restoring puts it back.
TEST_F(SaveUnder, InkAndBandAreasAtTheEndsOfTheIntRange) {
  QImage before = sim.screenImage().copy();
  Menu* root = mCreateMenu();
  StrokeBuffer* s = root->stroke;
  s->count = 2;
  for (IntPoint a : {IntPoint{INT_MIN, 0}, IntPoint{INT_MAX - 200, 100}}) {
    s->points[0] = a;
    s->points[1] = IntPoint{a.x + 200, a.y};
    mSaveInkSegment(root);
  }
  EXPECT_EQ(root->inkArea.count, 0);
  s->points[0] = IntPoint{INT_MIN, 50};
  s->points[1] = IntPoint{INT_MAX, 60};
  mSaveInkSegment(root);
  ASSERT_EQ(root->inkArea.count, 1);
  EXPECT_EQ(root->inkArea.width[0], 640);
  EXPECT_EQ(root->inkArea.height[0], 17);
  root->centreX = INT_MAX;
  root->centreY = INT_MIN;
  root->lastX = INT_MIN;
  root->lastY = INT_MAX;
  mSaveBandArea(root);
  EXPECT_EQ(mSavedPixels(&root->bandArea), 640 * 480);
  fill(0, 639, 0, 479, 0);
  mRestoreBandArea(root);
  mRestoreInkArea(root);
  EXPECT_EQ(sim.screenImage(), before);
}

namespace {

Menu* eightItemRoot() {
  Menu* root = mCreateMenu();
  for (int p = 0; p < RADIAL_SLOTS; p++)
    mAddItem(root, "Item", p, 0, 0, 0, 0, 0, 1, 0, 1);
  return root;
}

}  // namespace

// Selections at the ends of the int range: the menu that pops up is moved
// onto the screen, its band reaches to the pointer far off it, and only the
// screen's part of everything is saved and put back.
TEST_F(SaveUnder, MarksAtTheEndsOfTheIntRangeLeaveTheScreenAsItWas) {
  QImage before = sim.screenImage().copy();
  Menu* root = eightItemRoot();
  mPress(root, INT_MIN, 0);
  mRelease(root, INT_MIN, 0);
  EXPECT_EQ(sim.screenImage(), before);

  mPress(root, INT_MAX - 200, 100);
  for (int step = 1; step <= 10; step++) {
    sim.advance(10);
    mMotion(root, INT_MAX - 200 + 20 * step, 100);
  }
  for (int rest = 0; rest < 100 && root->mode == 0; rest++) {
    sim.advance(10);
    mPoll();
  }
  EXPECT_EQ(root->mode, 1);
  EXPECT_NE(sim.screenImage(), before);
  EXPECT_LE(mSavedPixels(&root->menuArea) + mSavedPixels(&root->bandArea),
            640 * 480);
  mRelease(root, INT_MAX, 100);
  EXPECT_EQ(sim.screenImage(), before);
}

// A client picture shown beneath the library's drawing: seen where nothing
// hides it, never over a drawn pixel, and in full once every drawing is
// taken away again, whichever copy held which part.
TEST_F(SaveUnder, PicturesGoBeneathTheDrawing) {
  const platform::Colour red = platform::rgb(255, 0, 0);
  QImage before = sim.screenImage().copy();
  auto* first = new SaveStack{};
  auto* second = new SaveStack{};
  // A box with a hole drawn in two frames, then text over its edge, and a
  // later save whose copy holds both drawn and undrawn pixels.
  mSaveRect(first, 100, 100, 60, 60);
  fill(100, 159, 100, 109, red);
  fill(100, 109, 110, 159, red);
  mSaveRect(second, 90, 90, 100, 100);
  mSetColor(platform::rgb(0, 0, 0));
  drawState.screen->selectFont({"Liberation Sans", 20, 700, false});
  drawState.screen->drawText(104, 130, "Tools", 0);
  mFlush();
  QImage drawn = sim.screenImage().copy();

  QImage picture(80, 80, QImage::Format_RGB32);
  picture.fill(qRgb(10, 200, 30));
  auto draw = [&](const QImage& p, int x, int y) {
    return mDrawBeneath(x, y, p.width(), p.height(),
                        reinterpret_cast<const uint32_t*>(p.constBits()),
                        int(p.bytesPerLine()));
  };
  ASSERT_EQ(draw(picture, 95, 95), 1);
  const QImage& shown = sim.screenImage();
  int pictured = 0;
  for (int y = 0; y < 200; y++)
    for (int x = 0; x < 200; x++) {
      bool inside = x >= 95 && x < 175 && y >= 95 && y < 175;
      if (drawn.pixel(x, y) != before.pixel(x, y) || !inside) {
        ASSERT_EQ(shown.pixel(x, y), drawn.pixel(x, y)) << x << "," << y;
      } else {
        ASSERT_EQ(shown.pixel(x, y), qRgb(10, 200, 30)) << x << "," << y;
        pictured++;
      }
    }
  EXPECT_GT(pictured, 2000);
  // Taken away newest first, the drawing leaves the picture and the
  // desktop around it.
  mRestoreAll(second);
  mRestoreAll(first);
  QImage expected = before.copy();
  QPainter(&expected).drawImage(95, 95, picture);
  EXPECT_EQ(sim.screenImage(), expected);

  // A copy freed without being put back (a program that frees its own
  // records) is never drawn into afterwards.
  auto* third = new SaveStack{};
  mSaveRect(third, 90, 90, 40, 40);
  ASSERT_EQ(third->count, 1);
  platform::deleteBitmap(third->bitmaps[0]);
  third->count = 0;
  EXPECT_EQ(draw(picture, 95, 95), 1);
  delete third;

  // Nothing to draw on, or nothing sensible to draw: the client draws.
  EXPECT_EQ(draw(picture, -1000, -1000), 1);
  const auto* words = reinterpret_cast<const uint32_t*>(picture.constBits());
  EXPECT_EQ(mDrawBeneath(0, 0, 10, 10, nullptr, 40), 0);
  EXPECT_EQ(mDrawBeneath(0, 0, 10, 10, words, 39), 0);  // rows overlap
  EXPECT_EQ(mDrawBeneath(0, 0, -1, 10, words, 40), 0);
  mShutdown();
  EXPECT_EQ(draw(picture, 0, 0), 0);
  delete first;
  delete second;
}
