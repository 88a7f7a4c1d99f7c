// The embedded pictures, sounds and cursor against what the screens rely
// on: sizes, grounds, where the captions and the needle are, exact sound
// formats and lengths, and the fallbacks for unknown names.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <set>
#include <string>

#include "resources/resources.h"

namespace {

QSize expectedSize(int id) {
  if (id == 130 || id == 165) return {600, 400};
  if (id >= 131 && id <= 140) return {199, 191};
  if (id == 141 || id == 146) return {119, 134};
  if (id == 142 || id == 147) return {119, 137};
  if (id == 143 || id == 145) return {60, 60};
  if (id == 149) return {79, 79};
  if (id >= 148 && id <= 158) return {104, 104};
  if (id >= 159 && id <= 164) return {28, 28};
  if (id >= 166 && id <= 175) return {135, 50};
  return {};
}

double luminance(QRgb p) {
  return 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p);
}

double meanLuminance(const QImage& image) {
  double sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) sum += luminance(image.pixel(x, y));
  return sum / (image.width() * image.height());
}

int countIn(const QImage& image, QRect area, bool (*test)(QRgb)) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (test(image.pixel(x, y))) ++n;
  return n;
}

TEST(Pictures, EveryIdHasTheSizeItsScreenUses) {
  const int* ids = nullptr;
  ASSERT_EQ(resources::bitmapIds(&ids), 45);
  std::set<int> seen;
  for (int i = 0; i < 45; ++i) {
    int id = ids[i];
    SCOPED_TRACE(id);
    EXPECT_GE(id, 130);
    EXPECT_LE(id, 175);
    EXPECT_NE(id, 144) << "144 is the cursor's id";
    if (i > 0) {
      EXPECT_GT(id, ids[i - 1]);
    }
    seen.insert(id);
    QImage picture = resources::bitmap(id);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), expectedSize(id));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
  }
  EXPECT_EQ(seen.size(), 45u);
  EXPECT_EQ(resources::bitmapIds(nullptr), 45);
}

TEST(Pictures, UnknownIdsGiveNullImages) {
  for (int id : {-1, 0, 128, 129, 144, 176, 1000}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(resources::bitmap(id).isNull());
  }
}

TEST(Pictures, NoneIsBlank) {
  const int* ids = nullptr;
  int count = resources::bitmapIds(&ids);
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(ids[i]);
    QImage picture = resources::bitmap(ids[i]);
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 2)
      for (int x = 0; x < picture.width(); x += 2)
        colours.insert(picture.pixel(x, y));
    // Drawn with gradients and smooth edges: far more than a few flat fills.
    EXPECT_GT(colours.size(), 40u);
  }
}

TEST(Pictures, LogoFadesFromBrightToAlmostBlack) {
  double previous = 1e9;
  for (int id = 131; id <= 140; ++id) {
    SCOPED_TRACE(id);
    double mean = meanLuminance(resources::bitmap(id));
    EXPECT_LT(mean, previous);
    previous = mean;
  }
  QImage brightest = resources::bitmap(131);
  QImage darkest = resources::bitmap(140);
  int brightMax = 0, darkMax = 0;
  for (int y = 0; y < 191; ++y) {
    for (int x = 0; x < 199; ++x) {
      brightMax = std::max(brightMax, qGray(brightest.pixel(x, y)));
      darkMax = std::max(darkMax, qGray(darkest.pixel(x, y)));
    }
  }
  EXPECT_GT(brightMax, 200);
  EXPECT_LT(darkMax, 24);
  // Shown on the black main menu: its corners are black.
  EXPECT_EQ(brightest.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(Pictures, LogoLeavesTheMainMenuTextsOnBlack) {
  // The main menu writes white text over the logo across its whole width:
  // the training area's over rows 0-40, the laboratory's over rows 105-190.
  // The emblem belongs in the band between them.
  QImage logo = resources::bitmap(131);
  const QRect textBands[] = {QRect(0, 0, 199, 41), QRect(0, 105, 199, 86)};
  for (const QRect& band : textBands) {
    SCOPED_TRACE(band.top());
    double sum = 0, brightest = 0;
    for (int y = band.top(); y <= band.bottom(); ++y) {
      for (int x = band.left(); x <= band.right(); ++x) {
        double l = luminance(logo.pixel(x, y));
        sum += l;
        brightest = std::max(brightest, l);
      }
    }
    EXPECT_LT(sum / (band.width() * band.height()), 4.0);
    // Even the brightest spot keeps white text at better than 10:1.
    EXPECT_LT(brightest, 40.0);
  }
  // And the emblem is there, bright, in the middle of the band.
  auto isBright = [](QRgb p) { return qGray(p) > 180; };
  EXPECT_GT(countIn(logo, QRect(60, 42, 80, 62), isBright), 200);
}

TEST(Pictures, AreaPicturesHaveTheirGroundsAndFrames) {
  auto isGreen = [](QRgb p) {
    return qGreen(p) > 120 && qGreen(p) > qRed(p) + 50 &&
           qGreen(p) > qBlue(p) + 50;
  };
  auto isBlue = [](QRgb p) {
    return qBlue(p) > 150 && qBlue(p) > qRed(p) + 80;
  };
  // Just inside the frame, above the figures' heads.
  const QPoint ground(12, 12);
  const QPoint frame(3, 60);
  QImage labWhite = resources::bitmap(141), labYellow = resources::bitmap(146);
  EXPECT_EQ(labWhite.pixel(ground), qRgb(255, 255, 255));
  QRgb yellow = labYellow.pixel(ground);
  EXPECT_GT(qRed(yellow), 220);
  EXPECT_GT(qGreen(yellow), 180);
  EXPECT_LT(qBlue(yellow), 120);
  EXPECT_TRUE(isGreen(labWhite.pixel(frame)));
  EXPECT_TRUE(isGreen(labYellow.pixel(frame)));

  QImage trainingBlack = resources::bitmap(142);
  QImage trainingWhite = resources::bitmap(147);
  EXPECT_EQ(trainingBlack.pixel(ground), qRgb(0, 0, 0));
  EXPECT_EQ(trainingWhite.pixel(ground), qRgb(255, 255, 255));
  EXPECT_TRUE(isBlue(trainingBlack.pixel(frame)));
  EXPECT_TRUE(isBlue(trainingWhite.pixel(frame)));

  EXPECT_EQ(resources::bitmap(143).pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(resources::bitmap(145).pixel(0, 0), qRgb(255, 255, 255));
}

TEST(Pictures, ItemsSitOnWhiteWithSomethingInTheMiddle) {
  for (int id = 148; id <= 158; ++id) {
    SCOPED_TRACE(id);
    QImage item = resources::bitmap(id);
    int last = item.width() - 1;
    for (QPoint corner :
         {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
      EXPECT_EQ(item.pixel(corner), qRgb(255, 255, 255));
    int side = item.width();
    QRect middle(side / 4, side / 4, side / 2, side / 2);
    int inked = countIn(item, middle, [](QRgb p) { return qGray(p) < 235; });
    EXPECT_GT(inked, middle.width() * middle.height() / 5);
  }
}

TEST(Pictures, LampsLightUpInTheirOwnColour) {
  struct Pair {
    int dim, lit;
    int channel;  // 0 red, 1 green
  };
  for (Pair pair : {Pair{159, 160, 0}, Pair{163, 164, 1}, Pair{161, 162, 0}}) {
    SCOPED_TRACE(pair.dim);
    QRgb dim = resources::bitmap(pair.dim).pixel(15, 16);
    QRgb lit = resources::bitmap(pair.lit).pixel(15, 16);
    EXPECT_GT(luminance(lit), luminance(dim) + 60);
    int litMain = pair.channel == 0 ? qRed(lit) : qGreen(lit);
    EXPECT_GT(litMain, 200);
    EXPECT_GT(litMain, qBlue(lit) + 80);
    // They sit on the lamp box's grey.
    EXPECT_EQ(resources::bitmap(pair.dim).pixel(0, 0), qRgb(192, 192, 192));
  }
  QRgb red = resources::bitmap(160).pixel(15, 16);
  QRgb green = resources::bitmap(164).pixel(15, 16);
  EXPECT_GT(qRed(red), qGreen(red) + 60);
  EXPECT_GT(qGreen(green), qRed(green) + 60);
}

// The paired pictures show the same thing on a different ground: where the
// thing is, the two agree.
double meanDifference(const QImage& a, const QImage& b, QRect area) {
  double sum = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * area.width() * area.height());
}

TEST(Pictures, PairsDifferOnlyInTheirGround) {
  struct Pair {
    int a, b;
    QRect subject;  // lies on the drawn thing, clear of the ground
    QPoint ground;
  };
  for (Pair pair : {Pair{141, 146, QRect(48, 20, 22, 14), QPoint(12, 12)},
                    Pair{142, 147, QRect(30, 88, 60, 14), QPoint(12, 12)},
                    Pair{143, 145, QRect(20, 20, 20, 20), QPoint(1, 1)}}) {
    SCOPED_TRACE(pair.a);
    QImage a = resources::bitmap(pair.a), b = resources::bitmap(pair.b);
    EXPECT_LT(meanDifference(a, b, pair.subject), 2.0);
    QRgb p = a.pixel(pair.ground), q = b.pixel(pair.ground);
    EXPECT_GT(std::abs(qRed(p) - qRed(q)) + std::abs(qBlue(p) - qBlue(q)), 100);
  }
}

TEST(Pictures, EveryItemLooksDifferent) {
  QImage items[11];
  for (int i = 0; i < 11; ++i)
    items[i] = resources::bitmap(148 + i).scaled(52, 52);
  for (int i = 0; i < 11; ++i) {
    for (int j = i + 1; j < 11; ++j) {
      EXPECT_GT(meanDifference(items[i], items[j], QRect(0, 0, 52, 52)), 12)
          << 148 + i << " and " << 148 + j;
    }
  }
}

TEST(ResultsBackground, CaptionsAreOnBothSidesOfTheNeedle) {
  QImage results = resources::bitmap(165);
  auto paint = [](QRgb p) { return luminance(p) < 90; };
  // The needle strip covers (242, 230)-(376, 279); Try Again is left of it
  // and You Rock right of it, on the row y = 245..265.
  int left = countIn(results, QRect(120, 245, 120, 21), paint);
  int right = countIn(results, QRect(380, 245, 120, 21), paint);
  EXPECT_GT(left, 150);
  EXPECT_GT(right, 150);
  // Nothing dark on the row beyond the captions: they are words, not bars.
  EXPECT_LT(countIn(results, QRect(20, 245, 25, 21), paint), 5);
}

TEST(ResultsBackground, CarriesTheLogoWhereAClickStartsAgain) {
  QImage results = resources::bitmap(165);
  auto dialBlue = [](QRgb p) { return qBlue(p) > qRed(p) + 40; };
  int inSquare = countIn(results, QRect(48, 130, 62, 62), dialBlue);
  EXPECT_GT(inSquare, 62 * 62 / 4);
  // The rest of the gold carries no such blue.
  EXPECT_EQ(countIn(results, QRect(120, 300, 400, 90), dialBlue), 0);
}

struct Needle {
  QPointF dot;
  QPointF tip;
  double degrees() const {  // clockwise from east, 0..360
    double a = std::atan2(tip.y() - dot.y(), tip.x() - dot.x()) * 180 /
               std::numbers::pi;
    return a < 0 ? a + 360 : a;
  }
};

Needle findNeedle(const QImage& strip) {
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = 0; y < strip.height(); ++y) {
    for (int x = 0; x < strip.width(); ++x) {
      QRgb p = strip.pixel(x, y);
      if (qRed(p) > 150 && qGreen(p) < 70 && qBlue(p) < 70) {
        sx += x;
        sy += y;
        ++n;
      }
    }
  }
  Needle needle{QPointF(sx / std::max(n, 1), sy / std::max(n, 1)), {}};
  double farthest = -1;
  for (int y = 0; y < strip.height(); ++y) {
    for (int x = 0; x < strip.width(); ++x) {
      QRgb p = strip.pixel(x, y);
      if (qRed(p) > 80 || qGreen(p) > 60) continue;  // the arrow's dark ink
      double d = std::hypot(x - needle.dot.x(), y - needle.dot.y());
      if (d > farthest) {
        farthest = d;
        needle.tip = QPointF(x, y);
      }
    }
  }
  return needle;
}

TEST(NeedleStrips, TheRestingNeedlePointsRightAndDownTowardsYouRock) {
  Needle needle = findNeedle(resources::bitmap(168));
  EXPECT_NEAR(needle.dot.x(), 67, 6);
  EXPECT_NEAR(needle.dot.y(), 25, 6);
  EXPECT_GT(needle.tip.x(), needle.dot.x() + 20);
  EXPECT_GT(needle.tip.y(), needle.dot.y() + 5);
}

TEST(NeedleStrips, PointTenDifferentWays) {
  double angles[10];
  for (int i = 0; i < 10; ++i) {
    Needle needle = findNeedle(resources::bitmap(166 + i));
    angles[i] = needle.degrees();
    EXPECT_GT(std::hypot(needle.tip.x() - needle.dot.x(),
                         needle.tip.y() - needle.dot.y()),
              15)
        << 166 + i;
  }
  for (int i = 0; i < 10; ++i) {
    for (int j = i + 1; j < 10; ++j) {
      double apart = std::abs(angles[i] - angles[j]);
      apart = std::min(apart, 360 - apart);
      EXPECT_GT(apart, 12) << 166 + i << " and " << 166 + j;
    }
  }
}

// ---- sounds
// -------------------------------------------------------------------

struct WaveInfo {
  bool riff = false;
  uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0;
  uint32_t rate = 0, byteRate = 0, riffSize = 0;
  const unsigned char* data = nullptr;
  uint32_t dataSize = 0;
};

uint32_t le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

// Walks the chunks as a player would, without trusting their order.
WaveInfo parseWave(resources::Wave wave) {
  WaveInfo info;
  if (wave.size < 12 || std::memcmp(wave.data, "RIFF", 4) != 0 ||
      std::memcmp(wave.data + 8, "WAVE", 4) != 0)
    return info;
  info.riff = true;
  info.riffSize = le32(wave.data + 4);
  size_t at = 12;
  while (at + 8 <= wave.size) {
    const unsigned char* chunk = wave.data + at;
    uint32_t size = le32(chunk + 4);
    if (at + 8 + size > wave.size) break;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      info.format = le16(chunk + 8);
      info.channels = le16(chunk + 10);
      info.rate = le32(chunk + 12);
      info.byteRate = le32(chunk + 16);
      info.blockAlign = le16(chunk + 20);
      info.bits = le16(chunk + 22);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      info.data = chunk + 8;
      info.dataSize = size;
    }
    at += 8 + size + (size & 1);
  }
  return info;
}

double sampleAt(const WaveInfo& info, uint32_t i) {
  if (info.bits == 8) return (info.data[i] - 128) / 128.0;
  return int16_t(le16(info.data + 2 * i)) / 32768.0;
}

struct SoundCase {
  const char* name;
  uint32_t rate;
  uint16_t bits;
  int hundredths;
};

const SoundCase soundCases[] = {
    {"IDW_OPENING", 44100, 16, 264}, {"IDW_CHOICE", 44100, 16, 165},
    {"IDW_WHOOSH", 44100, 16, 76},   {"IDW_CLICK", 22050, 16, 6},
    {"IDW_BACK", 44100, 16, 100},    {"IDW_RIGHT", 22050, 16, 25},
    {"IDW_WRONG", 22050, 16, 51},    {"IDW_DRUMROLL", 8000, 8, 301},
    {"IDW_REPORT", 44100, 16, 34},   {"IDW_RICOCHET", 8000, 8, 150},
    {"IDW_TYPE", 22050, 8, 21},
};

TEST(Sounds, EachIsMonoPcmInItsFormatAndLength) {
  for (const SoundCase& c : soundCases) {
    SCOPED_TRACE(c.name);
    resources::Wave wave = resources::sound(c.name);
    ASSERT_NE(wave.data, nullptr);
    WaveInfo info = parseWave(wave);
    ASSERT_TRUE(info.riff);
    EXPECT_EQ(info.riffSize, wave.size - 8);
    EXPECT_EQ(info.format, 1);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.rate, c.rate);
    EXPECT_EQ(info.bits, c.bits);
    EXPECT_EQ(info.blockAlign, c.bits / 8);
    EXPECT_EQ(info.byteRate, c.rate * c.bits / 8);
    ASSERT_NE(info.data, nullptr);
    uint32_t frames = info.dataSize / (c.bits / 8);
    EXPECT_EQ(std::lround(100.0 * frames / c.rate), c.hundredths);
  }
}

TEST(Sounds, AreAudibleAndEndInSilence) {
  for (const SoundCase& c : soundCases) {
    SCOPED_TRACE(c.name);
    WaveInfo info = parseWave(resources::sound(c.name));
    ASSERT_NE(info.data, nullptr);
    uint32_t frames = info.dataSize / (info.bits / 8);
    double peak = 0;
    for (uint32_t i = 0; i < frames; ++i)
      peak = std::max(peak, std::abs(sampleAt(info, i)));
    EXPECT_GT(peak, 0.4);
    EXPECT_LT(peak, 0.99) << "clipped";
    // A sound cut off mid-swing clicks on every play.
    EXPECT_LT(std::abs(sampleAt(info, frames - 1)), 0.02);
  }
}

struct Samples {
  WaveInfo info;
  uint32_t frames = 0;
  explicit Samples(const char* name) : info(parseWave(resources::sound(name))) {
    if (info.data) frames = info.dataSize / (info.bits / 8);
  }
  uint32_t at(double seconds) const {
    return std::min(frames, uint32_t(std::lround(seconds * info.rate)));
  }
  double rms(double from, double to) const {
    double sum = 0;
    uint32_t a = at(from), b = at(to);
    for (uint32_t i = a; i < b; ++i)
      sum += sampleAt(info, i) * sampleAt(info, i);
    return b > a ? std::sqrt(sum / (b - a)) : 0;
  }
  // The mean frequency, weighted by power: for a plain tone its pitch, for
  // noise or a buzz where most of its loudness lies.
  double meanHz(double from, double to) const {
    double power = 0, slope = 0;
    uint32_t a = at(from), b = at(to);
    for (uint32_t i = a + 1; i < b; ++i) {
      double s = sampleAt(info, i), d = s - sampleAt(info, i - 1);
      power += s * s;
      slope += d * d;
    }
    return power > 0
               ? info.rate / (2 * std::numbers::pi) * std::sqrt(slope / power)
               : 0;
  }
};

TEST(Sounds, EachHasTheShapeOfItsCue) {
  Samples right("IDW_RIGHT"), wrong("IDW_WRONG");
  EXPECT_GT(right.meanHz(0.0, 0.15), 1000) << "a bright ding";
  EXPECT_LT(wrong.meanHz(0.05, 0.4), 400) << "a low buzz";

  Samples ricochet("IDW_RICOCHET");
  EXPECT_GT(ricochet.meanHz(0.03, 0.25), 1.6 * ricochet.meanHz(1.0, 1.4))
      << "the ping falls in pitch";

  Samples roll("IDW_DRUMROLL");
  EXPECT_GT(roll.rms(2.0, 2.9), 1.6 * roll.rms(0.0, 0.5)) << "a crescendo";

  Samples whoosh("IDW_WHOOSH");
  double middle = whoosh.rms(0.25, 0.5);
  EXPECT_GT(middle, 2.5 * whoosh.rms(0.0, 0.06));
  EXPECT_GT(middle, 2.5 * whoosh.rms(0.68, 0.76));

  // Clicks are over almost at once; the rest of their time is quiet.
  Samples click("IDW_CLICK"), type("IDW_TYPE");
  EXPECT_GT(click.rms(0.0, 0.015), 8 * click.rms(0.03, 0.06));
  EXPECT_GT(type.rms(0.0, 0.08), 8 * type.rms(0.15, 0.21));

  // The fanfare and the chime still sound well into their length.
  Samples opening("IDW_OPENING"), choice("IDW_CHOICE");
  EXPECT_GT(opening.rms(1.5, 2.0), 0.3 * opening.rms(0.0, 1.0));
  EXPECT_GT(choice.rms(0.6, 0.9), 0.05 * choice.rms(0.0, 0.3));
}

TEST(Sounds, NamesListEverySoundOnce) {
  int count = 0;
  const char* const* names = resources::soundNames(&count);
  ASSERT_EQ(count, 11);
  std::set<std::string> listed;
  for (int i = 0; i < count; ++i) {
    listed.insert(names[i]);
    EXPECT_NE(resources::sound(names[i]).data, nullptr) << names[i];
  }
  EXPECT_EQ(listed.size(), 11u);
  for (const SoundCase& c : soundCases) EXPECT_EQ(listed.count(c.name), 1u);
  EXPECT_EQ(resources::soundNames(nullptr), names);
}

TEST(Sounds, UnknownNamesGiveNothing) {
  for (const char* name : {(const char*)nullptr, "", "IDW_", "idw_click",
                           "IDW_CLICKS", "IDW_CURSOR"}) {
    resources::Wave wave = resources::sound(name);
    EXPECT_EQ(wave.data, nullptr) << (name ? name : "(null)");
    EXPECT_EQ(wave.size, 0u);
  }
}

TEST(Sounds, BytesStayAtTheirAddress) {
  resources::Wave first = resources::sound("IDW_RIGHT");
  resources::Wave again = resources::sound("IDW_RIGHT");
  EXPECT_EQ(first.data, again.data);
  EXPECT_EQ(first.size, again.size);
  EXPECT_NE(resources::sound("IDW_WRONG").data, first.data);
}

// ---- cursor
// ------------------------------------------------------------------

TEST(Cursor, IsATwoColourHandWithItsTipAtTheHotSpot) {
  QImage cursor = resources::cursorImage();
  ASSERT_EQ(cursor.size(), QSize(32, 32));
  EXPECT_TRUE(cursor.hasAlphaChannel());
  EXPECT_EQ(resources::cursorHotSpot(), QPoint(0, 0));
  int black = 0, white = 0, clear = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      QRgb p = cursor.pixel(x, y);
      if (qAlpha(p) == 0) {
        ++clear;
      } else {
        ASSERT_EQ(qAlpha(p), 255) << x << "," << y;
        if (p == qRgb(0, 0, 0)) {
          ++black;
        } else {
          ASSERT_EQ(p, qRgb(255, 255, 255)) << x << "," << y;
          ++white;
        }
      }
    }
  }
  EXPECT_GT(black, 60);
  EXPECT_GT(white, 100);
  EXPECT_GT(clear, 300);
  // The fingertip is the hot spot itself; the hand reaches down and right.
  EXPECT_EQ(qAlpha(cursor.pixel(0, 0)), 255);
  EXPECT_EQ(qAlpha(cursor.pixel(31, 0)), 0);
  EXPECT_EQ(qAlpha(cursor.pixel(0, 31)), 0);
}

// ---- window icon
// -------------------------------------------------------------

TEST(Icon, IsARoundEmblemOnNothingAtEachSize) {
  for (int size : {32, 16}) {
    QImage icon = resources::iconImage(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    ASSERT_TRUE(icon.hasAlphaChannel());
    int last = size - 1, middle = size / 2;
    for (QPoint corner :
         {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
      EXPECT_EQ(qAlpha(icon.pixel(corner)), 0) << size;
    // Golden rim at the edge's middle, the mark's orange near the centre.
    QRgb rim = icon.pixel(middle, 1);
    EXPECT_EQ(qAlpha(rim), 255) << size;
    EXPECT_GT(qRed(rim), qBlue(rim) + 60) << size;
    auto orange = [](QRgb p) {
      return qRed(p) > 200 && qGreen(p) > 90 && qBlue(p) < 120;
    };
    QRect centre(size / 4, size / 4, size / 2, size / 2);
    EXPECT_GT(countIn(icon, centre, orange), size / 4) << size;
  }
  EXPECT_TRUE(resources::iconImage(24).isNull());
}

}  // namespace
