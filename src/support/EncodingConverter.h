// Text in UTF-8, EUC-JP or UTF-16 as code page 932 and back, character by character, so that every
// file is searched by the one engine and a replacement is written in the file's own encoding.
// Code page 932 is taken as Windows has it: NEC and IBM extensions both ways, 0x8160 <-> U+FF5E.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/TextEncoding.h"

namespace tesvarin {

// What a character without a code page 932 form becomes: a code that code page 932 leaves
// unassigned, so no search text can match it, while it still counts as one character.
inline constexpr std::string_view UnmatchableCode = "\x81\xAD";

// Bytes in Encoding (a whole file, or whole lines of one) as code page 932, a byte-order mark at
// the start left out. Appends to Out. True when the conversion is lossless both ways: every
// character well formed, with a code page 932 form that converts back to the same bytes.
bool ConvertToCp932(std::string_view Bytes, TTextEncoding Encoding, std::string& Out);

// Text in code page 932 as Encoding, without a byte-order mark; appends to Out. False when a
// character cannot be written in Encoding (or is malformed); BadAt gets its offset in Cp932.
bool ConvertFromCp932(std::string_view Cp932, TTextEncoding Encoding, std::string& Out, size_t* BadAt = nullptr);

// Text in code page 932 as Encoding, for a search of the file's own bytes: false (Out undefined)
// when a character of it has more than one form in Encoding (U+301C and U+FF5E are both 0x8160),
// or none, so that a file may hold it without holding this form.
bool OnlyFormIn(std::string_view Cp932, TTextEncoding Encoding, std::string& Out);

// Offsets in Bytes (as ConvertToCp932 was given them) of the places Offsets (ascending) give in
// the converted text; a place inside a character counts as that character's start, one at the end
// as the end of Bytes.
[[nodiscard]] std::vector<size_t> SourceOffsets(std::string_view Bytes, TTextEncoding Encoding,
                                                const std::vector<size_t>& Offsets);

}  // namespace tesvarin
