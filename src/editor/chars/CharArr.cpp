#include "editor/chars/CharArr.h"

#include <array>

namespace tesvarin {

namespace {

struct TClassRange {
  unsigned char Lo;
  unsigned char Hi;
  TCharClasses Flags;
};

constexpr TCharClasses Ctl = ccControl | ccShortNameStop | ccNameStop;
constexpr TCharClasses NameStopSym = ccSymbol | ccShortNameStop | ccNameStop;
constexpr TCharClasses ShortStopSym = ccSymbol | ccShortNameStop;

constexpr TClassRange ClassRanges[] = {
    {0x00, 0x08, Ctl},
    {0x09, 0x0D, Ctl | ccSpace},
    {0x0E, 0x1F, Ctl},
    {0x20, 0x20, ccSpace | ccShortNameStop},
    {0x21, 0x21, ccSymbol},
    {0x22, 0x22, NameStopSym},
    {0x23, 0x29, ccSymbol},
    {0x2A, 0x2A, NameStopSym},
    {0x2B, 0x2C, ShortStopSym},
    {0x2D, 0x2D, ccSymbol},
    {0x2E, 0x2F, NameStopSym},
    {0x30, 0x39, ccDigit | ccHexDigit},
    {0x3A, 0x3A, NameStopSym},
    {0x3B, 0x3B, ShortStopSym},
    {0x3C, 0x3C, NameStopSym},
    {0x3D, 0x3D, ShortStopSym},
    {0x3E, 0x3F, NameStopSym},
    {0x40, 0x40, ccSymbol | ccHigh},
    {0x41, 0x46, ccHexDigit | ccLetter | ccHigh},
    {0x47, 0x5A, ccLetter | ccHigh},
    {0x5B, 0x5B, ShortStopSym | ccHigh},
    {0x5C, 0x5C, ccSymbol | ccHigh},
    {0x5D, 0x5D, ShortStopSym | ccHigh},
    {0x5E, 0x60, ccSymbol | ccHigh},
    {0x61, 0x66, ccHexDigit | ccLetter | ccHigh},
    {0x67, 0x7A, ccLetter | ccHigh},
    {0x7B, 0x7B, ccSymbol},
    {0x7C, 0x7C, NameStopSym},
    {0x7D, 0x7E, ccSymbol},
    {0x7F, 0x7F, ccControl},
    {0x80, 0x80, ccHigh},
    {0x81, 0x9F, ccLeadByte | ccHigh},
    {0xA0, 0xA0, ccHigh},
    {0xA1, 0xDF, ccHigh | ccKana},
    {0xE0, 0xFC, ccLeadByte | ccHigh},
    {0xFD, 0xFF, ccControl},
};

constexpr std::array<TCharClasses, 256> BuildTable() {
  std::array<TCharClasses, 256> Table{};
  for (const TClassRange& R : ClassRanges) {
    for (unsigned B = R.Lo; B <= R.Hi; ++B) Table[B] = R.Flags;
  }
  return Table;
}

}  // namespace

namespace detail {
constinit const std::array<TCharClasses, 256> CharClassTable = BuildTable();
}

}  // namespace tesvarin
