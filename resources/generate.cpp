// Writes the trainer's pictures, sounds and cursor into a folder, from which
// the build embeds them.
//
//   tarvel_resource_generator OUTPUT_FOLDER
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "resources/generator.h"

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes) == bytes.size();
}

bool report(bool ok, const QString& path) {
  if (!ok)
    std::fprintf(stderr, "could not write %s\n", path.toUtf8().constData());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  // Text needs a GUI application; the build has no display to offer one.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt complains on every build without a runtime folder of its own.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/tarvel-generator-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
  }
  QGuiApplication app(argc, argv);
  QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(folder.path()))
    return report(false, folder.path()) ? 0 : 1;

  bool ok = true;
  for (const resources::PictureEntry& entry : resources::pictureCatalogue) {
    QImage picture = gen::drawPicture(entry.id);
    if (picture.width() != entry.width || picture.height() != entry.height) {
      std::fprintf(stderr, "picture %d came out %dx%d\n", entry.id,
                   picture.width(), picture.height());
      ok = false;
      continue;
    }
    QString path =
        folder.filePath(QStringLiteral("bitmap_%1.png").arg(entry.id));
    ok = report(picture.save(path, "PNG"), path) && ok;
  }
  for (const resources::SoundEntry& entry : resources::soundCatalogue) {
    QString path = folder.filePath(QString::fromLatin1(entry.name) +
                                   QStringLiteral(".wav"));
    ok = report(writeBytes(path, gen::makeWave(entry)), path) && ok;
  }
  QString cursorPath =
      folder.filePath(QString::fromLatin1(resources::cursorFileName));
  ok = report(gen::drawCursor().save(cursorPath, "PNG"), cursorPath) && ok;
  for (int size : resources::iconSizes) {
    QString path = folder.filePath(QStringLiteral("icon_128_%1.png").arg(size));
    ok = report(gen::drawIcon(size).save(path, "PNG"), path) && ok;
  }
  // The desktop's icon theme, installed with the program.
  for (int size : resources::desktopIconSizes) {
    QString apps = QStringLiteral("hicolor/%1x%1/apps").arg(size);
    folder.mkpath(apps);
    QString path = folder.filePath(apps + QStringLiteral("/tarvel.png"));
    ok = report(gen::drawIcon(size).save(path, "PNG"), path) && ok;
  }
  return ok ? 0 : 1;
}
