#include "highlighter/EditorHighlighter.h"

#include "support/Sjis.h"

namespace tesvarin {

TEditorColors::TEditorColors(TEditorHighlighter* Highlighter) : FHighlighter(Highlighter) {
  // Defaults before the wiring, so that building the set notifies nobody.
  FSelect.SetBkColor(clNavy);
  FSelect.SetColor(clWhite);
  for (TEditorColor* C : {&FAnk, &FComment, &FDBCS, &FHit, &FInt, &FMail, &FSelect, &FStr, &FSymbol, &FUrl}) {
    C->OnChange = ChangedProcEvent();
  }
  FSpareReserve.OnChange = ChangedProcEvent();
}

THighlighterColor& TEditorColors::Reserve() const {
  return FHighlighter != nullptr ? FHighlighter->Reserve() : FSpareReserve;
}

void TEditorColors::Assign(const TPersistent& Source) {
  const auto* From = dynamic_cast<const TEditorColors*>(&Source);
  if (From == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  // Reserve reports to the highlighter directly: hold its notifier too, so the copy is one change.
  if (FHighlighter != nullptr) FHighlighter->Notifier().BeginUpdate();
  BeginUpdate();
  FAnk.Assign(From->FAnk);
  FComment.Assign(From->FComment);
  FDBCS.Assign(From->FDBCS);
  FHit.Assign(From->FHit);
  FInt.Assign(From->FInt);
  FMail.Assign(From->FMail);
  FStr.Assign(From->FStr);
  FSymbol.Assign(From->FSymbol);
  Reserve().Assign(From->Reserve());
  FUrl.Assign(From->FUrl);
  FSelect.Assign(From->FSelect);
  EndUpdate();
  if (FHighlighter != nullptr) FHighlighter->Notifier().EndUpdate();
}

void TEditorColors::EnumPublished(const TPublishedVisitor& Visit) {
  Visit("Ank", FAnk);
  Visit("Comment", FComment);
  Visit("DBCS", FDBCS);
  Visit("Hit", FHit);
  Visit("Int", FInt);
  Visit("Mail", FMail);
  Visit("Reserve", Reserve());
  Visit("Select", FSelect);
  Visit("Str", FStr);
  Visit("Symbol", FSymbol);
  Visit("Url", FUrl);
}

template <class F>
void TEditorBracketCollection::ForEachColor(F Set) {
  BeginUpdate();
  for (int I = 0; I < Count(); ++I) Set(Items(I).ItemColor());
  EndUpdate();
}

void TEditorBracketCollection::SetBracketsBkColor(TColor Value) {
  ForEachColor([Value](THighlighterColor& C) { C.SetBkColor(Value); });
}

void TEditorBracketCollection::SetBracketsColor(TColor Value) {
  ForEachColor([Value](THighlighterColor& C) { C.SetColor(Value); });
}

void TEditorBracketCollection::SetBracketsStyle(TFontStyles Value) {
  ForEachColor([Value](THighlighterColor& C) { C.SetStyle(Value); });
}

void TEditorHighlighter::CreateColors() {
  THighlighter::CreateColors();
  FColors = NewColors();
}

std::unique_ptr<TEditorColors> TEditorHighlighter::NewColors() {
  auto Colors = std::make_unique<TEditorColors>(this);
  Colors->OnChange = Notifier().ChangedProcEvent();
  return Colors;
}

std::unique_ptr<THighlighterBracketCollection> TEditorHighlighter::NewBrackets() {
  auto Brackets = std::make_unique<TEditorBracketCollection>(this);
  Brackets->OnChange = Notifier().ChangedProcEvent();
  return Brackets;
}

THighlighter::TParserClass TEditorHighlighter::ParserClass() const {
  return [](const THighlighter& H) -> std::unique_ptr<THighlighterParser> { return std::make_unique<TEditorParser>(&H); };
}

void TEditorHighlighter::EnumPublished(const TPublishedVisitor& Visit) {
  Visit("Colors", *FColors);
  THighlighter::EnumPublished(Visit);
}

void TEditorHighlighter::ApplyColorProc(std::string_view Name, TPersistent& Value) {
  if (CompareTextSjis(Name, "Select") == 0 || CompareTextSjis(Name, "Hit") == 0) return;
  THighlighter::ApplyColorProc(Name, Value);
}

void TEditorHighlighter::ApplyToAll(const THighlighterColor& Source, int Mask) {
  Notifier().BeginUpdate();
  ApplyColor(*FColors, Source, Mask);
  Notifier().EndUpdate();
}

void TEditorHighlighter::SetAllBkColor(TColor Value) {
  THighlighterColor Source;
  Source.SetBkColor(Value);
  ApplyToAll(Source, 1);
}

void TEditorHighlighter::SetAllColor(TColor Value) {
  THighlighterColor Source;
  Source.SetColor(Value);
  ApplyToAll(Source, 2);
}

void TEditorHighlighter::SetAllStyle(TFontStyles Value) {
  THighlighterColor Source;
  Source.SetStyle(Value);
  ApplyToAll(Source, 4);
}

namespace {

const TEditorHighlighter* RequireEditorScheme(const THighlighter* Highlighter) {
  const auto* Scheme = dynamic_cast<const TEditorHighlighter*>(Highlighter);
  if (Highlighter != nullptr && Scheme == nullptr) {
    throw EHighlighterError("エディタ用の配色が必要です（TEditorParser）");
  }
  return Scheme;
}



char AsciiUpper(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C; }

}  // namespace

TEditorParser::TEditorParser(const THighlighter* Highlighter)
    : THighlighterParser(Highlighter), FScheme(RequireEditorScheme(Highlighter)) {
  TEditorParser::FillProcTables();
  TEditorParser::FillMarkerStarts();
}

void TEditorParser::SetRowText(std::string_view Text, const TRowAttributeData& Data) {
  THighlighterParser::SetRowText(Text, Data);
  FillMarkerStarts();
}

void TEditorParser::FillMarkerStarts() {
  const TEditorHighlighter& S = Scheme();
  auto Mark = [this](char C) { FMarkerStarts[static_cast<unsigned char>(C)] = true; };
  if (S.Mail()) {
    FMarkerStarts = MailByteTable();
    FMarkerStarts['@'] = false;
  } else {
    FMarkerStarts.fill(false);
  }
  if (S.Url()) {
    for (char C : {'f', 'h', 'w'}) Mark(C);
  }
  if (S.ControlCode()) Mark('#');
  for (const std::string* Marker : {&S.Commenter(), &S.Quotation()}) {
    if (!Marker->empty()) Mark((*Marker)[0]);
  }
  if (!S.HexPrefix().empty()) {
    const char P = S.HexPrefix()[0];
    Mark(P);
    if (P >= 'a' && P <= 'z') Mark(static_cast<char>(P - 32));
    if (P >= 'A' && P <= 'Z') Mark(static_cast<char>(P + 32));
  }
  const THighlighterBracketCollection& Brackets = S.Brackets();
  for (int I = 0; I < Brackets.Count(); ++I) {
    const std::string& Left = Brackets.Items(I).LeftBracket();
    if (!Left.empty()) Mark(Left[0]);
  }
}

void TEditorParser::FillProcTables() {
  THighlighterParser::FillProcTables();
  FWrapProcs[ttQuotation] = static_cast<TScanProc>(&TEditorParser::ScanQuotation);
  FWrapProcs[ttControlCode] = static_cast<TScanProc>(&TEditorParser::ScanControlCode);
  FWrapProcs[ttHexControlCode] = static_cast<TScanProc>(&TEditorParser::ScanHexControlCode);
}

void TEditorParser::ScanToken() {
  if (!FMarkerStarts[CurrentByte()]) {
    (this->*FCharProcs[CurrentByte()])();
    return;
  }
  if (FBracketIndex == -1 && MatchLeftBracket()) ScanBracket();
  else if (Scheme().Mail() && MatchMail()) ScanMail();
  else if (Scheme().Url() && MatchUrl()) ScanUrl();
  else if (MatchCommenter()) ScanComment();
  else if (MatchQuotation()) ScanQuotation();
  else if (MatchHexControlCode()) ScanHexControlCode();
  else if (MatchControlCode()) ScanControlCode();
  else if (MatchHexPrefix()) ScanHex();
  else (this->*FCharProcs[CurrentByte()])();
}

bool TEditorParser::MatchCommenter() {
  const std::string& Marker = Scheme().Commenter();
  if (Marker.empty() || Marker[0] != *FCursor || !MatchAt(FCursor, Marker)) return false;
  FCursor += Marker.size();
  return true;
}

bool TEditorParser::MatchQuotation() {
  const std::string& Quote = Scheme().Quotation();
  if (Quote.empty() || Quote[0] != *FCursor || IsEndByte(*FCursor)) return false;
  ++FCursor;
  return true;
}

bool TEditorParser::MatchHexControlCode() {
  if (!Scheme().ControlCode() || FCursor[0] != '#' || FCursor[1] != '$') return false;
  FCursor += 2;
  return true;
}

bool TEditorParser::MatchControlCode() {
  if (!Scheme().ControlCode() || *FCursor != '#') return false;
  ++FCursor;
  return true;
}

bool TEditorParser::MatchHexPrefix() {
  const std::string& Prefix = Scheme().HexPrefix();
  if (Prefix.empty()) return false;
  for (size_t I = 0; I < Prefix.size(); ++I) {
    if (FCursor[I] == '\0' || AsciiUpper(FCursor[I]) != AsciiUpper(Prefix[I])) return false;
  }
  FCursor += Prefix.size();
  return true;
}

void TEditorParser::ScanQuotation() {
  const std::string& Quote = Scheme().Quotation();
  if (Quote.empty()) {
    FTokenKind = ttEnd;
    return;
  }
  FTokenKind = ttQuotation;
  const char Q = Quote[0];
  while (!IsEndByte(*FCursor)) {
    if (*FCursor == Q) {
      ++FCursor;
      if (*FCursor != Q) return;
      ++FCursor;
    } else {
      AdvanceChar();
    }
  }
}

void TEditorParser::ScanHexControlCode() {
  FTokenKind = ttHexControlCode;
  while (IsHexByte(*FCursor)) ++FCursor;
}

void TEditorParser::ScanControlCode() {
  FTokenKind = ttControlCode;
  while (IsDigitByte(*FCursor)) ++FCursor;
}

const THighlighterColor* TEditorParser::TokenColor() {
  TEditorColors& C = Scheme().Colors();
  if (IsReservedWord()) return &C.Reserve();
  switch (FTokenKind) {
    case ttSymbol:
      return &C.Symbol();
    case ttInteger:
    case ttFloat:
    case ttHex:
      return &C.Int();
    case ttBracket: {
      const THighlighterBracketItem* Bracket = BracketAt(FLastBracket);
      return Bracket != nullptr ? &Bracket->ItemColor() : nullptr;
    }
    case ttComment:
      return &C.Comment();
    case ttReserve:
      return &C.Reserve();
    case ttAnk:
      return &C.Ank();
    case ttDbcsSymbol:
    case ttDbcsDigits:
    case ttDbcsAlpha:
    case ttHiragana:
    case ttKatakana:
    case ttKanji:
    case ttKanaSymbol:
    case ttKana:
      return &C.DBCS();
    case ttUrl:
      return &C.Url();
    case ttMail:
      return &C.Mail();
    case ttQuotation:
    case ttControlCode:
    case ttHexControlCode:
      return &C.Str();
    default:
      return nullptr;
  }
}

}  // namespace tesvarin
