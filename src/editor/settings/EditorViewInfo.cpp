#include "editor/settings/EditorViewInfo.h"

#include <tuple>
#include <vector>

#include "support/Sjis.h"

namespace tesvarin {

namespace {

using TColorKey = std::tuple<TColor, TColor, TFontStyles>;

TColorKey KeyOf(const THighlighterColor& C) { return {C.BkColor(), C.Color(), C.Style()}; }

// The colours of a set in its published order; a copy is read, since a set only enumerates itself
// through a non-const walk.
std::vector<TColorKey> ColorKeys(const TEditorColors& Source) {
  TEditorColors Copy(nullptr);
  Copy.Assign(Source);
  std::vector<TColorKey> Keys;
  Copy.EnumPublished([&Keys](std::string_view, TPersistent& Value) {
    if (const auto* C = dynamic_cast<const THighlighterColor*>(&Value)) Keys.push_back(KeyOf(*C));
  });
  return Keys;
}

bool SameBrackets(const THighlighterBracketCollection& A, const THighlighterBracketCollection& B) {
  if (A.Count() != B.Count()) return false;
  for (int I = 0; I < A.Count(); ++I) {
    const THighlighterBracketItem& X = A.Items(I);
    const THighlighterBracketItem& Y = B.Items(I);
    if (X.LeftBracket() != Y.LeftBracket() || X.RightBracket() != Y.RightBracket() ||
        KeyOf(X.ItemColor()) != KeyOf(Y.ItemColor())) {
      return false;
    }
  }
  return true;
}

std::string FirstCharacter(std::string_view Value) {
  if (Value.empty()) return {};
  return std::string(Value.substr(0, CharLength(Value, 0)));
}

}  // namespace

TEditorViewInfo::TEditorViewInfo() : FHighlighter(THighlighter::New<TEditorHighlighter>()) {
  FHighlighter->Notifier().Add(ChangedProcEvent());
}

TEditorViewInfo::~TEditorViewInfo() { FHighlighter->Notifier().Remove(ChangedProcEvent()); }

void TEditorViewInfo::SchemeChanged() { FHighlighter->Notifier().Changed(); }

void TEditorViewInfo::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorViewInfo*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  if (S == this) return;
  BeginUpdate();
  // Other editors may use this scheme as theirs: they too hear of the copy once.
  FHighlighter->Notifier().BeginUpdate();
  SetBrackets(S->Brackets());
  SetColors(S->Colors());
  SetCommenter(S->Commenter());
  SetControlCode(S->ControlCode());
  SetHexPrefix(S->HexPrefix());
  SetMail(S->Mail());
  SetQuotation(S->Quotation());
  SetUrl(S->Url());
  FHighlighter->Notifier().EndUpdate();
  EndUpdate();
}

void TEditorViewInfo::SetBrackets(const THighlighterBracketCollection& Value) {
  if (&Value == &Brackets() || SameBrackets(Brackets(), Value)) return;
  FHighlighter->SetBrackets(Value);
}

void TEditorViewInfo::SetColors(const TEditorColors& Value) {
  if (&Value == &Colors() || ColorKeys(Colors()) == ColorKeys(Value)) return;
  FHighlighter->SetColors(Value);
}

void TEditorViewInfo::SetCommenter(std::string_view Value) {
  if (Commenter() == Value) return;
  FHighlighter->SetCommenter(std::string(Value));
  SchemeChanged();
}

void TEditorViewInfo::SetControlCode(bool Value) {
  if (ControlCode() == Value) return;
  FHighlighter->SetControlCode(Value);
  SchemeChanged();
}

void TEditorViewInfo::SetHexPrefix(std::string_view Value) {
  if (HexPrefix() == Value) return;
  FHighlighter->SetHexPrefix(std::string(Value));
  SchemeChanged();
}

void TEditorViewInfo::SetMail(bool Value) {
  if (Mail() == Value) return;
  FHighlighter->SetMail(Value);
  SchemeChanged();
}

void TEditorViewInfo::SetQuotation(std::string_view Value) {
  std::string First = FirstCharacter(Value);
  if (Quotation() == First) return;
  FHighlighter->SetQuotation(std::move(First));
  SchemeChanged();
}

void TEditorViewInfo::SetUrl(bool Value) {
  if (Url() == Value) return;
  FHighlighter->SetUrl(Value);
  SchemeChanged();
}

}  // namespace tesvarin
