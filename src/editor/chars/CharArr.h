// The 256-entry byte class table that tells text bytes from the rest.
#pragma once

#include <array>
#include <cstdint>

namespace tesvarin {

enum TCharClassFlag : uint16_t {
  ccControl = 1u << 0,
  ccSpace = 1u << 1,
  ccDigit = 1u << 2,
  ccHexDigit = 1u << 3,
  ccLetter = 1u << 4,
  ccSymbol = 1u << 5,
  ccLeadByte = 1u << 6,
  ccHigh = 1u << 7,
  ccKana = 1u << 8,
  ccShortNameStop = 1u << 9,
  ccNameStop = 1u << 10,
};

using TCharClasses = uint16_t;

namespace detail {
extern const std::array<TCharClasses, 256> CharClassTable;
}

// Inline: the non-text probe asks it for every byte of every file a search opens.
[[nodiscard]] inline TCharClasses CharClass(unsigned char B) { return detail::CharClassTable[B]; }

// A byte that counts against a file being text: a control byte that is not white space.
[[nodiscard]] inline bool IsBinaryByte(unsigned char B) {
  TCharClasses C = CharClass(B);
  return (C & ccControl) != 0 && (C & ccSpace) == 0;
}

}  // namespace tesvarin
