// Lines mix kanji, hiragana, katakana, half-width kana and ASCII words; many double-byte characters
// have a trail byte equal to an ASCII letter or to a backslash, which a byte-wise matcher would mistake.
#include "BenchText.h"

#include <cstdint>

namespace tesvarin::bench {
namespace {

const char* const Words[] = {
    "search", "replace", "alpha", "delta", "kernel", "folder", "editor", "match", "window", "line",
    "\x8C\x9F\x8D\xF5",                  // kanji pair
    "\x95\x5C\x8E\xA6",                  // kanji with trail byte '\'
    "\x83\x5C\x81\x5B\x83\x58",          // katakana with trail byte '\'
    "\x83\x65\x83\x4C\x83\x58\x83\x67",  // katakana with trail bytes 'e', 'L', 'X', 'g'
    "\x83\x65\x83\x4C\x83\x58\x83\x67\x81\x5B",
    "\x8A\xBF\x8E\x9A", "\x93\xFA\x96\x7B\x8C\xEA", "\x94\x5C\x97\xCD", "\x83\x5C\x83\x74\x83\x67",
    "\x83\x4A\x83\x5E\x83\x4A\x83\x69", "\x82\xD0\x82\xE7\x82\xAA\x82\xC8", "\xC3\xB7\xBD\xC4",
    "\xB1\xB2\xB3\xB4\xB5", "\x97\x5C\x92\xE8", "\x8D\x5C\x91\xA2", "2026", "42", "\x82\xC4\x82\xAB\x82\xB7\x82\xC6",
};
constexpr size_t WordCount = sizeof Words / sizeof Words[0];

struct Lcg {
  uint32_t State = 20261208;
  uint32_t Next(uint32_t Bound) {
    State = State * 1664525u + 1013904223u;
    return (State >> 8) % Bound;
  }
};

}  // namespace

std::string MakeText(size_t TotalBytes) {
  Lcg R;
  std::string Out;
  Out.reserve(TotalBytes + 256);
  while (Out.size() < TotalBytes) {
    const size_t Target = 40 + R.Next(161);
    std::string Line;
    while (Line.size() < Target) {
      if (!Line.empty()) Line += ' ';
      Line += Words[R.Next(WordCount)];
    }
    Out += Line;
    Out += "\r\n";
  }
  return Out;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> Lines;
  size_t From = 0;
  while (From < Text.size()) {
    size_t To = Text.find("\r\n", From);
    if (To == std::string::npos) To = Text.size();
    Lines.push_back(Text.substr(From, To - From));
    From = To + 2;
  }
  return Lines;
}

}  // namespace tesvarin::bench
