// Telling a file's encoding, and converting it to code page 932 and back.
#include <gtest/gtest.h>

#include "support/EncodingConverter.h"
#include "support/SjisCodec.h"
#include "support/TextEncoding.h"

namespace tesvarin {
namespace {

std::string Sjis(std::string_view Utf8) { return Utf8ToCp932(Utf8); }

std::string From(std::string_view Cp932, TTextEncoding E) {
  std::string Out;
  EXPECT_TRUE(ConvertFromCp932(Cp932, E, Out)) << EncodingName(E);
  return Out;
}

std::string To(std::string_view Bytes, TTextEncoding E, bool* Lossless = nullptr) {
  std::string Out;
  const bool L = ConvertToCp932(Bytes, E, Out);
  if (Lossless) *Lossless = L;
  return Out;
}

const TTextEncoding Others[] = {teUtf8, teUtf8Bom, teEucJp, teUtf16Le, teUtf16Be};

TEST(TextEncodingTest, ExtensionCharactersAndHalfWidthKanaRoundTripInEveryEncoding) {
  // NEC row 13 (①, ㈱, ∑), IBM extensions (髙), half-width kana, the wave dash and its kin.
  const std::string Text = Sjis("①㈱髙∑ｱｲｳﾞ～－∥￢ ABCabc\r\n日本語");
  for (TTextEncoding E : Others) {
    SCOPED_TRACE(std::string(EncodingName(E)));
    bool Lossless = false;
    EXPECT_EQ(To(From(Text, E), E, &Lossless), Text);
    EXPECT_TRUE(Lossless);
  }
}

TEST(TextEncodingTest, WaveDashAndExtensionsMapAsWindowsDoes) {
  EXPECT_EQ(From("\x81\x60", teUtf8), "～");  // 0x8160 <-> U+FF5E
  EXPECT_EQ(From("\x87\x40", teUtf8), "①");
  EXPECT_EQ(From("\xFB\xFC", teUtf8), "髙");
  EXPECT_EQ(From("\x87\x94", teUtf8), "∑");
  EXPECT_EQ(From("\x87\x40", teEucJp), "\xAD\xA1");
  EXPECT_EQ(From("\xFB\xFC", teEucJp), "\x8F\xF4\xFB");
  EXPECT_EQ(From("\x81\x60", teEucJp), "\xA1\xC1");
  // The NEC-selected duplicate of an IBM extension is written as Windows writes its character.
  EXPECT_EQ(To(From("\xED\x40", teUtf8), teUtf8), "\xFA\x5C");
  // U+301C is found as the wave dash, but a file holding it cannot be written back unchanged.
  bool Lossless = true;
  EXPECT_EQ(To("〜", teUtf8, &Lossless), "\x81\x60");
  EXPECT_FALSE(Lossless);
}

TEST(TextEncodingTest, EveryCodePage932CharacterConvertsToACharacterOfTheSameMeaning) {
  int Checked = 0;
  for (unsigned Lead = 0x81; Lead <= 0xFC; ++Lead) {
    if (Lead >= 0xA0 && Lead < 0xE0) continue;
    for (unsigned Trail = 0x40; Trail <= 0xFC; ++Trail) {
      if (Trail == 0x7F) continue;
      const std::string Code{static_cast<char>(Lead), static_cast<char>(Trail)};
      std::string Utf8;
      if (!ConvertFromCp932(Code, teUtf8, Utf8)) continue;  // unassigned
      ++Checked;
      for (TTextEncoding E : {teUtf8, teUtf16Le, teEucJp}) {
        std::string Own;
        if (!ConvertFromCp932(Code, E, Own)) {
          ADD_FAILURE() << std::hex << Lead << Trail << " not in " << EncodingName(E);
          continue;
        }
        EXPECT_EQ(From(To(Own, E), teUtf8), Utf8) << std::hex << Lead << Trail << " " << EncodingName(E);
      }
    }
  }
  EXPECT_GT(Checked, 7000);
}

TEST(TextEncodingTest, CharactersOutsideCodePage932BecomeAnUnmatchableCode) {
  for (TTextEncoding E : {teUtf8, teUtf16Le, teUtf16Be}) {
    std::string Own = From("a", E);
    // 한 (Hangul) and U+20BB7 (outside the plane, a surrogate pair in UTF-16).
    if (E == teUtf8) {
      Own += "한\xF0\xA0\xAE\xB7";
    } else {
      const bool Le = E == teUtf16Le;
      for (uint16_t U : {0xD55C, 0xD842, 0xDFB7}) {
        Own += static_cast<char>(Le ? U & 0xFF : U >> 8);
        Own += static_cast<char>(Le ? U >> 8 : U & 0xFF);
      }
    }
    Own += From("b", E);
    bool Lossless = true;
    EXPECT_EQ(To(Own, E, &Lossless), "a" + std::string(UnmatchableCode) + std::string(UnmatchableCode) + "b");
    EXPECT_FALSE(Lossless);
  }
  std::string Out;
  size_t Bad = 0;
  EXPECT_FALSE(ConvertFromCp932(UnmatchableCode, teUtf8, Out, &Bad));
  EXPECT_FALSE(ConvertFromCp932("ab\x82", teUtf8, Out, &Bad));  // a lead byte without its trail
  EXPECT_EQ(Bad, 2u);
}

TEST(TextEncodingTest, MalformedBytesConvertOneByOneAndAreNotLossless) {
  bool Lossless = true;
  EXPECT_EQ(To("a\xE3\x81" "b", teUtf8, &Lossless), "a" + std::string(UnmatchableCode) + std::string(UnmatchableCode) + "b");
  EXPECT_FALSE(Lossless);
  EXPECT_EQ(To("\xA4", teEucJp, &Lossless), UnmatchableCode);
  EXPECT_FALSE(Lossless);
  EXPECT_EQ(To("\xFF\xFE" "a", teUtf16Le, &Lossless), UnmatchableCode);  // an odd byte at the end
}

TEST(TextEncodingTest, ByteOrderMarksAreLeftOutAndTellTheEncoding) {
  EXPECT_EQ(To("\xEF\xBB\xBF" + From(Sjis("日本"), teUtf8), teUtf8Bom), Sjis("日本"));
  EXPECT_EQ(To(std::string("\xFE\xFF\0A", 4), teUtf16Be), "A");
  EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF" "abc", true), teUtf8Bom);
  EXPECT_EQ(DetectTextEncoding(std::string("\xFF\xFE" "a\0", 4), true), teUtf16Le);
  EXPECT_EQ(DetectTextEncoding(std::string("\xFE\xFF\0a", 4), true), teUtf16Be);
}

TEST(TextEncodingTest, DetectionOfEachEncoding) {
  const std::string Text = Sjis("これは日本語の文章です。漢字と仮名が混じっています。\r\n");
  EXPECT_EQ(DetectTextEncoding("plain ASCII text\r\n", true), teShiftJis);
  EXPECT_EQ(DetectTextEncoding(Text, true), teShiftJis);
  EXPECT_EQ(DetectTextEncoding(From(Text, teUtf8), true), teUtf8);
  // EUC-JP text that is also well-formed code page 932: the detector chooses.
  const std::string Euc = From(Text, teEucJp);
  ASSERT_TRUE(IsWellFormedCp932(Euc));
  EXPECT_EQ(DetectTextEncoding(Euc, true), teEucJp);
  // UTF-8 that is also well-formed code page 932.
  const std::string Utf8 = "東京の会議資料は名前と番号の表示\n";
  ASSERT_TRUE(IsWellFormedCp932(Utf8));
  EXPECT_EQ(DetectTextEncoding(Utf8, true), teUtf8);
  // Shift-JIS is told from its first characters; the others are not ruled out as quickly.
  EXPECT_TRUE(PossibleEncodings(Text, true).OnlyShiftJis());
  EXPECT_TRUE(PossibleEncodings(From(Text, teUtf8), true).Utf8);
  EXPECT_FALSE(PossibleEncodings(From(Text, teUtf8), true).EucJp);
  EXPECT_TRUE(PossibleEncodings(Euc, true).EucJp);
  EXPECT_TRUE(PossibleEncodings("\xEF\xBB\xBF", true).Marked);
  // Bytes that are none of them stay Shift-JIS, as every file was before.
  EXPECT_EQ(DetectTextEncoding("\x80\x80\xFF", true), teShiftJis);
}

TEST(TextEncodingTest, DetectionLooksPastALongAsciiStartAndToleratesACutCharacter) {
  const std::string Utf8 = From(Sjis("検索する文字列"), teUtf8);
  EXPECT_EQ(DetectTextEncoding(std::string(100000, 'a') + Utf8, true), teUtf8);
  // A head cut inside a character is no fault; a whole file that ends so is not UTF-8.
  EXPECT_EQ(DetectTextEncoding(Utf8 + Utf8.substr(0, 2), false), teUtf8);
  EXPECT_FALSE(IsWellFormedUtf8(Utf8 + Utf8.substr(0, 2)));
  EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));       // overlong
  EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));   // a surrogate
  EXPECT_TRUE(IsWellFormedEucJp("\x8E\xB1\x8F\xF3\xF3\xA4\xA2"));
  EXPECT_FALSE(IsWellFormedEucJp("\x8E\xA0"));
}

// A text cut in two anywhere, a character too, is well formed in pieces exactly when it is whole.
TEST(TextEncodingTest, Cp932InPiecesAsWhole) {
  const std::string Texts[] = {Sjis("日本語ｶﾅabc表"), Sjis("表") + "\x81", "a\x81\x7F", "\x80", "\x81\x40\xA0",
                               Sjis("ソ") + "\xFD", ""};
  for (const std::string& T : Texts) {
    for (size_t Cut = 0; Cut <= T.size(); ++Cut) {
      bool Pending = false;
      const bool Pieces = IsWellFormedCp932Piece(T.substr(0, Cut), Pending) &&
                          IsWellFormedCp932Piece(T.substr(Cut), Pending) && !Pending;
      EXPECT_EQ(Pieces, IsWellFormedCp932(T)) << ::testing::PrintToString(T) << " cut at " << Cut;
    }
  }
  EXPECT_TRUE(IsWellFormedCp932(Sjis("表") + "\x81", true));
}

TEST(TextEncodingTest, SourceOffsetsMapConvertedPlacesBackToTheFilesBytes) {
  const std::string Utf8 = "\xEF\xBB\xBF" "a" + From(Sjis("あ"), teUtf8) + "bc";  // a あ b c
  // Converted: a(0) あ(1,2) b(3) c(4) end(5).
  EXPECT_EQ(SourceOffsets(Utf8, teUtf8Bom, {0, 1, 2, 3, 4, 5}), (std::vector<size_t>{3, 4, 4, 7, 8, 9}));
  const std::string U16 = From(Sjis("aあ"), teUtf16Le);
  EXPECT_EQ(SourceOffsets(U16, teUtf16Le, {0, 1, 3}), (std::vector<size_t>{0, 2, 4}));
}

TEST(TextEncodingTest, OnlyFormIsRefusedWhereACharacterHasTwoForms) {
  std::string Out;
  EXPECT_TRUE(OnlyFormIn(Sjis("日本"), teUtf8, Out));
  EXPECT_EQ(Out, "日本");
  Out.clear();
  EXPECT_FALSE(OnlyFormIn(Sjis("～"), teUtf8, Out));  // U+FF5E and U+301C
  Out.clear();
  EXPECT_FALSE(OnlyFormIn(Sjis("～"), teEucJp, Out));  // A1C1, and 8FA2B7 of JIS X 0212
  Out.clear();
  EXPECT_TRUE(OnlyFormIn(Sjis("日本"), teEucJp, Out));
  EXPECT_EQ(Out, "\xC6\xFC\xCB\xDC");
  EXPECT_EQ(EncodingName(teUtf8Bom), "UTF-8 (BOM)");
  EXPECT_EQ(EncodingName(teShiftJis), "シフトJIS");
}

}  // namespace
}  // namespace tesvarin
