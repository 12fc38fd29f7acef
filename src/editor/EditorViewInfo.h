// The editor's own colouring scheme as a settings object: it owns a TEditorHighlighter and
// publishes that scheme's settings, so a change inside the scheme reaches the editor once.
#pragma once

#include <memory>
#include <string>

#include "highlighter/EditorHighlighter.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

class TEditorViewInfo : public TNotifyPersistent {
public:
  TEditorViewInfo();
  ~TEditorViewInfo() override;

  [[nodiscard]] TEditorHighlighter& Highlighter() const { return *FHighlighter; }

private:
  std::unique_ptr<TEditorHighlighter> FHighlighter;
};

}  // namespace tesvarin
