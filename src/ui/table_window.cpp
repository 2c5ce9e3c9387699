#include "ui/table_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>

#include "game/cards_on_table.h"
#include "ui/deal_review.h"
#include "ui/fonts.h"
#include "ui/hand_log.h"
#include "ui/message_boxes.h"
#include "ui/options_panel.h"
#include "ui/rules_dialog.h"
#include "ui/stats_dialog.h"
#include "ui/table_canvas.h"
#include "ui/table_description.h"
#include "ui/table_labels.h"
#include "ui/table_stage.h"

namespace holdem {

namespace {

struct ButtonPlace {
  const char* name;
  const char* caption;
  int left;
  Qt::Key key;
  const char* help;  // what the button does, for its tooltip and screen readers
};

// In the order of Button. Plain letters: an edit box with the focus takes
// them as typing before they can act as shortcuts.
constexpr std::array<ButtonPlace, kButtonCount> kButtons{{
    {"btnnew", "Deal", 32, Qt::Key_D, "Deals the next hand"},
    {"btnstay", "Check", 88, Qt::Key_C, "Checks, or calls an open bet"},
    {"btnbet", "Raise", 144, Qt::Key_R, "Bets or raises by one bet of the round"},
    {"btnpass", "Fold", 200, Qt::Key_F, "Leaves the deal"},
}};
constexpr int kButtonTop = 472;
constexpr int kButtonWidth = 57;

const QColor kWhite(Qt::white);
const QColor kYellow(Qt::yellow);

QString toQString(const std::string& s) { return QString::fromStdString(s); }

void setTextColour(QLabel* label, const QColor& colour) {
  if (label->palette().color(QPalette::WindowText) == colour) return;
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
}

void setLabelText(QLabel* label, const QString& text) {
  if (label->text() == text) return;
  label->setText(text);
  label->adjustSize();
}

// Screen readers hear of a change only when there is one.
void setAccessibleText(QWidget* widget, const QString& name, const QString& description = QString()) {
  if (widget->accessibleName() != name) widget->setAccessibleName(name);
  if (!description.isNull() && widget->accessibleDescription() != description)
    widget->setAccessibleDescription(description);
}

QString seatName(Seat s) {
  const std::string_view name = info(s).name;
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString chipsName(Seat s, const std::string& cash) {
  const QString amount = QString::fromStdString(cash);
  return s == Seat::Player ? QStringLiteral("Your chips: ") + amount
                           : seatName(s) + QStringLiteral("'s chips: ") + amount;
}

QString statusName(Seat s, const std::string& status) {
  const QString text = QString::fromStdString(status).trimmed();
  if (text.isEmpty())
    return seatName(s) +
           (s == Seat::Player ? QStringLiteral(" have not acted") : QStringLiteral(" has not acted"));
  return seatName(s) + QStringLiteral(": ") + text;
}

QString withShortcut(const char* help, const QKeySequence& key) {
  return QString::fromLatin1(help) + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
         QLatin1Char(')');
}

}  // namespace

TableWindow::TableWindow(SettingsStore& settings, Clock& clock, Dialogs* dialogs, qreal devicePixelRatio) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString());
  // A sizeable window with the system menu and minimise and close buttons.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(pixelFont(kDialogFontFamily, 11, false));

  if (!dialogs) {
    messageBoxes_ = std::make_unique<MessageBoxes>(this);
    // A box that a playback shows has its moment on the window already.
    messageBoxes_->setBeforeShow([this] {
      if (!playback_->showingStep()) syncFromView();
    });
    dialogs = messageBoxes_.get();
  }
  followsScreen_ = devicePixelRatio <= 0;
  if (followsScreen_) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    devicePixelRatio = screen ? screen->devicePixelRatio() : 1.0;
  }
  canvas_ = new TableCanvas(this, devicePixelRatio);
  canvas_->setObjectName(QStringLiteral("table"));
  canvas_->setAccessibleName(QStringLiteral("Table"));
  setAccessibleName(QStringLiteral("Hold'em"));
  // The window colour: black, also where the card corners are rounded off.
  QPalette black = canvas_->palette();
  black.setColor(QPalette::Window, Qt::black);
  canvas_->setPalette(black);
  setCentralWidget(canvas_);
  cardsOnTable_ = std::make_unique<CardsOnTable>(*canvas_);
  playback_ = std::make_unique<TablePlayback>(
      *cardsOnTable_, *dialogs, [this](const TableView& v, bool whole) { showView(v, whole); },
      [this] {
        qApp->removeEventFilter(this);
        syncFromView();
      });
  game_ = std::make_unique<Game>(settings, *playback_, *playback_, clock);
  game_->onMomentOfPlay([this] { playback_->momentOfPlay(); });

  buildMenu();
  handLog_ = std::make_unique<HandLogPanel>(*this, *game_);
  review_ = std::make_unique<DealReview>(*this, *handLog_, game_->view());
  buildSpeedMenu();
  buildLabels();
  buildButtons();
  // Tab runs along the buttons from left to right, then through the options
  // when they are shown.
  for (int b = 1; b < kButtonCount; ++b) setTabOrder(buttons_[b - 1], buttons_[b]);
  buildShortcuts();
  syncFromView();
  placeOnScreen();
}

TableWindow::~TableWindow() { qApp->removeEventFilter(this); }

void TableWindow::buildMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("Game"));
  menu->setObjectName(QStringLiteral("Game1"));
  const struct {
    const char* name;
    const char* caption;
    void (TableWindow::*handler)();
    QKeySequence key;
  } items[] = {
      {"NewGame1", "New game", &TableWindow::newGame, QKeySequence(Qt::CTRL | Qt::Key_N)},
      {"Options1", "Options", &TableWindow::toggleOptions, QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"About1", "About", &TableWindow::showRules, QKeySequence(Qt::Key_F1)},
      {"Stats1", "Statistics", &TableWindow::showStatistics, QKeySequence(Qt::CTRL | Qt::Key_I)},
  };
  for (const auto& item : items) {
    QAction* action = menu->addAction(QString::fromLatin1(item.caption));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcut(item.key);
    action->setAutoRepeat(false);
    connect(action, &QAction::triggered, this, [this, handler = item.handler] { (this->*handler)(); });
  }
}

namespace {
constexpr const char* kSpeedKey = "opponentSpeed";
constexpr std::array<const char*, 3> kSpeedNames{"Instant", "Normal", "Slow"};
}  // namespace

void TableWindow::buildSpeedMenu() {
  QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("View1"));
  QMenu* speed = view->addMenu(QStringLiteral("Opponent speed"));
  speed->setObjectName(QStringLiteral("OpponentSpeed1"));
  auto* group = new QActionGroup(speed);
  for (size_t i = 0; i < kSpeedNames.size(); ++i) {
    QAction* action = group->addAction(QString::fromLatin1(kSpeedNames[i]));
    action->setObjectName(QStringLiteral("Speed") + QString::fromLatin1(kSpeedNames[i]) + QLatin1Char('1'));
    action->setCheckable(true);
    action->setChecked(i == 0);
    connect(action, &QAction::triggered, this,
            [this, i] { setOpponentSpeed(static_cast<OpponentSpeed>(i)); });
    speedActions_[i] = action;
  }
  speed->addActions(group->actions());
}

void TableWindow::setOpponentSpeed(OpponentSpeed speed) {
  playback_->finish();
  playback_->setSpeed(speed);
  const auto i = static_cast<size_t>(speed);
  if (!speedActions_[i]->isChecked()) speedActions_[i]->setChecked(true);
  if (prefs_) prefs_->setValue(QLatin1String(kSpeedKey), QString::fromLatin1(kSpeedNames[i]));
}

void TableWindow::rememberSpeedIn(QSettings* prefs) {
  prefs_ = nullptr;
  if (prefs) {
    const QString name = prefs->value(QLatin1String(kSpeedKey)).toString();
    for (size_t i = 0; i < kSpeedNames.size(); ++i)
      if (name == QLatin1String(kSpeedNames[i])) setOpponentSpeed(static_cast<OpponentSpeed>(i));
  }
  prefs_ = prefs;
}

void TableWindow::buildLabels() {
  const QFont labelFont = pixelFont(kTableFontFamily, 11, true);
  auto add = [&](const LabelPlace& place, const QString& text, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(text, canvas_);
    label->setObjectName(QString::fromLatin1(place.name));
    label->setFont(font);
    setTextColour(label, colour);
    label->move(place.left, place.top);
    label->adjustSize();
    return label;
  };
  for (int s = 0; s < kSeatCount; ++s) {
    const SeatLabels& seat = kSeatLabels[s];
    const Seat who = static_cast<Seat>(s);
    const bool you = who == Seat::Player;
    QLabel* caption = add(seat.name, QString::fromLatin1(seat.caption), labelFont, kWhite);
    setAccessibleText(caption, seatName(who), you ? QStringLiteral("Your seat") : QStringLiteral("Opponent"));
    cashLabels_[s] = add(seat.cash, QString(), labelFont, kWhite);
    cashLabels_[s]->setAccessibleDescription(you ? QStringLiteral("The chips you hold")
                                                 : QStringLiteral("The chips ") + seatName(who) +
                                                       QStringLiteral(" holds"));
    statusLabels_[s] = add(seat.status, QString(), labelFont, kWhite);
    statusLabels_[s]->setAccessibleDescription(
        (you ? QStringLiteral("Your") : seatName(who) + QStringLiteral("'s")) +
        QStringLiteral(" last action, or the hand shown at the end of a deal"));
  }
  theresult_ = add(kResultPlace, QString(), pixelFont(kTableFontFamily, 15, true), kYellow);
  theresult_->setAccessibleDescription(QStringLiteral("Who won the deal"));
  const QFont potFont = pixelFont(kTableFontFamily, 12, true);
  QLabel* pot = add(kPotCaptionPlace, QStringLiteral("POT: "), potFont, kWhite);
  setAccessibleText(pot, QStringLiteral("Pot"), QStringLiteral("The chips at stake in this deal"));
  betsize_ = add(kPotPlace, QString(), potFont, kWhite);
  betsize_->setAccessibleDescription(QStringLiteral("The chips at stake in this deal"));
}

void TableWindow::buildButtons() {
  const QFont buttonFont = pixelFont(kTableFontFamily, 11, true);
  for (int b = 0; b < kButtonCount; ++b) {
    auto* button = new QPushButton(QString::fromLatin1(kButtons[b].caption), canvas_);
    button->setObjectName(QString::fromLatin1(kButtons[b].name));
    button->setFont(buttonFont);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    button->setGeometry(kButtons[b].left, kButtonTop, kButtonWidth, button->sizeHint().height());
    const QString help = withShortcut(kButtons[b].help, shortcut(static_cast<Button>(b)));
    button->setToolTip(help);
    button->setAccessibleDescription(help);
    connect(button, &QPushButton::clicked, this, [this, b] { buttonClicked(static_cast<Button>(b)); });
    buttons_[b] = button;
  }
}

QKeySequence TableWindow::shortcut(Button button) {
  return QKeySequence(kButtons[static_cast<int>(button)].key);
}

// The keys act wherever the focus is in the window. They go through the
// game's click like the mouse does, so a disabled button's key does nothing.
void TableWindow::buildShortcuts() {
  for (int b = 0; b < kButtonCount; ++b) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(kButtons[b].name) + QStringLiteral("Key"));
    action->setShortcut(shortcut(static_cast<Button>(b)));
    action->setShortcutContext(Qt::WindowShortcut);
    action->setAutoRepeat(false);  // a key held down is one click
    connect(action, &QAction::triggered, this, [this, b] { buttonClicked(static_cast<Button>(b)); });
    addAction(action);
  }
  auto* close = new QAction(this);
  close->setObjectName(QStringLiteral("CloseKey"));
  close->setShortcut(QKeySequence(Qt::Key_Escape));
  close->setShortcutContext(Qt::WindowShortcut);
  connect(close, &QAction::triggered, this, [this] {
    playback_->finish();
    if (game_->view().panelVisible) run([&] { game_->closeOptions(); });
  });
  addAction(close);
}

// The client area holds the menu bar and the 800 x 520 table below it;
// with a standard frame the whole window comes to about 806 x 572. On a
// screen that cannot hold that, the table is scaled down to fit.
void TableWindow::placeOnScreen() {
  const int menuHeight = menuBar()->sizeHint().height();
  const QScreen* screen = windowHandle() ? windowHandle()->screen() : QGuiApplication::primaryScreen();
  const QSize table(kTableWidth, kTableHeight);
  QSize shown = table;
  if (!screen || tableFits(screen)) {
    showTableWhole();
  } else {
    showTableScaled();
    shown = table.scaled(roomForTable(screen), Qt::KeepAspectRatio).expandedTo(table / 2);
  }
  resize(shown.width(), shown.height() + menuHeight);
  if (!screen) return;
  // The frame centred on the available area, and within it wherever it fits.
  const QRect area = screen->availableGeometry();
  const QRect frame = frameGeometry(), inner = geometry();
  QRect placed(QPoint(0, 0),
               size().grownBy(QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                                       frame.right() - inner.right(), frame.bottom() - inner.bottom())));
  placed.moveCenter(area.center());
  placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() + 1 - placed.width())));
  placed.moveTop(std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
  move(placed.topLeft());
}

bool TableWindow::tableFits(const QScreen* screen) const {
  const QRect area = screen->availableGeometry();
  return area.width() >= kTableWidth && area.height() >= kTableHeight + menuBar()->sizeHint().height();
}

QSize TableWindow::roomForTable(const QScreen* screen) const {
  const QRect area = screen->availableGeometry();
  const QRect frame = frameGeometry(), inner = geometry();
  const int frameWidth = frame.width() - inner.width();
  const int frameHeight = frame.height() - inner.height();
  return QSize(area.width() - frameWidth, area.height() - frameHeight - menuBar()->sizeHint().height());
}

void TableWindow::keepFrameOnScreen() {
  if (!stage_ || frameChecked_ || !isVisible() || !windowHandle()) return;
  if (windowHandle()->frameMargins().isNull()) return;  // not framed (yet)
  frameChecked_ = true;
  const QScreen* screen = windowHandle()->screen();
  if (screen && !screen->availableGeometry().contains(frameGeometry())) placeOnScreen();
}

void TableWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  keepFrameOnScreen();
}

void TableWindow::showTableScaled() {
  if (stage_) return;
  QWidget* table = takeCentralWidget();
  stage_ = new TableStage(table, this);
  stage_->setAccessibleName(canvas_->accessibleName());
  setCentralWidget(stage_);
}

void TableWindow::showTableWhole() {
  if (!stage_) return;
  TableStage* stage = stage_;
  stage_ = nullptr;
  takeCentralWidget();
  QWidget* table = stage->release();
  delete stage;
  setCentralWidget(table);
  table->show();
}

template <typename Action>
void TableWindow::run(Action action) {
  action();
  syncFromView();
}

bool TableWindow::startUp() {
  const bool ok = game_->startUp();
  // The opponents' cards lie face down from the first deal on: their back
  // is drawn on a second thread while the labels are filled and the window
  // is shown.
  if (ok) canvas_->drawBackAhead(backPicture(game_->state()));
  syncFromView();
  return ok;
}

void TableWindow::setDialogWindows(RulesDialog* about, StatsDialog* stats) {
  about_ = about;
  stats_ = stats;
}

OptionsPanel& TableWindow::optionsPanel() {
  if (!panel_) {
    panel_ = new OptionsPanel(canvas_, *game_, [this] { syncFromView(); });
    panel_->hide();
    setTabOrder(buttons_[kButtonCount - 1], panel_->firstInTabOrder());
    panel_->showView(game_->view());
  }
  return *panel_;
}

void TableWindow::buttonClicked(Button button) {
  playback_->finish();
  if (playback_->speed() == OpponentSpeed::Instant) {
    run([&] { game_->click(button); });
    return;
  }
  // Until the playback ends, a click, a key or a menu command shows the
  // rest at once before it acts.
  qApp->installEventFilter(this);
  playback_->record(game_->view(), [&] { game_->click(button); });
}

bool TableWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == this)
        playback_->finish();
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TableWindow::closeEvent(QCloseEvent* event) {
  playback_->finish(false);
  QMainWindow::closeEvent(event);
}

void TableWindow::newGame() {
  playback_->finish();
  run([&] { game_->newGame(); });
}

void TableWindow::toggleOptions() {
  playback_->finish();
  run([&] { game_->toggleOptions(); });
}

void TableWindow::showRules() {
  playback_->finish();
  if (!about_) about_ = new RulesDialog(this);
  about_->exec();
}

void TableWindow::showStatistics() {
  playback_->finish();
  if (!stats_) stats_ = new StatsDialog(this);
  const TableState& t = game_->state();
  stats_->showCounters(t.dealsCount, t.handsPlayed, t.handsWon);
  stats_->exec();
}

void TableWindow::redraw() {
  // The whole table is drawn as the game stands: a playback shows the rest first.
  if (!playback_->showingStep()) playback_->finish();
  canvas_->paintTablePicture();
  cardsOnTable_->clear();
  game_->paintTable();
  describeTable();
}

void TableWindow::describeTable() {
  const TableShown shown = tableShownAt([this](Point at) { return cardsOnTable_->pictureAt(at); });
  const QString text = holdem::describeTable(shown, game_->state(), game_->view());
  if (canvas_->accessibleDescription() != text) canvas_->setAccessibleDescription(text);
}

void TableWindow::syncFromView() {
  showView(game_->view(), true);
  describeTable();
  handLog_->follow();
}

void TableWindow::showView(const TableView& v, bool whole) {
  for (int s = 0; s < kSeatCount; ++s) {
    setLabelText(cashLabels_[s], toQString(v.cashText[s]));
    setLabelText(statusLabels_[s], toQString(v.status[s]));
    setTextColour(statusLabels_[s], v.statusColor[s] == LabelColor::Yellow ? kYellow : kWhite);
    setAccessibleText(cashLabels_[s], chipsName(static_cast<Seat>(s), v.cashText[s]));
    setAccessibleText(statusLabels_[s], statusName(static_cast<Seat>(s), v.status[s]));
  }
  setLabelText(theresult_, toQString(v.result));
  setLabelText(betsize_, toQString(v.potText));
  const QString result = toQString(v.result).trimmed();
  setAccessibleText(theresult_, result.isEmpty() ? QStringLiteral("No result yet") : result);
  setAccessibleText(betsize_, QStringLiteral("Pot: ") + toQString(v.potText));
  if (!whole) return;
  keepFocusOffTheOptions(v);
  for (int b = 0; b < kButtonCount; ++b) buttons_[b]->setEnabled(v.enabled[b]);
  buttons_[static_cast<int>(Button::CheckCall)]->setText(toQString(v.stayCaption));
  for (QPushButton* button : buttons_) setAccessibleText(button, button->text());

  // Until the options are first shown, there is no panel to keep up to date.
  if (panel_ || v.panelVisible) {
    OptionsPanel& panel = optionsPanel();
    panel.showView(v);
    const bool panelWasShown = !panel.isHidden();
    panel.setVisible(v.panelVisible);
    // The table under a panel that goes away is painted afresh.
    if (panelWasShown && !v.panelVisible && isVisible()) redraw();
  }
}

// A button that is switched off while it has the focus hands the focus on
// along the tab chain, which runs into the options when they are shown:
// the buttons' letters would then type into the initial cash. So the focus
// goes to the first button that stays on, or to the table when none does,
// before any button is switched off.
void TableWindow::keepFocusOffTheOptions(const TableView& v) {
  QWidget* focused = nullptr;
  for (int b = 0; b < kButtonCount; ++b) {
    if (buttons_[b]->window()->focusWidget() == buttons_[b] && !v.enabled[b]) focused = buttons_[b];
  }
  if (!focused) return;
  for (int b = 0; b < kButtonCount; ++b) {
    if (!v.enabled[b]) continue;
    buttons_[b]->setEnabled(true);
    buttons_[b]->setFocus(Qt::OtherFocusReason);
    return;
  }
  canvas_->setFocus(Qt::OtherFocusReason);
}

// Whenever the window comes into view, the whole table is painted afresh:
// when it is first shown, restored from the task bar, or resized.
void TableWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  minimised_ = false;
  if (followsScreen_ && !watchingScreen_ && windowHandle()) {
    connect(windowHandle(), &QWindow::screenChanged, this, [this] { followScreen(); });
    watchingScreen_ = true;
  }
  if (followsScreen_) canvas_->setDevicePixelRatio(devicePixelRatioF());
  redraw();
}

// On a screen of another density the table is drawn anew, sharp for it;
// on one too small for it, scaled down.
void TableWindow::followScreen() {
  if (const QScreen* screen = windowHandle()->screen()) {
    if (tableFits(screen)) {
      showTableWhole();
    } else {
      showTableScaled();
    }
  }
  if (devicePixelRatioF() == canvas_->devicePixelRatio()) return;
  canvas_->setDevicePixelRatio(devicePixelRatioF());
  if (isVisible()) redraw();
}

void TableWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  keepFrameOnScreen();
  if (isVisible() && !isMinimized()) redraw();
}

void TableWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (isMinimized()) {
    minimised_ = true;
  } else if (minimised_) {
    // Restored without a show event of its own.
    minimised_ = false;
    redraw();
  }
}

}  // namespace holdem
