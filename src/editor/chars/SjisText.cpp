#include "editor/chars/SjisText.h"

#include "support/Sjis.h"

namespace tesvarin {

namespace {

// Distance from I back to the nearest character boundary, found without walking from the start: the
// byte before a run of lead-byte values always ends a character, so the run's parity decides.
bool StartsCharacter(std::string_view S, size_t I) {
  size_t J = I;
  while (J > 0 && IsLeadByte(S[J - 1])) --J;
  return ((I - J) % 2) == 0;
}

}  // namespace

bool IsDBCS1(std::string_view S, int I) {
  if (I < 0 || static_cast<size_t>(I) >= S.size()) return false;
  return IsLeadByte(S[static_cast<size_t>(I)]) && StartsCharacter(S, static_cast<size_t>(I));
}

bool IsDBCS2(std::string_view S, int I) {
  if (I < 1 || static_cast<size_t>(I) >= S.size()) return false;
  return IsDBCS1(S, I - 1);
}

unsigned char CharAt(std::string_view S, int I) {
  if (I < 0 || static_cast<size_t>(I) >= S.size()) return 0;
  return static_cast<unsigned char>(S[static_cast<size_t>(I)]);
}

int CountChar(std::string_view S, char C, int N) {
  int Limit = Min(N, static_cast<int>(S.size()));
  int Count = 0;
  for (int I = 0; I < Limit; ++I) {
    if (S[static_cast<size_t>(I)] == C) ++Count;
  }
  return Count;
}

}  // namespace tesvarin
