// Token kinds: one byte each, stored in the rows' colouring state, so the values are fixed.
#pragma once

#include <cstdint>

namespace tesvarin {

using TTokenKind = uint8_t;

enum : TTokenKind {
  ttEnd = 0,
  ttSymbol = 1,
  // A lead byte 0x82 or 0x83 whose second byte starts no character: painted with the defaults.
  ttBrokenDbcs = 2,
  ttInteger = 3,
  ttFloat = 4,
  ttBracket = 6,
  ttComment = 7,
  ttReserve = 8,
  ttTab = 9,
  ttAnk = 11,
  ttDbcsSymbol = 12,
  ttDbcsDigits = 14,
  ttDbcsAlpha = 15,
  ttHiragana = 16,
  ttKatakana = 17,
  ttKanji = 18,
  ttKanaSymbol = 19,
  ttKana = 20,
  ttUrl = 21,
  ttMail = 22,
  ttHex = 23,
  ttSingleQuote = 24,
  ttDoubleQuote = 25,
  ttQuotation = 26,
  ttControlCode = 27,
  ttHexControlCode = 28,
  // The HTML scheme's own kinds.
  ttTagOpen = 50,
  ttTagClose = 51,
  ttTagElement = 52,
  ttTagAttribute = 53,
  ttTagEquals = 54,
  ttTagValue = 55,
  ttAmpersand = 56,
};

}  // namespace tesvarin
