// Character reading of the expression language.
#include "regexp/REChars.h"

#include <cstring>

#include "support/Sjis.h"

namespace tesvarin {

namespace {
constexpr const char MetaChars[] = "^(|)+*?.[]$\\";
}

uint16_t GetChar(std::string_view S, int& Pos) {
  const int Len = static_cast<int>(S.size());
  if (Pos < 1 || Pos > Len) return 0;
  const auto B = static_cast<unsigned char>(S[Pos - 1]);
  if (!IsLeadByte(B)) {
    ++Pos;
    return B;
  }
  if (Pos == Len) throw ERegExpParser(remsg::BadDoubleByte, Pos);
  const auto T = static_cast<unsigned char>(S[Pos]);
  Pos += 2;
  return static_cast<uint16_t>(B << 8 | T);
}

void UngetChar(std::string_view S, int& Pos) {
  if (Pos <= 1) return;
  if (Pos == 2) {
    Pos = 1;
    return;
  }
  // Bytes before Pos-1 with lead-byte values: an odd run means S[Pos-2] is a trail byte.
  int Run = 0;
  for (int I = Pos - 3; I >= 0 && IsLeadByte(S[static_cast<size_t>(I)]); --I) ++Run;
  Pos -= (Run % 2 == 1) ? 2 : 1;
}

int HexValue(uint16_t Code) {
  if (Code >= '0' && Code <= '9') return Code - '0';
  if (Code >= 'A' && Code <= 'F') return Code - 'A' + 10;
  if (Code >= 'a' && Code <= 'f') return Code - 'a' + 10;
  return -1;
}

int OctValue(uint16_t Code) { return (Code >= '0' && Code <= '7') ? Code - '0' : -1; }

uint16_t ReadHexCode(std::string_view S, int& Pos) {
  uint16_t Value = 0;
  int Digits = 0;
  while (Digits < 4) {
    const uint16_t C = GetChar(S, Pos);
    const int D = HexValue(C);
    if (D < 0) {
      if (C != 0) UngetChar(S, Pos);
      break;
    }
    Value = static_cast<uint16_t>(Value * 16 + D);
    ++Digits;
  }
  if (Digits == 0) throw ERegExpParser(remsg::BadHexCode, Pos);
  return Value;
}

uint16_t ReadOctCode(std::string_view S, int& Pos) {
  uint32_t Value = 0;
  int Digits = 0;
  while (Digits < 6) {
    const uint16_t C = GetChar(S, Pos);
    const int D = OctValue(C);
    if (D < 0) {
      if (C != 0) UngetChar(S, Pos);
      break;
    }
    if (Value * 8 + static_cast<uint32_t>(D) > 0xFFFF) throw ERegExpParser(remsg::BadOctCode, Pos);
    Value = Value * 8 + static_cast<uint32_t>(D);
    ++Digits;
  }
  if (Digits == 0) throw ERegExpParser(remsg::BadOctCode, Pos);
  return static_cast<uint16_t>(Value);
}

uint16_t ReadEscape(std::string_view S, int& Pos) {
  const uint16_t C = GetChar(S, Pos);
  switch (C) {
    case 0: throw ERegExpParser(remsg::NeedCharAfterBackslash, Pos);
    case 'b': return 8;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'x': return ReadHexCode(S, Pos);
    default: break;
  }
  if (C >= '0' && C <= '7') {
    UngetChar(S, Pos);
    return ReadOctCode(S, Pos);
  }
  return C;
}

std::string CodeToStr(uint16_t Code) {
  const auto High = static_cast<char>(Code >> 8);
  const auto Low = static_cast<char>(Code & 0xFF);
  if (IsLeadByte(High)) return std::string{High, Low};
  return std::string(1, Low);
}

bool IsMetaChar(uint16_t Code) { return Code != 0 && Code < 0x80 && std::strchr(MetaChars, Code) != nullptr; }

std::string EscapeMetaChars(std::string_view S) {
  std::string Out;
  int Pos = 1;
  while (Pos <= static_cast<int>(S.size())) {
    const uint16_t C = GetChar(S, Pos);
    if (IsMetaChar(C)) Out += '\\';
    Out += CodeToStr(C);
  }
  return Out;
}

}  // namespace tesvarin
