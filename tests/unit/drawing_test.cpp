#include "display/drawing.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/sim_platform.h"

namespace {

constexpr Colour red = platform::rgb(255, 0, 0);
constexpr Colour blue = platform::rgb(0, 0, 255);

// A simulated screen with the overlay up, painted white so that drawing
// shows plainly.
class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    mInit(0, 0, 0, 0, 0, 0);
    mSetColor(platform::rgb(255, 255, 255));
    Rect all{0, 199, 0, 199};
    mFillRect(&all);
  }
  void TearDown() override { mShutdown(); }

  QRgb at(int x, int y) const { return sim.screenImage().pixel(x, y); }
  bool painted(int x, int y, Colour c) const {
    return at(x, y) == platform::toQRgb(c);
  }
  // Bounding box of the pixels in colour c, within the 200 x 200 corner.
  QRect extent(Colour c) const {
    QRect box;
    for (int y = 0; y < 200; y++)
      for (int x = 0; x < 200; x++)
        if (painted(x, y, c)) box |= QRect(x, y, 1, 1);
    return box;
  }

  platform::SimPlatform sim{400, 300};
};

}  // namespace

TEST_F(Drawing, FillRectCoversEveryPixelOfAnInclusiveRect) {
  mSetColor(red);
  Rect one{10, 10, 20, 20};
  mFillRect(&one);
  EXPECT_EQ(extent(red), QRect(10, 20, 1, 1));
  Rect box{30, 39, 50, 54};
  mFillRect(&box);
  mSetColor(blue);
  mFillRect(&box);  // a new colour makes a new brush
  EXPECT_EQ(extent(blue), QRect(30, 50, 10, 5));
}

TEST_F(Drawing, DrawRectOutlinesOnly) {
  mSetColor(red);
  Rect square{0, 15, 0, 15};
  mDrawRect(&square);
  EXPECT_EQ(extent(red), QRect(0, 0, 16, 16));
  EXPECT_TRUE(painted(15, 15, red));
  EXPECT_TRUE(painted(0, 15, red));
  EXPECT_FALSE(painted(1, 1, red));
  EXPECT_FALSE(painted(14, 14, red));
}

TEST_F(Drawing, LinesLeaveOutTheirEndAndKeepTheCurrentPoint) {
  mSetColor(red);
  mMoveTo(50, 50);
  mLineTo(60, 50);
  mLineTo(50, 60);  // from (50, 50) again
  EXPECT_TRUE(painted(50, 50, red));
  EXPECT_TRUE(painted(59, 50, red));
  EXPECT_FALSE(painted(60, 50, red));
  EXPECT_TRUE(painted(50, 59, red));
  EXPECT_FALSE(painted(50, 60, red));
  EXPECT_EQ(extent(red), QRect(50, 50, 10, 10));
  mDrawLine(100, 100, 110, 105);
  EXPECT_TRUE(painted(100, 100, red));
  EXPECT_FALSE(painted(110, 105, red));
}

TEST_F(Drawing, PieAfterAColourChangeHasNoOutline) {
  // A wide pen in blue is made and selected...
  mSetColor(blue);
  mSetLineWidth(5);
  mDrawLine(0, 190, 10, 190);
  // ...and a colour change drops it: the pie is fill alone, inside its box.
  mSetColor(red);
  Rect r{40, 80, 40, 80};
  mPaintPie(&r);
  QRect pie = extent(red);
  EXPECT_FALSE(pie.isEmpty());
  EXPECT_TRUE(QRect(41, 41, 41, 40).contains(pie))
      << pie.x() << "," << pie.y() << " " << pie.width() << "x" << pie.height();
  EXPECT_TRUE(painted(61, 61, red));  // filled in the middle
  EXPECT_TRUE(QRect(0, 185, 16, 10).contains(extent(blue)));  // the line alone
  mSetLineWidth(1);
}

TEST_F(Drawing, PolygonsFillAndOutline) {
  PointList triangle;
  mListClear(&triangle);
  for (Point p : {Point{100, 100, 0, 0}, Point{140, 100, 0, 0},
                  Point{100.9f, 140.9f, 0, 0}}) {
    mListAppend(&triangle, &p);
  }
  mSetColor(red);
  mPaintPoly(&triangle);
  EXPECT_TRUE(painted(105, 105, red));
  EXPECT_FALSE(painted(135, 135, red));
  mPaintGreyPoly(&triangle);
  EXPECT_EQ(at(105, 105), qRgb(0xC0, 0xC0, 0xC0));
  mSetColor(blue);
  mDrawPoly(&triangle);  // open: no edge back to the start
  EXPECT_TRUE(painted(120, 100, blue));
  EXPECT_FALSE(painted(100, 120, blue));
}

TEST_F(Drawing, TextFontsAndEngravedDisabledText) {
  mSetColor(red);
  auto draw = [&](int x, uint8_t italic, uint8_t regular) {
    mMoveTo(x, 40);
    mDrawText("Www", italic, regular);
    return sim.screenImage().copy(x, 20, 40, 30);
  };
  QImage italicAndRegular = draw(10, 1, 1);
  QImage italic = draw(60, 1, 0);
  QImage bold = draw(110, 0, 0);
  QImage regular = draw(160, 0, 1);
  EXPECT_EQ(italicAndRegular, italic);
  EXPECT_NE(italic, bold);
  EXPECT_NE(bold, regular);
  // The text sits on its baseline: ink above y = 40, little below.
  EXPECT_FALSE(extent(red).isEmpty());
  EXPECT_LE(extent(red).bottom(), 42);
  EXPECT_GE(mTextWidth("Www"), 20);
  EXPECT_GT(mTextHeight(), mTextAscent());

  mMoveTo(10, 90);
  mDrawDisabledText("Www");
  Colour shadow = sim.systemColour(platform::SystemColour::ButtonShadow);
  EXPECT_FALSE(extent(shadow).isEmpty());
  EXPECT_EQ(drawState.textColour, shadow);
  EXPECT_EQ(drawState.colour, red);  // the current colour is unchanged
}

TEST_F(Drawing, InitReadsMenuColoursAndPad) {
  EXPECT_EQ(drawState.foreground,
            sim.systemColour(platform::SystemColour::MenuText));
  EXPECT_EQ(drawState.background,
            sim.systemColour(platform::SystemColour::Menu));
  EXPECT_EQ(drawState.pad, 2);  // any ordinary menu font gives 2
  platform::FontSpec large = sim.menuFont();
  large.pixelSize = 40;
  sim.setMenuFont(large);
  mInit(0, 0, 0, 0, 0, 0);
  EXPECT_GT(drawState.pad, 2);
  // Named with the overlay already up: nothing happens.
  platform::Surface* overlay = drawState.overlay;
  mInit(0, reinterpret_cast<intptr_t>(overlay), 0, 0, 0, 0);
  EXPECT_EQ(drawState.overlay, overlay);
}

TEST(Overlay, DrawingWithoutAnOverlayDoesNothing) {
  platform::SimPlatform sim(100, 100);
  QImage before = sim.screenImage();
  mShutdown();  // without mInit: harmless
  Rect r{0, 50, 0, 50};
  mSetColor(0);
  mFillRect(&r);
  mDrawRect(&r);
  mMoveTo(1, 1);
  mDrawText("x", 0, 0);
  mFlush();
  EXPECT_EQ(sim.screenImage(), before);
  EXPECT_EQ(mTextWidth("x"), 0);
}

// Primitives take any int: what falls on the screen is drawn, and nothing
// wraps round onto it from the far ends of the range.
TEST_F(Drawing, ShapesAtTheEndsOfTheIntRangeDrawWhatIsOnScreen) {
  QImage blank = sim.screenImage().copy();
  mSetColor(red);
  mSetLineWidth(1);
  Rect far{INT_MAX - 10, INT_MAX, INT_MIN, INT_MIN + 10};
  mFillRect(&far);
  mDrawRect(&far);
  mPaintPie(&far);
  mDrawArc(&far);
  mMoveTo(INT_MAX, INT_MIN);
  mDrawText("Www", 0, 0);
  mDrawDisabledText("Www");
  PointList triangle;
  mListClear(&triangle);
  for (Point p : {Point{3e9f, 0, 0, 0}, Point{-3e9f, 1e10f, 0, 0},
                  Point{2147483520.0f, 1e10f, 0, 0}})
    mListAppend(&triangle, &p);
  mPaintPoly(&triangle);
  mDrawPoly(&triangle);
  mSetLineWidth(5);
  mDrawRect(&far);
  mDrawLine(INT_MAX, INT_MIN, INT_MAX - 3, INT_MIN);
  EXPECT_EQ(sim.screenImage(), blank);

  Rect across{INT_MIN, INT_MAX, 10, 12};
  mFillRect(&across);
  EXPECT_EQ(extent(red), QRect(0, 10, 200, 3));
  EXPECT_TRUE(painted(399, 11, red));
  mSetColor(blue);
  mDrawLine(INT_MIN, 100, INT_MAX, 100);
  EXPECT_TRUE(painted(0, 100, blue));
  EXPECT_TRUE(painted(399, 102, blue));
  mSetLineWidth(1);
  mDrawLine(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // the diagonal
  EXPECT_TRUE(painted(150, 150, blue));
  EXPECT_TRUE(painted(299, 299, blue));
  EXPECT_FALSE(painted(150, 151, blue));
}

TEST_F(Drawing, CopiesKeepOnlyTheirPartOnTheScreen) {
  platform::Surface* screen = drawState.screen;
  QImage before = sim.screenImage().copy();
  platform::Bitmap* far = screen->copyOut(INT_MAX - 5, INT_MIN, 100, 100);
  ASSERT_NE(far, nullptr);
  platform::Bitmap* all =
      screen->copyOut(-(1 << 30), -(1 << 30), INT_MAX, INT_MAX);
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->image.size(), QSize(400, 300));
  platform::Bitmap* corner = screen->copyOut(-50, -60, 100, 100);
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(corner->image.size(), QSize(50, 40));
  mSetColor(red);
  Rect r{0, 399, 0, 299};
  mFillRect(&r);
  screen->copyIn(far, INT_MAX - 5, INT_MIN);
  screen->copyIn(corner, INT_MAX, INT_MAX);
  EXPECT_TRUE(painted(0, 0, red));
  screen->copyIn(corner, -50, -60);
  EXPECT_FALSE(painted(0, 0, red));
  EXPECT_TRUE(painted(50, 0, red));
  screen->copyIn(all, -(1 << 30), -(1 << 30));
  EXPECT_EQ(sim.screenImage(), before);
  for (platform::Bitmap* b : {far, all, corner}) platform::deleteBitmap(b);
}
