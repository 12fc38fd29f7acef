#include "support/SjisCodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "support/Exception.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {

constexpr std::string_view UndecodableMark = "\xE3\x80\x93";  // U+3013

// One iconv descriptor per conversion call: calls are rare (user input, clipboard, display).
class TIconv {
public:
  TIconv(const char* To, const char* From) : FHandle(iconv_open(To, From)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1)) throw EConvertError("文字コード変換を準備できません");
  }
  ~TIconv() { iconv_close(FHandle); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  // Converts as far as possible; Stop is the offset where conversion failed, or the input size.
  size_t Convert(std::string_view In, std::string& Out) {
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    char* InPtr = const_cast<char*>(In.data());
    size_t InLeft = In.size();
    char Buffer[4096];
    while (InLeft > 0) {
      char* OutPtr = Buffer;
      size_t OutLeft = sizeof Buffer;
      size_t R = iconv(FHandle, &InPtr, &InLeft, &OutPtr, &OutLeft);
      Out.append(Buffer, static_cast<size_t>(OutPtr - Buffer));
      if (R == static_cast<size_t>(-1) && errno != E2BIG) break;
    }
    return In.size() - InLeft;
  }

private:
  iconv_t FHandle;
};

TConvertResult ConvertStrict(const char* To, const char* From, std::string_view In) {
  TIconv Cd(To, From);
  TConvertResult R;
  R.Text.reserve(In.size() * 3 / 2);
  size_t Done = Cd.Convert(In, R.Text);
  if (Done < In.size()) {
    R.Ok = false;
    R.ErrorOffset = Done;
  }
  return R;
}

std::string HexBytes(std::string_view In, size_t At, size_t Count) {
  std::string Out;
  for (size_t I = At; I < In.size() && I < At + Count; ++I) {
    char Hex[4];
    std::snprintf(Hex, sizeof Hex, "%02X", static_cast<unsigned char>(In[I]));
    if (!Out.empty()) Out += ' ';
    Out += Hex;
  }
  return Out;
}

size_t Utf8SequenceLength(unsigned char Lead) {
  if (Lead < 0x80) return 1;
  if (Lead >= 0xF0) return 4;
  if (Lead >= 0xE0) return 3;
  if (Lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

TConvertResult TryUtf8ToCp932(std::string_view Utf8) { return ConvertStrict("CP932", "UTF-8", Utf8); }

TConvertResult TryCp932ToUtf8(std::string_view Sjis) { return ConvertStrict("UTF-8", "CP932", Sjis); }

std::string Utf8ToCp932(std::string_view Utf8) {
  TConvertResult R = TryUtf8ToCp932(Utf8);
  if (!R.Ok) {
    size_t Len = Utf8SequenceLength(static_cast<unsigned char>(Utf8[R.ErrorOffset]));
    std::string Bad(Utf8.substr(R.ErrorOffset, Len));
    throw EConvertError("文字「" + Bad + "」はシフトJISで表せません");
  }
  return std::move(R.Text);
}

std::string Cp932ToUtf8(std::string_view Sjis) {
  TConvertResult R = TryCp932ToUtf8(Sjis);
  if (!R.Ok) throw EConvertError("シフトJISとして読めないバイトがあります: " + HexBytes(Sjis, R.ErrorOffset, 2));
  return std::move(R.Text);
}

std::string Cp932ToUtf8Lossy(std::string_view Sjis) {
  std::string Out;
  TIconv Cd("UTF-8", "CP932");
  while (!Sjis.empty()) {
    size_t Done = Cd.Convert(Sjis, Out);
    if (Done >= Sjis.size()) break;
    const size_t Len = CharLength(Sjis, Done);
    Out += Len == 2 ? UndecodableMark : "\xEF\xBF\xBD";
    Sjis.remove_prefix(Done + Len);
  }
  return Out;
}

std::optional<std::string> Cp932CharForDisplay(std::string_view Char) {
  TConvertResult R = TryCp932ToUtf8(Char);
  if (R.Ok) return std::move(R.Text);
  if (Char.size() == 2) return std::string(UndecodableMark);
  return std::nullopt;
}

}  // namespace tesvarin
