#include "app/FilePattern.h"


namespace tesvarin {

namespace {

char Fold(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; }

size_t Utf8Length(std::string_view S, size_t I) {
  unsigned char C = static_cast<unsigned char>(S[I]);
  size_t N = C < 0x80 ? 1 : C >= 0xF0 ? 4 : C >= 0xE0 ? 3 : C >= 0xC0 ? 2 : 1;
  return I + N <= S.size() ? N : S.size() - I;
}

}  // namespace

std::string NormalizeFilePattern(std::string_view Text) {
  if (Text.find_first_of("*?") != std::string_view::npos) return std::string(Text);
  return "*" + std::string(Text) + "*";
}

bool MatchesFilePattern(std::string_view Pattern, std::string_view Name) {
  if (Pattern == "*.*") return true;
  // Iterative wildcard match with one backtrack point: linear in practice, never recursive.
  size_t P = 0;
  size_t N = 0;
  size_t StarP = std::string_view::npos;
  size_t StarN = 0;
  while (N < Name.size()) {
    if (P < Pattern.size() && Pattern[P] == '*') {
      StarP = P++;
      StarN = N;
    } else if (P < Pattern.size() && Pattern[P] == '?') {
      ++P;
      N += Utf8Length(Name, N);
    } else if (P < Pattern.size() && Fold(Pattern[P]) == Fold(Name[N])) {
      ++P;
      ++N;
    } else if (StarP != std::string_view::npos) {
      P = StarP + 1;
      StarN += Utf8Length(Name, StarN);
      N = StarN;
    } else {
      return false;
    }
  }
  while (P < Pattern.size() && Pattern[P] == '*') ++P;
  return P == Pattern.size();
}

}  // namespace tesvarin
