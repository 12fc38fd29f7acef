// "置換を元に戻す...": the journaled replace runs, newest first, each with the files it changed;
// "元に戻す" takes back the selected run, or the selected file alone.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QPushButton;
class QTreeWidget;

namespace tesvarin::qt {

class JournalDialog : public QDialog {
  Q_OBJECT

public:
  // TakeBack(Number, File): File empty for the whole run.
  JournalDialog(std::string Folder, std::function<void(int Number, const std::string& File)> TakeBack,
                QWidget* Parent = nullptr);

  [[nodiscard]] QTreeWidget* List() const { return FList; }
  // Reads the journal again into the list.
  void Refresh();

private:
  void TakeBackSelected();
  void SelectionChanged();

  std::string FFolder;
  std::function<void(int, const std::string&)> FTakeBack;
  QTreeWidget* FList;
  QPushButton* FTakeBackButton;
};

}  // namespace tesvarin::qt
