#include "support/Sjis.h"

#include "support/ByteSearch.h"

namespace tesvarin {

// Only bytes A..Z that start a character change, and most lines hold few: each is found a block at
// a time and its place told from the lead bytes just before it.
void AsciiLowerSjis(std::string& S) {
  char* const Begin = S.data();
  char* const End = Begin + S.size();
  size_t Known = 0;  // a character start at or before the byte looked at
  for (const char* P = FindByteInRange(Begin, End, 'A', 'Z'); P != End; P = FindByteInRange(P + 1, End, 'A', 'Z')) {
    const auto I = static_cast<size_t>(P - Begin);
    if (IsCharStartFrom(S, Known, I)) {
      S[I] = AsciiLower(S[I]);
      Known = I;
    } else {
      Known = I - 1;  // the byte is the second of a character begun just before it
    }
  }
}

int CompareTextSjis(std::string_view A, std::string_view B) {
  size_t I = 0;
  bool InTrail = false;  // a trail byte is never folded
  while (I < A.size() && I < B.size()) {
    unsigned char X = static_cast<unsigned char>(InTrail ? A[I] : AsciiLower(A[I]));
    unsigned char Y = static_cast<unsigned char>(InTrail ? B[I] : AsciiLower(B[I]));
    if (X != Y) return X < Y ? -1 : 1;
    InTrail = !InTrail && IsLeadByte(A[I]);
    ++I;
  }
  if (A.size() == B.size()) return 0;
  return A.size() < B.size() ? -1 : 1;
}

}  // namespace tesvarin
