// The result list's view: report rows over a list model, with the mouse and keyboard gestures the
// window's commands need told apart (a click, a keyboard move, a drag, a right-button release).
#pragma once

#include <QPoint>
#include <QTreeView>

namespace tesvarin::qt {

class FileListView : public QTreeView {
  Q_OBJECT

public:
  explicit FileListView(QWidget* Parent = nullptr);

signals:
  // The current row moved by a key (arrows, page keys, Home, End).
  void KeyboardSelected();
  // The left button moved far enough from where it went down to start dragging the selected files.
  void DragStarted(QPoint At);
  // The right button came up over the list; At is in the list's own coordinates.
  void RightButtonReleased(QPoint At);

protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

private:
  QPoint FPressAt;
  bool FDragArmed = false;
};

}  // namespace tesvarin::qt
