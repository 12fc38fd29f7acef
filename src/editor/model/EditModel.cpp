// The shared editor state: the text's length and the cached columns of the row looked at last.
#include "editor/model/EditModel.h"

#include <algorithm>

#include "editor/settings/EditorViewInfo.h"
#include "editor/text/RowMarks.h"
#include "highlighter/Highlighter.h"

namespace tesvarin {

TEditModel::TEditModel(IEditorWindow* Window, const TPlatform& Platform, const IEditorView& Self,
                       IEditorSignals& Signals)
    : FWindow(Window),
      FPlatform(Platform),
      FRows(std::make_shared<TEditorScreenStrings>()),
      FView(std::make_unique<TEditorViewInfo>()),
      FDelimiters(DefaultDelimiters()),
      FSelf(Self),
      FSignals(Signals) {}

TEditModel::~TEditModel() = default;

THighlighter& TEditModel::ActiveHighlighter() const {
  if (FHighlighter != nullptr) return *FHighlighter;
  return FView->Highlighter();
}

uint16_t TEditModel::RowMarksOf(int ARow) const { return TRowMarks(*FRows, nullptr).Of(ARow); }
int TEditModel::FirstRowWithMark(int Mark) const { return TRowMarks(*FRows, nullptr).FirstRowWith(Mark); }

int64_t TEditModel::SumRows(int First, int Last, bool EofByte) const {
  const int End = std::min(Last, FRows->Count());
  int64_t N = 0;
  for (int R = std::max(First, 0); R < End; ++R) {
    N += static_cast<int64_t>(FRows->RowView(R).size());
    const TRowAttribute A = FRows->RowAttribute(R);
    if (A == raCrlf) N += 2;
    else if (A == raEof && EofByte) N += 1;
  }
  return N;
}

const TRowColumns& TEditModel::CachedColumns(int ARow) const {
  TColumnMapCache& C = FMapCache;
  const bool Same = C.Row == ARow && C.Rows == FRows.get() && C.TextVersion == FRows->TextVersion() &&
                    CachedSettingsHold();
  if (!Same) {
    C.Settings = ColumnSettings();
    C.OwnSettings = FRows->ActiveEditor() == &FSelf;
    C.DelimitersVersion = FDelimitersVersion;
    C.Columns.Reset(RowView(ARow), C.Settings);
    C.Row = ARow;
    C.Rows = FRows.get();
    C.TextVersion = FRows->TextVersion();
  }
  return C.Columns;
}

// Asked on every caret rule: settings the active editor took from itself are checked against its
// own fields, the delimiters by their version, rather than built again and compared.
bool TEditModel::CachedSettingsHold() const {
  const TColumnMapCache& C = FMapCache;
  if (!C.OwnSettings || FRows->ActiveEditor() != &FSelf) return C.Settings == ColumnSettings();
  return C.DelimitersVersion == FDelimitersVersion && C.Settings.TabSpaceCount == FCaret.TabSpaceCount() &&
         C.Settings.WordWrap == FRows->WordWrap() && C.Settings.WrapByte == FRows->WrapByte();
}

const TColumnMap& TEditModel::CachedColumnMap(int ARow) const { return CachedColumns(ARow).Map(); }

int TEditModel::RowWidth(int ARow) const { return CachedColumns(ARow).Width(); }

int TEditModel::CaretByte() const {
  const TRowColumns& Columns = CachedColumns(FRow);
  const int Width = Columns.Width();
  if (FCol >= Width) return static_cast<int>(RowView(FRow).size()) + (FCol - Width);
  return Columns.ByteOf(FCol);
}

}  // namespace tesvarin
