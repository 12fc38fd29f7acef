#include "editor/view/EditorScroll.h"

#include <algorithm>

namespace tesvarin {

namespace {

int DecimalDigits(int Value) {
  int Digits = 1;
  for (; Value >= 10; Value /= 10) ++Digits;
  return Digits;
}

bool HasVertBar(TScrollStyle S) { return S == ssVertical || S == ssBoth; }
bool HasHorzBar(TScrollStyle S) { return S == ssHorizontal || S == ssBoth; }

}  // namespace

TEditorScroll::TEditorScroll(TEditModel& Model) : FModel(Model) { CalcMetrics(); }

int TEditorScroll::WindowWidth() const { return FModel.Window() != nullptr ? FModel.Window()->ClientWidth() : 0; }

int TEditorScroll::WindowHeight() const {
  return FModel.Window() != nullptr ? FModel.Window()->ClientHeight() : 0;
}

int TEditorScroll::CalcLeftbarDigits() const {
  const TEditorLeftbar& Bar = FModel.Leftbar();
  if (!Bar.Visible() || !Bar.ShowNumber()) return Bar.Column();
  const TEditorScreenStrings& Rows = FModel.ListRows();
  const int Count = Rows.Count();
  int Largest = Bar.ShowNumberMode() == nmLine ? Rows.LineCount() - 1 : Count - 1;
  // The row after the last one is numbered too when the text ends with a line break (or is empty).
  if (Count == 0 || Rows.RowAttribute(Count - 1) != raEof) ++Largest;
  if (!Bar.ZeroBase()) ++Largest;
  return std::clamp(DecimalDigits(std::max(Largest, 0)), Bar.Column(), TEditorLeftbar::MaxColumn);
}

void TEditorScroll::CalcBarSizes() {
  const TEditorRuler& Ruler = FModel.Ruler();
  FRulerHeight = Ruler.Visible() ? (Ruler.Edge() ? 11 : 10) : 0;
  FImagebarWidth = FModel.Imagebar().Width();
  FLeftbarDigits = CalcLeftbarDigits();
  const TEditorLeftbar& Bar = FModel.Leftbar();
  FLeftbarWidth = Bar.Visible() ? Bar.LeftMargin() + FLeftbarDigits * FColWidth + Bar.RightMargin() + 2 : 0;
}

bool TEditorScroll::CalcMetrics() {
  const IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return false;
  const TTextMetrics Tm = Window->FontMetrics(FModel.Font());
  const TEditorMargin& Margin = FModel.Margin();
  // A font that reports no width or height would make every position divide by zero.
  FFontHeight = std::max(Tm.Height + Tm.ExternalLeading, 1);
  FAveCharWidth = std::max(Tm.AveCharWidth, 1);
  FColWidth = FAveCharWidth + Margin.Character();
  FRowHeight = FFontHeight + Margin.Line() + Margin.UnderlineAllowance();
  CalcBarSizes();
  FTopOffset = Margin.Top() + FRulerHeight;
  FLeftOffset = Margin.Left() + FImagebarWidth + FLeftbarWidth;
  const TScrollStyle Bars = FModel.ScrollBars();
  const int HorzBar = HasHorzBar(Bars) ? Window->HorzScrollBarHeight() : 0;
  const int VertBar = HasVertBar(Bars) ? Window->VertScrollArrowHeight() : 0;
  FVisibleRows = std::max(1, (Window->ClientHeight() - FTopOffset - 5 - HorzBar) / FRowHeight);
  // A window narrower than one cell still shows one, so scrolling to the caret settles.
  FVisibleCols = std::max(1, (Window->ClientWidth() - FLeftOffset - FColWidth / 2 - VertBar) / FColWidth);
  return true;
}

int TEditorScroll::ScreenRows() const {
  if (FModel.Window() == nullptr) return FVisibleRows;
  return std::max(1, FModel.Window()->ClientHeight() / FRowHeight);
}

int TEditorScroll::MaxTopRow() const { return std::max(0, FModel.RowCount() + FVisibleRows - 1); }

void TEditorScroll::UpdateScrollRanges() {
  const int Largest = MaxTopRow();
  if (FTopRow > Largest) FModel.Signals().SetTopRow(Largest);
  if (FLeftCol > MaxLeftCol()) FModel.Signals().SetLeftCol(MaxLeftCol());
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return;
  const TScrollStyle Bars = FModel.ScrollBars();
  if (HasVertBar(Bars)) {
    Window->SetScrollRange(true, 0, std::max(FVisibleRows, Largest), FVisibleRows);
    Window->SetScrollPos(true, FTopRow);
  }
  if (HasHorzBar(Bars)) {
    Window->SetScrollRange(false, 0, MaxHorzPos(), FVisibleCols);
    Window->SetScrollPos(false, FLeftCol);
  }
}

TColRow TEditorScroll::MouseToPos(int X, int Y, bool Round) const {
  if (X < FLeftOffset) X -= FColWidth - 1;
  const int Dx = Round ? X + FColWidth / 2 - 1 - FLeftOffset : X - FLeftOffset;
  return {std::max(0, Dx / FColWidth + FLeftCol), (Y - FTopOffset) / FRowHeight + FTopRow};
}

TPoint TEditorScroll::CaretPos() const {
  TPoint P{ColToX(FModel.Col()), RowToY(FModel.Row())};
  if (FModel.Caret().Style() == csBrief) P.Y += FFontHeight - 2;
  return P;
}

TCaretShape TEditorScroll::CreateCaretShape(bool OnDoubleByte, int HitCols) const {
  if (HitCols > 0) return {HitCols * FColWidth, FFontHeight};
  if (FModel.Caret().Style() == csBrief) return {OnDoubleByte ? 2 * FAveCharWidth : FAveCharWidth, 2};
  return {2, FFontHeight};
}

bool TEditorScroll::CellVisible(int Row, int Col) const {
  return Row >= FTopRow && Row < FTopRow + FVisibleRows && Col >= FLeftCol && Col < FLeftCol + FVisibleCols;
}

TRect TEditorScroll::RowsRect(int First, int Last) const {
  if (FModel.Window() == nullptr) return {};
  const int Height = WindowHeight();
  // Rows whose top lies inside the window, the partly shown one at the bottom included.
  const int LastOnScreen = FTopRow + std::max(0, (Height - FTopOffset + FRowHeight - 1) / FRowHeight) - 1;
  First = std::max(First, FTopRow);
  Last = std::min(Last, LastOnScreen);
  if (First > Last) return {};
  return {FLeftOffset, RowToY(First), WindowWidth(), std::min(RowToY(Last) + FRowHeight, Height)};
}

TRect TEditorScroll::UnderlineRect(int Row) const {
  if (FModel.Window() == nullptr || Row < FTopRow || Row >= FTopRow + FVisibleRows) return {};
  const int Y = RowToY(Row) + FFontHeight;
  return {FLeftOffset, Y, WindowWidth(), Y + 1};
}

}  // namespace tesvarin
