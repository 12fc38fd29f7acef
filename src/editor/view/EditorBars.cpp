#include "editor/view/EditorBars.h"

#include <algorithm>
#include <bit>

#include "editor/model/EditModel.h"
#include "editor/view/EditorBarImages.h"
#include "editor/view/EditorPainter.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

namespace {

const TImage& ImageAt(const std::vector<TImage>& Own, const std::vector<TImage>& Defaults, int Index) {
  const auto I = static_cast<size_t>(Index);
  if (I < Own.size() && Own[I].Width() > 0) return Own[I];
  return Defaults[I];
}

TColor Or(TColor Color, TColor Fallback) { return Color == clNone ? Fallback : Color; }

}  // namespace

TColor TEditorBars::RulerBk() const { return Or(FModel.Ruler().BkColor(), FModel.Color()); }
TColor TEditorBars::RulerInk() const { return Or(FModel.Ruler().Color(), FModel.Font().Color); }
TColor TEditorBars::RulerMark() const { return Or(FModel.Ruler().MarkColor(), FModel.Font().Color); }
TColor TEditorBars::LeftbarBk() const { return Or(FModel.Leftbar().BkColor(), FModel.Color()); }

TEditorBars::TGeometry TEditorBars::CurrentGeometry() const {
  const TEditorScroll& S = FScroll;
  const int Client = FModel.Window() != nullptr ? FModel.Window()->ClientWidth() : 0;
  return {S.ColWidth(),     S.RulerHeight(),  S.LeftOffset(), S.TopOffset(),
          S.ImagebarWidth(), S.LeftbarWidth(), std::max(FModel.Platform().ScreenWidth, Client)};
}

void TEditorBars::Prepare() {
  const TGeometry G = CurrentGeometry();
  if (!FStale && G == FGeometry) return;
  FGeometry = G;
  FStale = false;
  FCorner = MakeCorner();
  FGaugeNormal = MakeGauge(RulerInk(), RulerBk());
  FGaugeMarked = MakeGauge(RulerBk(), RulerMark());
  FGlyphsNormal = ColourGlyphs(RulerInk(), RulerBk());
  FGlyphsMarked = ColourGlyphs(RulerBk(), RulerMark());
  FRulerBase = -1;
}

// ---- Ruler

TImage TEditorBars::MakeGauge(TColor Ink, TColor Bk) const {
  const int W = FGeometry.ColWidth;
  const int H = FGeometry.RulerHeight;
  const int Range = FModel.Ruler().GaugeRange();
  const int Period = Range * W;
  TImage Gauge(Period * (FGeometry.Width / Period + 2), H, Bk);
  for (int B = 0; B < Range; ++B) {
    const int Top = B == 0 ? 0 : B == Range / 2 ? 3 : 6;
    FillImageRect(Gauge, {B * W, Top, B * W + 1, H - 1}, Ink);
  }
  if (FModel.Ruler().Edge()) {
    FillImageRect(Gauge, {0, H - 2, Period, H - 1}, clWhite);
    FillImageRect(Gauge, {0, H - 1, Period, H}, clGray);
  } else {
    FillImageRect(Gauge, {0, H - 1, Period, H}, Ink);
  }
  for (int X = Period; X < Gauge.Width(); X += Period) CopyImageRect(Gauge, X, 0, Gauge, {0, 0, Period, H});
  return Gauge;
}

void TEditorBars::NumberRulers(int Base) {
  if (Base == FRulerBase) return;
  FRulerBase = Base;
  FRulerNormal = FGaugeNormal;
  FRulerMarked = FGaugeMarked;
  const int Period = FModel.Ruler().GaugeRange() * FGeometry.ColWidth;
  for (int X = 0; X < FRulerNormal.Width(); X += Period) {
    const int Number = Base + X / FGeometry.ColWidth;
    const bool Last = Number > 999;
    if (Last) {
      const int Wide = GlyphNumberWidth(Number);
      FillImageRect(FRulerNormal, {X + 1, 0, X + 1 + Wide, GlyphHeight}, RulerBk());
      FillImageRect(FRulerMarked, {X + 1, 0, X + 1 + Wide, GlyphHeight}, RulerMark());
    }
    DrawGlyphNumber(FRulerNormal, X + 1, 0, FGlyphsNormal, Number);
    DrawGlyphNumber(FRulerMarked, X + 1, 0, FGlyphsMarked, Number);
    if (Last) break;
  }
}

TRect TEditorBars::RulerCell(int ACol) const {
  const TEditorScroll& S = FScroll;
  if (S.RulerHeight() == 0 || ACol < S.LeftCol() || ACol > S.LeftCol() + S.VisibleCols()) return {};
  const int X = S.ColToX(ACol) + 1;
  const int Bottom = S.RulerHeight() - (FModel.Ruler().Edge() ? 2 : 1);
  return {X, 0, X + S.ColWidth() - 1, Bottom};
}

void TEditorBars::DrawRuler(TEditorPainter& Painter, int MarkCol) {
  const TEditorScroll& S = FScroll;
  if (S.RulerHeight() == 0) return;
  Prepare();
  const int Range = FModel.Ruler().GaugeRange();
  const int Shift = S.LeftCol() % Range;
  const int Base = S.LeftCol() - Shift;
  NumberRulers(Base);
  const int From = Shift * S.ColWidth();
  Painter.Image(S.LeftOffset(), 0, FRulerNormal, {From, 0, From + FGeometry.Width, S.RulerHeight()});
  const TRect Cell = RulerCell(MarkCol);
  if (Cell.IsEmpty()) return;
  const int CellFrom = (MarkCol - Base) * S.ColWidth() + 1;
  Painter.Image(Cell.Left, Cell.Top, FRulerMarked, {CellFrom, Cell.Top, CellFrom + Cell.Width(), Cell.Bottom});
}

// ---- Corner

TImage TEditorBars::MakeCorner() const {
  const TGeometry& G = FGeometry;
  TImage Corner(G.LeftOffset, G.TopOffset, FModel.Color());
  const TEditorLeftbar& Bar = FModel.Leftbar();
  const bool BarEdge = Bar.Visible() && Bar.Edge();
  const int BarRight = G.ImagebarWidth + G.LeftbarWidth;
  if (BarEdge) {
    // The leftbar's raised edge runs up to the top.
    FillImageRect(Corner, {0, 0, BarRight, G.TopOffset}, LeftbarBk());
    FillImageRect(Corner, {BarRight - 2, 0, BarRight - 1, G.TopOffset}, clWhite);
    FillImageRect(Corner, {BarRight - 1, 0, BarRight, G.TopOffset}, clGray);
  }
  if (FModel.Ruler().Visible() && FModel.Ruler().Edge()) {
    const int Left = BarEdge ? BarRight : 0;
    const int H = G.RulerHeight;
    FillImageRect(Corner, {Left, 0, G.LeftOffset, H}, RulerBk());
    FillImageRect(Corner, {Left - 1, H - 2, G.LeftOffset, H - 1}, clWhite);
    FillImageRect(Corner, {Left - 1, H - 1, G.LeftOffset, H}, clGray);
  }
  return Corner;
}

void TEditorBars::DrawCorner(TEditorPainter& Painter) {
  Prepare();
  if (FCorner.Width() > 0 && FCorner.Height() > 0) {
    Painter.Image(0, 0, FCorner, {0, 0, FCorner.Width(), FCorner.Height()});
  }
}

// ---- Leftbar

std::string TEditorBars::LeftbarText(int ARow) const {
  const TEditorLeftbar& Bar = FModel.Leftbar();
  if (!Bar.ShowNumber()) return {};
  const TEditorScreenStrings& Rows = FModel.ListRows();
  const int Count = Rows.Count();
  const bool EndsWithBreak = Count == 0 || Rows.RowAttribute(Count - 1) != raEof;
  const bool AfterLast = ARow == Count && EndsWithBreak;
  if (ARow > Count || (ARow == Count && !AfterLast && ARow != 0)) return {};
  int Number = ARow;
  if (Bar.ShowNumberMode() == nmLine) {
    if (ARow < Count && ARow > 0 && Rows.RowAttribute(ARow - 1) == raWrapped) return {};
    Number = ARow < Count ? Rows.RowToLine(ARow) : (Count == 0 ? 0 : Rows.LineCount());
  }
  if (!Bar.ZeroBase()) ++Number;
  std::string Text = std::to_string(Number);
  const auto Digits = static_cast<size_t>(FScroll.LeftbarDigits());
  if (Text.size() < Digits) Text.insert(0, Digits - Text.size(), Bar.ZeroLead() ? '0' : ' ');
  return Text;
}

void TEditorBars::DrawLeftbar(TEditorPainter& Painter, int First, int Last) {
  const TEditorScroll& S = FScroll;
  if (S.LeftbarWidth() == 0 || First > Last) return;
  const TEditorLeftbar& Bar = FModel.Leftbar();
  const int Left = S.ImagebarWidth();
  const int EdgeX = Left + S.LeftbarWidth() - 2;
  const TColor Bk = LeftbarBk();
  Painter.SetTextFont(FModel.Font().Style, Or(Bar.Color(), FModel.Font().Color));
  Painter.SetBrush(Bk);
  for (int Row = First; Row <= Last; ++Row) {
    const int Y = S.RowToY(Row);
    const TRect Cell{Left, Y, EdgeX, Y + S.RowHeight()};
    const std::string Text = LeftbarText(Row);
    if (Text.empty()) {
      Painter.Fill(Cell, Bk);
    } else {
      Painter.TextOut(Left + Bar.LeftMargin(), Y, IntersectRect(Cell, Painter.Clip()), Text, true);
    }
  }
  const int Top = S.RowToY(First);
  const int Bottom = S.RowToY(Last) + S.RowHeight();
  Painter.Fill({EdgeX, Top, EdgeX + 1, Bottom}, Bar.Edge() ? clWhite : Bk);
  Painter.Fill({EdgeX + 1, Top, EdgeX + 2, Bottom}, Bar.Edge() ? clGray : Or(Bar.Color(), FModel.Font().Color));
}

// ---- Image bar

void TEditorBars::DrawImagebar(TEditorPainter& Painter, int First, int Last) {
  const TEditorScroll& S = FScroll;
  const int Width = S.ImagebarWidth();
  if (Width == 0) return;
  const TEditorLeftbar& Bar = FModel.Leftbar();
  const TEditorImagebar& Imagebar = FModel.Imagebar();
  const TColor Bk = Bar.Visible() && Bar.BkColor() != clNone ? Bar.BkColor() : FModel.Color();
  const TRect Area = Painter.Clip();
  for (int Row = First; Row <= Last; ++Row) {
    const int Y = S.RowToY(Row);
    const TRect Strip{0, Y, Width, Y + S.RowHeight()};
    Painter.Fill(Strip, Bk);
    const unsigned Marks = Row < FModel.RowCount() ? FModel.RowMarksOf(Row) : 0;
    if (Marks == 0) continue;
    Painter.SetClip(IntersectRect(Area, Strip));
    if ((Marks & 0x3FFu) != 0) {
      const TImage& Image = ImageAt(FModel.ImageDigits(), DefaultImageDigits(), std::countr_zero(Marks & 0x3FFu));
      Painter.Image(Imagebar.LeftMargin(), Y + 2, Image, {0, 0, Image.Width(), Image.Height()});
    }
    if ((Marks & 0xFC00u) != 0) {
      const TImage& Image = ImageAt(FModel.ImageMarks(), DefaultImageMarks(), std::countr_zero(Marks >> 10));
      Painter.Image(Imagebar.LeftMargin() + Imagebar.DigitWidth(), Y + 2, Image, {0, 0, Image.Width(), Image.Height()});
    }
    Painter.SetClip(Area);
  }
}

}  // namespace tesvarin
