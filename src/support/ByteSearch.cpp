// A candidate's three probe bytes are tested for 32 or 16 places at once; where the vector
// instructions are missing the same test runs a place at a time. Candidates are compared whole in
// place, so the text is never copied, lowered or walked.
#include "support/ByteSearch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tesvarin {

namespace {

// Higher is more common. Code page 932 text is dense in the lead bytes of kana and punctuation and
// in the trail bytes they pair with; ASCII follows English letter frequency.
std::array<unsigned char, 256> MakeByteRanks() {
  std::array<unsigned char, 256> R{};
  for (int B = 0x40; B <= 0xFC; ++B) R[static_cast<size_t>(B)] = 90;  // trail bytes spread evenly
  for (int B = 0x88; B <= 0x9F; ++B) R[static_cast<size_t>(B)] = 120;  // kanji lead bytes
  for (int B = 0xE0; B <= 0xEA; ++B) R[static_cast<size_t>(B)] = 100;
  R[0x81] = R[0x82] = R[0x83] = 250;
  for (int B = '0'; B <= '9'; ++B) R[static_cast<size_t>(B)] = 140;
  constexpr std::string_view Letters = "etaoinshrdlcumwfgypbvkjxqz";  // most to least common
  for (size_t I = 0; I < Letters.size(); ++I) {
    const auto Rank = static_cast<unsigned char>(200 - 4 * I);
    R[static_cast<unsigned char>(Letters[I])] = Rank;
    R[static_cast<unsigned char>(Letters[I] - 'a' + 'A')] = static_cast<unsigned char>(Rank - 40);
  }
  R[' '] = R['\r'] = R['\n'] = 255;
  R['\t'] = R['.'] = R[','] = R['<'] = R['>'] = R['='] = R['"'] = R['/'] = 210;
  R['('] = R[')'] = R[';'] = R[':'] = R['-'] = R['_'] = 180;
  return R;
}

const std::array<unsigned char, 256>& ByteRanks() {
  static const std::array<unsigned char, 256> Ranks = MakeByteRanks();
  return Ranks;
}

// Past this many candidates, candidates met more often than once in this many bytes mean a text
// made of the needle's own pieces, where comparing each costs more than the library's memmem.
constexpr size_t ProbeCandidates = 64;
constexpr size_t MinBytesPerCandidate = 16;

unsigned char LowerByte(unsigned char C) { return C >= 'A' && C <= 'Z' ? static_cast<unsigned char>(C + 32) : C; }

bool FoldedEqual(const char* A, std::string_view B) {
  for (size_t K = B.size(); K > 0; --K) {
    if (LowerByte(static_cast<unsigned char>(A[K - 1])) != LowerByte(static_cast<unsigned char>(B[K - 1]))) {
      return false;
    }
  }
  return true;
}

// The bit that folds a byte's case when it is an ASCII letter, else none.
unsigned char FoldBit(char C) {
  const unsigned char L = LowerByte(static_cast<unsigned char>(C));
  return L >= 'a' && L <= 'z' ? 0x20 : 0x00;
}

bool PassesProbes(const TByteProbes& S, const char* P) {
  for (size_t I = 0; I < TByteProbes::Count; ++I)
    if ((static_cast<unsigned char>(P[S.Offset[I]]) | S.Mask[I]) != S.Byte[I]) return false;
  return true;
}

// Each scan gives the first place from P up to Last that passes the probes, or nullptr. Loads reach
// at most the last probe's offset past Last, which lies inside the text.
const char* ScanBytewise(const TByteProbes& S, const char* P, const char* Last) {
  for (; P <= Last; ++P)
    if (PassesProbes(S, P)) return P;
  return nullptr;
}

#if defined(__SSE2__)
const char* ScanSse2(const TByteProbes& S, const char* P, const char* Last) {
  __m128i Byte[TByteProbes::Count], Mask[TByteProbes::Count];
  for (size_t I = 0; I < TByteProbes::Count; ++I) {
    Byte[I] = _mm_set1_epi8(static_cast<char>(S.Byte[I]));
    Mask[I] = _mm_set1_epi8(static_cast<char>(S.Mask[I]));
  }
  const auto Hits = [&](const char* Q, size_t I) {
    const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Q + S.Offset[I]));
    return _mm_cmpeq_epi8(_mm_or_si128(V, Mask[I]), Byte[I]);
  };
  for (; Last - P >= 15; P += 16) {
    const __m128i All = _mm_and_si128(_mm_and_si128(Hits(P, 0), Hits(P, 1)), Hits(P, 2));
    if (const int Bits = _mm_movemask_epi8(All); Bits != 0) return P + __builtin_ctz(static_cast<unsigned>(Bits));
  }
  return ScanBytewise(S, P, Last);
}

__attribute__((target("avx2"))) __m256i ProbeAvx2(const char* Q, size_t Offset, __m256i Mask, __m256i Byte) {
  const __m256i V = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Q + Offset));
  return _mm256_cmpeq_epi8(_mm256_or_si256(V, Mask), Byte);
}

__attribute__((target("avx2"))) const char* ScanAvx2(const TByteProbes& S, const char* P, const char* Last) {
  __m256i Byte[TByteProbes::Count], Mask[TByteProbes::Count];
  for (size_t I = 0; I < TByteProbes::Count; ++I) {
    Byte[I] = _mm256_set1_epi8(static_cast<char>(S.Byte[I]));
    Mask[I] = _mm256_set1_epi8(static_cast<char>(S.Mask[I]));
  }
  for (; Last - P >= 31; P += 32) {
    const __m256i A = ProbeAvx2(P, S.Offset[0], Mask[0], Byte[0]);
    const __m256i B = ProbeAvx2(P, S.Offset[1], Mask[1], Byte[1]);
    const __m256i C = ProbeAvx2(P, S.Offset[2], Mask[2], Byte[2]);
    if (const int Bits = _mm256_movemask_epi8(_mm256_and_si256(_mm256_and_si256(A, B), C)); Bits != 0)
      return P + __builtin_ctz(static_cast<unsigned>(Bits));
  }
  return ScanSse2(S, P, Last);
}
#endif

using TScan = const char* (*)(const TByteProbes&, const char*, const char*);

// Chosen at the first search, which may come from another unit's start-up code.
TScan ChooseScan() {
#if defined(__SSE2__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? ScanAvx2 : ScanSse2;
#else
  return ScanBytewise;
#endif
}

const char* Scan(const TByteProbes& S, const char* P, const char* Last) {
  static const TScan Chosen = ChooseScan();
  return Chosen(S, P, Last);
}

}  // namespace

size_t RarestByteIndex(std::string_view Needle) {
  const auto& R = ByteRanks();
  size_t Best = 0;
  for (size_t I = 1; I < Needle.size(); ++I)
    if (R[static_cast<unsigned char>(Needle[I])] <= R[static_cast<unsigned char>(Needle[Best])]) Best = I;
  return Best;
}

// A needle without letters is searched as it is, however it was asked for.
TByteFinder::TByteFinder(std::string_view Needle, bool Fold) : FNeedle(Needle) {
  const size_t M = FNeedle.size();
  if (M == 0) return;
  for (char& C : FNeedle)
    if (Fold && FoldBit(C) != 0) {
      C = static_cast<char>(LowerByte(static_cast<unsigned char>(C)));
      FFold = true;
    }
  Fold = FFold;
  const size_t Middle = M > 2 ? 1 + RarestByteIndex(std::string_view(FNeedle).substr(1, M - 2)) : M - 1;
  const size_t Offsets[TByteProbes::Count] = {0, Middle, M - 1};
  for (size_t I = 0; I < TByteProbes::Count; ++I) {
    const char B = FNeedle[Offsets[I]];
    FProbes.Offset[I] = Offsets[I];
    FProbes.Mask[I] = Fold ? FoldBit(B) : 0;
    FProbes.Byte[I] = static_cast<unsigned char>(static_cast<unsigned char>(B) | FProbes.Mask[I]);
  }
}

bool TByteFinder::Matches(const char* Start) const {
  return FFold ? FoldedEqual(Start, FNeedle) : std::memcmp(Start, FNeedle.data(), FNeedle.size()) == 0;
}

const char* TByteFinder::Find(const char* Text, size_t Size) const {
  const size_t M = FNeedle.size();
  if (M == 0) return Text;
  if (Size < M) return nullptr;
  if (M == 1 && !FFold) return static_cast<const char*>(std::memchr(Text, FNeedle[0], Size));
  const char* const Last = Text + (Size - M);  // the last place a match can start
  const char* Window = Text;                  // where the current density count began
  size_t Candidates = 0;
  for (const char* P = Text; (P = Scan(FProbes, P, Last)) != nullptr; ++P) {
    if (Matches(P)) return P;
    if (++Candidates < ProbeCandidates || FFold) continue;
    if (static_cast<size_t>(P - Window) < Candidates * MinBytesPerCandidate)
      return static_cast<const char*>(memmem(P + 1, static_cast<size_t>(Last - P) + M - 1, FNeedle.data(), M));
    Candidates = 0;
    Window = P;
  }
  return nullptr;
}

size_t TByteFinder::Find(std::string_view Hay, size_t From) const {
  if (From > Hay.size()) return std::string_view::npos;
  const char* Hit = Find(Hay.data() + From, Hay.size() - From);
  return Hit == nullptr ? std::string_view::npos : static_cast<size_t>(Hit - Hay.data());
}

size_t FindBytesFolded(std::string_view Hay, std::string_view Needle, size_t From) {
  return TByteFinder(Needle, true).Find(Hay, From);
}

const char* FindBytes(const char* Text, size_t Size, std::string_view Needle) {
  return TByteFinder(Needle).Find(Text, Size);
}

size_t FindBytes(std::string_view Hay, std::string_view Needle, size_t From) { return TByteFinder(Needle).Find(Hay, From); }

const char* FindByteInRange(const char* P, const char* End, unsigned char Lo, unsigned char Hi) {
#if defined(__SSE2__)
  const __m128i VLo = _mm_set1_epi8(static_cast<char>(Lo));
  const __m128i VHi = _mm_set1_epi8(static_cast<char>(Hi));
  for (; End - P >= 16; P += 16) {
    const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    // Unsigned: V >= Lo where max(V, Lo) is V, V <= Hi where min(V, Hi) is V.
    const __m128i In = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(V, VLo), V), _mm_cmpeq_epi8(_mm_min_epu8(V, VHi), V));
    if (const int Mask = _mm_movemask_epi8(In); Mask != 0) return P + __builtin_ctz(static_cast<unsigned>(Mask));
  }
#endif
  for (; P < End; ++P) {
    const auto B = static_cast<unsigned char>(*P);
    if (B >= Lo && B <= Hi) return P;
  }
  return End;
}

const char* FindAnyByte(const char* P, const char* End, std::string_view Bytes) {
  if (Bytes.size() == 1) {
    const void* Hit = P < End ? std::memchr(P, Bytes[0], static_cast<size_t>(End - P)) : nullptr;
    return Hit == nullptr ? End : static_cast<const char*>(Hit);
  }
#if defined(__SSE2__)
  __m128i Want[4];
  for (size_t I = 0; I < 4; ++I) Want[I] = _mm_set1_epi8(Bytes[I < Bytes.size() ? I : 0]);
  for (; End - P >= 16; P += 16) {
    const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    const __m128i Eq = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(V, Want[0]), _mm_cmpeq_epi8(V, Want[1])),
                                    _mm_or_si128(_mm_cmpeq_epi8(V, Want[2]), _mm_cmpeq_epi8(V, Want[3])));
    if (const int Mask = _mm_movemask_epi8(Eq); Mask != 0) return P + __builtin_ctz(static_cast<unsigned>(Mask));
  }
#endif
  for (; P < End; ++P)
    if (Bytes.find(*P) != std::string_view::npos) return P;
  return End;
}

// Byte-wide tallies over runs of at most 255 bytes: the compiler makes the inner loop a vector
// compare and add, where a size_t tally per byte would widen every lane first.
TBreakByteCount CountBreakBytes(std::string_view S) {
  TBreakByteCount N;
  const auto* P = reinterpret_cast<const unsigned char*>(S.data());
  for (size_t I = 0; I < S.size();) {
    const size_t Stop = std::min(S.size(), I + 255);
    uint8_t Lf = 0, Cr = 0;
    for (; I < Stop; ++I) {
      Lf = static_cast<uint8_t>(Lf + (P[I] == '\n'));
      Cr = static_cast<uint8_t>(Cr + (P[I] == '\r'));
    }
    N.Lf += Lf;
    N.Cr += Cr;
  }
  return N;
}

}  // namespace tesvarin
