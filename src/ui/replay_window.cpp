#include "ui/replay_window.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

#include "history/hand_words.h"
#include "ui/fonts.h"
#include "ui/table_canvas.h"
#include "ui/table_labels.h"

namespace holdem {

namespace {

constexpr int kSideWidth = 320;

QString toQString(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QLabel* tableLabel(QWidget* table, const LabelPlace& place, const QString& text, const QFont& font,
                   const QColor& colour) {
  auto* label = new QLabel(text, table);
  label->setObjectName(QString::fromLatin1(place.name));
  label->setFont(font);
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
  label->move(place.left, place.top);
  label->adjustSize();
  return label;
}

void setText(QLabel* label, const std::string& text) {
  label->setText(toQString(text));
  label->adjustSize();
}

}  // namespace

ReplayWindow::ReplayWindow(std::vector<HandRecord> hands, size_t shown, QWidget* parent,
                           std::vector<TableView> shownAtEnd)
    : QWidget(parent, Qt::Window), hands_(std::move(hands)), shownAtEnd_(std::move(shownAtEnd)) {
  setObjectName(QStringLiteral("Replay"));
  const QScreen* screen = QGuiApplication::primaryScreen();
  canvas_ = new TableCanvas(this, screen ? screen->devicePixelRatio() : 1.0);
  canvas_->setObjectName(QStringLiteral("replayTable"));
  canvas_->setBeep([] {});
  canvas_->setFixedSize(kTableWidth, kTableHeight);
  QPalette black = canvas_->palette();
  black.setColor(QPalette::Window, Qt::black);
  canvas_->setPalette(black);
  canvas_->paintTablePicture();

  // The labels as the table lays them out.
  const QFont labelFont = pixelFont(kTableFontFamily, 11, true);
  for (int s = 0; s < kSeatCount; ++s) {
    tableLabel(canvas_, kSeatLabels[s].name, QString::fromLatin1(kSeatLabels[s].caption), labelFont,
               Qt::white);
    cashLabels_[s] = tableLabel(canvas_, kSeatLabels[s].cash, QString(), labelFont, Qt::white);
    statusLabels_[s] = tableLabel(canvas_, kSeatLabels[s].status, QString(), labelFont, Qt::white);
  }
  result_ = tableLabel(canvas_, kResultPlace, QString(), pixelFont(kTableFontFamily, 15, true), Qt::yellow);
  const QFont potFont = pixelFont(kTableFontFamily, 12, true);
  tableLabel(canvas_, kPotCaptionPlace, QStringLiteral("POT: "), potFont, Qt::white);
  pot_ = tableLabel(canvas_, kPotPlace, QString(), potFont, Qt::white);

  side_ = new QLabel(this);
  side_->setObjectName(QStringLiteral("replaySide"));
  side_->setWordWrap(true);
  side_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  side_->setTextFormat(Qt::PlainText);
  side_->setFixedWidth(kSideWidth);
  side_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* controls = new QHBoxLayout;
  // Each button with the key that does the same.
  const struct {
    const char* name;
    const char* caption;
    Qt::Key key;
    int (*to)(int frame, int count);
  } moves[] = {
      {"replayFirst", "|< First", Qt::Key_Home, [](int, int) { return 0; }},
      {"replayPrevious", "< Previous", Qt::Key_Left, [](int f, int) { return f - 1; }},
      {"replayNext", "Next >", Qt::Key_Right, [](int f, int) { return f + 1; }},
      {"replayLast", "Last >|", Qt::Key_End, [](int, int n) { return n - 1; }},
  };
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName(QStringLiteral("replaySlider"));
  slider_->setFocusPolicy(Qt::NoFocus);  // the keys belong to the window's steps
  for (const auto& move : moves) {
    auto* button = new QPushButton(QString::fromLatin1(move.caption), this);
    button->setObjectName(QString::fromLatin1(move.name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QKeySequence(move.key).toString(QKeySequence::NativeText));
    connect(button, &QPushButton::clicked, this, [this, to = move.to] { goTo(to(frame_, frameCount())); });
    controls->addWidget(button);
    if (move.key == Qt::Key_Left) controls->addWidget(slider_, 1);
  }
  position_ = new QLabel(this);
  position_->setObjectName(QStringLiteral("replayPosition"));
  controls->addWidget(position_);
  connect(slider_, &QSlider::valueChanged, this, [this](int f) { goTo(f); });

  auto* layout = new QVBoxLayout(this);
  if (hands_.size() > 1) {
    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("replayHand"));
    chooser_->setFocusPolicy(Qt::NoFocus);
    for (const HandRecord& r : hands_) chooser_->addItem(toQString(summaryWords(r)));
    connect(chooser_, &QComboBox::currentIndexChanged, this, [this](int i) {
      if (i >= 0) showHand(static_cast<size_t>(i));
    });
    layout->addWidget(chooser_);
  }
  auto* middle = new QHBoxLayout;
  middle->addWidget(canvas_);
  middle->addWidget(side_);
  layout->addLayout(middle);
  layout->addLayout(controls);
  showHand(std::min(shown, hands_.size() - 1));
}

ReplayWindow::~ReplayWindow() = default;

void ReplayWindow::showHand(size_t hand) {
  if (hand >= hands_.size()) return;
  hand_ = hand;
  if (chooser_ && chooser_->currentIndex() != static_cast<int>(hand))
    chooser_->setCurrentIndex(static_cast<int>(hand));
  frames_ = replayFrames(hands_[hand_]);
  if (hand_ < shownAtEnd_.size()) {
    TableView& last = frames_.back().view;
    const TableView& shown = shownAtEnd_[hand_];
    last.status = shown.status;
    last.statusColor = shown.statusColor;
    last.cashText = shown.cashText;
    last.result = shown.result;
    last.potText = shown.potText;
  }
  setWindowTitle(QStringLiteral("Replay of deal %1").arg(hands_[hand_].number));
  const QSignalBlocker quiet(slider_);
  slider_->setRange(0, frameCount() - 1);
  frame_ = -1;
  goTo(0);
}

void ReplayWindow::goTo(int frame) {
  frame = std::clamp(frame, 0, frameCount() - 1);
  if (frame == frame_) return;
  frame_ = frame;
  {
    const QSignalBlocker quiet(slider_);
    slider_->setValue(frame);
  }
  position_->setText(QStringLiteral("%1 / %2").arg(frame + 1).arg(frameCount()));
  computeChances();
  paintFrame();
}

// Nothing in the window takes the keyboard focus for long: the keys of the
// steps come here.
void ReplayWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Home: goTo(0); break;
    case Qt::Key_Left: goTo(frame_ - 1); break;
    case Qt::Key_Right: goTo(frame_ + 1); break;
    case Qt::Key_End: goTo(frameCount() - 1); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void ReplayWindow::paintFrame() {
  const ReplayFrame& f = frame();
  const HandRecord& r = hand();
  canvas_->fillTable(Rect{0, 0, kTableWidth, kTableHeight});
  // Slot 0 of every seat, then slot 1, in the table's order.
  for (int slot = 0; slot < 2; ++slot)
    for (int s = 0; s < kSeatCount; ++s)
      if (f.inDeal[s]) drawTableCard(*canvas_, kSeats[s].cardSlot[slot], r.seats[s].hole[slot].imageIndex());
  for (int i = 0; i < f.boardShown; ++i) drawTableCard(*canvas_, kBoardSlots[i], r.board[i].imageIndex());
  for (int s = 0; s < kSeatCount; ++s) {
    setText(cashLabels_[s], f.view.cashText[s]);
    setText(statusLabels_[s], f.view.status[s]);
    QPalette p = statusLabels_[s]->palette();
    p.setColor(QPalette::WindowText, f.view.statusColor[s] == LabelColor::Yellow ? Qt::yellow : Qt::white);
    statusLabels_[s]->setPalette(p);
  }
  setText(result_, f.view.result);
  setText(pot_, f.view.potText);
  side_->setText(sideText());
}

void ReplayWindow::computeChances() {
  const ReplayFrame& f = frame();
  const HandRecord& r = hand();
  std::vector<HoleCards> hands;
  std::vector<Card> dead;
  for (int s = 0; s < kSeatCount; ++s) {
    if (f.inDeal[s])
      hands.push_back(r.seats[s].hole);
    else if (r.seats[s].dealtIn)
      dead.insert(dead.end(), r.seats[s].hole.begin(), r.seats[s].hole.end());
  }
  chances_ = {};
  if (hands.empty()) return;
  const std::span<const Card> board(r.board.data(), static_cast<size_t>(f.boardShown));
  // Every unknown card equally likely: every board counted where they are
  // few, else 40 000 boards drawn at random.
  const WinningChances w =
      winningChances(hands, board, dead, 50'000, 40'000, static_cast<uint64_t>(r.serial));
  size_t h = 0;
  for (int s = 0; s < kSeatCount; ++s)
    if (f.inDeal[s]) chances_[s] = w.chance[h++];
}

QString ReplayWindow::sideText() const {
  const ReplayFrame& f = frame();
  const HandRecord& r = hand();
  QString out = toQString(f.caption);
  if (!f.reason.empty()) out += QStringLiteral("\n\n") + toQString(f.reason);
  out += QStringLiteral("\n\n") +
         (f.over ? QStringLiteral("Chances at the showdown:") : QStringLiteral("Chances to win from here:"));
  for (int s = 0; s < kSeatCount; ++s) {
    const Seat seat = static_cast<Seat>(s);
    out += QStringLiteral("\n") + toQString(std::string(info(seat).name)) + QStringLiteral(": ");
    if (!r.seats[s].dealtIn) {
      out += QStringLiteral("sits out");
      continue;
    }
    out +=
        toQString(cardWords(r.seats[s].hole[0]) + " " + cardWords(r.seats[s].hole[1])) + QStringLiteral("  ");
    out += chances_[s] ? QString::number(*chances_[s] * 100.0, 'f', 1) + QStringLiteral(" %")
                       : QStringLiteral("folded");
  }
  return out;
}

}  // namespace holdem
