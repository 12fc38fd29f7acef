#include "editor/chars/CharSet.h"

#include "support/Sjis.h"

namespace tesvarin {

TCharSet::TCharSet(std::string_view List) : FPair(std::make_shared<std::bitset<65536>>()), FListSize(List.size()) {
  for (size_t I = 0; I < List.size(); I += CharLength(List, I)) {
    const auto First = static_cast<unsigned char>(List[I]);
    FFirst.set(First);
    if (I + 1 < List.size()) FPair->set(First << 8 | static_cast<unsigned char>(List[I + 1]));
  }
}

bool TCharSet::Contains(std::string_view Char) const {
  if (Char.empty() || Char.size() > FListSize) return false;
  if (Char.size() == 1) return FFirst.test(static_cast<unsigned char>(Char[0]));
  if (Char.size() == 2)
    return FPair->test(static_cast<unsigned>(static_cast<unsigned char>(Char[0])) << 8 | static_cast<unsigned char>(Char[1]));
  return false;  // not one character
}

}  // namespace tesvarin
