// One panel of the status bar: a line of text drawn in place. A search changes the count and the
// folder for every file it looks at; a label would ask the bar to lay itself out again each time.
#pragma once

#include <QString>
#include <QWidget>

namespace tesvarin::qt {

class StatusPanel : public QWidget {
  Q_OBJECT

public:
  explicit StatusPanel(QWidget* Parent = nullptr);

  [[nodiscard]] const QString& text() const { return FText; }
  // Repaints, never relayouts: the panel's size does not follow its text.
  void setText(const QString& Text);
  [[nodiscard]] QSize sizeHint() const override;
  [[nodiscard]] QSize minimumSizeHint() const override;
  // The width that shows the whole text.
  [[nodiscard]] int FittingWidth() const;

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  QString FText;
};

}  // namespace tesvarin::qt
