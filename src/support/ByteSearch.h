// Substring search for short needles over large texts. Japanese text is dense in every single byte
// a Japanese needle holds (kana and frequent kanji lead bytes, and trail bytes that are ASCII
// letters), so no byte alone is rare: three of the needle's bytes are compared at their offsets a
// block at a time, and only places where all three agree are compared whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tesvarin {

// Three bytes of a needle and where they stand in it: a text byte B passes probe I when
// (B | Mask[I]) == Byte[I].
struct TByteProbes {
  static constexpr size_t Count = 3;
  size_t Offset[Count] = {};
  unsigned char Byte[Count] = {};
  unsigned char Mask[Count] = {};
};

// A needle prepared for repeated searches. Its first and last bytes and its rarest byte between
// them are the probes: 32 places at a time with AVX2 where the processor has it, else 16 (SSE2),
// else one; first and last keep a frequent word inside the needle from passing for it.
class TByteFinder {
public:
  TByteFinder() = default;
  // With Fold, ASCII letters compare without case wherever they stand (trail bytes included).
  explicit TByteFinder(std::string_view Needle, bool Fold = false);

  // The first occurrence in [Text, Text + Size), or nullptr; an empty needle is found at Text.
  [[nodiscard]] const char* Find(const char* Text, size_t Size) const;
  // As an index into Hay from From on, or npos.
  [[nodiscard]] size_t Find(std::string_view Hay, size_t From = 0) const;
  [[nodiscard]] std::string_view Needle() const { return FNeedle; }

private:
  [[nodiscard]] bool Matches(const char* Start) const;

  std::string FNeedle;  // lower-cased with Fold
  bool FFold = false;
  TByteProbes FProbes;
};

// The first occurrence of Needle in [Text, Text + Size), or nullptr. An empty needle is found at
// Text; Text may be null when Size is 0.
const char* FindBytes(const char* Text, size_t Size, std::string_view Needle);

// As FindBytes, as an index into Hay from From on, or npos.
size_t FindBytes(std::string_view Hay, std::string_view Needle, size_t From = 0);

// As FindBytes, ASCII letters compared without case wherever they stand (trail bytes included):
// a superset of the places where the case-folded text holds the case-folded needle.
size_t FindBytesFolded(std::string_view Hay, std::string_view Needle, size_t From = 0);

// The first byte in [P, End) equal to one of Bytes (at most four of them), or End.
const char* FindAnyByte(const char* P, const char* End, std::string_view Bytes);

// The first byte in [P, End) within Lo .. Hi, or End.
const char* FindByteInRange(const char* P, const char* End, unsigned char Lo, unsigned char Hi);

// How many LF and how many CR bytes S holds, counted in one pass.
struct TBreakByteCount {
  size_t Lf = 0;
  size_t Cr = 0;
};
[[nodiscard]] TBreakByteCount CountBreakBytes(std::string_view S);

// The index in Needle of the byte least likely in Japanese and ASCII text (ties: the last).
size_t RarestByteIndex(std::string_view Needle);

}  // namespace tesvarin
