// The result list's commands: sorting, starting a file, dragging, the context menu, the purge of
// vanished rows and the folder browser.
#include <algorithm>
#include <charconv>

#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/NaturalOrder.h"

namespace tesvarin {

namespace {

const char* const StartFailed = "起動に失敗しました。";

int Sign(long long V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }

// The size text without its "KB"; -1 when what is left is not a decimal number.
long long SizeValue(const std::string& Text) {
  if (Text.size() < 2) return -1;
  std::string_view Digits(Text.data(), Text.size() - 2);
  long long V = 0;
  auto [End, Ec] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), V);
  if (Ec != std::errc() || End != Digits.data() + Digits.size() || Digits.empty()) return -1;
  return V;
}

const std::string& SubItem(const TListItem& Row, size_t Index) {
  static const std::string Empty;
  return Index < Row.SubItems.size() ? Row.SubItems[Index] : Empty;
}

// The column of the folder, which a new run's rows are sorted by first.
constexpr int FolderColumn = 1;

// What a row is sorted by in one column: the size column by its number; names, folders and types
// in natural order by the locale's collation; times and attributes, whose form sorts, by their text.
struct TSortKey {
  long long Number = 0;
  std::string Text;
};

TSortKey KeyOf(const TListItem& Row, int Column, const TNaturalOrder& Order) {
  switch (Column) {
    case 0: return {0, Order.NameKey(Row.Caption)};
    case FolderColumn: return {0, Order.FolderKey(SubItem(Row, 0))};
    case 2: return {SizeValue(SubItem(Row, 1)), {}};
    case 3: return {0, Order.NameKey(SubItem(Row, 2))};
    default: return {0, SubItem(Row, static_cast<size_t>(Column - 1))};
  }
}

int CompareKeys(const TSortKey& A, const TSortKey& B) {
  return A.Number != B.Number ? Sign(A.Number - B.Number) : Sign(A.Text.compare(B.Text));
}

// Sorts the list's rows by one key per row, made once; equal keys keep the rows' order.
template <class TKey>
void SortByKeys(TListViewModel& List, const std::vector<TKey>& Keys, int Direction,
                int (*Compare)(const TKey&, const TKey&)) {
  const TListItem* First = List.Items().data();
  List.CustomSort([&Keys, First, Direction, Compare](const TListItem& A, const TListItem& B) {
    return Compare(Keys[static_cast<size_t>(&A - First)], Keys[static_cast<size_t>(&B - First)]) * Direction;
  });
}

int CompareBytes(const std::string& A, const std::string& B) { return Sign(A.compare(B)); }

}  // namespace

std::string TForm1::RowPath(const TListItem& Row) {
  std::string Folder = SubItem(Row, 0);
  if (Folder.empty() || Folder.back() != '/') Folder += '/';
  return Folder + Row.Caption;
}

int TForm1::CompareRows(const TListItem& Row1, const TListItem& Row2, int Column) const {
  if (Column < 0 || Column >= ColumnCount) return 0;
  const TNaturalOrder Order;
  return CompareKeys(KeyOf(Row1, Column, Order), KeyOf(Row2, Column, Order)) *
         FSortDirection[static_cast<size_t>(Column)];
}

void TForm1::FileListColumnClick(int Column) {
  if (Column < 0 || Column >= ColumnCount) return;
  // Each row's key is made once, not at every comparison; the sort compares rows where they stand.
  const TNaturalOrder Order;
  std::vector<TSortKey> Keys;
  Keys.reserve(C.FileList.Items().size());
  for (const TListItem& Row : C.FileList.Items()) Keys.push_back(KeyOf(Row, Column, Order));
  int& Direction = FSortDirection[static_cast<size_t>(Column)];
  SortByKeys(C.FileList, Keys, Direction, CompareKeys);
  C.FileList.SetSortIndicator(Column, Direction > 0);
  Direction = -Direction;
}

void TForm1::SortNewRows() {
  TNaturalOrder Order;
  std::vector<std::string> Keys;
  Keys.reserve(C.FileList.Items().size());
  for (const TListItem& Row : C.FileList.Items()) Keys.push_back(Order.PathKey(SubItem(Row, 0), Row.Caption));
  SortByKeys(C.FileList, Keys, 1, CompareBytes);
  // As after a click on the folder header: the next click there sorts the other way.
  C.FileList.SetSortIndicator(FolderColumn, true);
  FSortDirection[FolderColumn] = -1;
}

void TForm1::FileListDblClick() {
  int Selected = C.FileList.Selected();
  if (Selected < 0) return;
  RunFile(RowPath(C.FileList.Item(Selected)));
}

void TForm1::RunFile(const std::string& Path) {
  if (!FileExists(Path) || !FPlatform.Shell) return;
  if (!FPlatform.Shell->StartFile(Path)) FPlatform.Dialogs->WarningBox(StartFailed, Path);
}

namespace {

std::vector<std::string> SelectedPaths(const TListViewModel& List) {
  std::vector<std::string> Paths;
  for (int I = 0; I < List.Count(); ++I) {
    if (I == List.Selected()) Paths.push_back(TForm1::RowPath(List.Item(I)));
  }
  return Paths;
}

}  // namespace

void TForm1::FileListMouseDown(TMouseButton Button, TPoint) {
  if (Button != mbLeft || C.FileList.Count() == 0) return;
  std::vector<std::string> Paths = SelectedPaths(C.FileList);
  if (!Paths.empty() && FPlatform.Shell) FPlatform.Shell->StartDrag(Paths);
  PurgeMissingFiles();
}

void TForm1::FileListMouseUp(TMouseButton Button, TPoint At) {
  if (Button != mbRight || C.FileList.Count() == 0) return;
  std::vector<std::string> Paths = SelectedPaths(C.FileList);
  if (!Paths.empty() && FPlatform.Shell) FPlatform.Shell->ContextMenu(Paths, At);
  PurgeMissingFiles();
}

void TForm1::PurgeMissingFiles() {
  const int Before = C.FileList.Count();
  for (int I = C.FileList.Count() - 1; I >= 0; --I) {
    std::string Path = RowPath(C.FileList.Item(I));
    if (!FileExists(Path) && !DirectoryExists(Path)) C.FileList.Delete(I);
  }
  if (C.FileList.Count() == Before) return;
  ShowCount();
  if (!FRunning) C.Button3.SetEnabled(C.FileList.Count() > 0);
}

void TForm1::SpeedButton2Click() {
  if (!FPlatform.Shell) return;
  std::optional<std::string> Folder = FPlatform.Shell->BrowseFolder(FolderBrowserCaption, C.cFolderName.Text());
  if (!Folder || Folder->empty()) return;
  std::string Path = *Folder;
  while (Path.size() > 1 && Path.back() == '/') Path.pop_back();
  C.cFolderName.SetText(Path);
}

}  // namespace tesvarin
