// The replace flows with the real editor change the bytes of their hits and nothing else: every
// line keeps its own break, a text not in code page 932 is left alone and named, and an empty
// match is never a hit.
#include <gtest/gtest.h>

#include <cstring>

#include "FormTestWindow.h"
#include "app/FormEditorEx.h"
#include "editor/text/EditorScreenStrings.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"

namespace tesvarin::test {
namespace {

struct TrustEditor {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Adapter{Ed};
};
IFormEditor& FormEditorOf(TrustEditor& E) { return E.Adapter; }

using TrustWindow = BasicWindow<TrustEditor>;

struct Window : TrustWindow {
  explicit Window(const Tree& Tr) : TrustWindow(Tr) {
    C.ConfirmSave.SetChecked(false);
    C.MakeBackFile.SetChecked(false);
  }
  // Lists the files of the tree that hold Find, then replaces in them all.
  void ReplaceInList(const Tree& Tr, const std::string& Find, const std::string& Replacement) {
    Search(Tr.T(), "*.txt", Find);
    C.cReplaceWord.SetText(Replacement);
    P.Dialogs.Answers = {idYes};
    C.N4.Click();
  }
  [[nodiscard]] std::string LastMessage() const { return P.Dialogs.Shown.back().Text; }
};

const std::string NotSjis = " (Shift-JIS として正しくないため置換しませんでした)";

TEST(ReplaceTrust, AnIdentityReplaceInTheListChangesNoByte) {
  const std::pair<const char*, std::string> Files[] = {
      {"lf.txt", "a hit\nb\n"},
      {"cr.txt", "a hit\rb\r"},
      {"crlf.txt", "a hit\r\nb\r\n"},
      {"mixed.txt", "hit\nb\r\nc hit\rd\n\re"},
      {"lfcr.txt", "hit\n\r\n\rhit"},
      {"nofinal.txt", "a\r\nhit"},
      {"kanji.txt", "\x95\x5chit\x83\x5c\n"},  // trail bytes that are backslashes
      {"nul.txt", std::string("x\0y hit\r\n", 9)},
      {"ctrlz.txt", "hit\r\n\x1a tail hit\n"},
      {"lead-at-break.txt", "hit \x81\nnext\n"},
      {"lead-at-end.txt", "hit \x81"},
      {"bad-byte.txt", "hit \xff\r\n"},
      {"bad-trail.txt", "hit \x81\x20\n"},
  };
  Tree Tr;
  for (const auto& [Name, Bytes] : Files) Tr.Write(Name, Bytes);
  Window W(Tr);
  W.ReplaceInList(Tr, "hit", "hit");
  EXPECT_EQ(W.C.FileList.Count(), static_cast<int>(std::size(Files)));  // the search lists every one
  for (const auto& [Name, Bytes] : Files) EXPECT_EQ(Tr.Read(Name), Bytes) << Name;
  ASSERT_EQ(W.Form->SkippedCount(), 4);
  for (const char* Bad : {"lead-at-break.txt", "lead-at-end.txt", "bad-byte.txt", "bad-trail.txt"}) {
    const std::string Item = Tr.T() + "/" + Bad + NotSjis;
    EXPECT_NE(W.LastMessage().find(Item), std::string::npos) << W.LastMessage();
  }
  EXPECT_EQ(W.LastMessage().rfind("4 個のファイル・フォルダを処理できませんでした。", 0), 0u);
}

// Hits found the slow way: at each character start of each line, the find string byte for byte,
// ASCII letters folded outside double-byte characters unless case matters.
std::vector<std::pair<size_t, size_t>> OracleHits(const std::string& Bytes, const std::string& Find, bool MatchCase) {
  const auto Fold = [MatchCase](std::string S) {
    if (!MatchCase) AsciiLowerSjis(S);
    return S;
  };
  const std::string F = Fold(Find);
  std::vector<std::pair<size_t, size_t>> Hits;
  size_t LineStart = 0;
  ForEachLine(Bytes, [&](std::string_view Piece, int Kind) {
    const std::string Line = Fold(std::string(Piece));
    for (size_t I = 0; I < Line.size();) {
      if (Line.compare(I, F.size(), F) == 0) {
        Hits.emplace_back(LineStart + I, F.size());
        I += F.size();
      } else {
        I += CharLength(Line, I);
      }
    }
    LineStart += Piece.size() + (Kind == 0 ? 2 : Kind > 0 ? 1 : 0);
  });
  return Hits;
}

// For random files of every break style and random find strings, each saved file is its old bytes
// with the replacement spliced in at the hit spans, and nothing else.
TEST(ReplaceTrust, EachSavedFileIsTheOldBytesWithTheHitsSplicedIn) {
  const char* Pieces[] = {"a", "b", "A", "ab", "\\", "\x95\x5c", "\x83\x5c", "x", "\r\n", "\n", "\r"};
  const char* Finds[] = {"a", "ab", "\\", "表", "b\\", "A"};  // 表 is 0x95 0x5C
  const char* Replacements[] = {"", "X", "表", "ab"};
  uint32_t Seed = 26;
  auto Next = [&Seed](size_t N) {
    Seed = Seed * 1103515245u + 12345u;
    return static_cast<size_t>((Seed >> 16) & 0x7FFF) % N;
  };
  size_t AllHits = 0;
  for (int Round = 0; Round < 24; ++Round) {
    const std::string Find = Finds[Next(std::size(Finds))];
    const std::string Replacement = Replacements[Next(std::size(Replacements))];
    const bool MatchCase = Next(2) == 0;
    SCOPED_TRACE(testing::Message() << "round " << Round << " find " << Find << " case " << MatchCase);
    Tree Tr;
    std::vector<std::string> Texts;
    for (int F = 0; F < 8; ++F) {
      std::string Bytes;
      for (size_t K = Next(24); K > 0; --K) Bytes += Pieces[Next(std::size(Pieces))];
      Texts.push_back(Bytes);
      Tr.Write("f" + std::to_string(F) + ".txt", Bytes);
    }
    Window W(Tr);
    W.C.CheckBox1.SetChecked(MatchCase);
    W.ReplaceInList(Tr, Find, Replacement);
    const std::string FindBytes = Utf8ToCp932(Find);
    const std::string ReplacementBytes = Utf8ToCp932(Replacement);
    size_t Total = 0;
    for (size_t F = 0; F < Texts.size(); ++F) {
      const std::string& Old = Texts[F];
      std::string Expected;
      size_t At = 0;
      const auto Hits = OracleHits(Old, FindBytes, MatchCase);
      for (const auto& [Pos, Len] : Hits) {
        Expected += Old.substr(At, Pos - At) + ReplacementBytes;
        At = Pos + Len;
      }
      Expected += Old.substr(At);
      Total += Hits.size();
      EXPECT_EQ(Tr.Read("f" + std::to_string(F) + ".txt"), Expected) << testing::PrintToString(Old);
    }
    if (Total > 0) {
      EXPECT_EQ(W.LastMessage(), std::to_string(Total) + " 個の置換作業が終了しました。");
    }
    AllHits += Total;
  }
  EXPECT_GT(AllHits, 100u);  // the rounds are not all misses
}

TEST(ReplaceTrust, ReplaceInThisFileSavesOnlyTheHitsAndSkipsATextNotInShiftJis) {
  Tree Tr;
  Tr.Write("mixed.txt", "one hit\nhit\r\nlast hit");
  Tr.Write("bad.txt", "hit \x81\nhit\n");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt", "hit");
  W.C.FileList.OnColumnClick(0);
  ASSERT_EQ(W.Names(), (std::vector<std::string>{"bad.txt", "mixed.txt"}));
  W.C.cReplaceWord.SetText("HIT\\r\\n");
  W.C.FileList.SetSelected(1);
  W.C.FileList.OnClick();
  ASSERT_EQ(W.C.fName.Caption(), Tr.T() + "/mixed.txt");
  W.C.N2.Click();
  EXPECT_EQ(W.LastMessage(), "3 個の置換作業が終了しました。");
  W.C.FileList.SetSelected(0);  // saves mixed.txt, shows bad.txt
  W.C.FileList.OnClick();
  EXPECT_EQ(Tr.Read("mixed.txt"), "one HIT\n\nHIT\r\n\r\nlast HIT\r\n");
  W.C.N2.Click();
  EXPECT_EQ(W.P.Dialogs.Shown[W.P.Dialogs.Shown.size() - 2].Text, "0 個の置換作業が終了しました。");
  EXPECT_EQ(W.LastMessage(), "1 個のファイル・フォルダを処理できませんでした。\r\n" + Tr.T() + "/bad.txt" + NotSjis);
  EXPECT_FALSE(W.E.Ed.Modified());
  EXPECT_TRUE(W.Form->FormCloseQuery());
  EXPECT_EQ(Tr.Read("bad.txt"), "hit \x81\nhit\n");
}

TEST(ReplaceTrust, AnEmptyMatchListsNoFileAndReplacesNothing) {
  Tree Tr;
  Tr.Write("plain.txt", "abc\r\n");
  Tr.Write("marks.txt", Utf8ToCp932("データ、ﾃﾞｰﾀ、デ～タ\r\n"));
  Tr.Write("short.txt", Utf8ToCp932("コンピュータ"));
  Window W(Tr);
  W.C.CheckBox2.SetChecked(true);
  W.Search(Tr.T(), "*.txt", "x*|^|$");
  EXPECT_EQ(W.C.FileList.Count(), 0);
  W.C.CheckBox3.SetChecked(true);
  W.Search(Tr.T(), "*.txt", "コンピューター");
  EXPECT_EQ(W.Names(), (std::vector<std::string>{"short.txt"}));
  W.ReplaceInList(Tr, "ー", "X");
  EXPECT_EQ(W.Names(), (std::vector<std::string>{"marks.txt", "short.txt"}));
  EXPECT_EQ(Tr.Read("marks.txt"), Utf8ToCp932("デXタ、ﾃﾞXﾀ、デXタ\r\n"));
  EXPECT_EQ(Tr.Read("short.txt"), Utf8ToCp932("コンピュXタ"));
  EXPECT_EQ(Tr.Read("plain.txt"), "abc\r\n");
}

}  // namespace
}  // namespace tesvarin::test
