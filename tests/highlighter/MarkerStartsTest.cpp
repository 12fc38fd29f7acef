// The editor parser sends a token whose first byte no marker rule can claim straight to the base
// dispatch. These tests run it against a parser that tries every rule at every byte, on random rows
// and random schemes, and check the shortcut follows scheme changes made after the parser was built.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "highlighter/EditorHighlighter.h"
#include "highlighter/TokenRecord.h"

namespace tesvarin {
namespace {

// Tries the whole rule chain at every token start.
class TFullChainParser : public TEditorParser {
public:
  using TEditorParser::TEditorParser;

protected:
  void FillMarkerStarts() override { FMarkerStarts.fill(true); }
};

struct VectorRows : IRowSource {
  std::vector<std::string> Text;
  std::vector<TRowAttribute> Attr;
  [[nodiscard]] int RowCount() const override { return static_cast<int>(Text.size()); }
  [[nodiscard]] std::string_view RowText(int Row) const override { return Text[static_cast<size_t>(Row)]; }
  [[nodiscard]] TRowAttribute RowAttributeOf(int Row) const override { return Attr[static_cast<size_t>(Row)]; }
};

struct TokenTrace {
  Tok Token;
  const THighlighterColor* Color;
  int Bracket, Last;
  friend bool operator==(const TokenTrace&, const TokenTrace&) = default;
};

std::ostream& operator<<(std::ostream& O, const TokenTrace& T) {
  return O << T.Token << " b" << T.Bracket << " l" << T.Last;
}

std::vector<TokenTrace> Trace(THighlighterParser& P, std::string_view Row, const TRowAttributeData& State) {
  P.SetRowText(Row, State);
  std::vector<TokenTrace> Out;
  while (P.NextToken() != ttEnd) {
    Out.push_back({{P.TokenKind(), P.TokenPos(), P.TokenLength()}, P.TokenColor(), P.BracketIndex(), P.LastBracket()});
  }
  return Out;
}

template <class T>
const T& Pick(std::mt19937& Rng, const std::vector<T>& From) {
  return From[std::uniform_int_distribution<size_t>(0, From.size() - 1)(Rng)];
}

void RandomScheme(std::mt19937& Rng, TEditorHighlighter& H) {
  H.SetMail(Rng() % 2 == 0);
  H.SetUrl(Rng() % 2 == 0);
  H.SetControlCode(Rng() % 2 == 0);
  H.SetCommenter(Pick(Rng, std::vector<std::string>{"", ";", "//", "#", "rem"}));
  H.SetQuotation(Pick(Rng, std::vector<std::string>{"", "'", "\""}));
  H.SetHexPrefix(Pick(Rng, std::vector<std::string>{"", "0x", "$", "&H", "h"}));
  H.Brackets().Clear();
  const std::vector<std::pair<std::string, std::string>> Pairs{
      {"/*", "*/"}, {"<", ">"}, {"(", ")"}, {"\x81\x75", "\x81\x76"}, {"--", ""}, {"x", "y"}};
  for (const auto& [Left, Right] : Pairs) {
    if (Rng() % 3 != 0) continue;
    auto& B = H.Brackets().AddItem();
    B.SetLeftBracket(Left);
    B.SetRightBracket(Right);
  }
}

// Comments, strings, brackets, mail and URL pieces, numbers, control codes and double-byte text.
std::string RandomRow(std::mt19937& Rng) {
  static const std::vector<std::string> Pieces{
      "/*", "*/", "--", "'", "\"", "#", "#$1F", "#12", "0x1f", "0XAB", "$ff", "&H10", "@", ".", "a", "x", "y",
      "h", "w", "f", "ftp:", "http://a.b/c", "https:", "www.x", "me@host.jp", "1", "9.5e+3", " ", "  ", "\t",
      ";", "//", "rem", "(", ")", "<", ">", "\x82\xa0", "\x82\xa0\x82\xa2", "\x83\x41\x81\x5b", "\x88\x9f",
      "\x82\x4f", "\x82\x60", "\xb1\xb2", "\xa1", "\x81\x40", "\x81\x75", "\x81\x76", "\x82", "_", "\x7f"};
  std::string Row;
  const int N = std::uniform_int_distribution<int>(0, 14)(Rng);
  for (int I = 0; I < N; ++I) Row += Pick(Rng, Pieces);
  return Row;
}

TEST(MarkerStarts, ShortcutTokenizesAsTheFullRuleChain) {
  std::mt19937 Rng(20261208);
  auto H = THighlighter::New<TEditorHighlighter>();
  for (int Scheme = 0; Scheme < 60; ++Scheme) {
    RandomScheme(Rng, *H);
    TEditorParser Fast(H.get());
    TFullChainParser Full(H.get());
    VectorRows Rows;
    for (int R = 0; R < 40; ++R) {
      Rows.Text.push_back(RandomRow(Rng));
      Rows.Attr.push_back(Rng() % 4 == 0 ? raWrapped : raCrlf);
    }
    Rows.Attr.back() = raEof;
    TRowAttributeData FastState = InitialRowState();
    TRowAttributeData FullState = InitialRowState();
    for (int R = 0; R < Rows.RowCount(); ++R) {
      SCOPED_TRACE(testing::Message() << "scheme " << Scheme << " row " << R << " [" << Rows.Text[static_cast<size_t>(R)] << "]");
      ASSERT_EQ(Trace(Fast, Rows.RowText(R), FastState), Trace(Full, Rows.RowText(R), FullState));
      FastState.RowAttribute = FullState.RowAttribute = Rows.RowAttributeOf(R);
      Fast.UpdateRowState(R, Rows, FastState);
      Full.UpdateRowState(R, Rows, FullState);
      ASSERT_EQ(FastState, FullState);
    }
  }
}

// The parser lives across rows; markers set after it was built must count from the next row on.
TEST(MarkerStarts, SchemeChangesReachALiveParser) {
  auto H = THighlighter::New<TEditorHighlighter>();
  TEditorParser P(H.get());
  struct Case {
    const char* Name;
    void (*Change)(TEditorHighlighter&);
    std::string Row;
    TTokenKind FirstKind;
  };
  const std::vector<Case> Cases{
      {"commenter", [](TEditorHighlighter& S) { S.SetCommenter(";"); }, "; note", ttComment},
      {"quotation", [](TEditorHighlighter& S) { S.SetQuotation("'"); }, "'it''s'", ttQuotation},
      {"hex prefix, other case", [](TEditorHighlighter& S) { S.SetHexPrefix("0x"); }, "0XFF", ttHex},
      {"control code", [](TEditorHighlighter& S) { S.SetControlCode(true); }, "#13", ttControlCode},
      {"mail", [](TEditorHighlighter& S) { S.SetMail(true); }, "me@host.jp", ttMail},
      {"url", [](TEditorHighlighter& S) { S.SetUrl(true); }, "www.host.jp", ttUrl},
      {"bracket", [](TEditorHighlighter& S) {
         auto& B = S.Brackets().AddItem();
         B.SetLeftBracket("\x81\x75");
         B.SetRightBracket("\x81\x76");
       }, "\x81\x75q\x81\x76", ttBracket},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    P.SetRowText(C.Row, InitialRowState());
    ASSERT_NE(P.NextToken(), C.FirstKind);
    C.Change(*H);
    P.SetRowText(C.Row, InitialRowState());
    EXPECT_EQ(P.NextToken(), C.FirstKind);
    EXPECT_EQ(P.TokenLength(), static_cast<int>(C.Row.size()));
  }
}

}  // namespace
}  // namespace tesvarin
