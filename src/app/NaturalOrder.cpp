#include "app/NaturalOrder.h"

#include <algorithm>
#include <cstring>

namespace tesvarin {

namespace {

// Marks in a key. The text of a token never holds a NUL, so at any place where two keys first differ
// both stand at the same kind of boundary, and the lower mark sorts first: a folder's end before
// one more part, a part's end before more text, digits before letters.
constexpr char FolderEnd = '\x00';
constexpr char PartEnd = '\x01';
constexpr char DigitRun = '\x02';
constexpr char TextRun = '\x03';
constexpr char TextEnd = '\x00';

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// The value of a digit run: its length without leading zeros first, then those digits, so a longer
// number sorts after a shorter one.
void AppendNumber(std::string_view Digits, std::string& Key) {
  const size_t First = std::min(Digits.find_first_not_of('0'), Digits.size());
  const std::string_view Significant = Digits.substr(First);
  const size_t Length = std::min<size_t>(Significant.size(), 0xFFFF);
  Key += DigitRun;
  Key += static_cast<char>(Length >> 8);
  Key += static_cast<char>(Length & 0xFF);
  Key.append(Significant.substr(0, Length));
}

}  // namespace

std::string LocaleCollationKey(std::string_view Text) {
  const std::string In(Text.substr(0, Text.find('\0')));
  std::string Out(In.size() * 2 + 16, '\0');
  size_t N = std::strxfrm(Out.data(), In.c_str(), Out.size());
  if (N >= Out.size()) {
    Out.assign(N + 1, '\0');
    N = std::strxfrm(Out.data(), In.c_str(), Out.size());
  }
  // A text the locale cannot collate sorts by its bytes.
  if (N >= Out.size()) return In;
  Out.resize(N);
  return Out;
}

void TNaturalOrder::AppendName(std::string_view Name, std::string& Key) const {
  size_t I = 0;
  while (I < Name.size()) {
    const bool Digits = IsDigit(Name[I]);
    size_t End = I;
    while (End < Name.size() && IsDigit(Name[End]) == Digits) ++End;
    const std::string_view Run = Name.substr(I, End - I);
    if (Digits) {
      AppendNumber(Run, Key);
    } else {
      // A run that digits follow is collated with a digit after it, so that what stands there in
      // another name ("file.txt" against "file2.txt") sorts against a digit as the locale says.
      Key += TextRun;
      Key += End < Name.size() ? FCollate(std::string(Run) + '0') : FCollate(Run);
      Key += TextEnd;
    }
    I = End;
  }
}

std::string TNaturalOrder::NameKey(std::string_view Name) const {
  std::string Key;
  AppendName(Name, Key);
  return Key;
}

std::string TNaturalOrder::FolderKey(std::string_view Folder) const {
  std::string Key;
  size_t I = 0;
  while (I <= Folder.size()) {
    const size_t Slash = std::min(Folder.find('/', I), Folder.size());
    if (Slash > I) {
      AppendName(Folder.substr(I, Slash - I), Key);
      Key += PartEnd;
    }
    I = Slash + 1;
  }
  Key += FolderEnd;
  return Key;
}

std::string TNaturalOrder::PathKey(std::string_view Folder, std::string_view Name) {
  if (!FHasLastFolder || Folder != FLastFolder) {
    FLastFolder = Folder;
    FLastFolderKey = FolderKey(Folder);
    FHasLastFolder = true;
  }
  std::string Key = FLastFolderKey;
  AppendName(Name, Key);
  return Key;
}

}  // namespace tesvarin
