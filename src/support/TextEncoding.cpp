#include "support/TextEncoding.h"

#include <uchardet/uchardet.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "support/ByteSearch.h"

namespace tesvarin {

namespace {

using TByte = unsigned char;

// The first non-ASCII byte of [P, End), or End: most text is ASCII for long runs.
const char* SkipAscii(const char* P, const char* End) { return FindByteInRange(P, End, 0x80, 0xFF); }

TByte At(const char* P) { return static_cast<TByte>(*P); }

bool InRange(TByte B, TByte Lo, TByte Hi) { return B >= Lo && B <= Hi; }

// Length of the UTF-8 character at P (1 to 4), or 0 when it is malformed there; -1 when it is cut
// by End.
int Utf8Length(const char* P, const char* End) {
  const TByte B = At(P);
  // Kana and kanji: three bytes with no special second-byte range, most of a Japanese text.
  if (((B >= 0xE1 && B <= 0xEC) || B == 0xEE || B == 0xEF) && End - P >= 3) {
    return (At(P + 1) & 0xC0) == 0x80 && (At(P + 2) & 0xC0) == 0x80 ? 3 : 0;
  }
  int Len;
  TByte Lo = 0x80, Hi = 0xBF;  // the allowed range of the second byte
  if (B < 0x80) return 1;
  if (InRange(B, 0xC2, 0xDF)) {
    Len = 2;
  } else if (InRange(B, 0xE0, 0xEF)) {
    Len = 3;
    if (B == 0xE0) Lo = 0xA0;  // overlong
    if (B == 0xED) Hi = 0x9F;  // surrogates
  } else if (InRange(B, 0xF0, 0xF4)) {
    Len = 4;
    if (B == 0xF0) Lo = 0x90;
    if (B == 0xF4) Hi = 0x8F;
  } else {
    return 0;
  }
  for (int I = 1; I < Len; ++I) {
    if (P + I >= End) return -1;
    if (!InRange(At(P + I), I == 1 ? Lo : 0x80, I == 1 ? Hi : 0xBF)) return 0;
  }
  return Len;
}

// What each byte is in code page 932: 0 out of form, 1 a character of its own, 2 a lead byte; and
// which bytes may follow a lead. Looked up, so that a big Japanese text is checked a character a step.
constexpr std::array<uint8_t, 256> Cp932Kinds = [] {
  std::array<uint8_t, 256> K{};
  for (unsigned B = 0; B < 256; ++B) {
    if (B < 0x80 || (B >= 0xA1 && B <= 0xDF)) K[B] = 1;
    else if ((B >= 0x81 && B <= 0x9F) || (B >= 0xE0 && B <= 0xFC)) K[B] = 2;
  }
  return K;
}();
constexpr std::array<bool, 256> Cp932Trails = [] {
  std::array<bool, 256> T{};
  for (unsigned B = 0x40; B <= 0xFC; ++B) T[B] = B != 0x7F;
  return T;
}();

int EucJpLength(const char* P, const char* End) {
  const TByte B = At(P);
  if (B < 0x80) return 1;
  int Len;
  if (B == 0x8E) {
    if (P + 1 >= End) return -1;
    return InRange(At(P + 1), 0xA1, 0xDF) ? 2 : 0;
  }
  if (B == 0x8F) {
    Len = 3;
  } else if (InRange(B, 0xA1, 0xFE)) {
    Len = 2;
  } else {
    return 0;
  }
  for (int I = 1; I < Len; ++I) {
    if (P + I >= End) return -1;
    if (!InRange(At(P + I), 0xA1, 0xFE)) return 0;
  }
  return Len;
}

// Length is a lambda, not a function pointer, so that each encoding's loop gets its test inlined.
template <class TLength>
bool WellFormed(std::string_view Bytes, bool Partial, TLength Length) {
  const char* P = Bytes.data();
  const char* End = P + Bytes.size();
  while (P < End) {
    if (At(P) < 0x80) {
      // A run of ASCII is skipped a block at a time; a lone byte between characters in one step.
      if (++P < End && At(P) < 0x80) P = SkipAscii(P, End);
      continue;
    }
    const int Len = Length(P, End);
    if (Len == 0) return false;
    if (Len < 0) return Partial;
    P += Len;
  }
  return true;
}

struct TDetectorDeleter {
  void operator()(uchardet* D) const { uchardet_delete(D); }
};

// The detector's answer for Bytes, upper-case ("UTF-8", "EUC-JP", "SHIFT_JIS", ...), or empty.
std::string DetectorAnswer(std::string_view Bytes) {
  std::unique_ptr<uchardet, TDetectorDeleter> Detector(uchardet_new());
  if (!Detector || uchardet_handle_data(Detector.get(), Bytes.data(), Bytes.size()) != 0) return {};
  uchardet_data_end(Detector.get());
  std::string Name = uchardet_get_charset(Detector.get());
  for (char& C : Name)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  return Name;
}

}  // namespace

std::string_view EncodingName(TTextEncoding Encoding) {
  switch (Encoding) {
    case teShiftJis: return "シフトJIS";
    case teUtf8: return "UTF-8";
    case teUtf8Bom: return "UTF-8 (BOM)";
    case teEucJp: return "EUC-JP";
    case teUtf16Le: return "UTF-16LE";
    case teUtf16Be: return "UTF-16BE";
  }
  return {};
}

std::string_view ByteOrderMark(TTextEncoding Encoding) {
  switch (Encoding) {
    case teUtf8Bom: return "\xEF\xBB\xBF";
    case teUtf16Le: return "\xFF\xFE";
    case teUtf16Be: return "\xFE\xFF";
    default: return {};
  }
}

TTextEncoding EncodingOfMark(std::string_view Bytes) {
  for (TTextEncoding E : {teUtf8Bom, teUtf16Le, teUtf16Be}) {
    if (Bytes.starts_with(ByteOrderMark(E))) return E;
  }
  return teShiftJis;
}

bool IsWellFormedUtf8(std::string_view Bytes, bool Partial) { return WellFormed(Bytes, Partial, [](const char* P, const char* End) { return Utf8Length(P, End); }); }

bool IsWellFormedCp932Piece(std::string_view Bytes, bool& Pending) {
  const auto* P = reinterpret_cast<const unsigned char*>(Bytes.data());
  const auto* const End = P + Bytes.size();
  if (Pending && P < End) {
    if (!Cp932Trails[*P]) return false;
    ++P;
    Pending = false;
  }
  while (P < End) {
    const uint8_t Kind = Cp932Kinds[*P];
    if (Kind == 1) {
      ++P;
      continue;
    }
    if (Kind == 0) return false;
    if (P + 1 == End) {
      Pending = true;
      return true;
    }
    if (!Cp932Trails[P[1]]) return false;
    P += 2;
  }
  return true;
}

bool IsWellFormedCp932(std::string_view Bytes, bool Partial) {
  bool Pending = false;
  return IsWellFormedCp932Piece(Bytes, Pending) && (Partial || !Pending);
}

bool IsWellFormedEucJp(std::string_view Bytes, bool Partial) { return WellFormed(Bytes, Partial, [](const char* P, const char* End) { return EucJpLength(P, End); }); }

namespace {

// Where the window the encoding is told from starts: a long ASCII start (a licence, a header) says
// nothing, so the window starts where the rest does. npos: Head is pure ASCII.
size_t WindowStart(std::string_view Head) {
  const char* First = SkipAscii(Head.data(), Head.data() + Head.size());
  if (First == Head.data() + Head.size()) return std::string_view::npos;
  const auto Offset = static_cast<size_t>(First - Head.data());
  return Offset < DetectionWindow ? 0 : Offset;
}

}  // namespace

TPossibleEncodings PossibleEncodings(std::string_view Head, bool Whole) {
  TPossibleEncodings P;
  P.Marked = EncodingOfMark(Head) != teShiftJis;
  const size_t Start = WindowStart(Head);
  if (P.Marked || Start == std::string_view::npos) return P;
  constexpr size_t Quick = 4096;
  // Bytes that are malformed within the first few kilobytes are malformed in the whole window.
  const std::string_view Window = Head.substr(Start, Quick);
  const bool Partial = !Whole || Start + Window.size() < Head.size();
  P.Utf8 = IsWellFormedUtf8(Window, Partial);
  P.EucJp = IsWellFormedEucJp(Window, Partial);
  return P;
}

// Shift-JIS text almost always breaks UTF-8 and EUC-JP at its first kana or kanji, so a Shift-JIS
// file costs a scan to its first non-ASCII byte and a few bytes more.
TTextEncoding DetectTextEncoding(std::string_view Head, bool Whole) {
  if (const TTextEncoding Marked = EncodingOfMark(Head); Marked != teShiftJis) return Marked;
  const size_t Start = WindowStart(Head);
  if (Start == std::string_view::npos) return teShiftJis;
  const std::string_view Window = Head.substr(Start, DetectionWindow);
  const bool Partial = !Whole || Start + Window.size() < Head.size();
  const bool Utf8 = IsWellFormedUtf8(Window, Partial);
  const bool Euc = IsWellFormedEucJp(Window, Partial);
  if (!Utf8 && !Euc) return teShiftJis;
  const bool Sjis = IsWellFormedCp932(Window, Partial);
  if (Utf8 + Euc + Sjis == 1) return Utf8 ? teUtf8 : Euc ? teEucJp : teShiftJis;
  const std::string Answer = DetectorAnswer(Window);
  if (Answer == "UTF-8" && Utf8) return teUtf8;
  if (Answer == "EUC-JP" && Euc) return teEucJp;
  if (Answer == "SHIFT_JIS" && Sjis) return teShiftJis;
  // Text that is well formed UTF-8 and holds non-ASCII characters is hardly ever anything else.
  return Utf8 ? teUtf8 : teShiftJis;
}

}  // namespace tesvarin
