#include "qt/StatusPanel.h"

#include <QPainter>
#include <QStyle>

namespace tesvarin::qt {

StatusPanel::StatusPanel(QWidget* Parent) : QWidget(Parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void StatusPanel::setText(const QString& Text) {
  if (Text == FText) return;
  FText = Text;
  setAccessibleName(FText);
  update();
}

QSize StatusPanel::sizeHint() const {
  const QFontMetrics Metrics = fontMetrics();
  return {Metrics.averageCharWidth() * 20, Metrics.height() + 4};
}

QSize StatusPanel::minimumSizeHint() const { return {0, sizeHint().height()}; }

// The text's advance, the margins of paintEvent's box and the frame's.
int StatusPanel::FittingWidth() const {
  const QMargins M = contentsMargins();
  return fontMetrics().horizontalAdvance(FText) + 4 + M.left() + M.right() + 2;
}

void StatusPanel::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  const QRect Box = contentsRect().adjusted(2, 0, -2, 0);
  // Cut at the right edge, as a status panel does, rather than wrapped or widened.
  Painter.setClipRect(Box);
  style()->drawItemText(&Painter, Box, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), FText,
                        QPalette::WindowText);
}

}  // namespace tesvarin::qt
