#pragma once

// The table and its dialogs are laid out for Verdana and Tahoma. Where those
// are missing, the closest fonts at hand take their place.

#include <QFont>
#include <QString>

namespace holdem {

inline constexpr char kTableFontFamily[] = "Verdana";  // the table, its buttons and the options
inline constexpr char kDialogFontFamily[] = "Tahoma";  // the rules and statistics dialogs

// Makes "Verdana" and "Tahoma" resolve to installed fonts. Verdana falls back
// to DejaVu Sans, which has nearly its metrics. Tahoma falls back to DejaVu
// Sans Condensed, whose widths come within a pixel or two of Tahoma's in
// both weights and whose bold is drawn heavier, not only wider; to DejaVu
// Sans where the condensed faces are missing. Needs a QGuiApplication; safe
// to call more than once.
void installFontSubstitutes();

// A font of `family`, `pixelSize` pixels high.
QFont pixelFont(const char* family, int pixelSize, bool bold);

}  // namespace holdem
