// A token as the tests compare it: kind, byte position and length.
#pragma once

#include <ostream>

namespace tesvarin {

struct Tok {
  int Kind, Pos, Len;
  friend bool operator==(const Tok&, const Tok&) = default;
};

inline std::ostream& operator<<(std::ostream& O, const Tok& T) {
  return O << "{" << T.Kind << "," << T.Pos << "," << T.Len << "}";
}

}  // namespace tesvarin
