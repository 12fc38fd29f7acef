#include "editor/view/ScrollCommands.h"

#include <algorithm>
#include <optional>

#include "editor/model/EditModel.h"
#include "editor/view/CaretDisplay.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

namespace {

bool HasVertBar(TScrollStyle S) { return S == ssVertical || S == ssBoth; }
bool HasHorzBar(TScrollStyle S) { return S == ssHorizontal || S == ssBoth; }

// Where a scroll-bar command takes a position of At within [0, Max], a page being Page long;
// nothing for the end of a drag, which moves nothing.
std::optional<int> ScrollTarget(TScrollCode Code, int Pos, int At, int Page, int Max) {
  int Target = At;
  switch (Code) {
    case SB_LINEUP: Target = At - 1; break;
    case SB_LINEDOWN: Target = At + 1; break;
    case SB_PAGEUP: Target = At - Page; break;
    case SB_PAGEDOWN: Target = At + Page; break;
    case SB_TOP: Target = 0; break;
    case SB_BOTTOM: Target = Max; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Target = Pos; break;
    case SB_ENDSCROLL: return std::nullopt;
  }
  return std::clamp(Target, 0, Max);
}

}  // namespace

void TScrollCommands::ScrollRegion(const TRect& Area, int Dx, int Dy) {
  FCaretDisplay.HideUnderline();
  FCaretDisplay.Hide();
  FModel.Window()->ScrollArea(Area, Dx, Dy);
  FModel.Window()->Update();
  FCaretDisplay.Show();
  FCaretDisplay.ShowUnderline();
}

void TScrollCommands::SetTopRow(int ARow) {
  const int New = std::clamp(ARow, 0, FModel.RowCount());
  const int Old = FScroll.TopRow();
  if (New == Old) return;
  // The underline belongs to the old rows' pixels; it is moved with them.
  FCaretDisplay.HideUnderline();
  FScroll.StoreTopRow(New);
  if (IEditorWindow* Window = FModel.Window(); Window != nullptr) {
    const TRect Area{0, FScroll.TopOffset(), Window->ClientWidth(), Window->ClientHeight()};
    // A far jump moves the pixels past the whole area, so none of the old rows is left in it: the
    // visible rows alone may fall a few pixels short of the area's foot.
    const int Limit = std::max(Area.Bottom - Area.Top, 0) / FScroll.RowHeight() + 1;
    const int Rows = std::clamp(Old - New, -Limit, Limit);
    ScrollRegion(Area, 0, Rows * FScroll.RowHeight());
    if (HasVertBar(FModel.ScrollBars())) Window->SetScrollPos(true, New);
  }
  FCaretDisplay.ShowUnderline();
  // While a key repeats, the key's release places the caret once.
  if (!FKeyRepeating) FModel.Signals().UpdateCaret();
  FModel.Signals().TopRowChanged();
}

void TScrollCommands::SetLeftCol(int ACol) {
  const int New = std::clamp(ACol, 0, FScroll.MaxLeftCol());
  const int Old = FScroll.LeftCol();
  if (New == Old) return;
  // The ruler scrolls with the text, its caret-column mark with it, so no cell needs repainting.
  FScroll.StoreLeftCol(New);
  if (IEditorWindow* Window = FModel.Window(); Window != nullptr) {
    const TRect Area{FScroll.LeftOffset(), 0, Window->ClientWidth(), Window->ClientHeight()};
    ScrollRegion(Area, (Old - New) * FScroll.ColWidth(), 0);
    if (HasHorzBar(FModel.ScrollBars())) Window->SetScrollPos(false, New);
  }
  FModel.Signals().UpdateCaret();
  FModel.Signals().LeftColChanged();
}

void TScrollCommands::VScroll(TScrollCode Code, int Pos) {
  const int Top = FScroll.TopRow();
  const std::optional<int> Target = ScrollTarget(Code, Pos, Top, FScroll.VisibleRows(), FScroll.MaxTopRow());
  if (!Target) return;
  SetTopRow(*Target);
  const int Moved = FScroll.TopRow() - Top;
  if (Moved != 0 && FModel.Caret().LockScroll()) {
    FModel.Signals().SetRowCol(std::clamp(FModel.Row() + Moved, 0, FModel.ListRows().MaxCaretRow()), FModel.Col());
  }
}

void TScrollCommands::HScroll(TScrollCode Code, int Pos) {
  const std::optional<int> Target =
      ScrollTarget(Code, Pos, FScroll.LeftCol(), FScroll.VisibleCols(), FScroll.MaxHorzPos());
  if (Target) SetLeftCol(*Target);
}

void TScrollCommands::MakeCaretVisible() {
  const int Row = FModel.Row();
  const int Col = FModel.Col();
  const int Rows = FScroll.VisibleRows();
  if (Row < FScroll.TopRow()) {
    SetTopRow(Row);
  } else if (Row > FScroll.TopRow() + Rows - 1) {
    SetTopRow(Row - Rows + 1);
  }
  const int Left = FScroll.LeftCol();
  const int Cols = FScroll.VisibleCols();
  // Horizontal moves jump by at least a quarter of the width, so typing along a row scrolls rarely.
  if (Col < Left) {
    SetLeftCol(std::max(0, std::min(Col, Left - Cols / 4)));
  } else if (Col > Left + Cols - 1) {
    SetLeftCol(std::min(std::max(Col - Cols + 1, Left + Cols / 4), FScroll.MaxLeftCol()));
  }
}

}  // namespace tesvarin
