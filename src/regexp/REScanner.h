// The scanner that turns an expression into tokens, outside and inside character classes.
#pragma once

#include <cstdint>
#include <string>

#include "support/Object.h"

namespace tesvarin {

enum TREToken_Kind : uint8_t {
  retk_Char,
  retk_Range,
  retk_Union,
  retk_LPar,
  retk_RPar,
  retk_Star,
  retk_Plus,
  retk_QMark,
  retk_LBra,
  retk_LBraNeg,
  retk_RBra,
  retk_Dot,
  retk_LHead,
  retk_LTail,
  retk_End
};

[[nodiscard]] const char* TokenKindName(TREToken_Kind Kind);

class TREScanner : public TObject {
public:
  explicit TREScanner(std::string Text = {}) { SetText(std::move(Text)); }

  void SetText(std::string S);
  virtual TREToken_Kind ScanOuter();
  virtual TREToken_Kind ScanInClass();
  TREToken_Kind GetToken();

  [[nodiscard]] const std::string& Text() const { return FText; }
  [[nodiscard]] int Position() const { return FPosition; }
  [[nodiscard]] TREToken_Kind Token() const { return FToken; }
  [[nodiscard]] uint16_t Code() const { return FCode; }
  [[nodiscard]] uint16_t CodeHigh() const { return FCodeHigh; }
  [[nodiscard]] bool InClass() const { return FInClass; }

private:
  TREToken_Kind Give(TREToken_Kind Kind, uint16_t Code, uint16_t CodeHigh = 0);
  [[noreturn]] void RaiseBracket() const;

  std::string FText;
  int FPosition = 1;
  TREToken_Kind FToken = retk_End;
  uint16_t FCode = 0;
  uint16_t FCodeHigh = 0;
  bool FInClass = false;
};

}  // namespace tesvarin
