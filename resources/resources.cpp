// The embedded pictures, sounds, cursor and icon, handed out by id and name.
#include "resources/resources.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstring>
#include <mutex>

#include "resources/catalogue.h"

// rcc's initialiser sits in an object of this static library that nothing
// else refers to, so the linker would drop it: pull it in on first use. The
// macro declares the initialiser, which lives in the global namespace.
static void initEmbedded() { Q_INIT_RESOURCE(tarvel_resources); }

namespace {

void registerEmbedded() {
  static std::once_flag once;
  std::call_once(once, initEmbedded);
}

QString embeddedPath(const QString& file) {
  return QStringLiteral(":/tarvel/") + file;
}

struct Ids {
  int list[resources::pictureCount];
  constexpr Ids() : list() {
    for (int i = 0; i < resources::pictureCount; ++i)
      list[i] = resources::pictureCatalogue[i].id;
  }
};
constexpr Ids allIds;

struct Names {
  const char* list[resources::soundCount];
  constexpr Names() : list() {
    for (int i = 0; i < resources::soundCount; ++i)
      list[i] = resources::soundCatalogue[i].name;
  }
};
constexpr Names allNames;

}  // namespace

namespace resources {

QImage bitmap(int id) {
  for (const PictureEntry& entry : pictureCatalogue) {
    if (entry.id != id) continue;
    registerEmbedded();
    QImage image(embeddedPath(QStringLiteral("bitmap_%1.png").arg(id)));
    return image.convertToFormat(QImage::Format_RGB32);
  }
  return QImage();
}

Wave sound(const char* name) {
  if (!name) return {nullptr, 0};
  // Filled once per sound and never touched again, so the bytes handed out
  // keep their address for the rest of the process.
  static QByteArray loaded[soundCount];
  static std::once_flag once[soundCount];
  for (int i = 0; i < soundCount; ++i) {
    if (std::strcmp(soundCatalogue[i].name, name) != 0) continue;
    std::call_once(once[i], [i] {
      registerEmbedded();
      QFile file(embeddedPath(QString::fromLatin1(soundCatalogue[i].name) +
                              QStringLiteral(".wav")));
      if (file.open(QIODevice::ReadOnly)) loaded[i] = file.readAll();
    });
    if (loaded[i].isEmpty()) return {nullptr, 0};
    return {reinterpret_cast<const unsigned char*>(loaded[i].constData()),
            static_cast<size_t>(loaded[i].size())};
  }
  return {nullptr, 0};
}

QImage cursorImage() {
  registerEmbedded();
  QImage image(embeddedPath(QString::fromLatin1(cursorFileName)));
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPoint cursorHotSpot() { return QPoint(0, 0); }

QImage iconImage(int size) {
  for (int known : iconSizes) {
    if (known != size) continue;
    registerEmbedded();
    QImage image(embeddedPath(QStringLiteral("icon_128_%1.png").arg(size)));
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  return QImage();
}

int bitmapIds(const int** ids) {
  if (ids) *ids = allIds.list;
  return pictureCount;
}

const char* const* soundNames(int* count) {
  if (count) *count = soundCount;
  return allNames.list;
}

}  // namespace resources
