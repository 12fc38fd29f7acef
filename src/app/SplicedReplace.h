// A replace in a file's bytes without loading them as the viewer's rows: the hits are found a block
// of whole lines at a time, exactly where the viewer's replace-all would make them, and the file is
// written as its own bytes with only the hits spliced in, in its own encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/ReplacePlan.h"
#include "app/SafeSave.h"
#include "editor/search/EditorExSearch.h"
#include "support/TextEncoding.h"

namespace tesvarin {

// The replacements the viewer's replace-all (with Search's find string and options) makes in a text
// loaded from Bytes, placed in Bytes; appended to Spots, the count returned. The lines are matched
// in blocks of about BlockSize bytes; a regular expression that spans lines sees the text whole.
int FindReplaceSpots(TEditorExSearch& Search, std::string_view Bytes, std::string_view Replacement, bool ExpandCrLf,
                     TReplaceSpots& Spots, size_t BlockSize = size_t{8} << 20);

// Code page 932 text in Encoding, without a byte-order mark; raises EConvertError naming the first
// character Encoding cannot hold.
[[nodiscard]] std::string InEncoding(std::string_view Cp932, TTextEncoding Encoding);

// The ticked hits of Plan, made over the text as code page 932 of a file that holds Bytes in
// Encoding, as splices of those bytes: each hit's place in them, its replacement in Encoding.
// Raises EConvertError when a hit covers a character that does not convert back to its own bytes,
// or when Encoding cannot hold a replacement.
[[nodiscard]] TByteSplices SplicesOf(const TReplacePlan& Plan, std::string_view Bytes, TTextEncoding Encoding);

}  // namespace tesvarin
