#include "app/aboutdialog.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace {

// The box is laid out in dialog units of its 8-point font: a quarter of
// the font's average character width across (6 pixels) and an eighth of
// its height down (13 pixels).
QRect dialogUnits(int x, int y, int width, int height) {
  auto across = [](int units) { return (units * 6 + 2) / 4; };
  auto down = [](int units) { return (units * 13 + 4) / 8; };
  return QRect(across(x), down(y), across(width), down(height));
}

// A static text at its place, wider than given when its words need it.
void addText(QDialog* box, const QString& text, QRect place) {
  auto* label = new QLabel(text, box);
  place.setWidth(qMax(place.width(), label->sizeHint().width()));
  label->setGeometry(place);
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Tarvel"));
  setModal(true);
  QFont font;
  font.setFamilies(
      {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(11);  // 8 points at 96 dots an inch
  setFont(font);
  setFixedSize(dialogUnits(0, 0, 269, 149).size());

  addText(this, tr("Tarvel Version 1.0"), dialogUnits(7, 9, 62, 8));
  const char* const notices[] = {
      "A trainer for hierarchical marking menus.",
      "Copyright (C) 2026 the Tarvel developers.",
      "This program comes with no warranty of any kind;",
      "you may use, copy and share it freely."};
  for (int i = 0; i < 4; i++)
    addText(this, tr(notices[i]), dialogUnits(7, 30 + 14 * i, 255, 8));

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setGeometry(dialogUnits(111, 128, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
