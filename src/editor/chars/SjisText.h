// Double-byte-aware helpers over Shift-JIS byte strings: where a character starts and what it holds.
#pragma once

#include <string_view>

namespace tesvarin {

// The byte at I is the lead byte of a double-byte character (a lead byte at the very end counts).
[[nodiscard]] bool IsDBCS1(std::string_view S, int I);
// The byte at I is the trail byte of a double-byte character.
[[nodiscard]] bool IsDBCS2(std::string_view S, int I);
// The byte at I, or 0 outside S.
[[nodiscard]] unsigned char CharAt(std::string_view S, int I);
// How many bytes equal to C stand in the first min(N, size) bytes of S.
[[nodiscard]] int CountChar(std::string_view S, char C, int N);
[[nodiscard]] constexpr int Max(int A, int B) { return A > B ? A : B; }
[[nodiscard]] constexpr int Min(int A, int B) { return A < B ? A : B; }

}  // namespace tesvarin
