// Every scan procedure starts at FCursor and leaves FCursor at the end of its token. The row text is
// NUL-terminated and no loop steps over NUL, LF or CR, so no procedure reads past the row's end.
#include "highlighter/HighlighterParser.h"

#include "highlighter/Highlighter.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {

using TByteTable = std::array<bool, 256>;

constexpr TByteTable MakeTable(std::string_view Singles) {
  TByteTable T{};
  for (char C : Singles) T[static_cast<unsigned char>(C)] = true;
  for (int B = '0'; B <= '9'; ++B) T[static_cast<size_t>(B)] = true;
  for (int B = 'A'; B <= 'Z'; ++B) T[static_cast<size_t>(B)] = true;
  for (int B = 'a'; B <= 'z'; ++B) T[static_cast<size_t>(B)] = true;
  return T;
}

constexpr TByteTable MailBytes = MakeTable("!$%&*,-./;=?@^_~");
constexpr TByteTable UrlBytes = MakeTable("#%&+-./:=?_~");
constexpr TByteTable AnkBytes = MakeTable("_");

bool In(unsigned char B, int Lo, int Hi) { return B >= Lo && B <= Hi; }
bool IsKanjiLead(unsigned char B) { return In(B, 0x88, 0x9F) || In(B, 0xE0, 0xFC); }

// Second bytes after 0x82 that are a single double-byte symbol rather than the start of a run.
bool Is82Symbol(unsigned char T) {
  return In(T, 0x40, 0x4E) || In(T, 0x59, 0x5F) || In(T, 0x7A, 0x80) || In(T, 0x9B, 0x9E) || In(T, 0xF2, 0xFF);
}

// Whether the pair (L, T) goes on a run of Kind.
bool ContinuesRun(TTokenKind Kind, unsigned char L, unsigned char T) {
  switch (Kind) {
    case ttDbcsDigits:
      return (L == 0x82 && In(T, 0x4F, 0x58)) || (L == 0x81 && (T == 0x43 || T == 0x44));
    case ttDbcsAlpha:
      return L == 0x82 && (In(T, 0x60, 0x79) || In(T, 0x81, 0x9A));
    case ttHiragana:
      return (L == 0x82 && In(T, 0x9F, 0xF1)) || (L == 0x81 && (T == 0x5B || T == 0x7C));
    case ttKatakana:
      return (L == 0x83 && In(T, 0x40, 0x96)) || (L == 0x81 && (T == 0x5B || T == 0x7C));
    default:
      return false;
  }
}

// The run kind that the pair (L, T) starts, ttDbcsSymbol for a lone symbol, ttEnd for none.
TTokenKind RunKindOf(unsigned char L, unsigned char T) {
  if (L == 0x82) {
    if (In(T, 0x4F, 0x58)) return ttDbcsDigits;
    if (In(T, 0x60, 0x79) || In(T, 0x81, 0x9A)) return ttDbcsAlpha;
    if (In(T, 0x9F, 0xF1)) return ttHiragana;
    if (Is82Symbol(T)) return ttDbcsSymbol;
  } else if (L == 0x83) {
    if (In(T, 0x40, 0x96)) return ttKatakana;
    if (In(T, 0x97, 0xF0)) return ttDbcsSymbol;
  }
  return ttEnd;
}

}  // namespace

THighlighterParser::THighlighterParser(const THighlighter* Highlighter) : FHighlighter(Highlighter) {
  if (Highlighter == nullptr) throw EHighlighterError("THighlighterParser.Create need instance of THighlighter");
  THighlighterParser::FillProcTables();
  StartRow(InitialRowState());
}

THighlighterParser::THighlighterParser(TNoHighlighter) {
  THighlighterParser::FillProcTables();
  StartRow(InitialRowState());
}

void THighlighterParser::FillProcTables() {
  FCharProcs.fill(&THighlighterParser::ScanSymbol);
  FCharProcs[0x00] = &THighlighterParser::ScanNul;
  FCharProcs[0x09] = &THighlighterParser::ScanTab;
  FCharProcs[0x0A] = &THighlighterParser::ScanLF;
  FCharProcs[0x0D] = &THighlighterParser::ScanCR;
  for (int B = 0; B < 256; ++B) {
    const auto U = static_cast<unsigned char>(B);
    TScanProc& P = FCharProcs[U];
    if (IsDigitByte(static_cast<char>(U))) P = &THighlighterParser::ScanNumber;
    else if (AnkBytes[U]) P = &THighlighterParser::ScanAnk;
    else if (U == 0x81 || In(U, 0x84, 0x87)) P = &THighlighterParser::ScanDbcsSymbol;
    else if (U == 0x82 || U == 0x83) P = &THighlighterParser::ScanDbcsRun;
    else if (IsKanjiLead(U)) P = &THighlighterParser::ScanKanji;
    else if (In(U, 0xA1, 0xA5)) P = &THighlighterParser::ScanKanaSymbol;
    else if (In(U, 0xA6, 0xDF)) P = &THighlighterParser::ScanKana;
  }

  FWrapProcs.fill(&THighlighterParser::ScanSymbol);
  FWrapProcs[ttInteger] = &THighlighterParser::ScanNumber;
  FWrapProcs[ttFloat] = &THighlighterParser::ScanNumber;
  FWrapProcs[ttBracket] = &THighlighterParser::ScanBracket;
  FWrapProcs[ttComment] = &THighlighterParser::ScanComment;
  FWrapProcs[ttReserve] = &THighlighterParser::ScanReservedContinuation;
  FWrapProcs[ttAnk] = &THighlighterParser::ScanAnk;
  FWrapProcs[ttDbcsSymbol] = &THighlighterParser::ScanDbcsSymbol;
  for (TTokenKind K : {ttDbcsDigits, ttDbcsAlpha, ttHiragana, ttKatakana}) FWrapProcs[K] = &THighlighterParser::ScanDbcsRun;
  FWrapProcs[ttKanji] = &THighlighterParser::ScanKanji;
  FWrapProcs[ttKanaSymbol] = &THighlighterParser::ScanKanaSymbol;
  FWrapProcs[ttKana] = &THighlighterParser::ScanKana;
  FWrapProcs[ttUrl] = &THighlighterParser::ScanUrl;
  FWrapProcs[ttMail] = &THighlighterParser::ScanMail;
  FWrapProcs[ttHex] = &THighlighterParser::ScanHex;
  FWrapProcs[ttSingleQuote] = &THighlighterParser::ScanSingleQuote;
  FWrapProcs[ttDoubleQuote] = &THighlighterParser::ScanDoubleQuote;
}

bool THighlighterParser::IsAnkByte(char C) { return AnkBytes[static_cast<unsigned char>(C)]; }

const std::array<bool, 256>& THighlighterParser::MailByteTable() { return MailBytes; }

bool THighlighterParser::MatchAt(const char* P, std::string_view S) {
  for (size_t I = 0; I < S.size(); ++I) {
    if (P[I] == '\0' || P[I] != S[I]) return false;
  }
  return true;
}

void THighlighterParser::AdvanceChar() {
  if (IsLeadByte(*FCursor) && !IsEndByte(FCursor[1])) FCursor += 2;
  else ++FCursor;
}

const THighlighterBracketItem* THighlighterParser::BracketAt(int Index) const {
  if (FHighlighter == nullptr || Index < 0 || Index >= FHighlighter->Brackets().Count()) return nullptr;
  return &FHighlighter->Brackets().Items(Index);
}

void THighlighterParser::StartRow(const TRowAttributeData& Data) {
  FRowStart = FText.c_str();
  FTokenStart = FRowStart;
  FCursor = FRowStart;
  FLastBracket = -2;
  FContinued = false;
  FBracketIndex = Data.BracketIndex;
  FElementState = Data.ElementState;
  FWrappedBytes = Data.WrappedBytes;
  FWrappedKind = Data.WrappedKind;
  FPrevToken = Data.PrevToken;
  FRowAttribute = Data.RowAttribute;
  FPrevRowAttribute = Data.PrevRowAttribute;
  FExtraState = Data.ExtraState;
  FStateText = Data.StateText;
}

void THighlighterParser::SetRowText(std::string_view Text, const TRowAttributeData& Data) {
  // UpdateRowState builds the text in FText itself; then there is nothing to copy.
  if (Text.data() != FText.data() || Text.size() != FText.size()) FText.assign(Text);
  StartRow(Data);
}

void THighlighterParser::SkipSpaces() {
  while (In(CurrentByte(), 0x01, 0x08) || In(CurrentByte(), 0x0A, 0x20)) ++FCursor;
}

TTokenKind THighlighterParser::NextToken() {
  SkipSpaces();
  FTokenStart = FCursor;
  FContinued = FWrappedKind != 0;
  if (IsEndByte(*FCursor)) FTokenKind = ttEnd;
  else if (FWrappedKind != 0) ContinueWrapped();
  else if (FBracketIndex >= 0) ScanBracket();
  else ScanToken();
  return FTokenKind;
}

void THighlighterParser::ContinueWrapped() {
  if (FWrappedBytes > 0) {
    FTokenKind = FWrappedKind;
    // The length was measured from the row's first byte, whatever spaces were skipped before it.
    const char* End = FRowStart + FWrappedBytes;
    while (FCursor < End && *FCursor != '\0') ++FCursor;
    if (FTokenKind == ttBracket) {
      FLastBracket = FBracketIndex;
      FBracketIndex = -1;
    }
  } else {
    (this->*FWrapProcs[FWrappedKind])();
  }
  FWrappedKind = 0;
  FWrappedBytes = 0;
}

void THighlighterParser::ScanToken() {
  if (FBracketIndex == -1 && MatchLeftBracket()) ScanBracket();
  else (this->*FCharProcs[CurrentByte()])();
}

bool THighlighterParser::MatchLeftBracket() {
  if (FHighlighter == nullptr) return false;
  const THighlighterBracketCollection& Brackets = FHighlighter->Brackets();
  for (int I = 0; I < Brackets.Count(); ++I) {
    const std::string& Left = Brackets.Items(I).LeftBracket();
    if (!Left.empty() && Left[0] == *FCursor && MatchAt(FCursor, Left)) {
      FBracketIndex = I;
      FCursor += Left.size();
      return true;
    }
  }
  return false;
}

void THighlighterParser::ScanBracket() {
  const THighlighterBracketItem* Bracket = BracketAt(FBracketIndex);
  if (Bracket == nullptr || Bracket->RightBracket().empty()) {
    FTokenKind = ttEnd;
    return;
  }
  FTokenKind = ttBracket;
  FLastBracket = FBracketIndex;
  const std::string& Right = Bracket->RightBracket();
  while (!IsEndByte(*FCursor)) {
    if (*FCursor == Right[0] && MatchAt(FCursor, Right)) {
      FCursor += Right.size();
      FBracketIndex = -1;
      return;
    }
    AdvanceChar();
  }
}

bool THighlighterParser::MatchMail() {
  const auto First = CurrentByte();
  if (!MailBytes[First] || First == '@') return false;
  bool SeenAt = false;
  for (const char* P = FCursor; MailBytes[static_cast<unsigned char>(*P)]; ++P) {
    if (*P == '@') {
      SeenAt = true;
    } else if (*P == '.' && SeenAt) {
      FCursor = P + 1;
      return true;
    }
  }
  return false;
}

void THighlighterParser::ScanMail() {
  FTokenKind = ttMail;
  while (MailBytes[CurrentByte()]) ++FCursor;
}

bool THighlighterParser::MatchUrl() {
  std::string_view Prefix;
  switch (*FCursor) {
    case 'f':
      Prefix = "ftp:";
      break;
    case 'h':
      Prefix = MatchAt(FCursor, "http:") ? "http:" : "https:";
      break;
    case 'w':
      Prefix = "www.";
      break;
    default:
      return false;
  }
  if (!MatchAt(FCursor, Prefix)) return false;
  FCursor += Prefix.size();
  return true;
}

void THighlighterParser::ScanUrl() {
  FTokenKind = ttUrl;
  while (UrlBytes[CurrentByte()]) ++FCursor;
}

void THighlighterParser::ScanReservedContinuation() {
  (this->*FCharProcs[CurrentByte()])();
  FTokenKind = ttReserve;
}

void THighlighterParser::ScanNul() { FTokenKind = ttEnd; }

void THighlighterParser::ScanTab() {
  FTokenKind = ttTab;
  ++FCursor;
}

void THighlighterParser::ScanLF() {
  FTokenKind = ttEnd;
  ++FCursor;
}

void THighlighterParser::ScanCR() {
  FTokenKind = ttEnd;
  ++FCursor;
  if (*FCursor == '\n') ++FCursor;
}

void THighlighterParser::ScanComment() {
  FTokenKind = ttComment;
  while (!IsEndByte(*FCursor)) ++FCursor;
}

void THighlighterParser::ScanHex() {
  FTokenKind = ttHex;
  while (IsHexByte(*FCursor)) ++FCursor;
}

void THighlighterParser::ScanExponentTail() {
  if (*FCursor == '+' || *FCursor == '-') ++FCursor;
  while (IsDigitByte(*FCursor)) ++FCursor;
}

void THighlighterParser::ScanNumber() {
  FTokenKind = ttInteger;
  while (IsDigitByte(*FCursor)) ++FCursor;
  auto IsE = [](char C) { return C == 'E' || C == 'e'; };
  if (IsE(*FCursor)) {
    FTokenKind = ttFloat;
    ++FCursor;
    ScanExponentTail();
  } else if (*FCursor == '.') {
    FTokenKind = ttFloat;
    if (IsDigitByte(FCursor[1])) {
      ++FCursor;
      while (IsDigitByte(*FCursor)) ++FCursor;
      if (IsE(*FCursor)) {
        ++FCursor;
        ScanExponentTail();
      }
    } else if (IsE(FCursor[1])) {
      FCursor += 2;
      ScanExponentTail();
    }
  }
}

void THighlighterParser::ScanAnk() {
  FTokenKind = ttAnk;
  while (IsAnkByte(*FCursor)) ++FCursor;
}

void THighlighterParser::ScanDbcsSymbol() {
  const auto Lead = CurrentByte();
  const auto Trail = static_cast<unsigned char>(FCursor[1]);
  const bool Symbol = Lead == 0x81 || In(Lead, 0x84, 0x87) || (Lead == 0x83 && In(Trail, 0x97, 0xF0)) ||
                      (Lead == 0x82 && Is82Symbol(Trail));
  FTokenKind = ttDbcsSymbol;
  if (!Symbol) return;
  // A lead byte at the very end of the row stands alone.
  FCursor += IsEndByte(static_cast<char>(Trail)) ? 1 : 2;
}

void THighlighterParser::ScanRunOf(TTokenKind Kind) {
  FTokenKind = Kind;
  // The trail is read only before the end: past the row's terminating NUL there is nothing.
  while (!IsEndByte(*FCursor) && ContinuesRun(Kind, CurrentByte(), static_cast<unsigned char>(FCursor[1]))) {
    FCursor += 2;
  }
}

void THighlighterParser::ScanDbcsRun() {
  // A run cut by the wrap goes on with its own kind, even when the piece starts with a joining mark.
  if (FContinued && In(FWrappedKind, ttDbcsDigits, ttKatakana)) {
    ScanRunOf(FWrappedKind);
    return;
  }
  const TTokenKind Kind = RunKindOf(CurrentByte(), static_cast<unsigned char>(FCursor[1]));
  if (Kind == ttDbcsSymbol) {
    FTokenKind = ttDbcsSymbol;
    FCursor += 2;
  } else if (Kind != ttEnd) {
    ScanRunOf(Kind);
  } else {
    FTokenKind = ttBrokenDbcs;
    ++FCursor;
  }
}

void THighlighterParser::ScanKanji() {
  FTokenKind = ttKanji;
  while (IsKanjiLead(CurrentByte())) {
    ++FCursor;
    if (CurrentByte() >= 0x40) ++FCursor;
  }
}

void THighlighterParser::ScanKanaSymbol() {
  FTokenKind = ttKanaSymbol;
  if (In(CurrentByte(), 0xA1, 0xA5)) ++FCursor;
}

void THighlighterParser::ScanKana() {
  FTokenKind = ttKana;
  while (In(CurrentByte(), 0xA6, 0xDF)) ++FCursor;
}

void THighlighterParser::ScanSymbol() {
  FTokenKind = ttSymbol;
  if (!IsEndByte(*FCursor)) ++FCursor;
}

void THighlighterParser::ScanQuoted(char Quote, TTokenKind Kind) {
  FTokenKind = Kind;
  if (!FContinued) ++FCursor;
  while (!IsEndByte(*FCursor)) {
    if (*FCursor == Quote) {
      ++FCursor;
      if (*FCursor != Quote) return;
      ++FCursor;
    } else {
      AdvanceChar();
    }
  }
}

void THighlighterParser::ScanSingleQuote() { ScanQuoted('\'', ttSingleQuote); }

void THighlighterParser::ScanDoubleQuote() { ScanQuoted('"', ttDoubleQuote); }

bool THighlighterParser::IsReservedWord() {
  if (FContinued || FTokenKind == ttEnd || FTokenKind == ttBracket || FTokenKind == ttComment) return false;
  if (FHighlighter == nullptr) return false;
  const TStringList& Words = FHighlighter->ReserveWordList();
  int Index = 0;
  return Words.Count() > 0 && Words.Find(TokenText(), Index);
}

TTokenKind THighlighterParser::AdjustWrappedKind(TTokenKind Kind) {
  return IsReservedWord() ? static_cast<TTokenKind>(ttReserve) : Kind;
}

bool THighlighterParser::RescanKinds(TTokenKind Kind) const {
  return Kind == ttComment || Kind == ttSingleQuote || Kind == ttDoubleQuote;
}

bool THighlighterParser::RowEndKinds(TTokenKind Kind) const { return Kind == ttComment; }

// A cut token ends with its line and these rules never change the scheme fields, so only a bracket
// that can open is remembered from one line to the next.
bool THighlighterParser::ForgetsAtLineEnd() const {
  if (FHighlighter == nullptr) return true;
  const THighlighterBracketCollection& Brackets = FHighlighter->Brackets();
  for (int I = 0; I < Brackets.Count(); ++I) {
    if (!Brackets.Items(I).LeftBracket().empty()) return false;
  }
  return true;
}

void THighlighterParser::UpdateRowState(int Row, const IRowSource& Rows, TRowAttributeData& Data) {
  if (RowEndKinds(Data.WrappedKind)) {
    if (Data.RowAttribute != raWrapped) Data.WrappedKind = 0;
    Data.WrappedBytes = 0;
    return;
  }
  const std::string_view Own = Rows.RowText(Row);
  if (Own.find_first_not_of(' ') == std::string_view::npos) return;

  FText.assign(Own);
  if (Data.RowAttribute == raWrapped && Row + 1 < Rows.RowCount()) FText.append(Rows.RowText(Row + 1));
  const int RowLength = static_cast<int>(Own.size());
  const int TextLength = static_cast<int>(FText.size());

  int OpenBracket = Data.BracketIndex;
  int Element = Data.ElementState;
  TTokenKind LastKind = 0;
  SetRowText(FText, Data);

  bool LeftOnToken = false;
  while (NextToken() != ttEnd) {
    LastKind = FTokenKind;
    Data.BracketIndex = FBracketIndex;
    if (LastKind == ttBracket) OpenBracket = FLastBracket;
    Element = FElementState;
    if (TokenPos() + TokenLength() > RowLength) {
      LeftOnToken = true;
      break;
    }
    Data.ElementState = FElementState;
    Data.PrevToken = FPrevToken;
  }

  Data.WrappedBytes = 0;
  Data.WrappedKind = 0;
  if (LeftOnToken && TokenPos() >= RowLength) {
    Data.BracketIndex = -1;
    return;
  }
  if (TokenPos() >= RowLength || TokenPos() + TokenLength() <= RowLength) return;

  // The last token starts on this row and ends on the next one.
  Data.ElementState = Element;
  const int NextPart = TokenPos() + TokenLength() - RowLength;
  if (LastKind == ttBracket) {
    if (FBracketIndex != -1) return;  // still open: BracketIndex already says so
    Data.BracketIndex = OpenBracket;
    const THighlighterBracketItem* Bracket = BracketAt(OpenBracket);
    if (Bracket != nullptr && NextPart < static_cast<int>(Bracket->RightBracket().size())) {
      Data.WrappedKind = ttBracket;
      Data.WrappedBytes = NextPart;
    }
    return;
  }
  const TTokenKind Kind = AdjustWrappedKind(LastKind);
  Data.WrappedKind = Kind;
  if (RescanKinds(Kind)) return;
  const bool ReachesEnd = TokenPos() + TokenLength() >= TextLength;
  if (ReachesEnd && Row + 1 < Rows.RowCount() && Rows.RowAttributeOf(Row + 1) == raWrapped) return;
  // A piece longer than the row's one-byte field is found again by its kind's rule.
  if (NextPart <= MaxWrappedBytes) Data.WrappedBytes = NextPart;
}

}  // namespace tesvarin
