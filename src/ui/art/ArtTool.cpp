// Draws the program's pictures into the folder given as the only argument.
// The build runs it and compiles the files in as resources.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>
#include <utility>
#include <vector>

#include "ui/art/Pictures.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // text drawing needs the font database
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }

  std::vector<std::pair<QString, QImage>> pictures = {
      {"banner.png", art::Banner()},       {"clock.png", art::Clock()},
      {"landscape.png", art::LandscapePhoto()}, {"person.png", art::Person()},
      {"bulb.png", art::LightBulb()},      {"tools.png", art::Tools()},
      {"magnifier.png", art::Magnifier()}, {"donate.png", art::Donate()},
  };
  for (int i = 0; i < 8; ++i)
    pictures.emplace_back(QString("list%1.png").arg(i), art::ListIcon(i));
  // 16 to 48 are compiled in for the windows; 48 to 256 are installed for the desktop's menus.
  for (int size : {16, 32, 48, 128, 256})
    pictures.emplace_back(QString("appicon%1.png").arg(size), art::AppIcon(size));

  for (const auto& [name, image] : pictures) {
    if (!image.save(out.filePath(name), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
      return 1;
    }
  }
  return 0;
}
