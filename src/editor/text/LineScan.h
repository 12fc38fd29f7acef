// Cutting a text into lines at the pace of the memory: the breaks of a big file are found sixteen
// bytes at a time, not byte by byte.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tesvarin {

// Ctrl+Z ends the text of a loaded file; never a trail byte of a double-byte character.
inline constexpr char CtrlZ = 26;

// The first CR or LF (and, when Tabs, tab; when Eof, Ctrl+Z) in P .. End-1, or End.
template <bool Tabs, bool Eof = false>
const char* FindLineStop(const char* P, const char* End) {
#if defined(__SSE2__)
  const __m128i Cr = _mm_set1_epi8('\r');
  const __m128i Lf = _mm_set1_epi8('\n');
  const __m128i Tab = _mm_set1_epi8('\t');
  const __m128i Z = _mm_set1_epi8(CtrlZ);
  for (; End - P >= 16; P += 16) {
    const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    __m128i Hit = _mm_or_si128(_mm_cmpeq_epi8(V, Cr), _mm_cmpeq_epi8(V, Lf));
    if constexpr (Tabs) Hit = _mm_or_si128(Hit, _mm_cmpeq_epi8(V, Tab));
    if constexpr (Eof) Hit = _mm_or_si128(Hit, _mm_cmpeq_epi8(V, Z));
    if (const int Mask = _mm_movemask_epi8(Hit); Mask != 0) return P + __builtin_ctz(static_cast<unsigned>(Mask));
  }
#endif
  for (; P < End; ++P) {
    if (*P == '\r' || *P == '\n' || (Tabs && *P == '\t') || (Eof && *P == CtrlZ)) return P;
  }
  return End;
}

// The kind of the break at P, which holds a CR or an LF (as TLineReader gives it): 0 for CR LF,
// 1 for a CR no LF follows, 2 for LF.
inline int BreakKindAt(const char* P, const char* End) {
  return *P == '\n' ? 2 : (P + 1 < End && P[1] == '\n' ? 0 : 1);
}

// The lines of a text one at a time: CR LF, a lone CR and a lone LF each end one; NUL bytes are
// kept. Kind is 0 for CR LF, 1 for CR, 2 for LF, -1 for the last piece, which has no break (it is
// given also when empty).
class TLineReader {
public:
  explicit TLineReader(std::string_view Text) : FP(Text.data()), FEnd(Text.data() + Text.size()) {}

  // False after the last piece. Tab: the line holds a tab (looked for only when Tabs). With Eof, the
  // text ends at its first Ctrl+Z, as a loaded file's does (End tells where).
  template <bool Tabs, bool Eof = false>
  bool Next(std::string_view& Line, int& Kind, bool& Tab) {
    if (FDone) return false;
    const char* const Start = FP;
    Tab = false;
    for (;;) {
      FP = FindLineStop<Tabs, Eof>(FP, FEnd);
      if (Eof && FP != FEnd && *FP == CtrlZ) FEnd = FP;
      if (FP == FEnd) {
        Line = std::string_view(Start, static_cast<size_t>(FEnd - Start));
        Kind = -1;
        FDone = true;
        return true;
      }
      if (!Tabs || *FP != '\t') break;
      Tab = true;
      ++FP;
    }
    Kind = BreakKindAt(FP, FEnd);
    Line = std::string_view(Start, static_cast<size_t>(FP - Start));
    FP += Kind == 0 ? 2 : 1;
    return true;
  }

  // The end of the text: its size, or its first Ctrl+Z once Next<..., true> has come to it.
  [[nodiscard]] const char* End() const { return FEnd; }

private:
  const char* FP;
  const char* FEnd;
  bool FDone = false;
};

// Calls Fn(piece, kind) for each line of Text, as TLineReader gives them.
template <class F>
void ForEachLine(std::string_view Text, F&& Fn) {
  TLineReader Reader(Text);
  std::string_view Line;
  int Kind = 0;
  bool Tab = false;
  while (Reader.Next<false>(Line, Kind, Tab)) Fn(Line, Kind);
}

}  // namespace tesvarin
