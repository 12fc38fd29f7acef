#include "highlighter/HTMLHighlighter.h"

namespace tesvarin {

void THTMLHighlighter::CreateColors() {
  THighlighter::CreateColors();
  for (auto* C : {&FAmpersand, &FMail, &FStr, &FTagAttribute, &FTagAttributeValue, &FTagColor, &FTagElement, &FUrl}) {
    *C = NewColor();
  }
}

THighlighter::TParserClass THTMLHighlighter::ParserClass() const {
  return [](const THighlighter& H) -> std::unique_ptr<THighlighterParser> {
    return std::make_unique<THTMLHighlighterParser>(&H);
  };
}

void THTMLHighlighter::AddDefaultBrackets() {
  THighlighterBracketItem& Comment = Brackets().AddItem();
  Comment.SetLeftBracket("<!--");
  Comment.SetRightBracket("-->");
}

void THTMLHighlighter::InitFileExtList() {
  FileExtList().Add(".htm");
  FileExtList().Add(".html");
}

void THTMLHighlighter::EnumPublished(const TPublishedVisitor& Visit) {
  THighlighter::EnumPublished(Visit);
  Visit("Ampersand", *FAmpersand);
  Visit("Mail", *FMail);
  Visit("Str", *FStr);
  Visit("TagAttribute", *FTagAttribute);
  Visit("TagAttributeValue", *FTagAttributeValue);
  Visit("TagColor", *FTagColor);
  Visit("TagElement", *FTagElement);
  Visit("Url", *FUrl);
}

namespace {

const THTMLHighlighter* RequireHtmlScheme(const THighlighter* Highlighter) {
  const auto* Scheme = dynamic_cast<const THTMLHighlighter*>(Highlighter);
  if (Highlighter != nullptr && Scheme == nullptr) {
    throw EHighlighterError("HTML 用の配色が必要です（THTMLHighlighterParser）");
  }
  return Scheme;
}

bool IsAlnum(char C) { return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

}  // namespace

THTMLHighlighterParser::THTMLHighlighterParser(const THighlighter* Highlighter)
    : THighlighterParser(Highlighter), FScheme(RequireHtmlScheme(Highlighter)) {
  THTMLHighlighterParser::FillProcTables();
}

void THTMLHighlighterParser::FillProcTables() {
  THighlighterParser::FillProcTables();
  // Pointers to virtual members: the single quote and word entries reach this scheme's overrides.
  FCharProcs['"'] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanDoubleQuote);
  FCharProcs['&'] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanAmpersand);
  FCharProcs['\''] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanSingleQuote);
  FCharProcs['/'] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanSlash);
  FCharProcs['<'] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanTagOpen);
  FCharProcs['='] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanEquals);
  FCharProcs['>'] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanTagClose);
  FWrapProcs[ttTagElement] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanTagElement);
  FWrapProcs[ttTagAttribute] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanTagAttribute);
  FWrapProcs[ttTagValue] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanTagValue);
  FWrapProcs[ttAmpersand] = static_cast<TScanProc>(&THTMLHighlighterParser::ScanAmpersand);
}

TTokenKind THTMLHighlighterParser::NextToken() {
  THighlighterParser::NextToken();
  AdjustTagKind();
  if (FTokenKind != ttEnd) FPrevToken = FTokenKind;
  return FTokenKind;
}

void THTMLHighlighterParser::ScanToken() {
  if (FBracketIndex == -1 && MatchLeftBracket()) ScanBracket();
  else if (MatchUrl()) ScanUrl();
  else if (MatchMail()) ScanMail();
  else if (FElementState == 1 && FPrevToken == ttTagEquals) ScanTagValue();
  else (this->*FCharProcs[CurrentByte()])();
}

void THTMLHighlighterParser::ScanTagOpen() {
  FTokenKind = ttTagOpen;
  ++FCursor;
  FElementState = 1;
}

void THTMLHighlighterParser::ScanTagClose() {
  FTokenKind = ttTagClose;
  ++FCursor;
  FElementState = 0;
}

void THTMLHighlighterParser::ScanSlash() {
  if (FElementState != 1 || FPrevToken != ttTagOpen) {
    ScanSymbol();
    return;
  }
  FTokenKind = ttTagElement;
  ++FCursor;
  while (IsAlnum(*FCursor)) ++FCursor;
}

void THTMLHighlighterParser::ScanEquals() {
  if (FElementState != 1 || FPrevToken != ttTagAttribute) {
    ScanSymbol();
    return;
  }
  FTokenKind = ttTagEquals;
  ++FCursor;
}

void THTMLHighlighterParser::ScanTagValue() {
  if (*FCursor == '"') {
    ScanDoubleQuote();
    return;
  }
  if (*FCursor == '\'') {
    ScanSingleQuote();
    return;
  }
  FTokenKind = ttTagValue;
  while (!IsEndByte(*FCursor) && *FCursor != '\t' && *FCursor != ' ' && *FCursor != '>') ++FCursor;
}

void THTMLHighlighterParser::ScanTagElement() {
  ScanAnk();
  FTokenKind = ttTagElement;
}

void THTMLHighlighterParser::ScanTagAttribute() {
  ScanAnk();
  FTokenKind = ttTagAttribute;
}

void THTMLHighlighterParser::ScanAnk() {
  THighlighterParser::ScanAnk();
  // An apostrophe inside an English word opens no string.
  if (*FCursor == '\'') ++FCursor;
}

void THTMLHighlighterParser::ScanSingleQuote() {
  FTokenKind = ttSingleQuote;
  if (!FContinued) ++FCursor;
  while (!IsEndByte(*FCursor)) {
    if (*FCursor == '\'') {
      ++FCursor;
      return;
    }
    AdvanceChar();
  }
}

void THTMLHighlighterParser::ScanAmpersand() {
  FTokenKind = ttAmpersand;
  if (!FContinued) ++FCursor;
  while (*FCursor == '#' || IsAlnum(*FCursor)) {
    ++FCursor;
    if (*FCursor == ';') {
      ++FCursor;
      return;
    }
  }
}

void THTMLHighlighterParser::AdjustTagKind() {
  if (FTokenKind == ttEnd || FElementState != 1) return;
  switch (FPrevToken) {
    case ttTagOpen:
      if (FTokenKind == ttAnk) FTokenKind = ttTagElement;
      break;
    case ttTagAttribute:
      if (FTokenKind != ttTagEquals) FTokenKind = ttTagAttribute;
      break;
    case ttSingleQuote:
    case ttDoubleQuote:
    case ttTagElement:
    case ttTagValue:
      FTokenKind = ttTagAttribute;
      break;
    default:
      break;
  }
}

const THighlighterColor* THTMLHighlighterParser::TokenColor() {
  if (IsReservedWord()) return &FScheme->Reserve();
  switch (FTokenKind) {
    case ttBracket: {
      const THighlighterBracketItem* Bracket = BracketAt(FLastBracket);
      return Bracket != nullptr ? &Bracket->ItemColor() : nullptr;
    }
    case ttReserve:
      return &FScheme->Reserve();
    case ttUrl:
      return &FScheme->Url();
    case ttMail:
      return &FScheme->Mail();
    case ttSingleQuote:
    case ttDoubleQuote:
      return &FScheme->Str();
    case ttTagOpen:
    case ttTagClose:
    case ttTagEquals:
      return &FScheme->TagColor();
    case ttTagElement:
      return &FScheme->TagElement();
    case ttTagAttribute:
      return &FScheme->TagAttribute();
    case ttTagValue:
      return &FScheme->TagAttributeValue();
    case ttAmpersand:
      return &FScheme->Ampersand();
    default:
      return nullptr;
  }
}

}  // namespace tesvarin
