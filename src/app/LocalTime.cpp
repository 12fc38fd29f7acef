#include "app/LocalTime.h"

#include <cstdio>
#include <ctime>

namespace tesvarin {

int64_t LocalMidnight(int Year, int Month, int Day) {
  struct tm Tm {};
  Tm.tm_year = Year - 1900;
  Tm.tm_mon = Month - 1;
  Tm.tm_mday = Day;
  Tm.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&Tm));
}

std::string FormatLocalTime(int64_t Seconds) {
  time_t T = static_cast<time_t>(Seconds);
  struct tm Tm {};
  if (localtime_r(&T, &Tm) == nullptr) return {};
  char Buffer[64];
  std::snprintf(Buffer, sizeof Buffer, "%04d/%02d/%02d %02d:%02d:%02d", Tm.tm_year + 1900, Tm.tm_mon + 1, Tm.tm_mday,
                Tm.tm_hour, Tm.tm_min, Tm.tm_sec);
  return Buffer;
}

int LocalSecond(int64_t Seconds) {
  time_t T = static_cast<time_t>(Seconds);
  struct tm Tm {};
  if (localtime_r(&T, &Tm) == nullptr) return 0;
  return Tm.tm_sec;
}

}  // namespace tesvarin
