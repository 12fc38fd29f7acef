#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorUndo.h"
#include "support/Sjis.h"

namespace tesvarin {
namespace {

// The plain model: lines and whether the text ends with a break.
struct TModel {
  std::vector<std::string> Lines;
  bool FinalBreak = false;

  static TModel FromText(const std::string& T) {
    TModel M;
    if (T.empty()) return M;
    ForEachLine(T, [&](std::string_view Piece, int Kind) {
      if (Kind >= 0 || !Piece.empty()) M.Lines.emplace_back(Piece);
      if (Kind < 0) M.FinalBreak = Piece.empty();
    });
    return M;
  }
  [[nodiscard]] std::string Text() const {
    std::string S;
    for (size_t I = 0; I < Lines.size(); ++I) {
      S += Lines[I];
      if (I + 1 < Lines.size() || FinalBreak) S += "\r\n";
    }
    return S;
  }
};

// Whole characters only, so any split of a double-byte character is the store's fault.
std::string RandomText(std::mt19937& Rng, int MaxChars, bool Breaks) {
  static const char* const Pieces[] = {"a",        "b",        "Z",        " ",        "\t",       ",",
                                       "\x82\xA0", "\x81\x42", "\x81\x75", "\x81\x76", "\x88\x9F", "\xB1",
                                       "xyz ",     "\x82\xA0\x82\xA2", std::string_view("\0", 1).data()};
  std::string S;
  int N = static_cast<int>(Rng() % static_cast<unsigned>(MaxChars + 1));
  for (int I = 0; I < N; ++I) {
    unsigned R = Rng() % 40;
    if (Breaks && R == 0) {
      S += "\r\n";
    } else if (Breaks && R == 1) {
      S += "\n";
    } else if (Breaks && R == 2) {
      S += "\r";
    } else if (R == 3) {
      S.push_back('\0');
    } else {
      S += Pieces[Rng() % 14];
    }
  }
  return S;
}

int64_t RowOffset(const TEditorScreenStrings& Rows, int Row) {
  int64_t Off = 0;
  for (int I = 0; I < Row; ++I) Off += Rows.RowView(I).size() + (Rows.RowAttribute(I) == raCrlf ? 2 : 0);
  return Off;
}

// Lookups out of order (backwards, then jumping about) must agree with the walk from the top,
// whichever remembered line they start from.
// Runs first, so the line remembered from before the last change is still there to be misused.
void CheckLineLookups(const TEditorScreenStrings& Rows, const TEditorStrings& Lines, const TModel& M,
                      int Step) {
  std::vector<int> Starts;
  for (int Row = 0; Row < Rows.Count(); Row = Rows.LineEndRow(Row) + 1) Starts.push_back(Row);
  const int N = static_cast<int>(Starts.size());
  ASSERT_EQ(N, static_cast<int>(M.Lines.size())) << "step " << Step;
  for (int K = 0; K < N; ++K) {
    const int L = (K * 7 + Step) % N;
    ASSERT_EQ(Rows.LineToRow(L), Starts[static_cast<size_t>(L)]) << "step " << Step << " line " << L;
    ASSERT_EQ(Lines.Get(L), M.Lines[static_cast<size_t>(L)]) << "step " << Step << " line " << L;
  }
  for (int L = N - 1; L >= 0; --L)
    ASSERT_EQ(Rows.LineToRow(L), Starts[static_cast<size_t>(L)]) << "step " << Step << " line " << L;
  int Line = 0;
  std::vector<int> LineOfRow;
  for (int R = 0; R < Rows.Count(); ++R) {
    LineOfRow.push_back(Line);
    if (Rows.RowAttribute(R) != raWrapped) ++Line;
  }
  const int Count = Rows.Count();
  for (int K = 0; K <= Count + 1; ++K) {
    const int R = K % 2 == 0 ? Count + 1 - K : (K * 5 + Step) % (Count + 2);
    const int Expected = !Rows.WordWrap() ? R : R < Count ? LineOfRow[static_cast<size_t>(R)] : Line + (R - Count);
    ASSERT_EQ(Rows.RowToLine(R), Expected) << "step " << Step << " row " << R;
  }
}

void CheckAgainstModel(const TEditorScreenStrings& Rows, const TEditorStrings& Lines, const TModel& M,
                       int Step) {
  int Wrapped = 0;
  for (int I = 0; I < Rows.Count(); ++I) Wrapped += Rows.RowAttribute(I) == raWrapped ? 1 : 0;
  ASSERT_EQ(Rows.WrappedRowCount(), Wrapped) << "step " << Step;
  ASSERT_EQ(Lines.Text(), M.Text()) << "step " << Step;
  std::string Dump;
  for (int I = 0; I < Rows.Count(); ++I)
    Dump += std::to_string(Rows.RowAttribute(I)) + ":" + ::testing::PrintToString(Rows.Get(I)) + "\n";
  ASSERT_EQ(Lines.Count(), static_cast<int>(M.Lines.size())) << "step " << Step << "\n" << Dump;
  CheckLineLookups(Rows, Lines, M, Step);
  int Row = 0;
  for (size_t L = 0; L < M.Lines.size(); ++L) {
    ASSERT_EQ(Rows.LineStartRow(Row), Row) << "step " << Step;
    TLineTextResult T = Rows.LineText(Row, -1);
    bool Broken = L + 1 < M.Lines.size() || M.FinalBreak;
    ASSERT_EQ(std::string_view(T.Text), M.Lines[L] + (Broken ? "\r\n" : "")) << "step " << Step << " line " << L;
    ASSERT_EQ(Lines.Get(static_cast<int>(L)), M.Lines[L]) << "step " << Step;
    Row = Rows.LineEndRow(Row) + 1;
  }
  ASSERT_EQ(Row, Rows.Count()) << "step " << Step;
  for (int I = 0; I < Rows.Count(); ++I) {
    std::string_view R = Rows.RowView(I);
    size_t P = 0;
    while (P < R.size()) P += IsLeadByte(static_cast<unsigned char>(R[P])) ? 2 : 1;
    ASSERT_EQ(P, R.size()) << "double-byte character split at row " << I << " step " << Step;
    if (Rows.WordWrap() && Rows.RowAttribute(I) == raWrapped) {
      ASSERT_FALSE(R.empty()) << "empty wrapped row " << I << " step " << Step;
    }
  }
}

// One random change through UpdateRows or Lines; returns the expected text.
std::string RandomStep(std::mt19937& Rng, TEditorScreenStrings& Rows, TEditorStrings& Lines, const TModel& M,
                       std::string& Desc) {
  std::string Before = M.Text();
  unsigned Kind = Rng() % 10;
  if (Kind < 6) {
    int A = static_cast<int>(Rng() % static_cast<unsigned>(Rows.Count() + 1));
    int MaxN = std::min(3, Rows.Count() - A);
    int N = MaxN > 0 ? static_cast<int>(Rng() % static_cast<unsigned>(MaxN + 1)) : 0;
    std::string Text = RandomText(Rng, 12, true);
    Desc = "UpdateRows(" + std::to_string(A) + ", " + std::to_string(N) + ", " + ::testing::PrintToString(Text) +
           ") on " + ::testing::PrintToString(Before) + " rows " + std::to_string(Rows.Count());
    for (int R = 0; R < Rows.Count(); ++R)
      Desc += "\n  " + std::to_string(Rows.RowAttribute(R)) + " " + ::testing::PrintToString(Rows.Get(R));
    if (A == Rows.Count() && Rows.Count() > 0 && Rows.RowAttribute(Rows.Count() - 1) == raEof) {
      Rows.UpdateRows(A, N, Text);
      return Before;  // refused: no place after a last row without a break
    }
    int64_t From = RowOffset(Rows, A);
    int64_t To = RowOffset(Rows, A + N);
    if (A + N == Rows.Count() && Rows.Count() > 0 && Rows.RowAttribute(Rows.Count() - 1) == raEof)
      To = static_cast<int64_t>(Before.size());
    Rows.UpdateRows(A, N, Text);
    if (N == 0 && Text.empty()) return Before;
    std::string After = Before.substr(0, static_cast<size_t>(From)) + Text + Before.substr(static_cast<size_t>(To));
    return TModel::FromText(After).Text();
  }
  TModel Next = M;
  int Count = static_cast<int>(M.Lines.size());
  std::string S = RandomText(Rng, 8, false);
  Desc = "Lines op " + std::to_string(Kind) + " " + ::testing::PrintToString(S) + " on " +
         ::testing::PrintToString(Before);
  if (Kind == 6 && Count > 0) {
    int I = static_cast<int>(Rng() % static_cast<unsigned>(Count));
    Lines.Put(I, S);
    Next.Lines[static_cast<size_t>(I)] = S;
  } else if (Kind == 7) {
    int I = static_cast<int>(Rng() % static_cast<unsigned>(Count + 1));
    Lines.Insert(I, S);
    if (I >= Count) {
      if (Count == 0 || Next.FinalBreak) Next.FinalBreak = true;
      Next.Lines.push_back(S);
    } else {
      Next.Lines.insert(Next.Lines.begin() + I, S);
    }
  } else if (Kind == 8) {
    Lines.Add(S);
    if (Count == 0 || Next.FinalBreak) Next.FinalBreak = true;
    Next.Lines.push_back(S);
  } else if (Count > 0) {
    int I = static_cast<int>(Rng() % static_cast<unsigned>(Count));
    Lines.Delete(I);
    if (I == Count - 1) Next.FinalBreak = true;
    Next.Lines.erase(Next.Lines.begin() + I);
  }
  return Next.Text();
}

class RowStoreDifferential : public ::testing::TestWithParam<unsigned> {};

TEST_P(RowStoreDifferential, AgreesWithAPlainModelThroughWrapTogglesAndUndoRedo) {
  std::mt19937 Rng(GetParam());
  TEditorScreenStrings Rows;
  FakeEditorView View;
  Rows.AttachEditor(View);
  TEditorStrings Lines(Rows, &View);
  Rows.UndoObj().SetUndoListMax(100000);
  Rows.WrapOption().SetWrapByte(20);
  Lines.SetLinesText("first line\r\nsecond \x82\xA0\x82\xA0 line that is a little longer than twenty\r\nthird");
  TModel M = TModel::FromText(Lines.Text());
  int Step = 0;
  for (int Segment = 0; Segment < 8; ++Segment) {
    Rows.WrapOption().SetWordBreak(Segment % 3 == 1);
    Rows.WrapOption().SetLeading(Segment % 4 == 2);
    Rows.WrapOption().SetFollowPunctuation(Segment % 2 == 1);
    Rows.SetWordWrap(Segment % 2 == 1);
    ASSERT_FALSE(Rows.UndoObj().CanUndo());
    CheckAgainstModel(Rows, Lines, M, Step);
    std::vector<std::string> Snapshots{M.Text()};
    for (int I = 0; I < 120; ++I, ++Step) {
      int Items = Rows.UndoObj().UndoList().Count();
      std::string Desc;
      std::string Expected = RandomStep(Rng, Rows, Lines, M, Desc);
      SCOPED_TRACE(Desc);
      M = TModel::FromText(Expected);
      CheckAgainstModel(Rows, Lines, M, Step);
      if (Rows.UndoObj().UndoList().Count() > Items) Snapshots.push_back(M.Text());
      if (HasFatalFailure()) return;
    }
    for (size_t K = Snapshots.size() - 1; K > 0; --K) {
      Rows.UndoObj().Undo();
      ASSERT_EQ(Lines.Text(), Snapshots[K - 1]) << "undo to snapshot " << K - 1 << " segment " << Segment;
      CheckAgainstModel(Rows, Lines, TModel::FromText(Snapshots[K - 1]), Step);
    }
    ASSERT_FALSE(Rows.UndoObj().CanUndo());
    for (size_t K = 1; K < Snapshots.size(); ++K) {
      Rows.UndoObj().Redo();
      ASSERT_EQ(Lines.Text(), Snapshots[K]) << "redo to snapshot " << K << " segment " << Segment;
    }
    ASSERT_FALSE(Rows.UndoObj().CanRedo());
    CheckAgainstModel(Rows, Lines, M, Step);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RowStoreDifferential, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

}  // namespace
}  // namespace tesvarin
