// The "表示設定" dialog: the editor's font, word wrap, bars, tab width and marks. Every change shows
// at once on the editor; OK keeps it in the per-user INI file, Cancel puts the view back.
#pragma once

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/EditorViewSettings.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QPushButton;
class QSpinBox;

namespace tesvarin {
class TEditor;
class TEditorExMarks;
}  // namespace tesvarin

namespace tesvarin::qt {

class ViewSettingsDialog : public QDialog {
  Q_OBJECT

public:
  ViewSettingsDialog(TEditor& Editor, TEditorExMarks& ExMarks, std::string UserIniPath, std::string SharedIniPath,
                     QWidget* Parent = nullptr);

  // Asks for a mark's colour; the desktop's colour dialog unless replaced (tests answer it).
  std::function<std::optional<QColor>(const QColor& Current, QWidget* Parent)> ChooseColor;

  void done(int Result) override;

protected:
  void showEvent(QShowEvent* Event) override;

private:
  QWidget* BuildFontGroup();
  QWidget* BuildWrapGroup();
  QWidget* BuildBarsGroup();
  QWidget* BuildMarksGroup();
  QCheckBox* NewCheck(const char* Name, const QString& Text, bool TEditorViewSettings::*Field);
  void ShowMarkColor(TViewMark Mark);
  void PickMarkColor(TViewMark Mark);
  void UpdateEnabling();
  // Shows the dialog's values on the editor.
  void Preview();

  TEditor& FEditor;
  TEditorExMarks& FExMarks;
  std::string FUserIniPath;
  std::string FSharedIniPath;
  TEditorViewSettings FBefore;
  TEditorViewSettings FCurrent;

  QFontComboBox* FFontName = nullptr;
  QSpinBox* FFontSize = nullptr;
  QSpinBox* FWrapByte = nullptr;
  QComboBox* FLeftBarMode = nullptr;
  QComboBox* FTabSpaceCount = nullptr;
  std::array<QCheckBox*, ViewMarkCount> FMarkVisible{};
  std::array<QPushButton*, ViewMarkCount> FMarkColor{};
  std::vector<QWidget*> FWrapOptions;  // of use only while lines wrap
  QCheckBox* FWordWrap = nullptr;
  QCheckBox* FShowLeftBar = nullptr;
};

}  // namespace tesvarin::qt
