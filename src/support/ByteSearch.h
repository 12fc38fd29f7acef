// Substring search for short needles over large texts: the needle's rarest byte is found with
// memchr (vectorised in the C library) and each candidate is verified in place. A needle whose
// rarest byte still turns up densely falls back to the library's memmem.
#pragma once

#include <cstddef>
#include <string_view>

namespace tesvarin {

// The first occurrence of Needle in [Text, Text + Size), or nullptr. An empty needle is found at
// Text; Text may be null when Size is 0.
const char* FindBytes(const char* Text, size_t Size, std::string_view Needle);

// As FindBytes, as an index into Hay from From on, or npos.
size_t FindBytes(std::string_view Hay, std::string_view Needle, size_t From = 0);
// As FindBytes, for a caller that keeps the needle's RarestByteIndex between searches.
const char* FindBytes(const char* Text, size_t Size, std::string_view Needle, size_t RareIndex);
size_t FindBytes(std::string_view Hay, std::string_view Needle, size_t From, size_t RareIndex);

// As FindBytes, ASCII letters compared without case wherever they stand (trail bytes included):
// a superset of the places where the case-folded text holds the case-folded needle.
size_t FindBytesFolded(std::string_view Hay, std::string_view Needle, size_t From = 0);

// The first byte in [P, End) equal to one of Bytes (at most four of them), or End.
const char* FindAnyByte(const char* P, const char* End, std::string_view Bytes);

// The first byte in [P, End) within Lo .. Hi, or End.
const char* FindByteInRange(const char* P, const char* End, unsigned char Lo, unsigned char Hi);

// The index in Needle of the byte least likely in Japanese and ASCII text (ties: the last).
size_t RarestByteIndex(std::string_view Needle);

}  // namespace tesvarin
