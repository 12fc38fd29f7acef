#include "support/Sjis.h"

namespace tesvarin {

void AsciiLowerSjis(std::string& S) {
  for (size_t I = 0; I < S.size(); I += CharLength(S, I)) {
    S[I] = AsciiLower(S[I]);
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
