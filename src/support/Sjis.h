// The code page 932 lead-byte test and the double-byte walk every other unit builds on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tesvarin {

[[nodiscard]] constexpr bool IsLeadByte(unsigned char B) { return (B >= 0x81 && B <= 0x9F) || (B >= 0xE0 && B <= 0xFC); }
[[nodiscard]] constexpr bool IsLeadByte(char B) { return IsLeadByte(static_cast<unsigned char>(B)); }

// Length in bytes of the character starting at I (1 or 2; 1 for a lead byte at the very end).
[[nodiscard]] constexpr size_t CharLength(std::string_view S, size_t I) {
  return (IsLeadByte(S[I]) && I + 1 < S.size()) ? 2 : 1;
}

// True when byte Pos of S starts a character (the end of S counts as one), given Known, a character
// start at or before Pos. Only the lead bytes right before Pos are read: the byte before such a run
// ends a character (or Known starts one), and the run's characters pair up from there.
[[nodiscard]] constexpr bool IsCharStartFrom(std::string_view S, size_t Known, size_t Pos) {
  if (Pos >= S.size()) return true;
  size_t Run = 0;
  while (Pos - Run > Known && IsLeadByte(S[Pos - 1 - Run])) ++Run;
  return Run % 2 == 0;
}

[[nodiscard]] constexpr char AsciiLower(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; }

// Lower-cases ASCII A-Z outside double-byte characters, byte for byte.
void AsciiLowerSjis(std::string& S);

// Three-way comparison of two code page 932 strings with ASCII letters folded, trail bytes kept.
[[nodiscard]] int CompareTextSjis(std::string_view A, std::string_view B);

}  // namespace tesvarin
