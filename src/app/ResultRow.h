// The texts of a result row: size, times and attribute letters, and the non-text test of a candidate.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesvarin {

// Kilobytes rounded up, "%dKB": an empty file shows 0KB, 1025 bytes 2KB.
[[nodiscard]] std::string FormatKilobytes(uint64_t Size);
// Local time at the 2-second resolution of directory-entry dates, "yyyy/mm/dd hh:nn:ss".
[[nodiscard]] std::string FormatWriteTime(int64_t Seconds);
// Local time, "yyyy/mm/dd hh:nn:ss"; empty before 1980-01-02 00:00:00 or when unknown.
[[nodiscard]] std::string FormatCreationTime(std::optional<int64_t> Seconds);
// "R" read-only, "H" hidden, in that order.
[[nodiscard]] std::string AttributeLetters(bool ReadOnly, bool Hidden);
// A name beginning with "." (but not "." or "..") is hidden here.
[[nodiscard]] bool IsHiddenName(std::string_view Name);

inline constexpr const char* NonTextExtensions =
    ".gif;.wav;.avi;.fon;.2bp;.bmp;.dll;.exe;.lnk;.dcu;.lzh;.zip;.dfm;.png;.res;.~;.xl;.123;.lwp;.pub;.dpl;";

// The extension of a file name from its last dot, ASCII letters lower-cased; empty without a dot.
[[nodiscard]] std::string LowerExtension(std::string_view Name);
// By extension alone: listed in NonTextExtensions (as a substring) or beginning with "~".
[[nodiscard]] bool HasNonTextExtension(std::string_view Name);
// By the probe: more than 2 control bytes that are not white space.
[[nodiscard]] bool IsBinaryProbe(std::string_view FirstBytes);
inline constexpr size_t NonTextProbeSize = 255;

}  // namespace tesvarin
