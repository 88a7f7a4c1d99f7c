#include "tools/mark_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

constexpr int width = 1040, height = 680;
constexpr int plotSize = 680;  // the square the mark is drawn in, on the left
constexpr int margin = 80;     // around the mark, for the labels
constexpr double largestZoom = 4;

const QColor ink(40, 40, 40), pointColour(0, 0, 0), farPoint(190, 190, 190);
const QColor bandA(255, 226, 150), bandB(255, 190, 120);
const QColor cornerColour(214, 40, 40), legColour(30, 90, 200);
const QColor sectorColour(150, 150, 150), subSectorColour(160, 100, 190);
const QColor legReadColour(20, 150, 70);

// Screen pixels to picture pixels.
struct View {
  double scale = 1, dx = 0, dy = 0;
  QPointF operator()(double x, double y) const {
    return {x * scale + dx, y * scale + dy};
  }
};

QPointF along(QPointF from, double degrees, double length) {
  double r = degrees * M_PI / 180;
  return from + QPointF(std::cos(r) * length, -std::sin(r) * length);
}

void arrow(QPainter& p, QPointF a, QPointF b) {
  p.drawLine(a, b);
  double d = std::atan2(b.y() - a.y(), b.x() - a.x());
  double head = 11;
  QPolygonF tip;
  tip << b << b - QPointF(std::cos(d - 0.4) * head, std::sin(d - 0.4) * head)
      << b - QPointF(std::cos(d + 0.4) * head, std::sin(d + 0.4) * head);
  p.save();
  p.setBrush(p.pen().color());
  p.setPen(Qt::NoPen);
  p.drawPolygon(tip);
  p.restore();
}

// Labels on white patches, each moved off those placed before it when the
// two would overlap.
struct Tags {
  std::vector<QRectF> placed;

  void add(QPainter& p, QPointF at, const QString& text, const QColor& colour) {
    QRectF box = p.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
    double h = box.height() + 1, w = box.width() / 2 + 4;
    const QPointF moves[] = {{0, 0},  {0, -h},     {0, h},     {w, 0},
                             {-w, 0}, {0, -2 * h}, {0, 2 * h}, {w, -h},
                             {-w, h}, {w, h},      {-w, -h}};
    QRectF free = box;
    free.moveCenter(at);
    for (const QPointF& m : moves) {
      QRectF tried = box;
      tried.moveCenter(at + m);
      bool clear =
          std::none_of(placed.begin(), placed.end(),
                       [&](const QRectF& r) { return r.intersects(tried); });
      if (clear) {
        free = tried;
        break;
      }
    }
    placed.push_back(free);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRoundedRect(free, 3, 3);
    p.setPen(colour);
    p.drawText(free, Qt::AlignCenter, text);
    p.restore();
  }
};

QString degrees(double d) { return QString::number(d, 'f', 0) + "\u00b0"; }

// The stroke fills the square, the press included; the sectors reach out
// to its edges.
View fit(const MarkExplanation& e) {
  const SectorFan& root = e.fans.front();
  double x0 = root.x, x1 = root.x, y0 = root.y, y1 = root.y;
  for (const MarkSamplePoint& s : e.drawn) {
    x0 = std::min(x0, s.x);
    x1 = std::max(x1, s.x);
    y0 = std::min(y0, s.y);
    y1 = std::max(y1, s.y);
  }
  View v;
  double span = std::max({x1 - x0, y1 - y0, 1.0});
  v.scale = std::min(largestZoom, (plotSize - 2 * margin) / span);
  v.dx = plotSize / 2.0 - (x0 + x1) / 2 * v.scale;
  v.dy = plotSize / 2.0 - (y0 + y1) / 2 * v.scale;
  return v;
}

// How far from `c` in direction `degrees` the square, inset by `inset`,
// ends.
double toEdge(QPointF c, double degrees, double inset) {
  double r = degrees * M_PI / 180, dx = std::cos(r), dy = -std::sin(r);
  double lo = inset, hi = plotSize - inset, t = 4.0 * plotSize;
  if (dx > 1e-9) t = std::min(t, (hi - c.x()) / dx);
  if (dx < -1e-9) t = std::min(t, (lo - c.x()) / dx);
  if (dy > 1e-9) t = std::min(t, (hi - c.y()) / dy);
  if (dy < -1e-9) t = std::min(t, (lo - c.y()) / dy);
  return std::max(t, 0.0);
}

// The root's sectors run to the square's edges, its labels just inside
// them; a submenu's are short, around where its leg starts.
void drawFan(QPainter& p, Tags& tags, const View& v, const SectorFan& fan,
             double radius, const QColor& colour, bool sub) {
  QPointF c = v(fan.x, fan.y);
  p.setPen(QPen(colour, 1, sub ? Qt::DashLine : Qt::SolidLine));
  for (float b : fan.boundaries)
    p.drawLine(c, along(c, b, sub ? radius : 4.0 * plotSize));
  // The submenu's label in the leg's way is turned off its direction, away
  // from the leg.
  for (const SectorFan::Label& l : fan.labels) {
    double off = std::remainder(l.degrees - fan.legDegrees, 360.0);
    double turn = sub && std::fabs(off) < 30 ? (off < 0 ? -30 : 30) - off : 0;
    double d = l.degrees + turn;
    tags.add(p, along(c, d, sub ? radius + 6 : toEdge(c, d, 30)),
             QString::fromStdString(l.text), colour);
  }
}

// The kept stroke in bands a window long, from its first point on.
void drawWindows(QPainter& p, const View& v, const MarkExplanation& e) {
  if (e.window <= 0) return;
  double run = 0;
  int band = 0;
  int kept = std::min<int>(e.kept, int(e.drawn.size()));
  for (int i = 1; i < kept; i++) {
    double ax = e.drawn[i - 1].x, ay = e.drawn[i - 1].y;
    double bx = e.drawn[i].x, by = e.drawn[i].y;
    double len = std::hypot(bx - ax, by - ay), done = 0;
    // Splits the step where a window ends.
    while (done < len) {
      double step = std::min(len - done, e.window - run);
      double f0 = done / len, f1 = (done + step) / len;
      p.setPen(QPen(band % 2 ? bandB : bandA, 12, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(v(ax + (bx - ax) * f0, ay + (by - ay) * f0),
                 v(ax + (bx - ax) * f1, ay + (by - ay) * f1));
      done += step;
      run += step;
      if (run >= e.window - 1e-6) {
        run = 0;
        band++;
      }
    }
  }
}

void drawStroke(QPainter& p, const View& v, const MarkExplanation& e) {
  QPolygonF line;
  for (const MarkSamplePoint& s : e.drawn) line << v(s.x, s.y);
  p.setPen(QPen(ink, 1.2));
  p.drawPolyline(line);
  p.setPen(Qt::NoPen);
  for (size_t i = 0; i < e.drawn.size(); i++) {
    p.setBrush(int(i) < e.kept ? pointColour : farPoint);
    p.drawEllipse(line[int(i)], 2.2, 2.2);
  }
  if (line.isEmpty()) return;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ink, 2));
  p.drawEllipse(line.front(), 6, 6);
  p.drawRect(QRectF(line.back() - QPointF(4, 4), QSizeF(8, 8)));
}

void drawLegs(QPainter& p, Tags& tags, const View& v,
              const std::vector<ExplainedLeg>& legs, const QColor& colour,
              bool dashed, double side) {
  for (size_t i = 0; i < legs.size(); i++) {
    const ExplainedLeg& l = legs[i];
    QPointF a = v(l.fromX, l.fromY), b = v(l.toX, l.toY);
    p.setPen(QPen(colour, 2.2, dashed ? Qt::DashLine : Qt::SolidLine));
    arrow(p, a, b);
    // The label beside the leg's middle, on its own side of it.
    QPointF mid = (a + b) / 2;
    double d = l.directionDegrees + 90 * side;
    tags.add(p, along(mid, d, 26),
             QString::number(i + 1) + ": " + degrees(l.directionDegrees),
             colour);
  }
}

void drawCorners(QPainter& p, Tags& tags, const View& v,
                 const std::vector<ExplainedCorner>& corners,
                 const QColor& colour, bool diamond, double side) {
  for (size_t i = 0; i < corners.size(); i++) {
    const ExplainedCorner& c = corners[i];
    QPointF at = v(c.x, c.y);
    p.setPen(QPen(colour, 2.2));
    p.setBrush(Qt::NoBrush);
    if (diamond) {
      QPolygonF d;
      d << at + QPointF(0, -9) << at + QPointF(9, 0) << at + QPointF(0, 9)
        << at + QPointF(-9, 0);
      p.drawPolygon(d);
    } else {
      p.drawEllipse(at, 8, 8);
    }
    // Corners close together get their labels on alternate sides.
    double across = i % 2 ? -1 : 1;
    tags.add(p, at + QPointF(24 * across, 20 * side * across),
             degrees(c.turnDegrees), colour);
  }
}

// One legend entry: a glyph drawn by `glyph` in a 28-pixel box, then text.
template <typename Glyph>
int legendLine(QPainter& p, int y, const QString& text, Glyph glyph) {
  glyph(QPointF(plotSize + 34, y + 9));
  QRect box(plotSize + 58, y, width - plotSize - 70, 40);
  QRect used = p.boundingRect(box, Qt::TextWordWrap, text);
  p.setPen(ink);
  p.drawText(box, Qt::TextWordWrap, text);
  return y + std::max(22, used.height() + 6);
}

void drawLegend(QPainter& p, const MarkExplanation& e, const std::string& title,
                const std::string& target) {
  int x = plotSize + 20, y = 18;
  p.setPen(ink);
  QFont bold = p.font();
  bold.setBold(true);
  p.save();
  p.setFont(bold);
  p.drawText(QRect(x, y, width - x - 12, 40), Qt::TextWordWrap,
             QString::fromStdString(title));
  p.restore();
  y += 24;
  QString facts = QString("%1 points, %2 px in %3 ms; tree %4")
                      .arg(e.drawn.size())
                      .arg(e.lengthPx, 0, 'f', 0)
                      .arg(e.durationMs, 0, 'f', 0)
                      .arg(QString::fromStdString(e.tree));
  if (e.overflow) facts += QString("; only the first %1 are kept").arg(e.kept);
  if (!target.empty()) facts += "\ntarget: " + QString::fromStdString(target);
  QRect factsBox(x, y, width - x - 12, 60);
  p.drawText(factsBox, Qt::TextWordWrap, facts);
  y += p.boundingRect(factsBox, Qt::TextWordWrap, facts).height() + 14;

  y = legendLine(p, y, "sampled points; press (ring), release (square)",
                 [&p](QPointF c) {
                   p.setPen(QPen(ink, 1.2));
                   p.drawLine(c - QPointF(12, 0), c + QPointF(12, 0));
                   p.setPen(Qt::NoPen);
                   p.setBrush(pointColour);
                   for (int k = -1; k <= 1; k++)
                     p.drawEllipse(c + QPointF(8 * k, 0), 2.2, 2.2);
                 });
  y = legendLine(
      p, y,
      QString("corner search windows: %1 px, a tenth of the expected leg "
              "(%2 px)")
          .arg(e.window, 0, 'f', 1)
          .arg(e.expectedLeg, 0, 'f', 0),
      [&p](QPointF c) {
        p.setPen(QPen(bandA, 12, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(c - QPointF(13, 0), c);
        p.setPen(QPen(bandB, 12, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(c, c + QPointF(13, 0));
      });
  y = legendLine(p, y,
                 QString("corners, with their turn (at least %1\u00b0)")
                     .arg(e.cornerTurn, 0, 'f', 1),
                 [&p](QPointF c) {
                   p.setPen(QPen(cornerColour, 2.2));
                   p.setBrush(Qt::NoBrush);
                   p.drawEllipse(c, 7, 7);
                 });
  y = legendLine(p, y,
                 "legs read, with their direction (0\u00b0 east, "
                 "counter-clockwise)",
                 [&p](QPointF c) {
                   p.setPen(QPen(legColour, 2.2));
                   arrow(p, c - QPointF(13, 0), c + QPointF(13, 0));
                 });
  y = legendLine(p, y, "the menu's sectors at the press", [&p](QPointF c) {
    p.setPen(QPen(sectorColour, 1));
    p.drawLine(c + QPointF(-13, -8), c + QPointF(13, 8));
    p.drawLine(c + QPointF(-13, 8), c + QPointF(13, -8));
  });
  y = legendLine(p, y, "the submenu's sectors where its leg starts",
                 [&p](QPointF c) {
                   p.setPen(QPen(subSectorColour, 1, Qt::DashLine));
                   p.drawLine(c + QPointF(-13, -8), c + QPointF(13, 8));
                   p.drawLine(c + QPointF(-13, 8), c + QPointF(13, -8));
                 });
  y = legendLine(p, y, "the leg recognizer's corners and legs",
                 [&p](QPointF c) {
                   p.setPen(QPen(legReadColour, 2.2, Qt::DashLine));
                   arrow(p, c - QPointF(13, 0), c + QPointF(13, 0));
                 });

  y += 12;
  QFont big = p.font();
  big.setPixelSize(big.pixelSize() + 2);
  p.save();
  p.setFont(big);
  QString paths = "standard: " + QString::fromStdString(e.standard.text) +
                  "\nlegs: " + QString::fromStdString(e.legPath.text);
  QRect pathBox(x, y, width - x - 12, height - y - 12);
  p.setPen(ink);
  p.drawText(pathBox, Qt::TextWordWrap, paths);
  p.restore();
}

}  // namespace

QImage mDrawExplanation(const MarkExplanation& e, const std::string& title,
                        const std::string& target) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font("Liberation Sans");
  font.setPixelSize(13);
  p.setFont(font);
  p.fillRect(QRect(plotSize, 0, width - plotSize, height),
             QColor(246, 246, 246));
  if (e.fans.empty()) return image;

  View v = fit(e);
  Tags tags;
  p.setClipRect(QRect(0, 0, plotSize, height));
  drawFan(p, tags, v, e.fans.front(), 0, sectorColour, false);
  for (size_t i = 1; i < e.fans.size(); i++)
    drawFan(p, tags, v, e.fans[i],
            std::max(40.0, e.expectedLeg * 0.35 * v.scale), subSectorColour,
            true);
  drawWindows(p, v, e);
  drawStroke(p, v, e);
  drawLegs(p, tags, v, e.legs, legColour, false, 1);
  drawCorners(p, tags, v, e.corners, cornerColour, false, 1);
  drawLegs(p, tags, v, e.legReading.legs, legReadColour, true, -1);
  drawCorners(p, tags, v, e.legReading.corners, legReadColour, true, -1);
  p.setClipping(false);
  drawLegend(p, e, title, target);
  return image;
}
