// A read-only INI file: [Section] lines, then Key=Value lines; names compare without regard to case.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tesvarin {

class TIniFile {
public:
  // A missing or unreadable file reads as empty: every key takes its default.
  explicit TIniFile(const std::string& Path);
  // Parses INI text directly.
  static TIniFile FromText(std::string_view Text);

  [[nodiscard]] std::optional<std::string> Value(std::string_view Section, std::string_view Key) const;
  [[nodiscard]] std::string ReadString(std::string_view Section, std::string_view Key, std::string Default) const;
  // Decimal, or hexadecimal after 0x or $; anything else gives Default.
  [[nodiscard]] long long ReadInteger(std::string_view Section, std::string_view Key, long long Default) const;
  // True when the integer reading is not 0.
  [[nodiscard]] bool ReadBool(std::string_view Section, std::string_view Key, bool Default) const;

  // Every key of Overlay replaces or joins this file's: a per-user file read over a shared one.
  void Merge(const TIniFile& Overlay);

private:
  TIniFile() = default;
  void Parse(std::string_view Text);
  std::map<std::string, std::string> FValues;  // "section\nkey", lower-cased -> value
};

// Without the spaces and tabs around it, as names and values are read.
[[nodiscard]] std::string_view TrimIniBlanks(std::string_view S);

// An integer in the INI and registry forms; nullopt when the text is not one.
[[nodiscard]] std::optional<long long> ParseIniInteger(std::string_view Text);

}  // namespace tesvarin
