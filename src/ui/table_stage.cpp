#include "ui/table_stage.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QResizeEvent>
#include <algorithm>

namespace holdem {

TableStage::TableStage(QWidget* table, QWidget* parent) : QGraphicsView(parent) {
  setObjectName(QStringLiteral("stage"));
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAlignment(Qt::AlignCenter);
  // The window colour around the table.
  setBackgroundBrush(Qt::black);
  setRenderHints(QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  // The table at its own size, which is the least its layout takes.
  table->resize(table->minimumSize());
  auto* scene = new QGraphicsScene(this);
  proxy_ = scene->addWidget(table);
  // A widget taken from its window is hidden; on the stage it shows.
  table->show();
  scene->setSceneRect(QRectF(QPointF(0, 0), table->size()));
  setScene(scene);
  // Half the table is the least the window shows it at.
  setMinimumSize(table->width() / 2, table->height() / 2);
  fitTable();
}

QWidget* TableStage::release() {
  QWidget* table = proxy_->widget();
  proxy_->setWidget(nullptr);
  return table;
}

void TableStage::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  fitTable();
}

void TableStage::fitTable() {
  const QRectF table = sceneRect();
  const qreal factor =
      std::min({1.0, viewport()->width() / table.width(), viewport()->height() / table.height()});
  setTransform(QTransform::fromScale(factor, factor));
  centerOn(table.center());
}

}  // namespace holdem
