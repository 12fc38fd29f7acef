#include "editor/text/RowMarks.h"

namespace tesvarin {

namespace {
constexpr int RowMarkCount = 16;
constexpr int UniqueMarkCount = 10;

uint16_t MarkBit(int Mark) { return static_cast<uint16_t>(1u << Mark); }
}  // namespace

int TRowMarks::FirstRowWith(int Mark) const {
  if (Mark < 0 || Mark >= RowMarkCount || (FRows.MarkSet() & MarkBit(Mark)) == 0) return -1;
  const int Count = FRows.Count();
  for (int R = 0; R < Count; ++R)
    if ((FRows.RowMarks(R) & MarkBit(Mark)) != 0) return R;
  return -1;
}

uint16_t TRowMarks::Of(int Row) const {
  if (Row < 0 || Row >= FRows.Count()) return 0;
  return FRows.RowMarks(Row);
}

void TRowMarks::Set(int Row, uint16_t Marks) {
  if (Row < 0 || Row >= FRows.Count()) return;
  const uint16_t Old = FRows.RowMarks(Row);
  if (Old == Marks) return;
  FRows.SetRowMarks(Row, Marks);
  FRows.IncludeMarks(static_cast<uint16_t>(Marks & ~Old));
  // A mark taken off this row stays placed while another row still carries it.
  const auto Removed = static_cast<uint16_t>(Old & ~Marks);
  for (int K = 0; K < RowMarkCount; ++K)
    if ((Removed & MarkBit(K)) != 0 && FirstRowWith(K) < 0) FRows.ExcludeMarks(MarkBit(K));
  if (FChanged) FChanged(Row);
}

void TRowMarks::Put(int Row, int Mark) {
  if (Row < 0 || Row >= FRows.Count() || Mark < 0 || Mark >= RowMarkCount) return;
  if (Mark < UniqueMarkCount) {
    const int Holder = FirstRowWith(Mark);
    if (Holder == Row) return;
    if (Holder >= 0) Set(Holder, static_cast<uint16_t>(FRows.RowMarks(Holder) & ~MarkBit(Mark)));
  }
  Set(Row, static_cast<uint16_t>(FRows.RowMarks(Row) | MarkBit(Mark)));
}

void TRowMarks::Delete(int Row, int Mark) {
  if (Row < 0 || Row >= FRows.Count() || Mark < 0 || Mark >= RowMarkCount) return;
  Set(Row, static_cast<uint16_t>(FRows.RowMarks(Row) & ~MarkBit(Mark)));
}

}  // namespace tesvarin
