#include "ui/session_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>

#include "history/hand_words.h"

namespace holdem {

namespace {

QString signedChips(int64_t n) { return (n > 0 ? QStringLiteral("+") : QString()) + QString::number(n); }

QString percent(double share) { return QString::number(share * 100.0, 'f', 1) + QStringLiteral(" %"); }

}  // namespace

// The chips after each deal as a line over the deals, drawn with a plain
// painter; the point nearest the mouse tells its deal.
class SessionChart final : public QWidget {
 public:
  struct Point {
    int32_t deal;
    int32_t chips;
    QString text;
  };

  explicit SessionChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sessionChart"));
    setMouseTracking(true);
    setMinimumSize(480, 300);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
  }

  void setPoints(std::vector<Point> points) {
    points_ = std::move(points);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area = plotArea();
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(area);
    if (points_.empty()) {
      p.setPen(palette().color(QPalette::Text));
      p.drawText(area, Qt::AlignCenter, QStringLiteral("No deal finished yet"));
      return;
    }
    const auto [low, high] = range();
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics m = fontMetrics();
    p.drawText(QRect(0, area.top() - m.height() / 2, area.left() - 4, m.height()), Qt::AlignRight,
               QString::number(high));
    p.drawText(QRect(0, area.bottom() - m.height() / 2, area.left() - 4, m.height()), Qt::AlignRight,
               QString::number(low));
    p.drawText(QRect(area.left(), area.bottom() + 2, area.width(), m.height()), Qt::AlignCenter,
               QStringLiteral("Deals %1 to %2").arg(points_.front().deal).arg(points_.back().deal));
    QPainterPath line;
    for (size_t i = 0; i < points_.size(); ++i) {
      const QPointF at = place(i);
      if (i == 0)
        line.moveTo(at);
      else
        line.lineTo(at);
    }
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawPath(line);
    for (size_t i = 0; i < points_.size(); ++i) {
      const bool hot = static_cast<int>(i) == hover_;
      p.setBrush(hot ? palette().color(QPalette::Text) : palette().color(QPalette::Highlight));
      p.drawEllipse(place(i), hot ? 5.0 : 3.0, hot ? 5.0 : 3.0);
    }
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (points_.empty()) return;
    const QPointF at = event->position();
    int nearest = 0;
    for (size_t i = 1; i < points_.size(); ++i)
      if (std::abs(place(i).x() - at.x()) < std::abs(place(nearest).x() - at.x()))
        nearest = static_cast<int>(i);
    if (nearest != hover_) {
      hover_ = nearest;
      update();
    }
    QToolTip::showText(event->globalPosition().toPoint(), points_[nearest].text, this);
  }

  void leaveEvent(QEvent*) override {
    hover_ = -1;
    update();
  }

 private:
  QRect plotArea() const { return rect().adjusted(60, 12, -16, -12 - 2 * fontMetrics().height()); }
  std::pair<int64_t, int64_t> range() const {
    int64_t low = points_[0].chips, high = low;
    for (const Point& pt : points_) {
      low = std::min<int64_t>(low, pt.chips);
      high = std::max<int64_t>(high, pt.chips);
    }
    if (low == high) ++high;
    return {low, high};
  }
  QPointF place(size_t i) const {
    const QRect area = plotArea();
    const auto [low, high] = range();
    const double x =
        points_.size() == 1 ? 0.5 : static_cast<double>(i) / static_cast<double>(points_.size() - 1);
    const double y = static_cast<double>(points_[i].chips - low) / static_cast<double>(high - low);
    return {area.left() + x * area.width(), area.bottom() - y * area.height()};
  }

  std::vector<Point> points_;
  int hover_ = -1;
};

SessionWindow::SessionWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Session"));
  setWindowTitle(QStringLiteral("Session"));
  chart_ = new SessionChart(this);
  figuresLabel_ = new QLabel(this);
  figuresLabel_->setObjectName(QStringLiteral("sessionFigures"));
  figuresLabel_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  figuresLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  figuresLabel_->setMinimumWidth(200);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(chart_, 1);
  layout->addWidget(figuresLabel_);
  showSession({}, {});
}

SessionWindow::~SessionWindow() = default;

void SessionWindow::showSession(const SessionFigures& figures, std::span<const SessionDeal> deals) {
  figures_ = figures;
  std::vector<SessionChart::Point> points;
  for (const SessionDeal& d : deals) {
    // "Deal 12: 1234 chips (+48)"
    points.push_back(
        {d.number, d.chips,
         QStringLiteral("Deal %1: %2 chips (%3)").arg(d.number).arg(d.chips).arg(signedChips(d.result))});
  }
  chart_->setPoints(std::move(points));
  figuresLabel_->setText(figuresText());
}

QString SessionWindow::figuresText() const {
  const SessionFigures& f = figures_;
  return QStringLiteral("Deals: %1\nHands played: %2\nHands won: %3\nVPIP: %4\nPFR: %5\nChips: %6")
      .arg(f.deals)
      .arg(f.handsPlayed)
      .arg(f.handsWon)
      .arg(percent(f.vpip()), percent(f.pfr()), signedChips(f.chipsWon));
}

}  // namespace holdem
