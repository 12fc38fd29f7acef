// The editor's selection: its state, anchor, the normalized stream range and display rectangle,
// and the byte rules of stream and box selections over the rows.
#pragma once

#include "editor/Editor.h"

namespace tesvarin {

class TEditorSelection {
public:
  explicit TEditorSelection(TEditor& Editor) : FEditor(Editor) {}

  [[nodiscard]] TEditorSelState State() const { return FState; }
  [[nodiscard]] bool BoxMode() const { return FBoxMode; }

private:
  TEditor& FEditor;
  TEditorSelState FState = selNone;
  bool FBoxMode = false;
};

}  // namespace tesvarin
