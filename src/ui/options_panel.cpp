#include "ui/options_panel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <tuple>

#include "ui/fonts.h"

namespace holdem {

namespace {

const QColor kPanelColor(174, 193, 174);

QFrame* addSubPanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(1);
  frame->setGeometry(left, top, width, height);
  return frame;
}

QLabel* addLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const char* caption, const QRect& at) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(at);
  return button;
}

void describe(QWidget* widget, const char* name, const char* description) {
  widget->setAccessibleName(QString::fromLatin1(name));
  widget->setAccessibleDescription(QString::fromLatin1(description));
}

// A column of radio buttons, item 0 at the top; the group numbers them.
QButtonGroup* addRadioGroup(QWidget* parent, const char* name, std::initializer_list<const char*> items,
                            int left, int top) {
  auto* group = new QButtonGroup(parent);
  group->setObjectName(QString::fromLatin1(name));
  int id = 0;
  for (const char* item : items) {
    auto* radio = new QRadioButton(QString::fromLatin1(item), parent);
    radio->setObjectName(QString::fromLatin1(name) + QString::number(id));
    radio->move(left, top + 28 * id);
    radio->adjustSize();
    group->addButton(radio, id++);
  }
  return group;
}

// Checks item `id` of the group, or none when it has no such item.
void select(QButtonGroup* group, int id) {
  QAbstractButton* wanted = group->button(id);
  if (wanted == group->checkedButton()) return;
  if (wanted) {
    wanted->setChecked(true);
  } else {
    // An exclusive group lets no button be unchecked by itself.
    QAbstractButton* checked = group->checkedButton();
    group->setExclusive(false);
    checked->setChecked(false);
    group->setExclusive(true);
  }
}

}  // namespace

OptionsPanel::OptionsPanel(QWidget* parent, Game& game, std::function<void()> changed)
    : QFrame(parent), game_(game), changed_(std::move(changed)) {
  setObjectName(QStringLiteral("Panel1"));
  setGeometry(200, 80, 409, 361);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setFont(pixelFont(kTableFontFamily, 11, false));
  QPalette sage = palette();
  sage.setColor(QPalette::Window, kPanelColor);
  sage.setColor(QPalette::WindowText, Qt::black);
  setPalette(sage);
  setAutoFillBackground(true);
  describe(this, "Options", "Initial cash, target, betting limits, AI level and card back");

  // Initial cash and the target, side by side.
  QFrame* cash = addSubPanel(this, "Panel2", 24, 16, 361, 105);
  addLabel(cash, "Label1", "Initial cash", 16, 20);
  money_ = new QLineEdit(cash);
  money_->setObjectName(QStringLiteral("money"));
  money_->setGeometry(16, 56, 89, 23);
  QPushButton* enter = addButton(cash, "enter", "Enter", QRect(112, 55, 57, 25));
  addLabel(cash, "Label5", "Play until ", 192, 12);
  addLabel(cash, "Label6", "someone wins", 192, 28);
  until_ = new QLineEdit(cash);
  until_->setObjectName(QStringLiteral("until"));
  until_->setGeometry(192, 56, 89, 23);
  QPushButton* unenter = addButton(cash, "unenter", "Enter", QRect(288, 55, 57, 25));
  describe(money_, "Initial cash", "The chips every seat starts with; Enter gives them to every seat");
  describe(enter, "Enter initial cash", "Gives every seat the initial cash");
  describe(until_, "Play until someone wins", "The chips above the initial cash that win the game");
  describe(unenter, "Enter target", "Takes the target");

  // The opponents' level.
  QFrame* level = addSubPanel(this, "Panel3", 24, 120, 121, 177);
  addLabel(level, "Label7", "AI level", 12, 12);
  levels_ = addRadioGroup(level, "Levels", {"Amateur", "Expert", "Master", "Genius"}, 16, 42);

  // The betting limit: the small and the big bet and the arrows that move it.
  QFrame* limits = addSubPanel(this, "Panel4", 144, 120, 121, 177);
  addLabel(limits, "Label8", "Betting limits", 12, 12);
  addLabel(limits, "Label9", "Small bet:", 12, 48);
  addLabel(limits, "Label10", "$", 80, 48);
  smallBetLabel_ = addLabel(limits, "Label3", "2", 90, 48);
  smallBetLabel_->setAccessibleDescription(QStringLiteral("The small bet, of the pre-flop and the flop"));
  addLabel(limits, "Label11", "Big bet:", 12, 76);
  addLabel(limits, "Label12", "$", 80, 76);
  bigBetLabel_ = addLabel(limits, "Label4", "4", 90, 76);
  bigBetLabel_->setAccessibleDescription(QStringLiteral("The big bet, of the turn and the river"));
  auto* upDown = new QWidget(limits);
  upDown->setObjectName(QStringLiteral("UpDown1"));
  upDown->setGeometry(36, 120, 48, 24);
  for (auto [arrow, step, name] :
       {std::tuple{Qt::LeftArrow, -1, "down"}, std::tuple{Qt::RightArrow, +1, "up"}}) {
    auto* button = new QToolButton(upDown);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setGeometry(step < 0 ? 0 : 24, 0, 24, 24);
    if (step < 0) {
      describe(button, "Lower betting limits", "Makes the small and the big bet smaller");
    } else {
      describe(button, "Higher betting limits", "Makes the small and the big bet larger");
    }
    arrows_[step < 0 ? 0 : 1] = button;
    connect(button, &QToolButton::clicked, this,
            [this, by = step] { run([this, by] { game_.changeBettingLimit(by); }); });
  }

  // The card back.
  QFrame* back = addSubPanel(this, "Panel5", 264, 120, 121, 177);
  addLabel(back, "Label13", "Card back", 12, 12);
  cardbacks_ = addRadioGroup(back, "cardbacks", {"Denim", "Cloth", "Rock", "Leather"}, 16, 42);

  QPushButton* close = addButton(this, "Close", "Close", QRect(168, 312, 75, 33));
  describe(close, "Close", "Closes the options (Esc)");
  for (QAbstractButton* b : levels_->buttons()) b->setAccessibleDescription(QStringLiteral("AI level"));
  for (QAbstractButton* b : cardbacks_->buttons()) b->setAccessibleDescription(QStringLiteral("Card back"));

  // Tab follows the panel from top left to bottom.
  QList<QWidget*> order{money_, enter, until_, unenter};
  for (QAbstractButton* b : levels_->buttons()) order << b;
  order << arrows_[0] << arrows_[1];
  for (QAbstractButton* b : cardbacks_->buttons()) order << b;
  order << close;
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  connect(money_, &QLineEdit::textEdited, this,
          [this](const QString& text) { run([this, text] { game_.setMoneyText(text.toStdString()); }); });
  connect(until_, &QLineEdit::textEdited, this,
          [this](const QString& text) { run([this, text] { game_.setUntilText(text.toStdString()); }); });
  connect(enter, &QPushButton::clicked, this, [this] { run([this] { game_.enterInitialCash(); }); });
  connect(unenter, &QPushButton::clicked, this, [this] { run([this] { game_.enterTarget(); }); });
  // Return in an edit box is its Enter button.
  connect(money_, &QLineEdit::returnPressed, this, [this] { run([this] { game_.enterInitialCash(); }); });
  connect(until_, &QLineEdit::returnPressed, this, [this] { run([this] { game_.enterTarget(); }); });
  connect(levels_, &QButtonGroup::idClicked, this,
          [this](int id) { run([this, id] { game_.selectLevel(id); }); });
  // A click on the back already chosen counts too: it repaints the table.
  connect(cardbacks_, &QButtonGroup::idClicked, this,
          [this](int id) { run([this, id] { game_.chooseCardBack(id); }); });
  connect(close, &QPushButton::clicked, this, [this] { run([this] { game_.closeOptions(); }); });
}

void OptionsPanel::run(const std::function<void()>& action) {
  action();
  if (changed_) changed_();
}

void OptionsPanel::showView(const TableView& view) {
  const QString money = QString::fromStdString(view.money);
  if (money_->text() != money) money_->setText(money);
  const QString until = QString::fromStdString(view.until);
  if (until_->text() != until) until_->setText(until);
  smallBetLabel_->setText(QString::fromStdString(view.smallBetText));
  smallBetLabel_->adjustSize();
  bigBetLabel_->setText(QString::fromStdString(view.bigBetText));
  bigBetLabel_->adjustSize();
  const QString small = QStringLiteral("Small bet: $") + smallBetLabel_->text();
  if (smallBetLabel_->accessibleName() != small) smallBetLabel_->setAccessibleName(small);
  const QString big = QStringLiteral("Big bet: $") + bigBetLabel_->text();
  if (bigBetLabel_->accessibleName() != big) bigBetLabel_->setAccessibleName(big);
  select(levels_, view.level);
  select(cardbacks_, view.backItem);
}

QWidget* OptionsPanel::firstInTabOrder() const { return money_; }

}  // namespace holdem
