// The colour of a token, colour items, bracket pairs and the bounded bracket collection of a scheme.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "support/Collection.h"
#include "support/Color.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

// Errors of the colouring framework (their messages are English).
class EHighlighterError : public Exception {
public:
  using Exception::Exception;
};

// Visits the persistent objects an object publishes, in declaration order. The colour walk of a
// highlighter uses it where a property walk would be used: C++ has no published properties.
using TPublishedVisitor = std::function<void(std::string_view Name, TPersistent& Value)>;

class IPublishedObjects {
public:
  virtual ~IPublishedObjects() = default;
  virtual void EnumPublished(const TPublishedVisitor& Visit) = 0;
};

class THighlighterColor : public TNotifyPersistent {
public:
  [[nodiscard]] TColor BkColor() const { return FBkColor; }
  [[nodiscard]] TColor Color() const { return FColor; }
  [[nodiscard]] TFontStyles Style() const { return FStyle; }
  void SetBkColor(TColor Value);
  void SetColor(TColor Value);
  void SetStyle(TFontStyles Value);

  // Copies all three attributes with one notification.
  void Assign(const TPersistent& Source) override;

private:
  TColor FBkColor = clNone;
  TColor FColor = clNone;
  TFontStyles FStyle;
};

class THighlighterColorItem : public TCollectionItem, public IPublishedObjects {
public:
  explicit THighlighterColorItem(TCollection* Collection);

  [[nodiscard]] THighlighterColor& ItemColor() { return FItemColor; }
  [[nodiscard]] const THighlighterColor& ItemColor() const { return FItemColor; }
  void SetItemColor(const THighlighterColor& Value) { FItemColor.Assign(Value); }

  void Assign(const TPersistent& Source) override;
  void EnumPublished(const TPublishedVisitor& Visit) override;

private:
  THighlighterColor FItemColor;
};

class THighlighterBracketItem : public THighlighterColorItem {
public:
  using THighlighterColorItem::THighlighterColorItem;

  // Both are compared byte for byte, letters with their case.
  [[nodiscard]] const std::string& LeftBracket() const { return FLeftBracket; }
  [[nodiscard]] const std::string& RightBracket() const { return FRightBracket; }
  void SetLeftBracket(std::string Value);
  void SetRightBracket(std::string Value);

  void Assign(const TPersistent& Source) override;

private:
  std::string FLeftBracket;
  std::string FRightBracket;
};

class THighlighterBracketCollection : public TNotifyCollection {
public:
  // The row store keeps a bracket index (with the two states below 0) in four bits: -2 .. 13.
  static constexpr int MaxBrackets = 14;

  using TNotifyCollection::TNotifyCollection;

  [[nodiscard]] THighlighterBracketItem& Items(int Index) const {
    return static_cast<THighlighterBracketItem&>(Item(Index));
  }
  // Raises EHighlighterError when the collection already holds MaxBrackets items.
  THighlighterBracketItem& AddItem() { return static_cast<THighlighterBracketItem&>(Add()); }

  // Copies another bracket collection item by item; the limit applies, and an overflow keeps the
  // items copied so far and still closes the update bracket.
  void Assign(const TPersistent& Source) override;

protected:
  [[nodiscard]] std::unique_ptr<TCollectionItem> CreateItem() override;
};

}  // namespace tesvarin
