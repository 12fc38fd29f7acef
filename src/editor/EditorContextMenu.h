// The editor's context menu as a model: items with captions and shortcuts, enabled and ticked
// states computed when it opens, and the command each runs. It is also the editor's shortcut table.
#pragma once

#include "editor/Editor.h"

namespace tesvarin {

class TEditorContextMenu {
public:
  explicit TEditorContextMenu(TEditor& Editor) : FEditor(Editor) {}

private:
  TEditor& FEditor;
};

}  // namespace tesvarin
