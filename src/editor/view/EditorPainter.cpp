#include "editor/view/EditorPainter.h"

#include <algorithm>
#include <climits>

#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "editor/model/EditModel.h"
#include "editor/view/DotLine.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/EditorHighlighter.h"
#include "highlighter/Highlighter.h"
#include "highlighter/HighlighterParser.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {

constexpr int MaxCols = TEditorScroll::MaxCols;
// Bytes of the next row a wrapped row's last token is read into.
constexpr size_t WrapLookahead = 256;

int Sign(int V) { return (V > 0) - (V < 0); }

// The steps t of 0 <= t < N for which P + S * t lies in Lo <= p < Hi, narrowed into [T0, T1).
void NarrowSteps(int P, int S, int Lo, int Hi, int& T0, int& T1) {
  if (S == 0) {
    if (P < Lo || P >= Hi) T1 = T0;
    return;
  }
  if (S > 0) {
    T0 = std::max(T0, Lo - P);
    T1 = std::min(T1, Hi - P);
  } else {
    T0 = std::max(T0, P - Hi + 1);
    T1 = std::min(T1, P - Lo + 1);
  }
}

}  // namespace

TEditorPainter::TEditorPainter(TEditModel& Model, const TEditorScroll& Scroll, const TEditorSelection& Selection,
                               ICanvas& Canvas)
    : FModel(Model),
      FScroll(Scroll),
      FSelection(Selection),
      FCanvas(Canvas),
      FParser(Model.ActiveHighlighter().NewParser()) {}

TEditorPainter::~TEditorPainter() = default;

// ---- Clipped drawing

void TEditorPainter::Line(int X1, int Y1, int X2, int Y2, TColor Color) {
  const int Dx = Sign(X2 - X1);
  const int Dy = Sign(Y2 - Y1);
  // Mark shapes are made of level, upright and 45-degree lines, so a step moves both ends alike.
  const int Steps = std::max(std::abs(X2 - X1), std::abs(Y2 - Y1));
  int T0 = 0;
  int T1 = Steps;
  NarrowSteps(X1, Dx, FClip.Left, FClip.Right, T0, T1);
  NarrowSteps(Y1, Dy, FClip.Top, FClip.Bottom, T0, T1);
  if (T0 >= T1) return;
  FCanvas.Line(X1 + Dx * T0, Y1 + Dy * T0, X1 + Dx * T1, Y1 + Dy * T1, Color);
}

void TEditorPainter::Frame(const TRect& R, TColor Color) {
  if (R.IsEmpty()) return;
  if (IntersectRect(R, FClip) == R) {
    FCanvas.FrameRect(R, Color);
    return;
  }
  Line(R.Left, R.Top, R.Right, R.Top, Color);
  Line(R.Left, R.Bottom - 1, R.Right, R.Bottom - 1, Color);
  Line(R.Left, R.Top, R.Left, R.Bottom, Color);
  Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, Color);
}

void TEditorPainter::Fill(const TRect& R, TColor Color) {
  const TRect C = IntersectRect(R, FClip);
  if (!C.IsEmpty()) FCanvas.FillRect(C, Color);
}

void TEditorPainter::Image(int X, int Y, const TImage& Image, const TRect& Source) {
  const TRect Dest = IntersectRect({X, Y, X + Source.Width(), Y + Source.Height()}, FClip);
  if (Dest.IsEmpty()) return;
  const TRect From{Source.Left + Dest.Left - X, Source.Top + Dest.Top - Y, Source.Left + Dest.Right - X,
                   Source.Top + Dest.Bottom - Y};
  FCanvas.DrawImageRect(Dest.Left, Dest.Top, Image, From);
}

// ---- Text output

void TEditorPainter::SetTextFont(TFontStyles Style, TColor Color) {
  FUnderline = Style.Contains(fsUnderline);
  Style.Exclude(fsUnderline);
  // Only style and colour change within a paint.
  if (FFontSet && Style == FFont.Style && Color == FFont.Color) return;
  FFont = FModel.Font();
  FFont.Style = Style;
  FFont.Color = Color;
  FFontSet = true;
  FCanvas.SetFont(FFont);
}

void TEditorPainter::SetBrush(TColor Color) {
  if (FBrushSet && Color == FBrush) return;
  FBrush = Color;
  FBrushSet = true;
  FCanvas.SetBrushColor(Color);
}

int TEditorPainter::CutLength(std::string_view S) {
  if (S.size() <= static_cast<size_t>(MaxCols)) return static_cast<int>(S.size());
  // The character that begins at the 1000th byte is drawn whole.
  const bool LeadAtCut = IsLeadByte(S[MaxCols - 1]) && IsCharStartFrom(S, 0, MaxCols - 1);
  return LeadAtCut ? MaxCols + 1 : MaxCols;
}

void TEditorPainter::TextOut(int X, int Y, const TRect& ClipRect, std::string_view Text, bool Opaque) {
  Text = Text.substr(0, static_cast<size_t>(CutLength(Text)));
  const int W = FScroll.ColWidth();
  const TRect& Clip = ClipRect;
  if (Clip.IsEmpty()) return;
  // Only the characters that reach into the clip are sent.
  int First = std::clamp((Clip.Left - X) / W - 1, 0, static_cast<int>(Text.size()));
  while (First > 0 && !IsCharStartFrom(Text, 0, static_cast<size_t>(First))) --First;
  const int Last = std::clamp((Clip.Right - X + W - 1) / W + 1, First, static_cast<int>(Text.size()));
  if (Last == First && !Opaque) return;
  FCanvas.TextOut(X + First * W, Y, Clip, Text.substr(static_cast<size_t>(First), static_cast<size_t>(Last - First)),
                  W, Opaque);
  if (!FUnderline) return;
  // Dots instead of the font's underline, on the cell's last pixel row.
  const int Y1 = Y + FScroll.FontHeight() - 1;
  const int X2 = std::min(X + static_cast<int>(Text.size()) * W, Clip.Right) - 1;
  if (Y1 >= Clip.Top && Y1 < Clip.Bottom) DrawDotLine(FCanvas, std::max(X, Clip.Left), Y1, FBrush, FFont.Color, X2);
}

// ---- Rows

void TEditorPainter::LoadRow(int ARow) {
  if (FText.Row == ARow) return;
  TEditorScreenStrings& Rows = FModel.ListRows();
  if (Rows.BracketIndex(ARow) == -2) Rows.RefreshRowStates(ARow, false);
  FText.Row = ARow;
  FText.Long = ExpandTabs(Rows.RowView(ARow), FModel.ColumnSettings(), DisplayLimit, FText.Display);
  FText.Length = static_cast<int>(FText.Display.size());
  FText.Cut = CutLength(FText.Display);
}

void TEditorPainter::PaintRow(int ARow, const TRect& RowRect) {
  if (ARow >= FModel.RowCount()) {
    PaintPastEnd(ARow, RowRect);
    return;
  }
  LoadRow(ARow);
  // A rectangle that starts on the second half of a double-byte character starts with the whole
  // character, so marks over it are drawn whichever pieces the window is painted in.
  TRect Rect = RowRect;
  const int W = FScroll.ColWidth();
  const int Col = (Rect.Left - (FScroll.LeftOffset() - FScroll.ScrollOffset())) / W;
  if (Col > 0 && Col <= FText.Length && Rect.Left - W >= FScroll.LeftOffset()) {
    const auto Before = static_cast<size_t>(Col - 1);
    if (IsLeadByte(FText.Display[Before]) && IsCharStartFrom(FText.Display, 0, Before)) Rect.Left -= W;
  }
  const TEditorSelState State = FSelection.State();
  if (State == selSelected || (State == selHit && FModel.HitStyle() == hsDraw)) {
    PaintSpans(Rect);
  } else {
    PaintSpan(Rect, false);
  }
}

bool TEditorPainter::SelectedColumns(int ARow, int& First, int& Last) const {
  const TEditorSelection& Sel = FSelection;
  First = INT_MIN;
  Last = INT_MAX;
  if (Sel.BoxMode()) {
    const TSelRect& R = Sel.Rect();
    if (ARow < R.Top || ARow > R.Bottom) return false;
    First = R.Left;
    Last = R.Right;
    return true;
  }
  const TSelRange& R = Sel.Range();
  if (ARow < R.StartRow || ARow > R.EndRow) return false;
  const auto Settings = [this] { return FModel.ColumnSettings(); };
  const std::string_view Row = FModel.RowView(ARow);
  if (ARow == R.StartRow) First = ByteToColumnWith(Row, R.StartByte, Settings);
  if (ARow == R.EndRow) Last = ByteToColumnWith(Row, R.EndByte + 1, Settings);
  return true;
}

void TEditorPainter::PaintSpans(const TRect& RowRect) {
  int First = 0;
  int Last = 0;
  if (!SelectedColumns(FText.Row, First, Last)) {
    PaintSpan(RowRect, false);
    return;
  }
  const int64_t X0 = FScroll.LeftOffset() - FScroll.ScrollOffset();
  const auto ToX = [&](int Col) {
    if (Col == INT_MIN) return RowRect.Left;
    if (Col == INT_MAX) return RowRect.Right;
    return static_cast<int>(std::clamp<int64_t>(X0 + int64_t{Col} * FScroll.ColWidth(), RowRect.Left, RowRect.Right));
  };
  const int Xa = ToX(First);
  const int Xb = std::max(Xa, ToX(Last));
  const TRect Spans[] = {{RowRect.Left, RowRect.Top, Xa, RowRect.Bottom},
                         {Xa, RowRect.Top, Xb, RowRect.Bottom},
                         {Xb, RowRect.Top, RowRect.Right, RowRect.Bottom}};
  for (int I = 0; I < 3; ++I) {
    if (!Spans[I].IsEmpty()) PaintSpan(Spans[I], I == 1);
  }
}

TEditorPainter::TColors TEditorPainter::SelectionColors() const {
  const auto* Scheme = dynamic_cast<const TEditorHighlighter*>(&FModel.ActiveHighlighter());
  TEditorColors& Colors = Scheme != nullptr ? Scheme->Colors() : FModel.View().Colors();
  const THighlighterColor& Item = FSelection.State() == selHit ? Colors.Hit() : Colors.Select();
  // Unset colours show the selection inverted.
  return {Item.BkColor() == clNone ? FModel.Font().Color : Item.BkColor(),
          Item.Color() == clNone ? FModel.Color() : Item.Color()};
}

void TEditorPainter::PaintSpan(const TRect& Rect, bool Selected) {
  FClip = Rect;
  const int Y = FScroll.RowToY(FText.Row);
  const int X0 = FScroll.LeftOffset() - FScroll.ScrollOffset();
  const TColors Pair = Selected ? SelectionColors() : TColors{FModel.Color(), FModel.Font().Color};
  FTokenText.clear();
  SetBrush(Pair.Bk);
  if (FModel.ItalicMode()) {
    Fill(Rect, Pair.Bk);
  } else {
    SetTextFont(FModel.Font().Style, Pair.Text);
    TextOut(X0, Y, Rect, FText.Display, true);
  }
  const bool ScrolledAway = int64_t{FText.Length + 5} * FScroll.ColWidth() < FScroll.ScrollOffset();
  if (!ScrolledAway && FText.Length > 0) PaintTokens(Rect, Selected, Pair);
  FModel.Signals().RowPainted(FTokenText.empty() ? std::string_view(FText.Display) : std::string_view(FTokenText), X0, Y,
                   FText.Row, Rect, Selected);
  FClip = Rect;  // the hook may have narrowed it
  PaintRowEnd(Rect, Selected);
}

void TEditorPainter::PaintTokens(const TRect& Rect, bool Selected, const TColors& Pair) {
  const TEditorScreenStrings& Rows = FModel.ListRows();
  const int W = FScroll.ColWidth();
  const int Y = FScroll.RowToY(FText.Row);
  const int X0 = FScroll.LeftOffset() - FScroll.ScrollOffset();
  int RightLimit = std::min(Rect.Right, FScroll.LeftOffset() + MaxCols * W - FScroll.ScrollOffset());
  std::string_view Text = FText.Display;
  if (FModel.WordWrap() && Rows.RowAttribute(FText.Row) == raWrapped && FText.Row + 1 < Rows.Count()) {
    FTokenText = FText.Display;
    FTokenText.append(Rows.RowView(FText.Row + 1).substr(0, WrapLookahead));
    Text = FTokenText;
    RightLimit = std::min(RightLimit, X0 + FText.Length * W);
  }
  FParser->SetRowText(Text, Rows.RowState(FText.Row));
  const TColor Back = FModel.Color();
  const TColor Fore = FModel.Font().Color;
  const TFontStyles FontStyle = FModel.Font().Style;
  const bool Italic = FModel.ItalicMode();
  const std::string_view Drawn = std::string_view(FText.Display).substr(0, static_cast<size_t>(FText.Cut));
  while (FParser->NextToken() != ttEnd) {
    const int Pos = FParser->TokenPos();
    if (Pos >= FText.Length || Pos >= FText.Cut) break;
    const int X = X0 + Pos * W;
    if (X > RightLimit) break;
    // A wrapped row draws only its own part of a token that goes on in the next row.
    const int Len = std::min(FParser->TokenLength(), FText.Cut - Pos);
    if (X + Len * W <= std::max(FScroll.LeftOffset(), Rect.Left)) continue;
    const THighlighterColor* Item = FParser->TokenColor();
    const TColor Bk = Item != nullptr && Item->BkColor() != clNone ? Item->BkColor() : Back;
    const TColor Fg = Item != nullptr && Item->Color() != clNone ? Item->Color() : Fore;
    const TFontStyles Style = Item != nullptr ? Item->Style() : FontStyle;
    const std::string_view Token = Drawn.substr(static_cast<size_t>(Pos), static_cast<size_t>(Len));
    const TRect Cells = IntersectRect(Rect, {X, Rect.Top, X + Len * W, Rect.Bottom});
    if (Italic) {
      SetTextFont(Style, Selected ? Pair.Text : Fg);
      const TColor Brush = Selected || Bk == Back ? clNone : Bk;
      SetBrush(Brush);
      if (Brush != clNone) Fill(Cells, Brush);
      TextOut(X, Y, Rect, Token, false);
    } else if (Selected) {
      if (Style == FontStyle) continue;
      SetTextFont(Style, Pair.Text);
      SetBrush(Pair.Bk);
      TextOut(X, Y, Cells, Token, true);
    } else {
      if (Bk == Back && Fg == Fore && Style == FontStyle) continue;
      SetTextFont(Style, Fg);
      SetBrush(Bk);
      TextOut(X, Y, Cells, Token, true);
    }
  }
}

// ---- Marks

TColor TEditorPainter::MarkColor(TColor Color) const { return Color == clNone ? FModel.Font().Color : Color; }

void TEditorPainter::PaintRowEnd(const TRect& Rect, bool Selected) {
  const int X0 = FScroll.LeftOffset() - FScroll.ScrollOffset();
  const int X1 = X0 + std::min(FText.Length, FText.Cut) * FScroll.ColWidth();
  if (X1 >= Rect.Right) return;
  const int Y = FScroll.RowToY(FText.Row);
  const TEditorMarks& Marks = FModel.Marks();
  const TColor SelText = Selected ? SelectionColors().Text : clNone;
  const auto Colour = [&](const TEditorMark& Mark) { return Selected ? SelText : MarkColor(Mark.Color()); };
  if (!FText.Long && FText.Length <= FText.Cut) {
    const TRowAttribute Attr = FModel.ListRows().RowAttribute(FText.Row);
    if (Marks.EofMark().Visible() && FText.Row == FModel.RowCount() - 1 && Attr == raEof) {
      DrawEofMark(X1, Y);
    } else if (Marks.RetMark().Visible() && Attr == raCrlf) {
      DrawRetMark(X1, Y, Colour(Marks.RetMark()));
    } else if (Marks.WrapMark().Visible() && Attr == raWrapped) {
      DrawWrapMark(X1, Y, Colour(Marks.WrapMark()));
    }
  } else if (Marks.HideMark().Visible()) {
    DrawHideMark(X1, Y, Colour(Marks.HideMark()));
  }
}

void TEditorPainter::PaintPastEnd(int ARow, const TRect& RowRect) {
  FClip = RowRect;
  Fill(RowRect, FModel.Color());
  const int Count = FModel.RowCount();
  const bool EndsWithBreak = Count == 0 || FModel.ListRows().RowAttribute(Count - 1) != raEof;
  if (FModel.Marks().EofMark().Visible() && ARow == Count && EndsWithBreak) {
    DrawEofMark(FScroll.LeftOffset() - FScroll.ScrollOffset(), FScroll.RowToY(ARow));
  }
}

void TEditorPainter::DrawEofMark(int X, int Y) {
  if (X < FScroll.LeftOffset()) return;
  const IEditorWindow* Window = FModel.Window();
  const TRect TextArea{FScroll.LeftOffset(), FScroll.TopOffset(), Window->ClientWidth(), Window->ClientHeight()};
  const TRect Cell{X, Y, X + 6 * FScroll.ColWidth(), Y + FScroll.FontHeight()};
  const TRect Clip = IntersectRect(IntersectRect(Cell, TextArea), FClip);
  if (Clip.IsEmpty()) return;
  SetTextFont(FModel.Font().Style, MarkColor(FModel.Marks().EofMark().Color()));
  SetBrush(FModel.Color());
  TextOut(X, Y, Clip, "[EOF]", true);
}

void TEditorPainter::DrawRetMark(int X, int Y, TColor Color) {
  if (X < FScroll.LeftOffset()) return;
  const int H = FScroll.FontHeight();
  const int D = std::max(1, H / 8);
  const int F = std::max(D, 3);
  const int Xm = X + FScroll.ColWidth() / 2;
  const int Low = Y + H - 2 * D;
  Line(Xm, Y + 2 * D, Xm, Low, Color);
  Line(Xm, Low, Xm + F, Low - F, Color);
  Line(Xm, Low, Xm - F, Low - F, Color);
}

void TEditorPainter::DrawWrapMark(int X, int Y, TColor Color) {
  if (X < FScroll.LeftOffset()) return;
  const int W = FScroll.ColWidth();
  const int E = std::max(2, W * 3 / 5);
  const int Ym = Y + FScroll.FontHeight() / 2;
  Line(X + W, Ym - E, X + W - E, Ym, Color);
  Line(X + W - E, Ym, X + W + 1, Ym + E + 1, Color);
}

void TEditorPainter::DrawHideMark(int X, int Y, TColor Color) {
  if (X < FScroll.LeftOffset()) return;
  const int W = FScroll.ColWidth();
  const int E = std::max(2, W * 3 / 5);
  const int Ym = Y + FScroll.FontHeight() / 2;
  Line(X + W - E, Ym - E, X + W, Ym, Color);
  Line(X + W, Ym, X + W - E - 1, Ym + E + 1, Color);
}

void TEditorPainter::DrawUnderline(int ARow) {
  const int Y = FScroll.RowToY(ARow) + FScroll.FontHeight();
  Line(FScroll.LeftOffset(), Y, FModel.Window()->ClientWidth(), Y, MarkColor(FModel.Marks().Underline().Color()));
}

}  // namespace tesvarin
