#include "highlighter/HighlighterColor.h"

namespace tesvarin {

void THighlighterColor::SetBkColor(TColor Value) {
  if (FBkColor == Value) return;
  FBkColor = Value;
  Changed();
}

void THighlighterColor::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void THighlighterColor::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void THighlighterColor::Assign(const TPersistent& Source) {
  const auto* From = dynamic_cast<const THighlighterColor*>(&Source);
  if (From == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetBkColor(From->FBkColor);
  SetColor(From->FColor);
  SetStyle(From->FStyle);
  EndUpdate();
}

THighlighterColorItem::THighlighterColorItem(TCollection* Collection) : TCollectionItem(Collection) {
  if (auto* Notify = dynamic_cast<TNotifyCollection*>(Collection)) FItemColor.OnChange = Notify->ChangedProcEvent();
}

void THighlighterColorItem::Assign(const TPersistent& Source) {
  const auto* From = dynamic_cast<const THighlighterColorItem*>(&Source);
  if (From == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  FItemColor.Assign(From->FItemColor);
}

void THighlighterColorItem::EnumPublished(const TPublishedVisitor& Visit) { Visit("ItemColor", FItemColor); }

void THighlighterBracketItem::SetLeftBracket(std::string Value) {
  if (FLeftBracket == Value) return;
  FLeftBracket = std::move(Value);
  Changed(false);
}

void THighlighterBracketItem::SetRightBracket(std::string Value) {
  if (FRightBracket == Value) return;
  FRightBracket = std::move(Value);
  Changed(false);
}

void THighlighterBracketItem::Assign(const TPersistent& Source) {
  if (const auto* From = dynamic_cast<const THighlighterBracketItem*>(&Source)) {
    SetLeftBracket(From->FLeftBracket);
    SetRightBracket(From->FRightBracket);
  }
  THighlighterColorItem::Assign(Source);
}

void THighlighterBracketCollection::Assign(const TPersistent& Source) {
  const auto* From = dynamic_cast<const THighlighterBracketCollection*>(&Source);
  if (From == nullptr) {
    TNotifyCollection::Assign(Source);
    return;
  }
  if (From == this) return;
  BeginUpdate();
  try {
    Clear();
    for (int I = 0; I < From->Count(); ++I) AddItem().Assign(From->Items(I));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::unique_ptr<TCollectionItem> THighlighterBracketCollection::CreateItem() {
  if (Count() >= MaxBrackets) {
    throw EHighlighterError("THighlighterBracketCollection\r\nYou can not add item over " + std::to_string(MaxBrackets));
  }
  return std::make_unique<THighlighterBracketItem>(this);
}

}  // namespace tesvarin
