// The tokenizer every colouring scheme derives from: two 256-entry dispatch tables (by the first byte
// of a token and by the kind of a token continued from the row before), the base scan procedures, and
// the routine that carries brackets and wrap-cut tokens from one display row to the next.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "highlighter/RowState.h"
#include "highlighter/TokenKinds.h"

namespace tesvarin {

class THighlighter;
class THighlighterBracketItem;
class THighlighterColor;

class THighlighterParser : public IRowStateParser {
public:
  using TScanProc = void (THighlighterParser::*)();
  using TProcTable = std::array<TScanProc, 256>;
  // The row store keeps a continuation length in one byte.
  static constexpr int MaxWrappedBytes = 255;

  // Raises EHighlighterError when Highlighter is null.
  explicit THighlighterParser(const THighlighter* Highlighter);
  THighlighterParser(const THighlighterParser&) = delete;
  THighlighterParser& operator=(const THighlighterParser&) = delete;
  ~THighlighterParser() override = default;

  // Copies Text (a NUL inside it ends the row) and the row's start state.
  virtual void SetRowText(std::string_view Text, const TRowAttributeData& Data);
  void UpdateRowState(int Row, const IRowSource& Rows, TRowAttributeData& Data) override;
  // The base rules carry only an open bracket past a line's end: a scheme that keeps its own state
  // across lines must answer false.
  [[nodiscard]] bool ForgetsAtLineEnd() const override;
  virtual TTokenKind NextToken();
  // The colour item of the current token, or null for the editor's defaults.
  [[nodiscard]] virtual const THighlighterColor* TokenColor() = 0;
  [[nodiscard]] virtual bool IsReservedWord();

  [[nodiscard]] TTokenKind TokenKind() const { return FTokenKind; }
  [[nodiscard]] int TokenPos() const { return static_cast<int>(FTokenStart - FRowStart); }
  [[nodiscard]] int TokenLength() const { return static_cast<int>(FCursor - FTokenStart); }
  [[nodiscard]] std::string_view TokenText() const {
    return {FTokenStart, static_cast<size_t>(FCursor - FTokenStart)};
  }
  [[nodiscard]] int BracketIndex() const { return FBracketIndex; }
  [[nodiscard]] int LastBracket() const { return FLastBracket; }
  [[nodiscard]] int ElementState() const { return FElementState; }
  [[nodiscard]] TTokenKind PrevToken() const { return FPrevToken; }
  [[nodiscard]] TTokenKind WrappedKind() const { return FWrappedKind; }
  [[nodiscard]] int WrappedBytes() const { return FWrappedBytes; }
  [[nodiscard]] bool Continued() const { return FContinued; }
  [[nodiscard]] const THighlighter* Highlighter() const { return FHighlighter; }

protected:
  // For the parser that works without a highlighter.
  struct TNoHighlighter {};
  explicit THighlighterParser(TNoHighlighter);

  virtual void FillProcTables();
  virtual void SkipSpaces();
  virtual bool MatchLeftBracket();
  virtual void ScanBracket();
  virtual bool MatchMail();
  virtual void ScanMail();
  virtual bool MatchUrl();
  virtual void ScanUrl();
  virtual void ScanReservedContinuation();
  virtual void ScanNul();
  virtual void ScanTab();
  virtual void ScanLF();
  virtual void ScanCR();
  virtual void ScanComment();
  virtual void ScanHex();
  virtual void ScanNumber();
  virtual void ScanAnk();
  virtual void ScanDbcsSymbol();
  virtual void ScanDbcsRun();
  virtual void ScanKanji();
  virtual void ScanKanaSymbol();
  virtual void ScanKana();
  virtual void ScanSymbol();
  virtual void ScanSingleQuote();
  virtual void ScanDoubleQuote();
  virtual void ContinueWrapped();
  virtual void ScanToken();
  [[nodiscard]] virtual TTokenKind AdjustWrappedKind(TTokenKind Kind);
  [[nodiscard]] virtual bool RescanKinds(TTokenKind Kind) const;
  [[nodiscard]] virtual bool RowEndKinds(TTokenKind Kind) const;

  // Byte helpers shared by the schemes.
  [[nodiscard]] static bool IsEndByte(char C) { return C == '\0' || C == '\n' || C == '\r'; }
  [[nodiscard]] static bool IsDigitByte(char C) { return C >= '0' && C <= '9'; }
  [[nodiscard]] static bool IsHexByte(char C) {
    return IsDigitByte(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
  }
  [[nodiscard]] static bool IsAnkByte(char C);
  // The bytes a mail run is made of.
  [[nodiscard]] static const std::array<bool, 256>& MailByteTable();
  // True when the bytes at P spell S; the NUL that ends the row text never matches.
  [[nodiscard]] static bool MatchAt(const char* P, std::string_view S);
  // Steps over one character; a lead byte takes its trail only when the row goes on after it.
  void AdvanceChar();
  // The quoted-string rule with doubled quotes; the opening quote is consumed unless Continued.
  void ScanQuoted(char Quote, TTokenKind Kind);
  [[nodiscard]] const THighlighterBracketItem* BracketAt(int Index) const;
  [[nodiscard]] unsigned char CurrentByte() const { return static_cast<unsigned char>(*FCursor); }

  TProcTable FCharProcs{};
  TProcTable FWrapProcs{};

  const THighlighter* FHighlighter = nullptr;
  std::string FText;  // the row being scanned, NUL-terminated; reused from row to row
  const char* FRowStart = nullptr;
  const char* FTokenStart = nullptr;
  const char* FCursor = nullptr;
  TTokenKind FTokenKind = ttEnd;
  int FBracketIndex = -1;
  int FLastBracket = -2;
  TTokenKind FWrappedKind = 0;
  int FWrappedBytes = 0;
  bool FContinued = false;
  int FElementState = 0;
  TTokenKind FPrevToken = 0;
  // Carried for schemes that want them; none of this system's schemes reads them.
  uint8_t FRowAttribute = raCrlf;
  uint8_t FPrevRowAttribute = raCrlf;
  int FExtraState = 0;
  std::string FStateText;

private:
  void ScanExponentTail();
  void ScanRunOf(TTokenKind Kind);
  void StartRow(const TRowAttributeData& Data);
};

// The base rules alone, without a highlighter: for finding the word under a position when the colouring
// scheme is not wanted. It is meant to run with BracketIndex -2, though no state makes it consult
// highlighter data.
class TTokenParser : public THighlighterParser {
public:
  TTokenParser() : THighlighterParser(TNoHighlighter{}) {}
  [[nodiscard]] const THighlighterColor* TokenColor() override { return nullptr; }
};

}  // namespace tesvarin
