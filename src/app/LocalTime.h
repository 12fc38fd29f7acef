// Local-time conversions for the date filter and the result columns.
#pragma once

#include <cstdint>
#include <string>

namespace tesvarin {

// Seconds since the epoch of local midnight on the given day; days past a month's end roll over.
[[nodiscard]] int64_t LocalMidnight(int Year, int Month, int Day);
// "yyyy/mm/dd hh:nn:ss" in local time; empty when the time cannot be converted.
[[nodiscard]] std::string FormatLocalTime(int64_t Seconds);
// The seconds field of the local time (0 .. 60).
[[nodiscard]] int LocalSecond(int64_t Seconds);

}  // namespace tesvarin
