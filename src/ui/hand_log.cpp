#include "ui/hand_log.h"

#include <QAction>
#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStyle>
#include <QTextBlock>

#include "history/hand_words.h"

namespace holdem {

namespace {

constexpr int kPanelWidth = 330;
constexpr int kKeptLines = 2000;  // the oldest lines go beyond this
const QString kOpenKey = QStringLiteral("HandLog/open");

QString toQString(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

HandLog::HandLog(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("handLogText"));
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setMaximumBlockCount(kKeptLines);
  setAccessibleName(QStringLiteral("Hand log"));
  setAccessibleDescription(
      QStringLiteral("The deal in progress, one line for each action, and one line for each "
                     "earlier deal"));
}

void HandLog::appendLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  QString text;
  for (const std::string& line : lines) {
    if (!text.isEmpty()) text += QLatin1Char('\n');
    text += toQString(line);
  }
  appendPlainText(text);
  detailBlocks_ += static_cast<int>(lines.size());
}

void HandLog::keep(const QString& line) {
  earlier_.push_back(line);
  if (earlier_.size() > kKeptEarlier) earlier_.pop_front();
}

void HandLog::follow(const HandRecord& r, bool lines) {
  if (r.serial == 0) return;
  if (r.serial != serial_) {
    // The deal before goes into its one line.
    if (serial_ != 0) {
      keep(summary_);
      if (live_ && detailBlocks_ > 0) {
        QTextDocument* doc = document();
        QTextCursor c(doc->findBlockByNumber(std::max(0, doc->blockCount() - detailBlocks_)));
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        c.insertText(summary_);
      } else if (live_) {
        appendPlainText(summary_);
      }
    }
    serial_ = r.serial;
    detailBlocks_ = 0;
    shownSteps_ = 0;
    opened_ = false;
    endShown_ = false;
    summary_.clear();
  }
  if (summary_.isEmpty() || (r.finished() && !endShown_)) summary_ = toQString(summaryWords(r));
  if (!lines) {
    // Closed, the log holds no text: the lines are written when it opens.
    if (live_) clear();
    live_ = false;
    return;
  }
  if (!live_) {
    QStringList earlier(earlier_.begin(), earlier_.end());
    setPlainText(earlier.join(QLatin1Char('\n')));
    detailBlocks_ = 0;
    shownSteps_ = 0;
    opened_ = false;
    endShown_ = false;
    live_ = true;
  }
  std::vector<std::string> add;
  if (!opened_) {
    add = openingWords(r);
    opened_ = true;
  }
  for (; shownSteps_ < r.steps.size(); ++shownSteps_) {
    for (std::string& line : stepWords(r, r.steps[shownSteps_])) add.push_back(std::move(line));
  }
  if (r.finished() && !endShown_) {
    for (std::string& line : endWords(r)) add.push_back(std::move(line));
    endShown_ = true;
  }
  appendLines(add);
}

void HandLog::notice(const QString& line) {
  keep(line);
  if (!live_) return;
  QTextDocument* doc = document();
  if (detailBlocks_ == 0) {
    appendPlainText(line);
    return;
  }
  QTextCursor c(doc->findBlockByNumber(std::max(0, doc->blockCount() - detailBlocks_)));
  c.insertText(line + QLatin1Char('\n'));
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

void HandLogPanel::setShown(bool on) {
  if (action_->isChecked() != on) action_->setChecked(on);  // comes back here
  if (shown() == on) return;
  // The window grows or shrinks by the panel and the gap before it, so that
  // the table keeps its size and place.
  const int width =
      kPanelWidth + window_.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &window_);
  const QSize size = window_.size();
  dock_->setVisible(on);
  if (QLayout* layout = window_.layout()) layout->activate();  // the panel's room counts, or no longer
  window_.resize(size.width() + (on ? width : -width), size.height());
  if (on) follow();
  if (prefs_) prefs_->setValue(kOpenKey, on);
}

void HandLogPanel::rememberIn(QSettings* prefs) {
  prefs_ = nullptr;
  if (prefs) setShown(prefs->value(kOpenKey, false).toBool());
  prefs_ = prefs;
}

void HandLogPanel::saveHandsTo(HandHistory history) { history_ = std::move(history); }

void HandLogPanel::follow() { log_->follow(game_.handRecord(), shown()); }

void HandLogPanel::dealFinished(const HandRecord& r) {
  if (!history_ || history_->save(r) || saveFailed_) return;
  saveFailed_ = true;
  log_->notice(QStringLiteral("Hands are not being saved: ") + toQString(history_->problem()));
}

}  // namespace holdem
