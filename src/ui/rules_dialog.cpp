#include "ui/rules_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "ui/fonts.h"

namespace holdem {

namespace {

const QColor kDarkGreen(24, 102, 9);

struct RulesLine {
  const char* name;
  int top;
  const char* text;
};

// Trailing blanks belong to the lines.
constexpr RulesLine kRules[] = {
    {"Label2", 16, "First, each player is dealt two cards face down,"},
    {"Label3", 32, "followed by the first round of betting."},
    {"Label4", 48, "Three community cards are then dealt face up,"},
    {"Label5", 64, "and the second round of betting occurs."},
    {"Label6", 80, "Then a fourth community card is dealt face up"},
    {"Label7", 96, "followed by another round of betting."},
    {"Label8", 112, "Finally, a fifth community card is dealt face up"},
    {"Label9", 128, "and the final round of betting ensues. "},
    {"Label10", 144, "All players still in the game reveal their cards."},
    {"Label11", 160, "The best hand formed from the two player's cards"},
    {"Label12", 176, "and the five community cards wins the pot "},
    {"Label19", 200, "In the first and second rounds all bets are small"},
    {"Label20", 216, "while in rounds three and four, they are big"},
    {"Label13", 248, "Check - a player stays in the game without betting"},
    {"Label14", 264, "Fold - withdraw from the current deal"},
    {"Label15", 280, "Call - match the bet made by another player."},
    {"Label16", 296, "Pot - The money at stake in a deal;"},
};
constexpr int kRulesLeft = 24;

}  // namespace

RulesDialog::RulesDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Texas hold'em rules"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(321, 501);
  setFont(pixelFont(kDialogFontFamily, 11, false));
  QPalette green = palette();
  green.setColor(QPalette::Window, kDarkGreen);
  setPalette(green);
  setAutoFillBackground(true);

  panel_ = new QFrame(this);
  panel_->setObjectName(QStringLiteral("Panel1"));
  panel_->setGeometry(16, 8, 289, 441);
  // Lowered inner and outer bevels.
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(2);
  QPalette text = green;
  text.setColor(QPalette::WindowText, Qt::white);
  // The bevel in shades of the green itself.
  text.setColor(QPalette::Light, kDarkGreen.lighter(160));
  text.setColor(QPalette::Midlight, kDarkGreen.lighter(130));
  text.setColor(QPalette::Mid, kDarkGreen.darker(150));
  text.setColor(QPalette::Dark, kDarkGreen.darker(250));
  panel_->setPalette(text);

  for (const RulesLine& line : kRules) {
    auto* label = new QLabel(QString::fromLatin1(line.text), panel_);
    label->setObjectName(QString::fromLatin1(line.name));
    label->move(kRulesLeft, line.top);
    label->adjustSize();
  }
  auto* title = new QLabel(QString::fromLatin1(kTitleLine), panel_);
  title->setObjectName(QStringLiteral("Version"));
  title->setFont(pixelFont(kDialogFontFamily, 11, true));
  title->move(88, 328);
  title->adjustSize();

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("dxButton1"));
  ok_->setGeometry(128, 464, 75, 25);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace holdem
