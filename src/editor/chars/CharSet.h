// A list of code page 932 characters made into a set, for membership tests in tight loops: the
// line-breaking rules ask about several characters at every cut of every wrapped line.
#pragma once

#include <bitset>
#include <memory>
#include <string_view>

namespace tesvarin {

class TCharSet {
public:
  TCharSet() = default;
  explicit TCharSet(std::string_view List);

  // Whether Char (one character) starts at a character boundary of the list.
  [[nodiscard]] bool Contains(std::string_view Char) const;

private:
  std::bitset<256> FFirst;                   // the byte each character of the list starts with
  std::shared_ptr<std::bitset<65536>> FPair;  // the two bytes from each character's start
  std::string_view::size_type FListSize = 0;
};

}  // namespace tesvarin
