// Character reading of the expression language: codes, escapes, numeric code notations, the syntax error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/Exception.h"

namespace tesvarin {

// A syntax error of an expression; ErrorPos is the 1-based byte position where it was found.
class ERegExpParser : public Exception {
public:
  ERegExpParser(std::string Message, int Pos) : Exception(std::move(Message)), FErrorPos(static_cast<uint16_t>(Pos)) {}
  [[nodiscard]] uint16_t ErrorPos() const noexcept { return FErrorPos; }

private:
  uint16_t FErrorPos;
};

namespace remsg {
inline constexpr const char* BadDoubleByte = "不正な２バイト文字コードです。";
inline constexpr const char* NeedCharAfterBackslash = "\"\\\"の次には文字が必要です。";
inline constexpr const char* BadHexCode = "不正な１６進数コード表記です。";
inline constexpr const char* BadOctCode = "不正な８進数コード表記です。";
inline constexpr const char* NeedRightBracket = "右ブラケット\"]\"が必要です";
inline constexpr const char* BadCharRange = "不正なキャラクタ範囲です";
inline constexpr const char* ExtraChars = "正規表現に余分な文字があります";
inline constexpr const char* NeedRightParen = "右(閉じ)括弧が必要です";
inline constexpr const char* NeedCharOrLeftParen = "普通の文字、または左括弧\"(\"が必要です";
inline constexpr const char* BadCharClass = "不正なキャラクタクラス指定です。";
inline constexpr const char* TreeFatal = "TREParseTree : 致命的エラー";
inline constexpr const char* NfaCannotHappen = "This cannot happen in TRE_NFA.GenerateStateList";
// Parentheses nested beyond MaxNestingDepth: the parser recurses once per level.
inline constexpr const char* NestingTooDeep = "括弧の入れ子が深すぎます";
}  // namespace remsg

// Deepest nesting of groups the parser accepts; keeps the recursion far from the stack's end.
inline constexpr int MaxNestingDepth = 256;

// The character at Pos (1-based); Pos advances by its length. Outside S: 0, Pos unchanged.
[[nodiscard]] uint16_t GetChar(std::string_view S, int& Pos);
// Steps Pos back over one character, deciding trail bytes by the run of lead-byte values before it.
void UngetChar(std::string_view S, int& Pos);
[[nodiscard]] int HexValue(uint16_t Code);
[[nodiscard]] int OctValue(uint16_t Code);
[[nodiscard]] uint16_t ReadHexCode(std::string_view S, int& Pos);
[[nodiscard]] uint16_t ReadOctCode(std::string_view S, int& Pos);
// Reads the escape whose backslash was just read.
[[nodiscard]] uint16_t ReadEscape(std::string_view S, int& Pos);
[[nodiscard]] std::string CodeToStr(uint16_t Code);
[[nodiscard]] std::string EscapeMetaChars(std::string_view S);
[[nodiscard]] bool IsMetaChar(uint16_t Code);

}  // namespace tesvarin
