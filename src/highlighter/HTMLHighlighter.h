// The HTML colouring scheme: tags with their element names, attributes, equals signs and values,
// character entities, comments (a default bracket), strings, URLs and mail addresses.
#pragma once

#include <memory>

#include "highlighter/Highlighter.h"
#include "highlighter/HighlighterParser.h"

namespace tesvarin {

class THTMLHighlighter : public THighlighter {
public:
  [[nodiscard]] THighlighterColor& Ampersand() const { return *FAmpersand; }
  [[nodiscard]] THighlighterColor& Mail() const { return *FMail; }
  [[nodiscard]] THighlighterColor& Str() const { return *FStr; }
  [[nodiscard]] THighlighterColor& TagAttribute() const { return *FTagAttribute; }
  [[nodiscard]] THighlighterColor& TagAttributeValue() const { return *FTagAttributeValue; }
  [[nodiscard]] THighlighterColor& TagColor() const { return *FTagColor; }
  [[nodiscard]] THighlighterColor& TagElement() const { return *FTagElement; }
  [[nodiscard]] THighlighterColor& Url() const { return *FUrl; }

  void SetAmpersand(const THighlighterColor& Value) { FAmpersand->Assign(Value); }
  void SetMail(const THighlighterColor& Value) { FMail->Assign(Value); }
  void SetStr(const THighlighterColor& Value) { FStr->Assign(Value); }
  void SetTagAttribute(const THighlighterColor& Value) { FTagAttribute->Assign(Value); }
  void SetTagAttributeValue(const THighlighterColor& Value) { FTagAttributeValue->Assign(Value); }
  void SetTagColor(const THighlighterColor& Value) { FTagColor->Assign(Value); }
  void SetTagElement(const THighlighterColor& Value) { FTagElement->Assign(Value); }
  void SetUrl(const THighlighterColor& Value) { FUrl->Assign(Value); }

  void EnumPublished(const TPublishedVisitor& Visit) override;

protected:
  THTMLHighlighter() = default;

  void CreateColors() override;
  [[nodiscard]] TParserClass ParserClass() const override;
  void AddDefaultBrackets() override;
  void InitFileExtList() override;

private:
  std::unique_ptr<THighlighterColor> FAmpersand, FMail, FStr, FTagAttribute, FTagAttributeValue, FTagColor,
      FTagElement, FUrl;
};

class THTMLHighlighterParser : public THighlighterParser {
public:
  explicit THTMLHighlighterParser(const THighlighter* Highlighter);

  TTokenKind NextToken() override;
  [[nodiscard]] const THighlighterColor* TokenColor() override;
  // An open tag's state runs on into the next line.
  [[nodiscard]] bool ForgetsAtLineEnd() const override { return false; }

protected:
  void FillProcTables() override;
  void ScanToken() override;
  void ScanAnk() override;
  void ScanSingleQuote() override;

  virtual void ScanAmpersand();
  virtual void ScanSlash();
  virtual void ScanTagAttribute();
  virtual void ScanEquals();
  virtual void ScanTagValue();
  virtual void ScanTagElement();
  virtual void ScanTagClose();
  virtual void ScanTagOpen();
  virtual void AdjustTagKind();

private:
  const THTMLHighlighter* FScheme;
};

}  // namespace tesvarin
