// Mirrors control models in Qt widgets both ways: a model change updates the widget, a user's change
// of the widget updates the model. Each binding lives as long as the widget. A command a widget starts
// that ends in an error reaches the error report.
#pragma once

#include "app/Controls.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QWidget;
class QAction;

namespace tesvarin::qt {

class FileListView;
class ListViewAdapter;
class StatusPanel;

void BindLabel(QLabel* Label, TLabelModel& Model);
void BindButton(QAbstractButton* Button, TButtonModel& Model);
void BindCheckBox(QCheckBox* Box, TCheckBoxModel& Model);
void BindComboBox(QComboBox* Box, TComboBoxModel& Model);
void BindDatePicker(QDateEdit* Edit, TDatePickerModel& Model);
void BindUpDown(QSpinBox* Box, TUpDownModel& Model);
void BindPageControl(QTabWidget* Tabs, TPageControlModel& Model);
// The status bar's two panels are the two labels given.
void BindStatusBar(StatusPanel* Panel0, StatusPanel* Panel1, TStatusBarModel& Model);
// A click or a keyboard move that changes the current row runs the model's OnClick; the returned
// adapter (owned by the view) takes the row icons.
ListViewAdapter* BindListView(FileListView* List, TListViewModel& Model);
void BindMenuItem(QAction* Action, TMenuItemModel& Model);
// A splitter of two widgets whose first one's size is the model's position, kept as the splitter
// resizes; the user's move of the handle sets the position.
void BindSplitter(QSplitter* Splitter, TSplitterModel& Model);
void BindWindow(QWidget* Window, TWindowModel& Model);

}  // namespace tesvarin::qt
