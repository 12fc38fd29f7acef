#include "support/EncodingConverter.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>

#include "support/ByteSearch.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {

using TByte = unsigned char;
constexpr uint16_t None = 0xFFFF;  // no character: neither a code point here nor a code page 932 code

// Code page 932 codes: a single byte as itself, a double-byte character as lead * 256 + trail.
bool IsTrail(TByte B) { return B >= 0x40 && B <= 0xFC && B != 0x7F; }

// One character through iconv; None when it does not convert.
class TOneCharIconv {
public:
  TOneCharIconv(const char* To, const char* From) : FHandle(iconv_open(To, From)) {}
  ~TOneCharIconv() {
    if (Ok()) iconv_close(FHandle);
  }
  TOneCharIconv(const TOneCharIconv&) = delete;
  TOneCharIconv& operator=(const TOneCharIconv&) = delete;
  [[nodiscard]] bool Ok() const { return FHandle != reinterpret_cast<iconv_t>(-1); }
  // The converted bytes, empty when In has no form in the target.
  std::string Convert(std::string_view In) {
    if (!Ok()) return {};
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    char Buffer[16];
    char* InPtr = const_cast<char*>(In.data());
    size_t InLeft = In.size();
    char* OutPtr = Buffer;
    size_t OutLeft = sizeof Buffer;
    if (iconv(FHandle, &InPtr, &InLeft, &OutPtr, &OutLeft) == static_cast<size_t>(-1) || InLeft != 0) return {};
    return std::string(Buffer, static_cast<size_t>(OutPtr - Buffer));
  }

private:
  iconv_t FHandle;
};

std::string Utf16Be(uint16_t U) { return {static_cast<char>(U >> 8), static_cast<char>(U & 0xFF)}; }

uint16_t FromUtf16Be(const std::string& S) {
  return S.size() == 2 ? static_cast<uint16_t>(static_cast<TByte>(S[0]) << 8 | static_cast<TByte>(S[1])) : None;
}

std::string CodeBytes(uint16_t Code) {
  return Code < 0x100 ? std::string(1, static_cast<char>(Code))
                      : std::string{static_cast<char>(Code >> 8), static_cast<char>(Code & 0xFF)};
}

uint16_t CodeOf(const std::string& S) {
  if (S.size() == 1) return static_cast<TByte>(S[0]);
  if (S.size() == 2) return static_cast<uint16_t>(static_cast<TByte>(S[0]) << 8 | static_cast<TByte>(S[1]));
  return None;
}

// JIS X 0208 row and cell (0x21..0x7E each) of a Shift-JIS double-byte code, and back. Rows 1-84
// take the leads 0x81-0x9F and 0xE0-0xEA; EUC-JP holds them as row | 0x80, cell | 0x80. Its rows
// 85-94 are user-defined, and the extensions of leads ED-FC go through their characters.
uint16_t SjisToJis(TByte S1, TByte S2) {
  int Lead = S1 >= 0xE0 ? S1 - 0x40 : S1;
  int J1 = (Lead - 0x81) * 2 + 0x21;
  int J2;
  if (S2 >= 0x9F) {
    ++J1;
    J2 = S2 - 0x7E;
  } else {
    J2 = S2 - (S2 >= 0x80 ? 0x20 : 0x1F);
  }
  return static_cast<uint16_t>(J1 << 8 | J2);
}

uint16_t JisToSjis(TByte J1, TByte J2) {
  const int S1 = ((J1 + 1) >> 1) + (J1 <= 0x5E ? 0x70 : 0xB0);
  const int S2 = J2 + ((J1 & 1) != 0 ? (J2 <= 0x5F ? 0x1F : 0x20) : 0x7E);
  return static_cast<uint16_t>(S1 << 8 | S2);
}

// The tables, built once from the C library's converters the first time a file needs them.
struct TTables {
  std::array<uint16_t, 0x10000> ToUnicode;    // by code page 932 code
  std::array<uint16_t, 0x10000> FromUnicode;  // by BMP code point: code page 932 code (best fit)
  std::array<uint16_t, 94 * 94> FromEuc3;     // EUC-JP 0x8F row cell -> code page 932 code
  std::array<uint16_t, 10 * 94> FromEucUser;  // EUC-JP rows 0xF5-0xFE (user-defined) -> code
  // Code page 932 code with lead ED-FC (extensions and user-defined) -> its EUC-JP bytes, 2 (rows
  // F5-FE, or a JIS duplicate) or 3 (0x8F and two more), packed big-endian; 0: none.
  std::array<uint32_t, 0x10000> ToEucHigh;
  // How many characters of each encoding become each code page 932 code (at most 2 counted).
  std::array<uint8_t, 0x10000> UnicodeForms;
  std::array<uint8_t, 0x10000> EucForms;

  TTables() {
    ToUnicode.fill(None);
    FromUnicode.fill(None);
    FromEuc3.fill(None);
    FromEucUser.fill(None);
    ToEucHigh.fill(0);
    UnicodeForms.fill(0);
    EucForms.fill(0);
    TOneCharIconv Dec("UTF-16BE", "CP932"), Enc("CP932", "UTF-16BE");
    for (unsigned B = 0; B < 0x100; ++B) {
      if (B < 0x80 || (B >= 0xA1 && B <= 0xDF)) ToUnicode[B] = FromUtf16Be(Dec.Convert(CodeBytes(static_cast<uint16_t>(B))));
    }
    for (unsigned L = 0x81; L <= 0xFC; ++L) {
      if (!IsLeadByte(static_cast<TByte>(L))) continue;
      for (unsigned T = 0x40; T <= 0xFC; ++T) {
        if (!IsTrail(static_cast<TByte>(T))) continue;
        const auto Code = static_cast<uint16_t>(L << 8 | T);
        ToUnicode[Code] = FromUtf16Be(Dec.Convert(CodeBytes(Code)));
      }
    }
    // Windows' choice among duplicates and its best fits (U+301C -> 0x8160) come from the converter.
    for (unsigned U = 0; U < 0x10000; ++U) {
      if (U >= 0xD800 && U <= 0xDFFF) continue;
      FromUnicode[U] = CodeOf(Enc.Convert(Utf16Be(static_cast<uint16_t>(U))));
      if (FromUnicode[U] != None) Count(UnicodeForms, FromUnicode[U]);
    }
    TOneCharIconv EucDec("UTF-16BE", "EUC-JP-MS"), EucEnc("EUC-JP-MS", "UTF-16BE");
    for (unsigned R = 0; R < 94; ++R) {
      for (unsigned C = 0; C < 94; ++C) {
        const std::string Euc{'\x8F', static_cast<char>(0xA1 + R), static_cast<char>(0xA1 + C)};
        const uint16_t U = FromUtf16Be(EucDec.Convert(Euc));
        if (U != None) FromEuc3[R * 94 + C] = FromUnicode[U];
        if (FromEuc3[R * 94 + C] != None) Count(EucForms, FromEuc3[R * 94 + C]);
        if (R < 10) {
          const std::string User{static_cast<char>(0xF5 + R), static_cast<char>(0xA1 + C)};
          const uint16_t UserU = FromUtf16Be(EucDec.Convert(User));
          if (UserU != None) FromEucUser[R * 94 + C] = FromUnicode[UserU];
          if (FromEucUser[R * 94 + C] != None) Count(EucForms, FromEucUser[R * 94 + C]);
        }
      }
    }
    for (unsigned Code = 0; Code < 0x10000; ++Code) {
      const bool Single = Code < 0x80 || (Code >= 0xA1 && Code <= 0xDF);
      const bool Jis = Code >= 0x100 && IsLeadByte(static_cast<TByte>(Code >> 8)) && (Code >> 8) <= 0xEF &&
                       IsTrail(static_cast<TByte>(Code & 0xFF));
      if (Single || (Jis && (Code >> 8) < 0xEB)) Count(EucForms, static_cast<uint16_t>(Code));
    }
    for (unsigned L = 0xED; L <= 0xFC; ++L) {
      for (unsigned T = 0x40; T <= 0xFC; ++T) {
        const auto Code = static_cast<uint16_t>(L << 8 | T);
        if (!IsTrail(static_cast<TByte>(T)) || ToUnicode[Code] == None) continue;
        const std::string Euc = EucEnc.Convert(Utf16Be(ToUnicode[Code]));
        if (Euc.size() == 2 || (Euc.size() == 3 && Euc[0] == '\x8F')) {
          uint32_t Packed = 0;
          for (char B : Euc) Packed = Packed << 8 | static_cast<TByte>(B);
          ToEucHigh[Code] = Packed;
        }
      }
    }
  }
  static void Count(std::array<uint8_t, 0x10000>& Forms, uint16_t Code);
};

void TTables::Count(std::array<uint8_t, 0x10000>& Forms, uint16_t Code) {
  if (Forms[Code] < 2) ++Forms[Code];
}

const TTables& Tables() {
  static const std::unique_ptr<TTables> Built = std::make_unique<TTables>();
  return *Built;
}

// One character of a source encoding: where it starts, how long it is, its code page 932 code
// (None: none) and whether that code converts back to the same bytes.
struct TChar {
  size_t Len;
  uint16_t Code;
  bool Exact;
};

uint16_t CodeOfCodePoint(const TTables& T, uint32_t U) { return U < 0x10000 ? T.FromUnicode[U] : None; }

TChar WithCodePoint(const TTables& T, size_t Len, uint32_t U) {
  const uint16_t Code = CodeOfCodePoint(T, U);
  return {Len, Code, Code != None && T.ToUnicode[Code] == U};
}

TChar Utf8Char(const TTables& T, const char* P, const char* End) {
  const auto B = static_cast<TByte>(*P);
  int Len = B >= 0xF0 ? 4 : B >= 0xE0 ? 3 : B >= 0xC2 ? 2 : 0;
  if (Len == 0 || End - P < Len) return {1, None, false};
  uint32_t U = B & (0x7F >> Len);
  for (int I = 1; I < Len; ++I) {
    const auto C = static_cast<TByte>(P[I]);
    if ((C & 0xC0) != 0x80) return {1, None, false};
    U = U << 6 | (C & 0x3F);
  }
  const uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (U < Least[Len] || U > 0x10FFFF || (U >= 0xD800 && U <= 0xDFFF)) return {1, None, false};
  return WithCodePoint(T, static_cast<size_t>(Len), U);
}

TChar EucChar(const TTables& T, const char* P, const char* End) {
  const auto B = static_cast<TByte>(*P);
  auto Byte = [&](ptrdiff_t I) { return I < End - P ? static_cast<TByte>(P[I]) : TByte{0}; };
  auto Cell = [](TByte C) { return C >= 0xA1 && C <= 0xFE; };
  if (B == 0x8E) {
    if (Byte(1) >= 0xA1 && Byte(1) <= 0xDF) return {2, Byte(1), true};
    return {1, None, false};
  }
  if (B == 0x8F) {
    if (!Cell(Byte(1)) || !Cell(Byte(2))) return {1, None, false};
    const uint16_t Code = T.FromEuc3[(Byte(1) - 0xA1) * 94 + (Byte(2) - 0xA1)];
    const bool Exact = Code != None && T.ToEucHigh[Code] == static_cast<uint32_t>(0x8F0000 | Byte(1) << 8 | Byte(2));
    return {3, Code, Exact};
  }
  if (Cell(B) && Cell(Byte(1)) && B >= 0xF5) {
    const uint16_t Code = T.FromEucUser[(B - 0xF5) * 94 + (Byte(1) - 0xA1)];
    return {2, Code, Code != None && T.ToEucHigh[Code] == static_cast<uint32_t>(B << 8 | Byte(1))};
  }
  if (Cell(B) && Cell(Byte(1))) return {2, JisToSjis(B & 0x7F, Byte(1) & 0x7F), true};
  return {1, None, false};
}

TChar Utf16Char(const TTables& T, const char* P, const char* End, bool Le) {
  auto Unit = [Le](const char* Q) {
    const auto A = static_cast<TByte>(Q[0]), B = static_cast<TByte>(Q[1]);
    return static_cast<uint32_t>(Le ? (B << 8 | A) : (A << 8 | B));
  };
  if (End - P < 2) return {static_cast<size_t>(End - P), None, false};
  const uint32_t U = Unit(P);
  if (U >= 0xD800 && U <= 0xDBFF && End - P >= 4 && Unit(P + 2) >= 0xDC00 && Unit(P + 2) <= 0xDFFF) {
    return {4, None, false};  // outside the BMP, so outside code page 932
  }
  if (U >= 0xD800 && U <= 0xDFFF) return {2, None, false};
  return WithCodePoint(T, 2, U);
}

// Calls Emit(SourceOffset, SourceLength, Cp932, Run) for each character, or for a run of bytes that
// stand for themselves (Run). Returns whether the conversion is lossless both ways.
template <class TEmit>
bool Decode(std::string_view Bytes, TTextEncoding Encoding, TEmit&& Emit) {
  const size_t Skip = Bytes.starts_with(ByteOrderMark(Encoding)) ? ByteOrderMark(Encoding).size() : 0;
  const char* const Begin = Bytes.data();
  const char* P = Begin + Skip;
  const char* const End = Begin + Bytes.size();
  if (Encoding == teShiftJis) {
    Emit(Skip, Bytes.size() - Skip, Bytes.substr(Skip), true);
    return true;
  }
  const TTables& T = Tables();
  bool Lossless = true;
  while (P < End) {
    if (!IsUtf16(Encoding)) {
      const char* Ascii = FindByteInRange(P, End, 0x80, 0xFF);
      if (Ascii != P) {
        Emit(static_cast<size_t>(P - Begin), static_cast<size_t>(Ascii - P), std::string_view(P, static_cast<size_t>(Ascii - P)),
             true);
        P = Ascii;
        continue;
      }
    }
    TChar C = Encoding == teEucJp ? EucChar(T, P, End)
              : IsUtf16(Encoding) ? Utf16Char(T, P, End, Encoding == teUtf16Le)
                                  : Utf8Char(T, P, End);
    Lossless = Lossless && C.Exact;
    char Code[2];
    std::string_view Out = UnmatchableCode;
    if (C.Code != None && C.Code < 0x100) {
      Code[0] = static_cast<char>(C.Code);
      Out = std::string_view(Code, 1);
    } else if (C.Code != None) {
      Code[0] = static_cast<char>(C.Code >> 8);
      Code[1] = static_cast<char>(C.Code & 0xFF);
      Out = std::string_view(Code, 2);
    }
    Emit(static_cast<size_t>(P - Begin), C.Len, Out, false);
    P += C.Len;
  }
  return Lossless;
}

void AppendUtf8(uint32_t U, std::string& Out) {
  if (U < 0x80) {
    Out += static_cast<char>(U);
  } else if (U < 0x800) {
    Out += static_cast<char>(0xC0 | U >> 6);
    Out += static_cast<char>(0x80 | (U & 0x3F));
  } else {
    Out += static_cast<char>(0xE0 | U >> 12);
    Out += static_cast<char>(0x80 | ((U >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (U & 0x3F));
  }
}

// Code page 932 code as EUC-JP; false when EUC-JP has no place for it.
bool AppendEuc(const TTables& T, uint16_t Code, std::string& Out) {
  if (Code < 0x80) {
    Out += static_cast<char>(Code);
  } else if (Code >= 0xA1 && Code <= 0xDF) {
    Out += '\x8E';
    Out += static_cast<char>(Code);
  } else if (Code >= 0x100 && (Code >> 8) < 0xED) {
    const uint16_t Jis = SjisToJis(static_cast<TByte>(Code >> 8), static_cast<TByte>(Code & 0xFF));
    Out += static_cast<char>((Jis >> 8) | 0x80);
    Out += static_cast<char>((Jis & 0xFF) | 0x80);
  } else if (Code >= 0x100 && T.ToEucHigh[Code] != 0) {
    const uint32_t Packed = T.ToEucHigh[Code];
    if (Packed > 0xFFFF) Out += static_cast<char>(Packed >> 16);
    Out += static_cast<char>((Packed >> 8) & 0xFF);
    Out += static_cast<char>(Packed & 0xFF);
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ConvertToCp932(std::string_view Bytes, TTextEncoding Encoding, std::string& Out) {
  Out.reserve(Out.size() + Bytes.size());
  return Decode(Bytes, Encoding, [&Out](size_t, size_t, std::string_view Cp932, bool) { Out.append(Cp932); });
}

bool ConvertFromCp932(std::string_view Cp932, TTextEncoding Encoding, std::string& Out, size_t* BadAt) {
  if (Encoding == teShiftJis) {
    Out.append(Cp932);
    return true;
  }
  const TTables& T = Tables();
  for (size_t I = 0; I < Cp932.size();) {
    const auto B = static_cast<TByte>(Cp932[I]);
    const bool Double = IsLeadByte(B) && I + 1 < Cp932.size() && IsTrail(static_cast<TByte>(Cp932[I + 1]));
    const uint16_t Code = Double ? static_cast<uint16_t>(B << 8 | static_cast<TByte>(Cp932[I + 1])) : B;
    const uint16_t U = (IsLeadByte(B) && !Double) ? None : T.ToUnicode[Code];
    bool Ok = U != None;
    if (Ok && Encoding == teEucJp) {
      Ok = AppendEuc(T, Code, Out);
    } else if (Ok && IsUtf16(Encoding)) {
      Out += Encoding == teUtf16Le ? static_cast<char>(U & 0xFF) : static_cast<char>(U >> 8);
      Out += Encoding == teUtf16Le ? static_cast<char>(U >> 8) : static_cast<char>(U & 0xFF);
    } else if (Ok) {
      AppendUtf8(U, Out);
    }
    if (!Ok) {
      if (BadAt != nullptr) *BadAt = I;
      return false;
    }
    I += Double ? 2 : 1;
  }
  return true;
}

bool OnlyFormIn(std::string_view Cp932, TTextEncoding Encoding, std::string& Out) {
  if (!ConvertFromCp932(Cp932, Encoding, Out)) return false;
  if (Encoding == teShiftJis) return true;
  const TTables& T = Tables();
  const auto& Forms = Encoding == teEucJp ? T.EucForms : T.UnicodeForms;
  for (size_t I = 0; I < Cp932.size();) {
    const auto B = static_cast<TByte>(Cp932[I]);
    const bool Double = IsLeadByte(B);  // well formed: ConvertFromCp932 took it
    const uint16_t Code = Double ? static_cast<uint16_t>(B << 8 | static_cast<TByte>(Cp932[I + 1])) : B;
    if (Forms[Code] != 1) return false;
    I += Double ? 2 : 1;
  }
  return true;
}

std::vector<size_t> SourceOffsets(std::string_view Bytes, TTextEncoding Encoding, const std::vector<size_t>& Offsets) {
  std::vector<size_t> Result;
  Result.reserve(Offsets.size());
  size_t Converted = 0;  // bytes of code page 932 text before the current piece
  auto Next = Offsets.begin();
  Decode(Bytes, Encoding, [&](size_t Src, size_t, std::string_view Cp932, bool Run) {
    const size_t PieceEnd = Converted + Cp932.size();
    // A run maps byte for byte; a place inside a character maps to its start.
    for (; Next != Offsets.end() && *Next < PieceEnd; ++Next) Result.push_back(Src + (Run ? *Next - Converted : 0));
    Converted = PieceEnd;
  });
  for (; Next != Offsets.end(); ++Next) Result.push_back(Bytes.size());
  return Result;
}

}  // namespace tesvarin
