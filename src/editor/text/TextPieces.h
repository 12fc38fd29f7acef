// A text handed over in pieces of whole lines: a pass over a big text then never holds it twice.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace tesvarin {

// Takes one piece of a text and the offset of its first byte in the whole.
using TTextPieceSink = std::function<void(std::string_view Piece, size_t Offset)>;
// Hands every piece of a text, in order, to the sink it is given.
using TTextPieces = std::function<void(const TTextPieceSink&)>;

}  // namespace tesvarin
