#include "app/IniText.h"

#include <algorithm>
#include <optional>

#include "app/IniFile.h"

namespace tesvarin {

namespace {

bool SameName(std::string_view A, std::string_view B) {
  A = TrimIniBlanks(A);
  B = TrimIniBlanks(B);
  auto Lower = [](char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; };
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(), [&](char X, char Y) { return Lower(X) == Lower(Y); });
}

// The section a "[Name]" line opens; nullopt for any other line.
std::optional<std::string_view> SectionOf(std::string_view Line) {
  Line = TrimIniBlanks(Line);
  if (Line.empty() || Line.front() != '[') return std::nullopt;
  size_t Close = Line.find(']');
  return Line.substr(1, Close == std::string_view::npos ? std::string_view::npos : Close - 1);
}

// The key of a "Key=Value" line; nullopt for comments, blank lines and lines without "=".
std::optional<std::string_view> KeyOf(std::string_view Line) {
  std::string_view T = TrimIniBlanks(Line);
  if (T.empty() || T.front() == ';' || T.front() == '[') return std::nullopt;
  size_t Eq = Line.find('=');
  if (Eq == std::string_view::npos) return std::nullopt;
  return Line.substr(0, Eq);
}

}  // namespace

TIniText::TIniText(std::string_view Text) {
  if (Text.find("\r\n") != std::string_view::npos) FBreak = "\r\n";
  size_t Start = 0;
  while (Start < Text.size()) {
    size_t End = Text.find_first_of("\r\n", Start);
    if (End == std::string_view::npos) End = Text.size();
    FLines.emplace_back(Text.substr(Start, End - Start));
    if (End < Text.size() && Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n') ++End;
    Start = End + 1;
  }
}

void TIniText::SetValue(std::string_view Section, std::string_view Key, std::string_view Value) {
  std::string Clean(Value);
  std::replace_if(Clean.begin(), Clean.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
  bool InSection = false;
  std::optional<size_t> InsertAt;  // after the last entry of the section's first block
  bool FirstBlockDone = false;
  for (size_t I = 0; I < FLines.size(); ++I) {
    if (auto S = SectionOf(FLines[I])) {
      if (InSection) FirstBlockDone = true;
      InSection = SameName(*S, Section);
      if (InSection && !FirstBlockDone && !InsertAt) InsertAt = I + 1;
      continue;
    }
    if (!InSection) continue;
    auto K = KeyOf(FLines[I]);
    if (K && SameName(*K, Key)) {
      FLines[I] = std::string(TrimIniBlanks(*K)) + "=" + Clean;
      return;
    }
    if (!FirstBlockDone && !TrimIniBlanks(FLines[I]).empty()) InsertAt = I + 1;
  }
  std::string Line = std::string(Key) + "=" + Clean;
  if (InsertAt) {
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(*InsertAt), std::move(Line));
    return;
  }
  if (!FLines.empty() && !TrimIniBlanks(FLines.back()).empty()) FLines.emplace_back();
  FLines.push_back("[" + std::string(Section) + "]");
  FLines.push_back(std::move(Line));
}

std::string TIniText::Text() const {
  std::string Out;
  for (const std::string& L : FLines) {
    Out += L;
    Out += FBreak;
  }
  return Out;
}

}  // namespace tesvarin
