#include "display/save_under.h"

#include <gtest/gtest.h>

#include "display/drawing.h"
#include "marks/stroke.h"
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
