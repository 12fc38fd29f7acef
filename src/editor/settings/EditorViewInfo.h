// The editor's own colouring scheme as a settings object: it owns a TEditorHighlighter and
// publishes that scheme's settings, so a change inside the scheme reaches the editor once.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "highlighter/EditorHighlighter.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

class TEditorViewInfo : public TNotifyPersistent {
public:
  TEditorViewInfo();
  ~TEditorViewInfo() override;
  TEditorViewInfo(const TEditorViewInfo&) = delete;
  TEditorViewInfo& operator=(const TEditorViewInfo&) = delete;

  // Copies the eight published settings; one notification.
  void Assign(const TPersistent& Source) override;

  [[nodiscard]] TEditorHighlighter& Highlighter() const { return *FHighlighter; }

  // Setting copies, and notifies only when some bracket or colour really differs.
  [[nodiscard]] TEditorBracketCollection& Brackets() const { return FHighlighter->EditorBrackets(); }
  void SetBrackets(const THighlighterBracketCollection& Value);
  [[nodiscard]] TEditorColors& Colors() const { return FHighlighter->Colors(); }
  void SetColors(const TEditorColors& Value);
  [[nodiscard]] const std::string& Commenter() const { return FHighlighter->Commenter(); }
  void SetCommenter(std::string_view Value);
  [[nodiscard]] bool ControlCode() const { return FHighlighter->ControlCode(); }
  void SetControlCode(bool Value);
  [[nodiscard]] const std::string& HexPrefix() const { return FHighlighter->HexPrefix(); }
  void SetHexPrefix(std::string_view Value);
  [[nodiscard]] bool Mail() const { return FHighlighter->Mail(); }
  void SetMail(bool Value);
  // Only the first character (one byte, or a whole double-byte character) is kept.
  [[nodiscard]] const std::string& Quotation() const { return FHighlighter->Quotation(); }
  void SetQuotation(std::string_view Value);
  [[nodiscard]] bool Url() const { return FHighlighter->Url(); }
  void SetUrl(bool Value);

private:
  // Tells everyone who listens to the scheme; that includes this object's ChangedProc.
  void SchemeChanged();

  std::unique_ptr<TEditorHighlighter> FHighlighter;
};

}  // namespace tesvarin
