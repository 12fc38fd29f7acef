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

// For display only: a double-byte code that decodes to nothing (unassigned, or what a character
// outside code page 932 becomes in a file of another encoding) becomes one U+3013, the mark such a
// character is shown with; any other byte that does not decode becomes U+FFFD.
[[nodiscard]] std::string Cp932ToUtf8Lossy(std::string_view Sjis);

// One character (as CharLength counts it) for display: its UTF-8 form, U+3013 for a double-byte code
// without one, and nothing for a single byte without one.
[[nodiscard]] std::optional<std::string> Cp932CharForDisplay(std::string_view Char);

}  // namespace tesvarin
