#include "highlighter/Highlighter.h"

#include "highlighter/HighlighterParser.h"

namespace tesvarin {

THighlighter::~THighlighter() = default;

void THighlighter::Construct() {
  (void)FileExtList();  // creates the list and runs its hook
  FNotifier = std::make_unique<TNotifyEventList>(this);
  FBrackets = NewBrackets();
  AddDefaultBrackets();
  FReserveWordList = CreateSortedList();
  AddDefaultReservedWords();
  // Wired after the defaults so that building the scheme notifies nobody.
  FReserveWordList->OnChange = [this](TStringList&) { FNotifier->Changed(); };
  CreateColors();
}

void THighlighter::SetReserveWordList(const TStringList& Value) {
  // One notification for the whole copy, even when the list reports its own change as well.
  FNotifier->BeginUpdate();
  FReserveWordList->Assign(Value);
  FNotifier->EndUpdate();
}

std::unique_ptr<THighlighterColor> THighlighter::NewColor() {
  auto Color = std::make_unique<THighlighterColor>();
  Color->OnChange = FNotifier->ChangedProcEvent();
  return Color;
}

void THighlighter::CreateColors() { FReserve = NewColor(); }

std::unique_ptr<THighlighterBracketCollection> THighlighter::NewBrackets() {
  auto Brackets = std::make_unique<THighlighterBracketCollection>(this);
  Brackets->OnChange = FNotifier->ChangedProcEvent();
  return Brackets;
}

std::unique_ptr<THighlighterParser> THighlighter::NewParser() const { return ParserClass()(*this); }

std::unique_ptr<IRowStateParser> THighlighter::NewRowStateParser() const { return NewParser(); }

void THighlighter::EnumPublished(const TPublishedVisitor& Visit) {
  Visit("Brackets", *FBrackets);
  Visit("Reserve", *FReserve);
}

void THighlighter::WalkColors(TPersistent& Object, TWalkProc Proc) {
  // The depth is that of the classes' nesting, never that of any input.
  if (auto* Published = dynamic_cast<IPublishedObjects*>(&Object)) {
    Published->EnumPublished([this, Proc](std::string_view Name, TPersistent& Value) {
      (this->*Proc)(Name, Value);
      WalkColors(Value, Proc);
    });
  }
  if (auto* Collection = dynamic_cast<TCollection*>(&Object)) {
    for (int I = 0; I < Collection->Count(); ++I) WalkColors(Collection->Item(I), Proc);
  }
}

bool THighlighter::HasItalicStyle(TPersistent& Object) {
  FHasItalic = false;
  WalkColors(Object, &THighlighter::HasItalicStyleProc);
  return FHasItalic;
}

void THighlighter::HasItalicStyleProc(std::string_view, TPersistent& Value) {
  if (const auto* Color = dynamic_cast<const THighlighterColor*>(&Value)) {
    if (Color->Style().Contains(fsItalic)) FHasItalic = true;
  }
}

void THighlighter::ApplyColor(TPersistent& Object, const THighlighterColor& Source, int Mask) {
  FApplySource = &Source;
  FApplyMask = Mask;
  WalkColors(Object, &THighlighter::ApplyColorProc);
  FApplySource = nullptr;
  FApplyMask = 0;
}

void THighlighter::ApplyColorProc(std::string_view, TPersistent& Value) {
  auto* Color = dynamic_cast<THighlighterColor*>(&Value);
  if (Color == nullptr || FApplySource == nullptr || Color == FApplySource) return;
  if ((FApplyMask & 1) != 0) Color->SetBkColor(FApplySource->BkColor());
  if ((FApplyMask & 2) != 0) Color->SetColor(FApplySource->Color());
  if ((FApplyMask & 4) != 0) Color->SetStyle(FApplySource->Style());
}

}  // namespace tesvarin
