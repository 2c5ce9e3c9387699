#include "ui/message_boxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>

namespace holdem {

namespace {

QString toQString(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Room in a title bar beside the caption: the window's icon, three buttons
// and the margins between them, as window managers commonly draw them.
constexpr int kTitleBarButtons = 4 * 24 + 24;

// The width a box needs so that a window manager can show its whole caption,
// which it commonly draws bold and somewhat larger than the text. A box
// without a caption shows the program's name in its title bar.
int titleBarWidth(const QString& caption) {
  QFont font = QApplication::font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.25);
  const QString title = caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption;
  return QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons;
}

// Keeps `box` at least `width` pixels wide. The box sizes itself to its
// layout each time it is shown, so the width goes into the layout.
void keepWidth(QMessageBox& box, int width) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  const QMargins margins = grid->contentsMargins();
  grid->addItem(
      new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
      grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

bool MessageBoxes::showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) {
  if (beforeShow_) beforeShow_();
  QMessageBox box(parent_);
  box.setWindowTitle(toQString(caption));
  // The game's texts are plain: a folder named <b> is shown as it is named.
  box.setTextFormat(Qt::PlainText);
  box.setText(toQString(text));
  if (buttons == BoxButtons::YesNo) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setIcon(caption == "Error" ? QMessageBox::Critical : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
  }
  // Last, once the box has laid out its icon and buttons.
  keepWidth(box, titleBarWidth(box.windowTitle()));
  const int answer = box.exec();
  return buttons == BoxButtons::Ok || answer == QMessageBox::Yes;
}

}  // namespace holdem
