#include "ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace holdem {

namespace {

constexpr char kVerdanaStandIn[] = "DejaVu Sans";
constexpr char kTahomaStandIn[] = "DejaVu Sans Condensed";

bool hasFamily(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

void installFontSubstitutes() {
  const QString verdana = QString::fromLatin1(kTableFontFamily);
  const QString tahoma = QString::fromLatin1(kDialogFontFamily);
  if (!hasFamily(verdana)) QFont::insertSubstitution(verdana, QString::fromLatin1(kVerdanaStandIn));
  if (!hasFamily(tahoma))
    QFont::insertSubstitutions(tahoma,
                               {QString::fromLatin1(kTahomaStandIn), QString::fromLatin1(kVerdanaStandIn)});
}

QFont pixelFont(const char* family, int pixelSize, bool bold) {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  return f;
}

}  // namespace holdem
