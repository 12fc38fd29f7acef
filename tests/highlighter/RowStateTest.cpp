#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "highlighter/EditorHighlighter.h"
#include "highlighter/HTMLHighlighter.h"

namespace tesvarin {
namespace {

// Rows held in a vector, as the row store would hand them to the parser.
struct VectorRows : IRowSource {
  VectorRows(std::vector<std::string> T, std::vector<TRowAttribute> A) : Text(std::move(T)), Attr(std::move(A)) {}
  std::vector<std::string> Text;
  std::vector<TRowAttribute> Attr;
  [[nodiscard]] int RowCount() const override { return static_cast<int>(Text.size()); }
  [[nodiscard]] std::string_view RowText(int Row) const override { return Text[static_cast<size_t>(Row)]; }
  [[nodiscard]] TRowAttribute RowAttributeOf(int Row) const override { return Attr[static_cast<size_t>(Row)]; }
};

// The start state of every row, computed from row 0 as the row store's full refresh does.
std::vector<TRowAttributeData> States(const THighlighter& H, const VectorRows& Rows) {
  auto P = H.NewParser();
  std::vector<TRowAttributeData> Out;
  TRowAttributeData D = InitialRowState();
  for (int R = 0; R < Rows.RowCount(); ++R) {
    D.RowAttribute = Rows.RowAttributeOf(R);
    Out.push_back(D);
    P->UpdateRowState(R, Rows, D);
    D.PrevRowAttribute = Rows.RowAttributeOf(R);
  }
  return Out;
}

// The kinds of the tokens of one row painted from its stored state.
std::vector<int> Kinds(const THighlighter& H, const VectorRows& Rows, const TRowAttributeData& State, int Row) {
  auto P = H.NewParser();
  P->SetRowText(Rows.RowText(Row), State);
  std::vector<int> Out;
  while (P->NextToken() != ttEnd) Out.push_back(P->TokenKind());
  return Out;
}

TEST(RowState, BracketOverFourRows) {
  auto H = THighlighter::New<TEditorHighlighter>();
  auto& B = H->Brackets().AddItem();
  B.SetLeftBracket("/*");
  B.SetRightBracket("*/");
  VectorRows Rows{{"a /*", "x", "   ", "y */ b"}, {raCrlf, raCrlf, raCrlf, raEof}};
  auto S = States(*H, Rows);
  EXPECT_EQ(S[0].BracketIndex, -1);
  EXPECT_EQ(S[1].BracketIndex, 0);
  EXPECT_EQ(S[2].BracketIndex, 0);  // a row of spaces passes the state through
  EXPECT_EQ(S[3].BracketIndex, 0);
  EXPECT_EQ(Kinds(*H, Rows, S[3], 3), (std::vector<int>{ttBracket, ttAnk}));
}

TEST(RowState, RightBracketCutByWrap) {
  auto H = THighlighter::New<TEditorHighlighter>();
  auto& B = H->Brackets().AddItem();
  B.SetLeftBracket("/*");
  B.SetRightBracket("*/");
  VectorRows Rows{{"/* c *", "/ z"}, {raWrapped, raEof}};
  auto S = States(*H, Rows);
  EXPECT_EQ(S[1].BracketIndex, 0);
  EXPECT_EQ(S[1].WrappedKind, ttBracket);
  EXPECT_EQ(S[1].WrappedBytes, 1);
  EXPECT_EQ(Kinds(*H, Rows, S[1], 1), (std::vector<int>{ttBracket, ttAnk}));
}

TEST(RowState, ReservedWordAndStringCutByWrap) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->SetQuotation("\"");
  TStringList W;
  W.Add("begin");
  H->SetReserveWordList(W);
  VectorRows Rows{{"x beg", "in \"ab", "cd\" y"}, {raWrapped, raWrapped, raEof}};
  auto S = States(*H, Rows);
  EXPECT_EQ(S[1].WrappedKind, ttReserve);
  EXPECT_EQ(S[1].WrappedBytes, 2);
  EXPECT_EQ(Kinds(*H, Rows, S[1], 1), (std::vector<int>{ttReserve, ttQuotation}));
  EXPECT_EQ(S[2].WrappedKind, ttQuotation);
  EXPECT_EQ(Kinds(*H, Rows, S[2], 2), (std::vector<int>{ttQuotation, ttAnk}));
}

TEST(RowState, HtmlTagAttributesContinueOnNextLine) {
  auto H = THighlighter::New<THTMLHighlighter>();
  VectorRows Rows{{"<a href=x", "  title=y>", "<!-- c", "d", "e", "f -->"},
                  {raCrlf, raCrlf, raCrlf, raCrlf, raCrlf, raEof}};
  auto S = States(*H, Rows);
  EXPECT_EQ(S[1].ElementState, 1);
  EXPECT_EQ(Kinds(*H, Rows, S[1], 1), (std::vector<int>{ttTagAttribute, ttTagEquals, ttTagValue, ttTagClose}));
  EXPECT_EQ(S[2].ElementState, 0);
  for (int R = 3; R <= 5; ++R) {
    EXPECT_EQ(S[static_cast<size_t>(R)].BracketIndex, 0) << R;
    EXPECT_EQ(Kinds(*H, Rows, S[static_cast<size_t>(R)], R).front(), ttBracket) << R;
  }
}

TEST(RowState, ProviderHandsOutTheSchemeParser) {
  auto H = THighlighter::New<TEditorHighlighter>();
  const IRowStateProvider& Provider = *H;
  EXPECT_NE(dynamic_cast<TEditorParser*>(Provider.NewRowStateParser().get()), nullptr);
}

}  // namespace
}  // namespace tesvarin

namespace tesvarin {
namespace {

TEST(RowState, CommentCutByWrapRunsToTheLineEnd) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->SetCommenter("//");
  VectorRows Rows{{"a // b", "c d", "e"}, {raWrapped, raCrlf, raEof}};
  auto S = States(*H, Rows);
  EXPECT_EQ(S[1].WrappedKind, ttComment);
  EXPECT_EQ(Kinds(*H, Rows, S[1], 1), (std::vector<int>{ttComment}));
  EXPECT_EQ(S[2].WrappedKind, 0);
  EXPECT_EQ(Kinds(*H, Rows, S[2], 2), (std::vector<int>{ttAnk}));
}

TEST(Brackets, EmptyRightBracketEndsTheRow) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->Brackets().AddItem().SetLeftBracket("--");
  VectorRows Rows{{"a -- b c"}, {raEof}};
  EXPECT_EQ(Kinds(*H, Rows, InitialRowState(), 0), (std::vector<int>{ttAnk}));
}

TEST(Brackets, AssignOverflowKeepsCopiedItemsAndClosesTheBracket) {
  auto From = THighlighter::New<TEditorHighlighter>();
  for (int I = 0; I < 14; ++I) From->Brackets().AddItem().SetLeftBracket(std::string(1, static_cast<char>('a' + I)));
  auto To = THighlighter::New<TEditorHighlighter>();
  To->Brackets().Assign(From->Brackets());
  EXPECT_EQ(To->Brackets().Count(), 14);
  EXPECT_EQ(To->Brackets().Items(13).LeftBracket(), "n");
  EXPECT_EQ(To->Brackets().UpdateCount(), 0);
}

}  // namespace
}  // namespace tesvarin
