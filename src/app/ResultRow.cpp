#include "app/ResultRow.h"

#include "app/LocalTime.h"
#include "editor/chars/CharArr.h"

namespace tesvarin {

std::string FormatKilobytes(uint64_t Size) {
  // 64-bit arithmetic: files of 4 GiB and more keep their real size instead of wrapping.
  return std::to_string((Size + 1023) / 1024) + "KB";
}

std::string FormatWriteTime(int64_t Seconds) {
  // Directory-entry dates keep even seconds; local time is what the column shows.
  return FormatLocalTime(Seconds - (LocalSecond(Seconds) % 2));
}

std::string FormatCreationTime(std::optional<int64_t> Seconds) {
  // Once: mktime looks at the zone file again on every call, a path lookup per listed row.
  static const int64_t Earliest = LocalMidnight(1980, 1, 2);
  if (!Seconds || *Seconds < Earliest) return {};
  return FormatLocalTime(*Seconds);
}

std::string AttributeLetters(bool ReadOnly, bool Hidden) {
  std::string Letters;
  if (ReadOnly) Letters += 'R';
  if (Hidden) Letters += 'H';
  return Letters;
}

bool IsHiddenName(std::string_view Name) { return Name.size() > 1 && Name[0] == '.' && Name != ".."; }

std::string LowerExtension(std::string_view Name) {
  size_t Dot = Name.rfind('.');
  if (Dot == std::string_view::npos) return {};
  std::string Ext(Name.substr(Dot));
  for (char& C : Ext) {
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C + 32);
  }
  return Ext;
}

bool HasNonTextExtension(std::string_view Name) {
  std::string Ext = LowerExtension(Name);
  if (Ext.empty()) return false;
  return std::string_view(NonTextExtensions).find(Ext) != std::string_view::npos ||
         Ext.find(".~") != std::string::npos;
}

bool IsBinaryProbe(std::string_view FirstBytes) {
  int Count = 0;
  for (char C : FirstBytes.substr(0, NonTextProbeSize)) {
    if (IsBinaryByte(static_cast<unsigned char>(C)) && ++Count > 2) return true;
  }
  return false;
}

}  // namespace tesvarin
