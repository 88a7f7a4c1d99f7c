#include "core/stroke.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim_platform.h"
#include "report_capture.h"

TEST(StrokeBuffer, LengthIsASumOfTruncatedSegments) {
  Menu* root = mCreateMenu();
  ASSERT_NE(root->stroke, nullptr);
  mStrokeAdd(root, 0, 0);
  mStrokeAdd(root, 3, 4);
  mStrokeAdd(root, 3, 4);
  EXPECT_EQ(root->stroke->count, 3);
  EXPECT_EQ(mStrokeLength(root), 5);
  EXPECT_TRUE(mStrokeTooShort(root));
  mStrokeAdd(root, 4, 5);  // sqrt(2) counts as 1
  EXPECT_EQ(mStrokeLength(root), 6);
  mStrokeAdd(root, 4, 15);
  EXPECT_FALSE(mStrokeTooShort(root));  // 16 is long enough
  mStrokeReset(root);
  EXPECT_EQ(root->stroke->count, 0);
  EXPECT_EQ(mStrokeLength(root), 0);
}

TEST(StrokeBuffer, TheShortestMarkGrowsWithThePixelRatio) {
  platform::SimPlatform sim;
  sim.setDevicePixelRatio(2);
  mInit(0, 0, 0, 0, 0, 0);
  Menu* root = mCreateMenu();
  mStrokeAdd(root, 0, 0);
  mStrokeAdd(root, 20, 0);  // ten pixels at a ratio of one
  EXPECT_TRUE(mStrokeTooShort(root));
  mStrokeAdd(root, 32, 0);
  EXPECT_FALSE(mStrokeTooShort(root));
  mShutdown();
}

TEST(StrokeBuffer, KeepsTheFirst128AndFlagsOverflow) {
  ReportCapture reports;
  Menu* root = mCreateMenu();
  strokeOverflow = 0;
  // A long scribble drops many positions and says so once.
  for (int i = 0; i < 3 * STROKE_CAPACITY; i++) mStrokeAdd(root, i * 2, 0);
  EXPECT_EQ(root->stroke->count, STROKE_CAPACITY);
  EXPECT_EQ(mStrokeLength(root), 2 * (STROKE_CAPACITY - 1));
  EXPECT_EQ(strokeOverflow, 1);
  EXPECT_EQ(reports.all(),
            std::vector<std::string>{"marking too long to store"});
  // The next selection clears the flag and may say it again.
  strokeOverflow = 0;
  mStrokeAdd(root, 0, 0);
  EXPECT_EQ(reports.all().size(), 2u);
  strokeOverflow = 0;
}

TEST(StrokeBuffer, TimesAreSecondsSincePressAndListCarriesThem) {
  Menu* root = mCreateMenu();
  root->pressTime = 5000.25;
  root->nowTime = 5000.25;
  mStrokeAdd(root, 10, 20);
  root->nowTime = 5000.75;
  mStrokeAdd(root, 30, 20);
  PointList list;
  mStrokeToList(root->stroke, &list);
  ASSERT_EQ(mListCount(&list), 2);
  EXPECT_EQ(list.points[0].t, 0.0f);
  EXPECT_FLOAT_EQ(list.points[1].t, 0.5f);
  EXPECT_EQ(list.points[1].x, 30.0f);
  EXPECT_EQ(list.points[1].a, 0.0f);
}

TEST(StrokeBuffer, NullMenuIsHarmless) {
  mStrokeAdd(nullptr, 1, 1);
  mStrokeReset(nullptr);
  EXPECT_EQ(mStrokeLength(nullptr), 0);
  EXPECT_TRUE(mStrokeTooShort(nullptr));
}
