// The result list's commands: sorting, starting a file, dragging, the context menu, the purge of
// vanished rows and the folder browser.
#include <charconv>

#include "app/FileSystem.h"
#include "app/Form1.h"

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

// What a row is sorted by in one column: the size column by its number, the others by their text.
struct TSortKey {
  long long Number = 0;
  std::string_view Text;
};

TSortKey KeyOf(const TListItem& Row, int Column) {
  if (Column == 0) return {0, Row.Caption};
  if (Column == 2) return {SizeValue(SubItem(Row, 1)), {}};
  return {0, SubItem(Row, static_cast<size_t>(Column - 1))};
}

int CompareKeys(const TSortKey& A, const TSortKey& B) {
  return A.Number != B.Number ? Sign(A.Number - B.Number) : Sign(A.Text.compare(B.Text));
}

}  // namespace

std::string TForm1::RowPath(const TListItem& Row) {
  std::string Folder = SubItem(Row, 0);
  if (Folder.empty() || Folder.back() != '/') Folder += '/';
  return Folder + Row.Caption;
}

int TForm1::CompareRows(const TListItem& Row1, const TListItem& Row2, int Column) const {
  if (Column < 0 || Column >= ColumnCount) return 0;
  return CompareKeys(KeyOf(Row1, Column), KeyOf(Row2, Column)) * FSortDirection[static_cast<size_t>(Column)];
}

void TForm1::FileListColumnClick(int Column) {
  if (Column < 0 || Column >= ColumnCount) return;
  // Each row's key is read once, not at every comparison; the sort compares rows where they stand.
  const std::vector<TListItem>& Rows = C.FileList.Items();
  std::vector<TSortKey> Keys;
  Keys.reserve(Rows.size());
  for (const TListItem& Row : Rows) Keys.push_back(KeyOf(Row, Column));
  const TListItem* First = Rows.data();
  int Direction = FSortDirection[static_cast<size_t>(Column)];
  C.FileList.CustomSort([&Keys, First, Direction](const TListItem& A, const TListItem& B) {
    return CompareKeys(Keys[static_cast<size_t>(&A - First)], Keys[static_cast<size_t>(&B - First)]) * Direction;
  });
  FSortDirection[static_cast<size_t>(Column)] = -FSortDirection[static_cast<size_t>(Column)];
}

void TForm1::FileListDblClick() {
  int Selected = C.FileList.Selected();
  if (Selected < 0) return;
  RunFile(RowPath(C.FileList.Item(Selected)));
}

void TForm1::RunFile(const std::string& Path) {
  if (!FileExists(Path) || !FPlatform.Shell) return;
  if (!FPlatform.Shell->StartFile(Path)) FPlatform.Dialogs->MessageBox(StartFailed, Path, mbOK);
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
  for (int I = C.FileList.Count() - 1; I >= 0; --I) {
    std::string Path = RowPath(C.FileList.Item(I));
    if (!FileExists(Path) && !DirectoryExists(Path)) C.FileList.Delete(I);
  }
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
