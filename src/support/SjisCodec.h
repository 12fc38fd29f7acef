// Code page 932 <-> UTF-8, used only where text crosses to the desktop (controls, clipboard, display).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tesvarin {

struct TConvertResult {
  std::string Text;
  bool Ok = true;
  size_t ErrorOffset = 0;  // byte offset in the input of the first character that did not convert
};

[[nodiscard]] TConvertResult TryUtf8ToCp932(std::string_view Utf8);
[[nodiscard]] TConvertResult TryCp932ToUtf8(std::string_view Sjis);

// Strict forms: raise EConvertError naming the character that code page 932 (or UTF-8) cannot hold.
[[nodiscard]] std::string Utf8ToCp932(std::string_view Utf8);
[[nodiscard]] std::string Cp932ToUtf8(std::string_view Sjis);

// For display only: bytes that do not decode become U+FFFD, one per byte.
[[nodiscard]] std::string Cp932ToUtf8Lossy(std::string_view Sjis);

}  // namespace tesvarin
