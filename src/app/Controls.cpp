#include "app/Controls.h"

#include <algorithm>

#include "support/Exception.h"

namespace tesvarin {

int TControlModel::Subscribe(TListener Listener) {
  int Id = FNextId++;
  FListeners.emplace(Id, std::move(Listener));
  return Id;
}

void TControlModel::Unsubscribe(int Id) { FListeners.erase(Id); }

void TControlModel::Notify() {
  // A listener may unsubscribe while it runs.
  std::vector<TListener> Listeners;
  Listeners.reserve(FListeners.size());
  for (auto& Entry : FListeners) Listeners.push_back(Entry.second);
  for (auto& L : Listeners) L();
}

void TButtonModel::Click() {
  if (Enabled() && OnClick) OnClick();
}

void TCheckBoxModel::SetChecked(bool Value) {
  if (Assign(FChecked, Value) && OnClick) OnClick();
}

void TUpDownModel::SetPosition(int Value) { Assign(FPosition, std::clamp(Value, FMin, FMax)); }

void TPageControlModel::SetActivePage(int Index) {
  if (Index < 0 || Index >= static_cast<int>(FPages.size())) return;
  Assign(FActivePage, Index);
}

const std::string& TStatusBarModel::PanelText(int Index) const {
  if (Index < 0 || Index >= PanelCount) ListIndexError();
  return FPanels[Index];
}

void TStatusBarModel::SetPanelText(int Index, std::string Value) {
  if (Index < 0 || Index >= PanelCount) ListIndexError();
  Assign(FPanels[Index], std::move(Value));
}

int TListViewModel::ColumnWidth(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FColumns.size())) ListIndexError();
  return FColumns[static_cast<size_t>(Index)].Width;
}

void TListViewModel::SetColumnWidth(int Index, int Width) {
  if (Index < 0 || Index >= static_cast<int>(FColumns.size())) ListIndexError();
  int& W = FColumns[static_cast<size_t>(Index)].Width;
  if (W == Width) return;
  W = Width;
  Changed();
}

const TListItem& TListViewModel::Item(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError();
  return FItems[static_cast<size_t>(Index)];
}

int TListViewModel::Add(TListItem Item) {
  FItems.push_back(std::move(Item));
  ++FRowsVersion;
  Changed();
  return Count() - 1;
}

void TListViewModel::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError();
  FItems.erase(FItems.begin() + Index);
  ++FRowsVersion;
  if (FSelected == Index) {
    FSelected = -1;
  } else if (FSelected > Index) {
    --FSelected;
  }
  Changed();
}

void TListViewModel::Clear() {
  if (FItems.empty() && FSelected == -1) return;
  FItems.clear();
  FSelected = -1;
  ++FRowsVersion;
  Changed();
}

void TListViewModel::SetSelected(int Index) {
  if (Index < -1 || Index >= Count()) Index = -1;
  if (FSelected == Index) return;
  FSelected = Index;
  Changed();
}

void TListViewModel::CustomSort(const std::function<int(const TListItem&, const TListItem&)>& Compare) {
  std::vector<size_t> Order(FItems.size());
  for (size_t I = 0; I < Order.size(); ++I) Order[I] = I;
  std::stable_sort(Order.begin(), Order.end(),
                   [&](size_t A, size_t B) { return Compare(FItems[A], FItems[B]) < 0; });
  std::vector<TListItem> Sorted;
  Sorted.reserve(FItems.size());
  int NewSelected = -1;
  for (size_t I = 0; I < Order.size(); ++I) {
    if (static_cast<int>(Order[I]) == FSelected) NewSelected = static_cast<int>(I);
    Sorted.push_back(std::move(FItems[Order[I]]));
  }
  FItems = std::move(Sorted);
  FSelected = NewSelected;
  ++FRowsVersion;
  Changed();
}

void TListViewModel::SetSortIndicator(int Column, bool Ascending) {
  if (Column < -1 || Column >= static_cast<int>(FColumns.size())) Column = -1;
  if (Column == FSortColumn && Ascending == FSortAscending) return;
  FSortColumn = Column;
  FSortAscending = Ascending;
  Changed();
}

void TListViewModel::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FPendingChange) {
    FPendingChange = false;
    Notify();
  }
}

void TListViewModel::Changed() {
  if (FUpdateCount > 0) {
    FPendingChange = true;
    return;
  }
  Notify();
}

void TMenuItemModel::Click() {
  if (Enabled() && OnClick) OnClick();
}


TMainFormControls::TMainFormControls()
    : Form1("Tesvarin", TBounds{197, 107, 603, 467}),
      Panel1Heading("　ファイルの検索・一括置換 (R.6)"),
      Label1("ファイルの名前(&M):"),
      Label2("含まれる文字列(&C):"),
      Label3("探す場所(&L):"),
      SpeedButton2("..."),
      Button1("検索(&S)"),
      Button3("置換(&R)▼"),
      Button2("中断(&B)"),
      Label4("置換"),
      PageControl1({"日付・サイズ", "検索設定", "動作設定"}),
      DateCheckBox("期間を指定して探す"),
      Label5("から"),
      Label6("まで"),
      SizeCheckBox("ファイルサイズ"),
      UpDown3(0, 10000, 100, 1000),
      Label7("KB"),
      FindSubFolder("サブフォルダも探す", true),
      CheckBox6("隠しファイル・フォルダも対象"),
      CheckBox1("大文字と小文字を区別する"),
      CheckBox2("正規表現検索 "),
      CheckBox3("あいまい検索 "),
      CheckBox4("単語検索 "),
      OtherEncodings("Shift-JIS 以外の文字コードも検索する", true),
      MakeBackFile("保存時バックアップ作成", true),
      ReplacePreview("一括置換の前にプレビュー", true),
      ConfirmSave("保存するかを確認をする", true),
      SelectFirstSearch("ファイル選択で最初の検索", true),
      FileList({{"名前", 120, taLeftJustify},
                {"フォルダ名", 200, taLeftJustify},
                {"サイズ", 70, taRightJustify},
                {"種類", 70, taLeftJustify},
                {"更新日時", 150, taLeftJustify},
                {"アクセス日時", 150, taLeftJustify},
                {"属性", 50, taRightJustify},
                {"文字コード", 90, taLeftJustify}}),
      Label8("検索"),
      N2("このファイル内を一括置換"),
      N4("リストのファイルを一括置換"),
      N5("置換を元に戻す...") {
  cFileName.SetHint("検索するファイルの名前全体か名前の一部を入力します。ワイルドカードが使用可");
  cFindWord.SetHint("検索する文字列を入力します。 ");
  cFolderName.SetHint("検索対象のドライブ、フォルダ、またはネットワークを指定します。");
  cReplaceWord.SetHint("置換したい文字列を入力します。");
  Button1.SetHint("ファイルの検索を実行します。");
  Button1.SetDefault(true);
  Button2.SetHint("中断します。");
  Button2.SetEnabled(false);
  Button3.SetHint("置換を実行するメニューが表示されます。");
  Button3.SetEnabled(false);
  // The caption is wider than the panel: the hint says it whole, and what it does.
  OtherEncodings.SetHint("Shift-JIS 以外の文字コードも検索する: UTF-8、EUC-JP、UTF-16 のファイルも、"
                         "それぞれの文字コードで検索・置換します。");
  SpeedButton1.SetHint("下へ検索");
  SpeedButton3.SetHint("上へ検索");
  ComboBox3.SetItems({"より大きい", "より小さい"});
  ComboBox3.SetText("より小さい");
  ComboBox3.SetListOnly(true);
}

}  // namespace tesvarin
