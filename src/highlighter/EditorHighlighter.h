// The editor's own colouring scheme: its colour set, its bracket collection with bulk setters, and a
// parser that adds mail and URL runs, a line-comment marker, a quotation character, control codes and
// a hex prefix to the base rules.
#pragma once

#include <memory>
#include <string>

#include "highlighter/Highlighter.h"
#include "highlighter/HighlighterParser.h"

namespace tesvarin {

class TEditorHighlighter;

class TEditorColor : public THighlighterColor {};

class TEditorColors : public TNotifyPersistent, public IPublishedObjects {
public:
  // Highlighter may be null for a free-standing set; then Reserve is the set's own spare colour.
  explicit TEditorColors(TEditorHighlighter* Highlighter);

  [[nodiscard]] TEditorColor& Ank() { return FAnk; }
  [[nodiscard]] TEditorColor& Comment() { return FComment; }
  [[nodiscard]] TEditorColor& DBCS() { return FDBCS; }
  [[nodiscard]] TEditorColor& Hit() { return FHit; }
  [[nodiscard]] TEditorColor& Int() { return FInt; }
  [[nodiscard]] TEditorColor& Mail() { return FMail; }
  // Not owned: the highlighter's Reserve.
  [[nodiscard]] THighlighterColor& Reserve() const;
  [[nodiscard]] TEditorColor& Select() { return FSelect; }
  [[nodiscard]] TEditorColor& Str() { return FStr; }
  [[nodiscard]] TEditorColor& Symbol() { return FSymbol; }
  [[nodiscard]] TEditorColor& Url() { return FUrl; }

  void SetAnk(const THighlighterColor& Value) { FAnk.Assign(Value); }
  void SetComment(const THighlighterColor& Value) { FComment.Assign(Value); }
  void SetDBCS(const THighlighterColor& Value) { FDBCS.Assign(Value); }
  void SetHit(const THighlighterColor& Value) { FHit.Assign(Value); }
  void SetInt(const THighlighterColor& Value) { FInt.Assign(Value); }
  void SetMail(const THighlighterColor& Value) { FMail.Assign(Value); }
  void SetReserve(const THighlighterColor& Value) { Reserve().Assign(Value); }
  void SetSelect(const THighlighterColor& Value) { FSelect.Assign(Value); }
  void SetStr(const THighlighterColor& Value) { FStr.Assign(Value); }
  void SetSymbol(const THighlighterColor& Value) { FSymbol.Assign(Value); }
  void SetUrl(const THighlighterColor& Value) { FUrl.Assign(Value); }

  void Assign(const TPersistent& Source) override;
  void EnumPublished(const TPublishedVisitor& Visit) override;

private:
  TEditorHighlighter* FHighlighter;
  TEditorColor FAnk, FComment, FDBCS, FHit, FInt, FMail, FSelect, FStr, FSymbol, FUrl;
  mutable THighlighterColor FSpareReserve;
};

class TEditorBracketCollection : public THighlighterBracketCollection {
public:
  using THighlighterBracketCollection::THighlighterBracketCollection;
  // Each sets one attribute of every bracket's colour with one notification.
  virtual void SetBracketsBkColor(TColor Value);
  virtual void SetBracketsColor(TColor Value);
  virtual void SetBracketsStyle(TFontStyles Value);

private:
  template <class F>
  void ForEachColor(F Set);
};

class TEditorHighlighter : public THighlighter {
public:
  [[nodiscard]] TEditorColors& Colors() const { return *FColors; }
  void SetColors(const TEditorColors& Value) { FColors->Assign(Value); }
  [[nodiscard]] TEditorBracketCollection& EditorBrackets() {
    return static_cast<TEditorBracketCollection&>(Brackets());
  }

  // Plain fields: the editor's view object wraps them with notifying setters.
  [[nodiscard]] const std::string& Commenter() const { return FCommenter; }
  void SetCommenter(std::string Value) { FCommenter = std::move(Value); }
  [[nodiscard]] bool ControlCode() const { return FControlCode; }
  void SetControlCode(bool Value) { FControlCode = Value; }
  [[nodiscard]] const std::string& HexPrefix() const { return FHexPrefix; }
  void SetHexPrefix(std::string Value) { FHexPrefix = std::move(Value); }
  [[nodiscard]] bool Mail() const { return FMail; }
  void SetMail(bool Value) { FMail = Value; }
  [[nodiscard]] const std::string& Quotation() const { return FQuotation; }
  void SetQuotation(std::string Value) { FQuotation = std::move(Value); }
  [[nodiscard]] bool Url() const { return FUrl; }
  void SetUrl(bool Value) { FUrl = Value; }

  // Each sets one attribute of every colour but "Select" and "Hit", with one notification.
  virtual void SetAllBkColor(TColor Value);
  virtual void SetAllColor(TColor Value);
  virtual void SetAllStyle(TFontStyles Value);

  void EnumPublished(const TPublishedVisitor& Visit) override;

protected:
  TEditorHighlighter() = default;

  void CreateColors() override;
  [[nodiscard]] std::unique_ptr<THighlighterBracketCollection> NewBrackets() override;
  [[nodiscard]] TParserClass ParserClass() const override;
  void ApplyColorProc(std::string_view Name, TPersistent& Value) override;
  [[nodiscard]] virtual std::unique_ptr<TEditorColors> NewColors();

private:
  void ApplyToAll(const THighlighterColor& Source, int Mask);

  std::unique_ptr<TEditorColors> FColors;
  std::string FCommenter;
  bool FControlCode = false;
  std::string FHexPrefix;
  bool FMail = false;
  std::string FQuotation;
  bool FUrl = false;
};

class TEditorParser : public THighlighterParser {
public:
  explicit TEditorParser(const THighlighter* Highlighter);

  // Also takes the scheme's current markers, which may have changed since the last row.
  void SetRowText(std::string_view Text, const TRowAttributeData& Data) override;
  [[nodiscard]] const THighlighterColor* TokenColor() override;

protected:
  void FillProcTables() override;
  void ScanToken() override;
  // Marks every byte at which one of the Match rules below can succeed; a token starting at any other
  // byte goes straight to the base dispatch. A subclass that widens a Match rule widens this too.
  virtual void FillMarkerStarts();

  virtual bool MatchQuotation();
  virtual void ScanQuotation();
  virtual bool MatchCommenter();
  virtual bool MatchHexPrefix();
  virtual bool MatchHexControlCode();
  virtual void ScanHexControlCode();
  virtual bool MatchControlCode();
  virtual void ScanControlCode();

private:
  [[nodiscard]] const TEditorHighlighter& Scheme() const { return *FScheme; }
  const TEditorHighlighter* FScheme;

protected:
  std::array<bool, 256> FMarkerStarts{};
};

}  // namespace tesvarin
