// TEditor's row marks: sixteen bookmarks per row (the commands use 0 .. 9, each on one row at most).
#include <algorithm>

#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

namespace {
constexpr int RowMarkCount = 16;
constexpr int UniqueMarkCount = 10;

uint16_t MarkBit(int Mark) { return static_cast<uint16_t>(1u << Mark); }
}  // namespace

int TEditor::FirstRowWithMark(int Mark) const {
  if (Mark < 0 || Mark >= RowMarkCount || (FRows->MarkSet() & MarkBit(Mark)) == 0) return -1;
  const int Count = FRows->Count();
  for (int R = 0; R < Count; ++R)
    if ((FRows->RowMarks(R) & MarkBit(Mark)) != 0) return R;
  return -1;
}

uint16_t TEditor::RowMarksOf(int ARow) const {
  if (ARow < 0 || ARow >= FRows->Count()) return 0;
  return FRows->RowMarks(ARow);
}

void TEditor::SetRowMarks(int ARow, uint16_t Marks) {
  if (ARow < 0 || ARow >= FRows->Count()) return;
  const uint16_t Old = FRows->RowMarks(ARow);
  if (Old == Marks) return;
  FRows->SetRowMarks(ARow, Marks);
  FRows->IncludeMarks(static_cast<uint16_t>(Marks & ~Old));
  // A mark taken off this row stays placed while another row still carries it.
  const auto Removed = static_cast<uint16_t>(Old & ~Marks);
  for (int K = 0; K < RowMarkCount; ++K)
    if ((Removed & MarkBit(K)) != 0 && FirstRowWithMark(K) < 0) FRows->ExcludeMarks(MarkBit(K));
  InvalidateImagebarRow(ARow);
}

void TEditor::PutMark(int ARow, int Mark) {
  if (ARow < 0 || ARow >= FRows->Count() || Mark < 0 || Mark >= RowMarkCount) return;
  if (Mark < UniqueMarkCount) {
    const int Holder = FirstRowWithMark(Mark);
    if (Holder == ARow) return;
    if (Holder >= 0) SetRowMarks(Holder, static_cast<uint16_t>(FRows->RowMarks(Holder) & ~MarkBit(Mark)));
  }
  SetRowMarks(ARow, static_cast<uint16_t>(FRows->RowMarks(ARow) | MarkBit(Mark)));
}

void TEditor::DeleteMark(int ARow, int Mark) {
  if (ARow < 0 || ARow >= FRows->Count() || Mark < 0 || Mark >= RowMarkCount) return;
  SetRowMarks(ARow, static_cast<uint16_t>(FRows->RowMarks(ARow) & ~MarkBit(Mark)));
}

void TEditor::GotoMark(int Mark) {
  const int Target = FirstRowWithMark(Mark);
  if (Target < 0) return;
  const int Visible = ScreenRows();
  const int Top = TopRow();
  if (Target < Top || Target >= Top + std::max(Visible, 1)) SetTopRow(std::max(0, Target - Visible / 2));
  SetRow(Target);
}

}  // namespace tesvarin
