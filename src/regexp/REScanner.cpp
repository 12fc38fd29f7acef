// The expression scanner.
#include "regexp/REScanner.h"

#include "regexp/REChars.h"

namespace tesvarin {

const char* TokenKindName(TREToken_Kind Kind) {
  static constexpr const char* Names[] = {"retk_Char", "retk_Range", "retk_Union", "retk_LPar", "retk_RPar",
                                          "retk_Star", "retk_Plus", "retk_QMark", "retk_LBra", "retk_LBraNeg",
                                          "retk_RBra", "retk_Dot", "retk_LHead", "retk_LTail", "retk_End"};
  return Kind <= retk_End ? Names[Kind] : "?";
}

void TREScanner::SetText(std::string S) {
  FText = std::move(S);
  FPosition = 1;
  FInClass = false;
}

TREToken_Kind TREScanner::Give(TREToken_Kind Kind, uint16_t Code, uint16_t CodeHigh) {
  FToken = Kind;
  FCode = Code;
  FCodeHigh = CodeHigh;
  return Kind;
}

void TREScanner::RaiseBracket() const { throw ERegExpParser(remsg::NeedRightBracket, FPosition); }

TREToken_Kind TREScanner::ScanOuter() {
  const uint16_t C = GetChar(FText, FPosition);
  switch (C) {
    case 0: return Give(retk_End, C);
    case '$': return Give(retk_LTail, C);
    case '(': return Give(retk_LPar, C);
    case ')': return Give(retk_RPar, C);
    case '*': return Give(retk_Star, C);
    case '+': return Give(retk_Plus, C);
    case '.': return Give(retk_Dot, C);
    case '?': return Give(retk_QMark, C);
    case ']': return Give(retk_RBra, C);
    case '^': return Give(retk_LHead, C);
    case '|': return Give(retk_Union, C);
    case '\\': return Give(retk_Char, ReadEscape(FText, FPosition));
    case '[': {
      const uint16_t N = GetChar(FText, FPosition);
      if (N == 0) RaiseBracket();
      if (N == '^') return Give(retk_LBraNeg, C);
      UngetChar(FText, FPosition);
      return Give(retk_LBra, C);
    }
    default: return Give(retk_Char, C);
  }
}

TREToken_Kind TREScanner::ScanInClass() {
  uint16_t A = GetChar(FText, FPosition);
  if (A == 0) RaiseBracket();
  if (A == ']') return Give(retk_RBra, A);
  if (A == '\\') A = ReadEscape(FText, FPosition);
  const uint16_t B = GetChar(FText, FPosition);
  if (B == 0) RaiseBracket();
  if (B != '-') {
    UngetChar(FText, FPosition);
    return Give(retk_Char, A);
  }
  uint16_t C = GetChar(FText, FPosition);
  if (C == 0) RaiseBracket();
  if (C == ']') {
    UngetChar(FText, FPosition);
    UngetChar(FText, FPosition);
    return Give(retk_Char, A);
  }
  if (C == '\\') C = ReadEscape(FText, FPosition);
  if (C < A) throw ERegExpParser(remsg::BadCharRange, FPosition);
  return Give(retk_Range, A, C);
}

TREToken_Kind TREScanner::GetToken() {
  if (FInClass) {
    const TREToken_Kind K = ScanInClass();
    if (K == retk_RBra) FInClass = false;
    return K;
  }
  const TREToken_Kind K = ScanOuter();
  if (K == retk_LBra || K == retk_LBraNeg) FInClass = true;
  return K;
}

}  // namespace tesvarin
