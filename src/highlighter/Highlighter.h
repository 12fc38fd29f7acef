// The base of every colouring scheme: colour items, brackets, reserved words, file extensions, the
// change notifier editors register with, and the factory of the scheme's parser.
#pragma once

#include <memory>
#include <string_view>

#include "highlighter/RowState.h"
#include "highlighter/HighlighterColor.h"
#include "support/NotifyClasses.h"
#include "support/StringList.h"

namespace tesvarin {

class THighlighterParser;

class THighlighter : public TFileExtComponent, public IRowStateProvider, public IPublishedObjects {
public:
  using TParserClass = std::unique_ptr<THighlighterParser> (*)(const THighlighter& Highlighter);

  // Schemes are built through New: their construction runs virtual hooks in a fixed order, which a
  // C++ constructor cannot dispatch to the derived class.
  template <class T, class... A>
  [[nodiscard]] static std::unique_ptr<T> New(A&&... Args) {
    struct Made final : T {
      explicit Made(A&&... Params) : T(std::forward<A>(Params)...) {}
    };
    std::unique_ptr<T> H = std::make_unique<Made>(std::forward<A>(Args)...);
    H->Construct();
    return H;
  }

  ~THighlighter() override;

  [[nodiscard]] THighlighterBracketCollection& Brackets() { return *FBrackets; }
  [[nodiscard]] const THighlighterBracketCollection& Brackets() const { return *FBrackets; }
  void SetBrackets(const THighlighterBracketCollection& Value) { FBrackets->Assign(Value); }
  [[nodiscard]] THighlighterColor& Reserve() { return *FReserve; }
  [[nodiscard]] const THighlighterColor& Reserve() const { return *FReserve; }
  void SetReserve(const THighlighterColor& Value) { FReserve->Assign(Value); }
  // Sorted, duplicates ignored, letters without case; every change of it is reported.
  [[nodiscard]] TStringList& ReserveWordList() { return *FReserveWordList; }
  [[nodiscard]] const TStringList& ReserveWordList() const { return *FReserveWordList; }
  void SetReserveWordList(const TStringList& Value);

  [[nodiscard]] TNotifyEventList& Notifier() { return *FNotifier; }

  [[nodiscard]] virtual std::unique_ptr<THighlighterParser> NewParser() const;
  [[nodiscard]] std::unique_ptr<IRowStateParser> NewRowStateParser() const override;

  // True when a colour reachable from Object has fsItalic.
  virtual bool HasItalicStyle(TPersistent& Object);
  [[nodiscard]] bool HasItalic() const { return FHasItalic; }
  // Sets, in every colour reachable from Object, BkColor (mask bit 1), Color (bit 2), Style (bit 4).
  void ApplyColor(TPersistent& Object, const THighlighterColor& Source, int Mask);

  void EnumPublished(const TPublishedVisitor& Visit) override;

protected:
  THighlighter() = default;

  [[nodiscard]] virtual std::unique_ptr<THighlighterColor> NewColor();
  virtual void CreateColors();
  [[nodiscard]] virtual std::unique_ptr<THighlighterBracketCollection> NewBrackets();
  [[nodiscard]] virtual TParserClass ParserClass() const = 0;
  virtual void AddDefaultBrackets() {}
  virtual void AddDefaultReservedWords() {}
  virtual void HasItalicStyleProc(std::string_view Name, TPersistent& Value);
  virtual void ApplyColorProc(std::string_view Name, TPersistent& Value);

private:
  using TWalkProc = void (THighlighter::*)(std::string_view, TPersistent&);
  void Construct();
  void WalkColors(TPersistent& Object, TWalkProc Proc);

  std::unique_ptr<TNotifyEventList> FNotifier;
  std::unique_ptr<THighlighterBracketCollection> FBrackets;
  std::unique_ptr<TStringList> FReserveWordList;
  std::unique_ptr<THighlighterColor> FReserve;
  bool FHasItalic = false;
  // Scratch state of ApplyColor.
  const THighlighterColor* FApplySource = nullptr;
  int FApplyMask = 0;
};

}  // namespace tesvarin
