#pragma once

// The table drawn smaller than laid out, for a screen too small to hold it.
// The table canvas, with its labels, buttons and the options panel, lives
// on a stage that shows it scaled down uniformly to the largest size that
// fits, centred, with black around it. Clicks, keys and the focus reach the
// widgets on the table as they would on the full-size table, at the place
// on the table that the scaled picture shows.

#include <QGraphicsView>

class QGraphicsProxyWidget;

namespace holdem {

class TableStage final : public QGraphicsView {
 public:
  // Takes `table`, which must have no parent, onto the stage.
  explicit TableStage(QWidget* table, QWidget* parent = nullptr);

  // Takes the table off the stage again, with no parent; the stage shows
  // nothing from then on.
  QWidget* release();

  // The factor the table is drawn at: up to 1, where it is drawn as laid out.
  qreal scale() const { return transform().m11(); }

  // Where a point of the table lies in the stage's viewport.
  QPointF fromTable(const QPointF& at) const { return mapFromScene(at); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fitTable();

  QGraphicsProxyWidget* proxy_;
};

}  // namespace holdem
