#include "ui/stats_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <utility>

#include "ui/fonts.h"

namespace holdem {

namespace {

// The client area that, with a dialog frame around it, makes 306 x 244.
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 215;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

StatsDialog::StatsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Stats"));
  setWindowTitle(QStringLiteral("Stats"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(pixelFont(kDialogFontFamily, 16, true));
  // The labels keep the palette's window-text colour, which reads on the
  // button face as white on it could not.
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);

  addLabel(this, "Label1", QStringLiteral("Deals:"), 40, 24);
  addLabel(this, "Label2", QStringLiteral("Hands played:"), 40, 64);
  addLabel(this, "Label3", QStringLiteral("Hands won:"), 40, 104);
  btndeals_ = addLabel(this, "btndeals", QStringLiteral("0"), 112, 24);
  btnhandsplayed_ = addLabel(this, "btnhandsplayed", QStringLiteral("0"), 176, 64);
  btnhandswon_ = addLabel(this, "btnhandswon", QStringLiteral("0"), 152, 104);

  ok_ = new QPushButton(QStringLiteral("ok"), this);
  ok_->setObjectName(QStringLiteral("dxButton1"));
  ok_->setGeometry(120, 168, 65, 33);
  ok_->setFont(pixelFont(kDialogFontFamily, 15, true));
  // The caption is in the system's window-text colour.
  QPalette button = ok_->palette();
  button.setColor(QPalette::ButtonText, QApplication::palette().color(QPalette::WindowText));
  ok_->setPalette(button);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void StatsDialog::showCounters(int32_t deals, int32_t handsPlayed, int32_t handsWon) {
  for (auto [label, value] :
       {std::pair{btndeals_, deals}, {btnhandsplayed_, handsPlayed}, {btnhandswon_, handsWon}}) {
    label->setText(QString::number(value));
    label->adjustSize();
  }
}

}  // namespace holdem
