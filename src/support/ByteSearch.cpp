#include "support/ByteSearch.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

// Past this many candidates, a rarest byte met more often than once in this many bytes means
// memchr restarts too often to beat memmem.
constexpr size_t ProbeCandidates = 64;
constexpr size_t MinBytesPerCandidate = 32;

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

}  // namespace

// Candidates are the places whose first and last bytes match, sixteen at a time where the processor
// has the vector instructions; each is then compared whole.
size_t FindBytesFolded(std::string_view Hay, std::string_view Needle, size_t From) {
  const size_t M = Needle.size();
  if (M == 0) return From <= Hay.size() ? From : std::string_view::npos;
  if (Hay.size() < M || From > Hay.size() - M) return std::string_view::npos;
  const unsigned char FirstBit = FoldBit(Needle.front());
  const unsigned char LastBit = FoldBit(Needle.back());
  const unsigned char First = static_cast<unsigned char>(LowerByte(static_cast<unsigned char>(Needle.front())) | FirstBit);
  const unsigned char Last = static_cast<unsigned char>(LowerByte(static_cast<unsigned char>(Needle.back())) | LastBit);
  const size_t LastStart = Hay.size() - M;  // the last place a match can start
  size_t P = From;
#if defined(__SSE2__)
  const __m128i VFirst = _mm_set1_epi8(static_cast<char>(First));
  const __m128i VLast = _mm_set1_epi8(static_cast<char>(Last));
  const __m128i VFirstBit = _mm_set1_epi8(static_cast<char>(FirstBit));
  const __m128i VLastBit = _mm_set1_epi8(static_cast<char>(LastBit));
  for (; P + 16 <= LastStart + 1; P += 16) {
    const __m128i A = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Hay.data() + P)), VFirstBit);
    const __m128i B =
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Hay.data() + P + M - 1)), VLastBit);
    unsigned Mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(A, VFirst), _mm_cmpeq_epi8(B, VLast))));
    while (Mask != 0) {
      const size_t At = P + static_cast<size_t>(__builtin_ctz(Mask));
      if (FoldedEqual(Hay.data() + At, Needle)) return At;
      Mask &= Mask - 1;
    }
  }
#endif
  for (; P <= LastStart; ++P) {
    if ((static_cast<unsigned char>(Hay[P]) | FirstBit) == First &&
        (static_cast<unsigned char>(Hay[P + M - 1]) | LastBit) == Last && FoldedEqual(Hay.data() + P, Needle)) {
      return P;
    }
  }
  return std::string_view::npos;
}


size_t RarestByteIndex(std::string_view Needle) {
  const auto& R = ByteRanks();
  size_t Best = 0;
  for (size_t I = 1; I < Needle.size(); ++I)
    if (R[static_cast<unsigned char>(Needle[I])] <= R[static_cast<unsigned char>(Needle[Best])]) Best = I;
  return Best;
}

const char* FindBytes(const char* Text, size_t Size, std::string_view Needle) {
  return FindBytes(Text, Size, Needle, Needle.size() > 1 ? RarestByteIndex(Needle) : 0);
}

const char* FindBytes(const char* Text, size_t Size, std::string_view Needle, size_t K) {
  const size_t M = Needle.size();
  if (M == 0) return Text;
  if (Size < M) return nullptr;
  if (M == 1) return static_cast<const char*>(std::memchr(Text, Needle[0], Size));
  const char Rare = Needle[K];
  const char* const End = Text + Size;
  const char* P = Text + K;
  const char* const Last = End - M + K;  // the rare byte of the last possible start
  const char* Window = P;                // where the current density count began
  size_t Candidates = 0;
  while (P <= Last) {
    P = static_cast<const char*>(std::memchr(P, Rare, static_cast<size_t>(Last - P) + 1));
    if (P == nullptr) return nullptr;
    const char* Start = P - K;
    // The ends first: a library call per candidate would cost more than most candidates.
    if (Start[0] == Needle[0] && Start[M - 1] == Needle[M - 1] && std::memcmp(Start, Needle.data(), M) == 0)
      return Start;
    ++P;
    if (++Candidates < ProbeCandidates) continue;
    if (static_cast<size_t>(P - Window) < Candidates * MinBytesPerCandidate)
      return static_cast<const char*>(memmem(Start + 1, static_cast<size_t>(End - Start - 1), Needle.data(), M));
    Candidates = 0;
    Window = P;
  }
  return nullptr;
}

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

size_t FindBytes(std::string_view Hay, std::string_view Needle, size_t From) {
  return FindBytes(Hay, Needle, From, Needle.size() > 1 ? RarestByteIndex(Needle) : 0);
}

size_t FindBytes(std::string_view Hay, std::string_view Needle, size_t From, size_t RareIndex) {
  if (From > Hay.size()) return std::string_view::npos;
  const char* Hit = FindBytes(Hay.data() + From, Hay.size() - From, Needle, RareIndex);
  return Hit == nullptr ? std::string_view::npos : static_cast<size_t>(Hit - Hay.data());
}

}  // namespace tesvarin
