// Models of the main window's controls. The window's logic reads and writes these; the Qt layer mirrors
// each one in a real widget both ways, and the command line and the tests drive them directly.
// Every text here is UTF-8, as the user sees it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tesvarin {

// Base of every control model: enabled state, hint, and the listeners that mirror it in a view.
class TControlModel {
public:
  using TListener = std::function<void()>;

  TControlModel() = default;
  TControlModel(const TControlModel&) = delete;
  TControlModel& operator=(const TControlModel&) = delete;
  virtual ~TControlModel() = default;

  // The listener runs after every change of the model's state.
  int Subscribe(TListener Listener);
  void Unsubscribe(int Id);

  [[nodiscard]] bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { Assign(FEnabled, Value); }
  [[nodiscard]] const std::string& Hint() const { return FHint; }
  void SetHint(std::string Value) { Assign(FHint, std::move(Value)); }
  [[nodiscard]] bool Focused() const { return FFocused; }
  // Gives this control the keyboard focus (the view moves it; models keep one flag each).
  void SetFocus() { Assign(FFocused, true); }
  void ClearFocus() { Assign(FFocused, false); }

protected:
  template <class T>
  bool Assign(T& Field, T Value) {
    if (Field == Value) return false;
    Field = std::move(Value);
    Notify();
    return true;
  }
  void Notify();

private:
  bool FEnabled = true;
  bool FFocused = false;
  std::string FHint;
  std::map<int, TListener> FListeners;
  int FNextId = 1;
};

class TLabelModel : public TControlModel {
public:
  explicit TLabelModel(std::string Caption = {}) : FCaption(std::move(Caption)) {}
  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string Value) { Assign(FCaption, std::move(Value)); }

private:
  std::string FCaption;
};

class TButtonModel : public TControlModel {
public:
  explicit TButtonModel(std::string Caption = {}) : FCaption(std::move(Caption)) {}
  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string Value) { Assign(FCaption, std::move(Value)); }
  // The default button is pressed by Enter anywhere in the window.
  [[nodiscard]] bool Default() const { return FDefault; }
  void SetDefault(bool Value) { Assign(FDefault, Value); }

  std::function<void()> OnClick;
  // A press by the user: does nothing while disabled.
  void Click();

private:
  std::string FCaption;
  bool FDefault = false;
};

// Setting Checked to a new value runs OnClick, whether the user or the program changed it.
class TCheckBoxModel : public TControlModel {
public:
  explicit TCheckBoxModel(std::string Caption = {}, bool Checked = false)
      : FCaption(std::move(Caption)), FChecked(Checked) {}
  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string Value) { Assign(FCaption, std::move(Value)); }
  [[nodiscard]] bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  std::function<void()> OnClick;

private:
  std::string FCaption;
  bool FChecked;
};

class TComboBoxModel : public TControlModel {
public:
  [[nodiscard]] const std::string& Text() const { return FText; }
  void SetText(std::string Value) { Assign(FText, std::move(Value)); }
  [[nodiscard]] const std::vector<std::string>& Items() const { return FItems; }
  void SetItems(std::vector<std::string> Value) { Assign(FItems, std::move(Value)); }
  // A drop-down list whose text can only be one of its items.
  [[nodiscard]] bool ListOnly() const { return FListOnly; }
  void SetListOnly(bool Value) { Assign(FListOnly, Value); }

private:
  std::string FText;
  std::vector<std::string> FItems;
  bool FListOnly = false;
};

struct TDate {
  int Year = 2000;
  int Month = 1;
  int Day = 1;
  friend bool operator==(const TDate&, const TDate&) = default;
};

class TDatePickerModel : public TControlModel {
public:
  [[nodiscard]] const TDate& Date() const { return FDate; }
  void SetDate(TDate Value) { Assign(FDate, Value); }

private:
  TDate FDate;
};

// An up-down number box with its edit field; the position is clamped to Min .. Max.
class TUpDownModel : public TControlModel {
public:
  TUpDownModel(int Min, int Max, int Increment, int Position)
      : FMin(Min), FMax(Max), FIncrement(Increment), FPosition(Position) {}
  [[nodiscard]] int Min() const { return FMin; }
  [[nodiscard]] int Max() const { return FMax; }
  [[nodiscard]] int Increment() const { return FIncrement; }
  [[nodiscard]] int Position() const { return FPosition; }
  void SetPosition(int Value);

private:
  int FMin;
  int FMax;
  int FIncrement;
  int FPosition;
};

class TPageControlModel : public TControlModel {
public:
  explicit TPageControlModel(std::vector<std::string> Pages) : FPages(std::move(Pages)) {}
  [[nodiscard]] const std::vector<std::string>& Pages() const { return FPages; }
  [[nodiscard]] int ActivePage() const { return FActivePage; }
  // An index outside the pages is ignored.
  void SetActivePage(int Index);

private:
  std::vector<std::string> FPages;
  int FActivePage = 0;
};

class TStatusBarModel : public TControlModel {
public:
  static constexpr int PanelCount = 2;
  static constexpr int FirstPanelWidth = 100;
  // Index outside 0 .. 1 raises the list error.
  [[nodiscard]] const std::string& PanelText(int Index) const;
  void SetPanelText(int Index, std::string Value);

private:
  std::string FPanels[PanelCount];
};

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

struct TListColumn {
  std::string Caption;
  int Width = 50;
  TAlignment Alignment = taLeftJustify;
};

struct TListItem {
  std::string Caption;
  std::vector<std::string> SubItems;
  int ImageIndex = -1;
  friend bool operator==(const TListItem&, const TListItem&) = default;
};

// A report-style list with whole-row selection of one row at a time.
class TListViewModel : public TControlModel {
public:
  explicit TListViewModel(std::vector<TListColumn> Columns) : FColumns(std::move(Columns)) {}

  [[nodiscard]] const std::vector<TListColumn>& Columns() const { return FColumns; }
  [[nodiscard]] int ColumnWidth(int Index) const;
  void SetColumnWidth(int Index, int Width);

  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] const TListItem& Item(int Index) const;
  [[nodiscard]] const std::vector<TListItem>& Items() const { return FItems; }
  int Add(TListItem Item);
  void Delete(int Index);
  void Clear();
  // Grows with every change of the rows themselves (not of the selection or the columns), so a view
  // redraws its rows only when they changed.
  [[nodiscard]] uint64_t RowsVersion() const { return FRowsVersion; }

  // -1 when no row is selected.
  [[nodiscard]] int Selected() const { return FSelected; }
  void SetSelected(int Index);

  // Sorts the rows by Compare (negative, zero, positive); the selected row stays selected. Compare
  // is given the rows where they stand before the sort, so it may index keys by a row's address.
  void CustomSort(const std::function<int(const TListItem&, const TListItem&)>& Compare);

  // While an update is open the view does not follow; closing the outermost one shows the whole change.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  [[nodiscard]] int UpdateCount() const { return FUpdateCount; }

  // The column the rows were last sorted by (-1: none) and which way, as the header shows it.
  [[nodiscard]] int SortColumn() const { return FSortColumn; }
  [[nodiscard]] bool SortAscending() const { return FSortAscending; }
  void SetSortIndicator(int Column, bool Ascending);

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(int Column)> OnColumnClick;

private:
  void Changed();
  std::vector<TListColumn> FColumns;
  std::vector<TListItem> FItems;
  int FSelected = -1;
  int FSortColumn = -1;
  bool FSortAscending = true;
  int FUpdateCount = 0;
  bool FPendingChange = false;
  uint64_t FRowsVersion = 0;
};

// The splitter between the result list and the editor: the list's height in pixels, which it keeps
// when the window grows or shrinks; -1 until the user moves it, when the list takes a share instead.
class TSplitterModel : public TControlModel {
public:
  static constexpr int FirstStartListPercent = 40;
  [[nodiscard]] int Position() const { return FPosition; }
  // Values below -1 read as -1.
  void SetPosition(int Value) { Assign(FPosition, Value < -1 ? -1 : Value); }

private:
  int FPosition = -1;
};

class TMenuItemModel : public TControlModel {
public:
  explicit TMenuItemModel(std::string Caption) : FCaption(std::move(Caption)) {}
  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  std::function<void()> OnClick;
  void Click();

private:
  std::string FCaption;
};

enum TWindowState : uint8_t { wsNormal, wsMaximized, wsMinimized };

struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

class TWindowModel : public TControlModel {
public:
  TWindowModel(std::string Caption, TBounds Bounds) : FCaption(std::move(Caption)), FBounds(Bounds) {}
  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string Value) { Assign(FCaption, std::move(Value)); }
  // The bounds of the normal (not maximized, not minimized) window.
  [[nodiscard]] const TBounds& Bounds() const { return FBounds; }
  void SetBounds(TBounds Value) { Assign(FBounds, Value); }
  [[nodiscard]] TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value) { Assign(FWindowState, Value); }
  [[nodiscard]] const std::string& FontName() const { return FFontName; }

private:
  std::string FCaption;
  TBounds FBounds;
  TWindowState FWindowState = wsNormal;
  std::string FFontName = "ＭＳ Ｐゴシック";
};

// One model per control of the main window, named as the form names it, with the layout's texts.
struct TMainFormControls {
  TMainFormControls();

  TWindowModel Form1;
  static constexpr int LeftPanelWidth = 217;
  TLabelModel Panel1Heading;

  TLabelModel Label1;  // over cFileName
  TComboBoxModel cFileName;
  TLabelModel Label2;  // over cFindWord
  TComboBoxModel cFindWord;
  TLabelModel Label3;  // over cFolderName
  TComboBoxModel cFolderName;
  TButtonModel SpeedButton2;  // "..." folder browser
  TButtonModel Button1;       // search
  TButtonModel Button3;       // replace menu
  TButtonModel Button2;       // abort
  TLabelModel Label4;         // beside cReplaceWord
  TComboBoxModel cReplaceWord;

  TPageControlModel PageControl1;
  // "日付・サイズ"
  TCheckBoxModel DateCheckBox;
  TDatePickerModel DateTimePicker1;
  TLabelModel Label5;  // "から"
  TDatePickerModel DateTimePicker2;
  TLabelModel Label6;  // "まで"
  TCheckBoxModel SizeCheckBox;
  TUpDownModel UpDown3;  // with its edit box Edit5
  TLabelModel Label7;    // "KB"
  TComboBoxModel ComboBox3;
  // "検索設定"
  TCheckBoxModel FindSubFolder;
  TCheckBoxModel CheckBox6;
  TCheckBoxModel CheckBox1;
  TCheckBoxModel CheckBox2;
  TCheckBoxModel CheckBox3;  // shown indented under CheckBox2
  TCheckBoxModel CheckBox4;
  TCheckBoxModel OtherEncodings;  // UTF-8, EUC-JP and UTF-16 files are searched too
  // "動作設定"
  TCheckBoxModel MakeBackFile;
  TCheckBoxModel ReplacePreview;  // the batch shows what it will change, and waits for a go
  TCheckBoxModel ConfirmSave;
  TCheckBoxModel SelectFirstSearch;

  TListViewModel FileList;
  TSplitterModel Splitter1;    // between FileList and the editor
  TLabelModel Label8;          // "検索" on the bar above the editor
  TButtonModel SpeedButton1;   // search down
  TButtonModel SpeedButton3;   // search up
  TLabelModel fName;           // the current file
  TLabelModel fEncoding;       // its encoding, beside it
  TStatusBarModel StatusBar1;

  TMenuItemModel N2;  // PopupMenu1
  TMenuItemModel N4;
  TMenuItemModel N5;  // the journaled runs, to take one back
};

}  // namespace tesvarin
