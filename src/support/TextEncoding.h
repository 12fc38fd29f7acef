// The encodings a searched file may be stored in, and how a file's encoding is told from its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tesvarin {

// Stored numbers: the order the result list sorts by is the order of the names, not of these.
enum TTextEncoding : uint8_t { teShiftJis, teUtf8, teUtf8Bom, teEucJp, teUtf16Le, teUtf16Be };

// The name the result list and the command line show ("シフトJIS", "UTF-8 (BOM)", ...), UTF-8.
[[nodiscard]] std::string_view EncodingName(TTextEncoding Encoding);
// The byte-order mark a file in Encoding starts with; empty for those without one.
[[nodiscard]] std::string_view ByteOrderMark(TTextEncoding Encoding);
// The encoding whose byte-order mark Bytes starts with, else teShiftJis.
[[nodiscard]] TTextEncoding EncodingOfMark(std::string_view Bytes);
[[nodiscard]] inline bool IsUtf16(TTextEncoding E) { return E == teUtf16Le || E == teUtf16Be; }

// How many bytes of a file the statistical detector is given.
inline constexpr size_t DetectionWindow = size_t{64} << 10;

// Whether Bytes is well formed in each encoding. Partial: Bytes is cut from a longer text, so a
// character cut at its end is no fault.
[[nodiscard]] bool IsWellFormedUtf8(std::string_view Bytes, bool Partial = false);
[[nodiscard]] bool IsWellFormedCp932(std::string_view Bytes, bool Partial = false);
// The same for one piece of a text cut anywhere: Pending says that a lead byte ended the piece
// before, and is left saying whether one ends this piece.
[[nodiscard]] bool IsWellFormedCp932Piece(std::string_view Bytes, bool& Pending);
[[nodiscard]] bool IsWellFormedEucJp(std::string_view Bytes, bool Partial = false);

// The encoding of a file whose first bytes are Head (Whole: Head is the whole file). A byte-order
// mark decides; else the encodings Head is well formed in, and where more than one is, the
// statistical detector over 64 KB. Pure ASCII and what is none of them count as Shift-JIS.
[[nodiscard]] TTextEncoding DetectTextEncoding(std::string_view Head, bool Whole);

// Which encodings other than Shift-JIS DetectTextEncoding (Head, Whole) may still say, told from no
// more than a few kilobytes: a Shift-JIS text breaks UTF-8 and EUC-JP at its first kana or kanji.
// Shift-JIS itself may be said whenever Head has no byte-order mark.
struct TPossibleEncodings {
  bool Marked = false;  // a byte-order mark tells the encoding
  bool Utf8 = false;
  bool EucJp = false;
  [[nodiscard]] bool OnlyShiftJis() const { return !Marked && !Utf8 && !EucJp; }
};
[[nodiscard]] TPossibleEncodings PossibleEncodings(std::string_view Head, bool Whole);

}  // namespace tesvarin
