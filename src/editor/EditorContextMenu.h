// The editor's context menu as a model: items with captions and shortcuts, enabled and ticked
// states computed when it opens, and the command each runs. It is also the editor's shortcut table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/Editor.h"

namespace tesvarin {

struct TEditorMenuItem {
  std::string Caption;       // UTF-8, as the window shows it; "-" is a separator
  std::string ShortCutText;  // empty: no shortcut
  uint16_t Key = 0;          // 0: no shortcut
  TShiftState Shift;
  bool Enabled = true;
  bool Checked = false;
  std::function<void(TEditor&)> Command;  // empty for separators and submenu parents
  std::vector<TEditorMenuItem> Items;     // a submenu

  [[nodiscard]] bool IsSeparator() const { return Caption == "-"; }
};

class TEditorContextMenu {
public:
  explicit TEditorContextMenu(TEditor& Editor);

  // Recomputes every enabled and ticked state from the editor as it is now.
  void Update();
  [[nodiscard]] const std::vector<TEditorMenuItem>& Items() const { return FItems; }
  [[nodiscard]] const TEditorMenuItem& Item(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // Runs an item's command when it is enabled; false otherwise.
  bool Execute(const TEditorMenuItem& Item);
  // The item, anywhere in the menu, whose shortcut is Key with exactly the modifiers of Shift that
  // a shortcut can use (Shift, Ctrl, Alt), enabled or not; null when none.
  [[nodiscard]] const TEditorMenuItem* FindShortCut(uint16_t Key, TShiftState Shift) const;

  // Positions of the top-level items, for callers that reach one directly.
  enum TIndex : uint8_t {
    miPutMark,
    miGotoMark,
    miSep1,
    miUndo,
    miRedo,
    miSep2,
    miCut,
    miCopy,
    miPaste,
    miBoxPaste,
    miDelete,
    miSep3,
    miSelectAll,
    miSep4,
    miBoxMode,
    miCount
  };

private:
  void Build();
  [[nodiscard]] bool ClipboardHasText() const;
  TEditor& FEditor;
  std::vector<TEditorMenuItem> FItems;
};

}  // namespace tesvarin
