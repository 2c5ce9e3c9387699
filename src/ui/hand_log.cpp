#include "ui/hand_log.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <QStaticText>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "history/hand_words.h"

namespace holdem {

namespace {

constexpr int kPanelWidth = 360;
constexpr size_t kKeptLines = 2000;  // the oldest lines go beyond this
constexpr int kFillBand = 64;        // lines of pixels filled at a time
constexpr int kTextMargin = 4;
const QString kOpenKey = QStringLiteral("HandLog/open");

QString toQString(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

struct HandLog::Row {
  QString text;
  mutable QStaticText laidOut;  // made when first drawn
  mutable bool ready = false;
};

HandLog::HandLog(QWidget* parent) : QWidget(parent), bar_(new QScrollBar(Qt::Vertical, this)) {
  setObjectName(QStringLiteral("handLogText"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setBackgroundRole(QPalette::Base);
  setAccessibleName(QStringLiteral("Hand log"));
  bar_->setObjectName(QStringLiteral("handLogScroll"));
  // The scroll bar shows while the mouse is over the log: a log that grows
  // by a line does not draw it each time.
  bar_->hide();
  connect(bar_, &QScrollBar::valueChanged, this, [this](int top) { scrolledTo(top); });
  // The rows chosen, or all of them, go to the clipboard as text.
  auto* copy = new QAction(QStringLiteral("Copy"), this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, [this] { QGuiApplication::clipboard()->setText(selectedText()); });
  auto* all = new QAction(QStringLiteral("Select all"), this);
  all->setShortcut(QKeySequence::SelectAll);
  all->setShortcutContext(Qt::WidgetShortcut);
  connect(all, &QAction::triggered, this, &HandLog::selectAll);
  auto* replay = new QAction(QStringLiteral("Replay this deal"), this);
  replay->setObjectName(QStringLiteral("replayRow"));
  connect(replay, &QAction::triggered, this, [this] {
    if (const int deal = dealOfRow(end_); deal > 0 && replay_) replay_(deal);
  });
  addAction(copy);
  addAction(all);
  addAction(replay);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  describe();
}

HandLog::~HandLog() = default;

QStringList HandLog::lines() const {
  QStringList out;
  for (const Row& row : rows_) out << row.text;
  return out;
}

QString HandLog::selectedText() const {
  if (anchor_ < 0) return {};
  QStringList out;
  const int first = std::min(anchor_, end_), last = std::max(anchor_, end_);
  for (int i = first; i <= last && i < static_cast<int>(rows_.size()); ++i) out << rows_[i].text;
  return out.join(QLatin1Char('\n'));
}

void HandLog::selectAll() {
  anchor_ = 0;
  end_ = static_cast<int>(rows_.size()) - 1;
  update();
}

int HandLog::rowHeight() const { return fontMetrics().height() + 1; }

int HandLog::rowsInView() const { return std::max(1, height() / rowHeight()); }

int HandLog::rowAt(int y) const {
  const int row = bar_->value() + y / rowHeight();
  return std::clamp(row, 0, std::max(0, static_cast<int>(rows_.size()) - 1));
}

QRect HandLog::textArea() const { return QRect(0, 0, bar_->x(), height()); }

void HandLog::scrolledTo(int top) {
  // Rows that stay in view are moved, not drawn again.
  const int by = top - shownTop_;
  shownTop_ = top;
  if (by != 0 && std::abs(by) < rowsInView()) {
    scroll(0, -by * rowHeight(), textArea());
  } else if (by != 0) {
    update();
  }
}

void HandLog::rowsChanged(int added) {
  // The newest row stays in view while the log is followed to its end.
  const bool atEnd = bar_->value() == bar_->maximum();
  const int top = bar_->value();
  bar_->setRange(0, std::max(0, static_cast<int>(rows_.size()) - rowsInView()));
  bar_->setPageStep(rowsInView());
  if (atEnd) bar_->setValue(bar_->maximum());
  if (added < 0) {
    update();
  } else if (bar_->value() == top) {
    // New rows below the last one: only their place is drawn.
    const int first = static_cast<int>(rows_.size()) - added - top;
    update(QRect(0, first * rowHeight(), textArea().width(), added * rowHeight()));
  }
}

void HandLog::append(const QStringList& lines) {
  if (lines.isEmpty()) return;
  for (const QString& line : lines) rows_.push_back({line, {}, false});
  detailLines_ += static_cast<int>(lines.size());
  bool dropped = false;
  while (rows_.size() > kKeptLines) {
    rows_.pop_front();
    anchor_ = std::max(-1, anchor_ - 1);
    end_ = std::max(-1, end_ - 1);
    dropped = true;
  }
  rowsChanged(dropped ? -1 : static_cast<int>(lines.size()));
}

void HandLog::removeLast(int count) {
  for (int i = 0; i < count && !rows_.empty(); ++i) rows_.pop_back();
  anchor_ = end_ = -1;
  rowsChanged(-1);
}

void HandLog::keep(const QString& line) {
  earlier_.push_back(line);
  if (earlier_.size() > kKeptEarlier) earlier_.pop_front();
}

void HandLog::describe() {
  // What screen readers hear: the deal in progress, line by line.
  QStringList deal;
  for (size_t i = rows_.size() - std::min(rows_.size(), static_cast<size_t>(detailLines_)); i < rows_.size();
       ++i)
    deal << rows_[i].text;
  const QString text = deal.isEmpty() ? QStringLiteral("No deal yet") : deal.join(QLatin1Char('\n'));
  if (accessibleDescription() != text) setAccessibleDescription(text);
}

void HandLog::follow(const HandRecord& r, bool lines) {
  if (r.serial == 0) return;
  if (r.serial != serial_) {
    // The deal before goes into its one line.
    if (serial_ != 0) {
      keep(summary_);
      if (live_) {
        removeLast(detailLines_);
        append({summary_});
      }
    }
    serial_ = r.serial;
    detailLines_ = 0;
    shownSteps_ = 0;
    opened_ = false;
    endShown_ = false;
    summary_.clear();
  }
  if (summary_.isEmpty() || (r.finished() && !endShown_)) summary_ = toQString(summaryWords(r));
  if (!lines) {
    // Closed, the log holds no rows: they are written when it opens.
    if (live_) {
      rows_.clear();
      anchor_ = end_ = -1;
    }
    live_ = false;
    return;
  }
  if (!live_) {
    rows_.clear();
    anchor_ = end_ = -1;
    rowsChanged(-1);
    append(QStringList(earlier_.begin(), earlier_.end()));
    bar_->setValue(bar_->maximum());
    detailLines_ = 0;
    shownSteps_ = 0;
    opened_ = false;
    endShown_ = false;
    live_ = true;
  }
  QStringList add;
  const auto words = [&add](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) add << toQString(line);
  };
  if (!opened_) {
    words(openingWords(r));
    opened_ = true;
  }
  for (; shownSteps_ < r.steps.size(); ++shownSteps_) words(stepWords(r, r.steps[shownSteps_]));
  if (r.finished() && !endShown_) {
    words(endWords(r));
    endShown_ = true;
  }
  append(add);
  if (!add.isEmpty()) describe();
}

void HandLog::notice(const QString& line) {
  keep(line);
  if (!live_) return;
  const size_t at = rows_.size() - std::min(rows_.size(), static_cast<size_t>(detailLines_));
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), Row{line, {}, false});
  rowsChanged(-1);
}

void HandLog::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  const QPalette& p = palette();
  for (int top = area.top(); top <= area.bottom(); top += kFillBand)
    painter.fillRect(QRect(area.left(), top, area.width(), std::min(kFillBand, area.bottom() + 1 - top)),
                     p.brush(QPalette::Base));
  const int h = rowHeight();
  const int width = textArea().width();
  const int first = shownTop_ + std::max(0, area.top()) / h;
  const int selFirst = std::min(anchor_, end_), selLast = std::max(anchor_, end_);
  for (int i = first, y = (first - shownTop_) * h; i < static_cast<int>(rows_.size()) && y <= area.bottom();
       ++i, y += h) {
    const Row& row = rows_[i];
    const bool chosen = anchor_ >= 0 && i >= selFirst && i <= selLast;
    if (chosen) painter.fillRect(QRect(0, y, width, h), p.brush(QPalette::Highlight));
    if (!row.ready) {
      row.laidOut.setText(row.text);
      row.laidOut.setTextFormat(Qt::PlainText);
      row.laidOut.prepare(QTransform(), font());
      row.ready = true;
    }
    painter.setPen(p.color(chosen ? QPalette::HighlightedText : QPalette::Text));
    painter.drawStaticText(kTextMargin, y, row.laidOut);
  }
}

void HandLog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int w = bar_->sizeHint().width();
  bar_->setGeometry(width() - w, 0, w, height());
  rowsChanged(-1);
}

void HandLog::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  bar_->show();
}

void HandLog::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (!bar_->isSliderDown()) bar_->hide();
}

void HandLog::wheelEvent(QWheelEvent* event) {
  bar_->setValue(bar_->value() - event->angleDelta().y() / 40);
  event->accept();
}

void HandLog::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && !rows_.empty()) {
    // The context menu acts on the row under the mouse.
    anchor_ = end_ = rowAt(event->position().toPoint().y());
    update();
  }
  if (event->button() != Qt::LeftButton || rows_.empty()) return QWidget::mousePressEvent(event);
  const int row = rowAt(event->position().toPoint().y());
  if (!(event->modifiers() & Qt::ShiftModifier) || anchor_ < 0) anchor_ = row;
  end_ = row;
  update();
}

void HandLog::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || anchor_ < 0) return;
  end_ = rowAt(event->position().toPoint().y());
  update();
}

void HandLog::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || rows_.empty()) return QWidget::mouseDoubleClickEvent(event);
  if (const int deal = dealOfRow(rowAt(event->position().toPoint().y())); deal > 0 && replay_) replay_(deal);
}

// A deal's rows begin with "Deal 12: ...", its one line too.
int HandLog::dealOfRow(int row) const {
  for (int i = std::min(row, static_cast<int>(rows_.size()) - 1); i >= 0; --i) {
    const QString& text = rows_[i].text;
    if (!text.startsWith(QStringLiteral("Deal "))) continue;
    bool ok = false;
    const int deal = text.mid(5, text.indexOf(QLatin1Char(':')) - 5).toInt(&ok);
    return ok ? deal : 0;
  }
  return 0;
}

void HandLog::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Another font or theme: every row is laid out again.
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    for (Row& row : rows_) row.ready = false;
    rowsChanged(-1);
  }
}

HandLogPanel::HandLogPanel(QMainWindow& window, Game& game) : window_(window), game_(game) {
  dock_ = new QDockWidget(QStringLiteral("Hand log"), &window);
  dock_->setObjectName(QStringLiteral("HandLog"));
  dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
  dock_->setAllowedAreas(Qt::RightDockWidgetArea);
  log_ = new HandLog(dock_);
  dock_->setWidget(log_);
  dock_->setFixedWidth(kPanelWidth);
  dock_->hide();
  window.addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();

  QMenu* view = window.menuBar()->addMenu(QStringLiteral("View"));
  view->setObjectName(QStringLiteral("View1"));
  action_ = view->addAction(QStringLiteral("Hand log"));
  action_->setObjectName(QStringLiteral("HandLog1"));
  action_->setCheckable(true);
  action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  action_->setAutoRepeat(false);
  QObject::connect(action_, &QAction::toggled, &window, [this](bool on) { setShown(on); });

  game_.onDealFinished([this](const HandRecord& r) { dealFinished(r); });
}

HandLogPanel::~HandLogPanel() = default;

bool HandLogPanel::shown() const { return !dock_->isHidden(); }

void HandLogPanel::setShown(bool shown) {
  if (action_->isChecked() != shown) action_->setChecked(shown);  // comes back here
  if (this->shown() == shown) return;
  // The window grows or shrinks by the panel and the gap before it, so that
  // the table keeps its size and place.
  const int width =
      kPanelWidth + window_.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &window_);
  const QSize size = window_.size();
  dock_->setVisible(shown);
  if (QLayout* layout = window_.layout()) layout->activate();  // the panel's room counts, or no longer
  window_.resize(size.width() + (shown ? width : -width), size.height());
  if (shown) follow();
  if (prefs_) prefs_->setValue(kOpenKey, shown);
}

void HandLogPanel::rememberIn(QSettings* prefs) {
  prefs_ = nullptr;
  if (prefs) setShown(prefs->value(kOpenKey, false).toBool());
  prefs_ = prefs;
}

void HandLogPanel::saveHandsTo(HandHistory history) { history_ = std::move(history); }

void HandLogPanel::follow() { log_->follow(game_.handRecord(), shown()); }

void HandLogPanel::dealFinished(const HandRecord& r) {
  if (finished_) finished_(r);
  if (!history_ || history_->save(r) || saveFailed_) return;
  saveFailed_ = true;
  log_->notice(QStringLiteral("Hands are not being saved: ") + toQString(history_->problem()));
}

}  // namespace holdem
