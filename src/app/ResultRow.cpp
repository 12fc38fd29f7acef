#include "app/ResultRow.h"

#include <cstdio>
#include <ctime>

#include "editor/CharArr.h"

namespace tesvarin {

namespace {

std::string FormatLocal(int64_t Seconds) {
  time_t T = static_cast<time_t>(Seconds);
  struct tm Tm {};
  if (localtime_r(&T, &Tm) == nullptr) return {};
  char Buffer[64];
  std::snprintf(Buffer, sizeof Buffer, "%04d/%02d/%02d %02d:%02d:%02d", Tm.tm_year + 1900, Tm.tm_mon + 1, Tm.tm_mday,
                Tm.tm_hour, Tm.tm_min, Tm.tm_sec);
  return Buffer;
}

int64_t LocalMidnight(int Year, int Month, int Day) {
  struct tm Tm {};
  Tm.tm_year = Year - 1900;
  Tm.tm_mon = Month - 1;
  Tm.tm_mday = Day;
  Tm.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&Tm));
}

}  // namespace

std::string FormatKilobytes(uint64_t Size) {
  // 64-bit arithmetic: files of 4 GiB and more keep their real size instead of wrapping.
  return std::to_string((Size + 1023) / 1024) + "KB";
}

std::string FormatWriteTime(int64_t Seconds) {
  // Directory-entry dates keep even seconds; local time is what the column shows.
  time_t T = static_cast<time_t>(Seconds);
  struct tm Tm {};
  if (localtime_r(&T, &Tm) == nullptr) return {};
  return FormatLocal(Seconds - (Tm.tm_sec % 2));
}

std::string FormatCreationTime(std::optional<int64_t> Seconds) {
  if (!Seconds || *Seconds < LocalMidnight(1980, 1, 2)) return {};
  return FormatLocal(*Seconds);
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
