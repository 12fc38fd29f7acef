#include "app/IniFile.h"

#include <charconv>

#include "support/Exception.h"
#include "support/StringList.h"

namespace tesvarin {

namespace {

std::string KeyOf(std::string_view Section, std::string_view Key) {
  std::string K;
  K.reserve(Section.size() + Key.size() + 1);
  for (char C : TrimIniBlanks(Section)) K += (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C;
  K += '\n';
  for (char C : TrimIniBlanks(Key)) K += (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C;
  return K;
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view S) {
  while (!S.empty() && (S.front() == ' ' || S.front() == '\t')) S.remove_prefix(1);
  while (!S.empty() && (S.back() == ' ' || S.back() == '\t')) S.remove_suffix(1);
  return S;
}

void TIniFile::Merge(const TIniFile& Overlay) {
  for (const auto& [Key, Value] : Overlay.FValues) FValues.insert_or_assign(Key, Value);
}

std::optional<long long> ParseIniInteger(std::string_view Text) {
  Text = TrimIniBlanks(Text);
  bool Negative = false;
  if (!Text.empty() && (Text.front() == '-' || Text.front() == '+')) {
    Negative = Text.front() == '-';
    Text.remove_prefix(1);
  }
  int Base = 10;
  if (Text.size() > 1 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
    Base = 16;
    Text.remove_prefix(2);
  } else if (!Text.empty() && Text[0] == '$') {
    Base = 16;
    Text.remove_prefix(1);
  }
  if (Text.empty()) return std::nullopt;
  unsigned long long Value = 0;
  auto [End, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), Value, Base);
  if (Err != std::errc() || End != Text.data() + Text.size()) return std::nullopt;
  // Colour words such as 0x80000005 exceed a signed 32-bit value; callers narrow them.
  long long Result = static_cast<long long>(Value);
  return Negative ? -Result : Result;
}

TIniFile::TIniFile(const std::string& Path) {
  try {
    Parse(ReadFileBytes(Path));
  } catch (const EInOutError&) {
    // A missing file reads as all defaults.
  }
}

TIniFile TIniFile::FromText(std::string_view Text) {
  TIniFile Ini;
  Ini.Parse(Text);
  return Ini;
}

void TIniFile::Parse(std::string_view Text) {
  TStringList Lines;
  Lines.SetText(Text);
  std::string Section;
  for (const std::string& Raw : Lines.Items()) {
    std::string_view Line = TrimIniBlanks(Raw);
    if (Line.empty() || Line.front() == ';') continue;
    if (Line.front() == '[') {
      size_t Close = Line.find(']');
      Section = std::string(Line.substr(1, Close == std::string_view::npos ? std::string_view::npos : Close - 1));
      continue;
    }
    size_t Eq = Line.find('=');
    if (Eq == std::string_view::npos) continue;
    // The first occurrence of a key wins, as the desktop's INI reader does.
    FValues.emplace(KeyOf(Section, Line.substr(0, Eq)), std::string(TrimIniBlanks(Line.substr(Eq + 1))));
  }
}

std::optional<std::string> TIniFile::Value(std::string_view Section, std::string_view Key) const {
  auto It = FValues.find(KeyOf(Section, Key));
  if (It == FValues.end()) return std::nullopt;
  return It->second;
}

std::string TIniFile::ReadString(std::string_view Section, std::string_view Key, std::string Default) const {
  std::optional<std::string> V = Value(Section, Key);
  return V ? *V : Default;
}

long long TIniFile::ReadInteger(std::string_view Section, std::string_view Key, long long Default) const {
  std::optional<std::string> V = Value(Section, Key);
  if (!V) return Default;
  std::optional<long long> N = ParseIniInteger(*V);
  return N ? *N : Default;
}

bool TIniFile::ReadBool(std::string_view Section, std::string_view Key, bool Default) const {
  return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

}  // namespace tesvarin
