#include "ui/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace holdem {

namespace {

constexpr char kFallbackFamily[] = "DejaVu Sans";

// Where fonts-wine installs its Tahoma-metric font.
constexpr const char* kWineTahomaFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

bool hasFamily(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

void installFontSubstitutes() {
  const QString verdana = QString::fromLatin1(kTableFontFamily);
  const QString tahoma = QString::fromLatin1(kDialogFontFamily);
  if (!hasFamily(verdana)) QFont::insertSubstitution(verdana, QString::fromLatin1(kFallbackFamily));
  if (!hasFamily(tahoma)) {
    for (const char* file : kWineTahomaFiles) {
      if (QFile::exists(QString::fromLatin1(file))) QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    if (!hasFamily(tahoma)) QFont::insertSubstitution(tahoma, QString::fromLatin1(kFallbackFamily));
  }
}

QString resolvedFamily(const QString& family) { return QFontInfo(QFont(family)).family(); }

QFont pixelFont(const char* family, int pixelSize, bool bold) {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  return f;
}

}  // namespace holdem
