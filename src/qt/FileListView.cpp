#include "qt/FileListView.h"

#include <QApplication>
#include <QMouseEvent>

namespace tesvarin::qt {

FileListView::FileListView(QWidget* Parent) : QTreeView(Parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setDragEnabled(false);  // the files are dragged out through the shell, not as item data
}

void FileListView::keyPressEvent(QKeyEvent* Event) {
  QModelIndex Before = currentIndex();
  QTreeView::keyPressEvent(Event);
  if (currentIndex().isValid() && currentIndex().row() != Before.row()) emit KeyboardSelected();
}

void FileListView::mousePressEvent(QMouseEvent* Event) {
  QTreeView::mousePressEvent(Event);
  FDragArmed = Event->button() == Qt::LeftButton && indexAt(Event->position().toPoint()).isValid();
  FPressAt = Event->position().toPoint();
}

void FileListView::mouseMoveEvent(QMouseEvent* Event) {
  if (FDragArmed && (Event->buttons() & Qt::LeftButton) != 0 &&
      (Event->position().toPoint() - FPressAt).manhattanLength() >= QApplication::startDragDistance()) {
    FDragArmed = false;
    emit DragStarted(FPressAt);
    return;
  }
  QTreeView::mouseMoveEvent(Event);
}

void FileListView::mouseReleaseEvent(QMouseEvent* Event) {
  FDragArmed = false;
  QTreeView::mouseReleaseEvent(Event);
  if (Event->button() == Qt::RightButton) emit RightButtonReleased(Event->position().toPoint());
}

}  // namespace tesvarin::qt
