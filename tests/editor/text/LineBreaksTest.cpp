// Each line keeps the break it ends with in its file through edits, undo, word wrap and saving; a
// line made by an edit takes the break of the line it was split from.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/text/EditorScreenStrings.h"
#include "support/Sjis.h"

namespace tesvarin {
namespace {

// The reference: lines with the bytes that end them (the last may have none), edited by splicing.
struct TModelLine {
  std::string Text;
  std::string Break;
};
using TModel = std::vector<TModelLine>;

TModel ModelOf(std::string_view Bytes) {
  TModel M;
  ForEachLine(Bytes, [&](std::string_view Piece, int Kind) {
    if (Kind < 0 && Piece.empty()) return;
    M.push_back({std::string(Piece), Kind < 0 ? "" : std::string(LineBreakBytes(LineBreakOfKind(Kind)))});
  });
  return M;
}

std::string FileBytesOf(const TModel& M) {
  std::string S;
  for (const TModelLine& L : M) S += L.Text + L.Break;
  return S;
}

// As the editor counts offsets: two bytes per break.
int64_t OffsetOf(const TModel& M, size_t Line, size_t Pos) {
  int64_t Offset = 0;
  for (size_t I = 0; I < Line; ++I) Offset += static_cast<int64_t>(M[I].Text.size()) + 2;
  return Offset + static_cast<int64_t>(Pos);
}

// Lines L1 .. L2 from (L1, P1) to (L2, P2) become S, whose CR LF breaks take the break of line L2
// (for a last line without one, the break of the line before it, else CR LF).
void Splice(TModel& M, size_t L1, size_t P1, size_t L2, size_t P2, const std::string& S) {
  std::string Typed = M[L2].Break;
  if (Typed.empty()) Typed = L2 > 0 ? M[L2 - 1].Break : "\r\n";
  const std::string Joined = M[L1].Text.substr(0, P1) + S + M[L2].Text.substr(P2);
  TModel New;
  size_t Start = 0;
  for (size_t At = Joined.find("\r\n"); At != std::string::npos; At = Joined.find("\r\n", Start)) {
    New.push_back({Joined.substr(Start, At - Start), Typed});
    Start = At + 2;
  }
  New.push_back({Joined.substr(Start), M[L2].Break});
  M.erase(M.begin() + static_cast<std::ptrdiff_t>(L1), M.begin() + static_cast<std::ptrdiff_t>(L2) + 1);
  M.insert(M.begin() + static_cast<std::ptrdiff_t>(L1), New.begin(), New.end());
  // An empty last line without a break is no line of the text.
  if (M.size() > 1 && M.back().Text.empty() && M.back().Break.empty()) M.pop_back();
}

// The start of the character that holds byte P of T (P itself at the end).
size_t CharStartAt(const std::string& T, size_t P) {
  size_t I = 0;
  while (I < P && I + CharLength(T, I) <= P) I += CharLength(T, I);
  return I;
}

std::unique_ptr<TEditor> EditorWith(std::string_view Bytes) {
  auto E = std::make_unique<TEditor>(nullptr, TPlatform{});
  E->Lines().SetLinesText(Bytes);
  return E;
}

TEST(LineBreaks, TypedLinesTakeTheBreakOfTheLineTheySplit) {
  struct Case {
    const char* Name;
    std::string Text;
    int Row, Col;
    std::string Saved;
  } Cases[] = {
      {"inside an lf line", "ab\ncd\r\n", 0, 1, "a\nb\ncd\r\n"},
      {"inside a cr line", "ab\rcd\n", 0, 2, "ab\r\rcd\n"},
      {"inside a last line without a break", "ab\ncd", 1, 1, "ab\nc\nd"},
      {"a lone line without a break", "abc", 0, 3, "abc\r\n"},
      {"after the final break", "ab\r", 1, 0, "ab\r\r"},
      {"an empty text", "", 0, 0, "\r\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto E = EditorWith(C.Text);
    E->SetRowCol(C.Row, C.Col);
    E->KeyPress("\r");
    EXPECT_EQ(E->Lines().FileBytes(), C.Saved);
  }
}

TEST(LineBreaks, JoinedLinesKeepTheBreakOfTheSecondAndUndoBringsBothBack) {
  auto E = EditorWith("ab\ncd\r\nef\r");
  E->SetRowCol(1, 0);
  E->KeyPress("\b");
  EXPECT_EQ(E->Lines().FileBytes(), "abcd\r\nef\r");
  E->SetRowCol(0, 4);
  E->DeleteKey();
  EXPECT_EQ(E->Lines().FileBytes(), "abcdef\r");
  E->Undo();
  EXPECT_EQ(E->Lines().FileBytes(), "abcd\r\nef\r");
  E->Undo();
  EXPECT_EQ(E->Lines().FileBytes(), "ab\ncd\r\nef\r");
  E->Redo();
  EXPECT_EQ(E->Lines().FileBytes(), "abcd\r\nef\r");
}

TEST(LineBreaks, LinesAddedThroughLinesTakeTheirNeighboursBreak) {
  auto E = EditorWith("a\nb");
  E->Lines().Add("c");
  EXPECT_EQ(E->Lines().FileBytes(), "a\nb\nc");
  E->Lines().Insert(0, "z");
  E->Lines().Put(2, "B");
  EXPECT_EQ(E->Lines().FileBytes(), "z\na\nB\nc");
  EXPECT_EQ(E->Lines().Text(), "z\r\na\r\nB\r\nc");  // the editor's own view: CR LF, two bytes each
}

TEST(LineBreaks, WordWrapOnAndOffKeepsEveryBreak) {
  const std::string Bytes = "a long first line\nshort\r\nanother long line here\rend";
  auto E = EditorWith(Bytes);
  E->WrapOption().SetWrapByte(6);
  E->SetWordWrap(true);
  ASSERT_GT(E->ListRows().Count(), 4);
  EXPECT_EQ(E->Lines().FileBytes(), Bytes);
  E->SetRowCol(0, 2);
  E->KeyPress("X");
  E->SetWordWrap(false);
  EXPECT_EQ(E->Lines().FileBytes(), "a Xlong first line\nshort\r\nanother long line here\rend");
}

// Random edits through the editor's commands on a text of mixed breaks, with and without word
// wrap, against the splicing reference; undo and redo must give back each earlier text.
TEST(LineBreaks, EditsAgreeWithSplicingTheFileBytes) {
  const char* Breaks[] = {"\r\n", "\n", "\r"};
  const char* Inserts[] = {"x", "\r\n", "yy\r\nz", "\r\n\r\n", "\x82\xa0"};
  uint32_t Seed = 2026;
  auto Next = [&Seed](size_t N) {
    Seed = Seed * 1103515245u + 12345u;
    return static_cast<size_t>((Seed >> 16) & 0x7FFF) % N;
  };
  for (const bool Wrap : {false, true}) {
    for (int Round = 0; Round < 40; ++Round) {
      std::string Bytes;
      for (int L = static_cast<int>(Next(6)) + 1; L > 0; --L) {
        Bytes += std::string(Next(9), static_cast<char>('a' + Next(3)));
        if (L > 1 || Next(2) == 0) Bytes += Breaks[Next(3)];
      }
      auto E = EditorWith(Bytes);
      if (Wrap) {
        E->WrapOption().SetWrapByte(4);
        E->SetWordWrap(true);
      }
      TModel M = ModelOf(Bytes);
      std::vector<std::string> History{FileBytesOf(M)};
      for (int Step = 0; Step < 12 && !M.empty(); ++Step) {
        const size_t L1 = Next(M.size());
        const size_t P1 = CharStartAt(M[L1].Text, Next(M[L1].Text.size() + 1));
        const size_t Op = Next(4);
        SCOPED_TRACE(testing::Message() << "round " << Round << " step " << Step << " op " << Op << " in "
                                        << testing::PrintToString(FileBytesOf(M)));
        if (Op == 0) {  // a selection replaced by a paste
          const size_t L2 = L1 + Next(M.size() - L1);
          const size_t P2 = CharStartAt(M[L2].Text, L2 == L1 ? P1 + Next(M[L2].Text.size() - P1 + 1)
                                                             : Next(M[L2].Text.size() + 1));
          const std::string S = Inserts[Next(std::size(Inserts))];
          E->SetSelStart(OffsetOf(M, L1, P1));
          E->SetSelLength(OffsetOf(M, L2, P2) - OffsetOf(M, L1, P1));
          E->PasteText(S);
          Splice(M, L1, P1, L2, P2, S);
        } else if (Op == 1) {  // Enter
          E->SetSelStart(OffsetOf(M, L1, P1));
          E->KeyPress("\r");
          Splice(M, L1, P1, L1, P1, "\r\n");
        } else if (Op == 2 && L1 > 0) {  // Backspace at a line start
          E->SetSelStart(OffsetOf(M, L1, 0));
          E->KeyPress("\b");
          Splice(M, L1 - 1, M[L1 - 1].Text.size(), L1, 0, "");
        } else if (Op == 3 && History.size() > 1) {  // undo, then redo
          E->Undo();
          ASSERT_EQ(E->Lines().FileBytes(), History[History.size() - 2]);
          E->Redo();
          ASSERT_EQ(E->Lines().FileBytes(), History.back());
          continue;
        } else {
          continue;
        }
        History.push_back(FileBytesOf(M));
        ASSERT_EQ(E->Lines().FileBytes(), FileBytesOf(M));
      }
      if (Wrap) E->SetWordWrap(false);
      EXPECT_EQ(E->Lines().FileBytes(), FileBytesOf(M));
    }
  }
}

}  // namespace
}  // namespace tesvarin
