#include "ui/message_boxes.h"

#include <QMessageBox>
#include <QString>

namespace holdem {

namespace {

QString toQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

bool MessageBoxes::showMessage(std::string_view text, std::string_view caption, BoxButtons buttons) {
  if (beforeShow_) beforeShow_();
  QMessageBox box(parent_);
  box.setWindowTitle(toQString(caption));
  box.setText(toQString(text));
  if (buttons == BoxButtons::YesNo) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }
  box.setIcon(caption == "Error" ? QMessageBox::Critical : QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return true;
}

}  // namespace holdem
