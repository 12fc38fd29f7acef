// The context menu's items, their states and commands.
#include "editor/EditorContextMenu.h"

#include "editor/EditorMessages.h"

namespace tesvarin {

namespace {

constexpr int MenuMarks = 10;  // the menu reaches marks 0-9 only

TEditorMenuItem Separator() {
  TEditorMenuItem Item;
  // Built from a character: GCC 12 at -O2 warns falsely (-Wrestrict) on assigning this short literal.
  Item.Caption.assign(1, '-');
  return Item;
}

TEditorMenuItem Command(std::string Caption, std::string ShortCutText, uint16_t Key, TShiftState Shift,
                        std::function<void(TEditor&)> Fn) {
  TEditorMenuItem Item;
  Item.Caption = std::move(Caption);
  Item.ShortCutText = std::move(ShortCutText);
  Item.Key = Key;
  Item.Shift = Shift;
  Item.Command = std::move(Fn);
  return Item;
}

bool MarkPlaced(const TEditor& Editor, int Mark) { return (Editor.ListRows().MarkSet() >> Mark & 1) != 0; }

void ToggleMark(TEditor& Editor, int Mark) {
  if ((Editor.RowMarksOf(Editor.Row()) >> Mark & 1) != 0)
    Editor.DeleteMark(Editor.Row(), Mark);
  else
    Editor.PutMark(Editor.Row(), Mark);
}

TEditorMenuItem MarkMenu(std::string Caption, std::string_view ShortCutPrefix, TShiftState Shift,
                         void (*Fn)(TEditor&, int)) {
  TEditorMenuItem Parent;
  Parent.Caption = std::move(Caption);
  for (int K = 0; K < MenuMarks; ++K) {
    const char Digit = static_cast<char>('0' + K);
    Parent.Items.push_back(Command(std::string(1, Digit), std::string(ShortCutPrefix) + Digit,
                                   static_cast<uint16_t>(Digit), Shift,
                                   [Fn, K](TEditor& E) { Fn(E, K); }));
  }
  return Parent;
}

// Only these modifiers take part in a shortcut; mouse buttons held meanwhile do not matter.
TShiftState ShortCutModifiers(TShiftState Shift) {
  TShiftState Result;
  for (const TShiftStateItem M : {ssShift, ssCtrl, ssAlt})
    if (Shift.Contains(M)) Result.Include(M);
  return Result;
}

const TEditorMenuItem* FindIn(const std::vector<TEditorMenuItem>& Items, uint16_t Key, TShiftState Shift) {
  for (const TEditorMenuItem& Item : Items) {
    if (Item.Key != 0 && Item.Key == Key && Item.Shift == Shift) return &Item;
    if (const TEditorMenuItem* Found = FindIn(Item.Items, Key, Shift)) return Found;
  }
  return nullptr;
}

}  // namespace

TEditorContextMenu::TEditorContextMenu(TEditor& Editor) : FEditor(Editor) { Build(); }

void TEditorContextMenu::Build() {
  const TShiftState Ctrl{ssCtrl};
  const TShiftState ShiftCtrl{ssShift, ssCtrl};
  FItems.clear();
  FItems.push_back(MarkMenu("マーク設定", "Shift+Ctrl+", ShiftCtrl, &ToggleMark));
  FItems.push_back(MarkMenu("マークジャンプ", "Ctrl+", Ctrl, [](TEditor& E, int K) { E.GotoMark(K); }));
  FItems.push_back(Separator());
  FItems.push_back(Command("元に戻す(&U)", "Ctrl+Z", 'Z', Ctrl, [](TEditor& E) { E.Undo(); }));
  FItems.push_back(Command("やり直し(&R)", "Ctrl+A", 'A', Ctrl, [](TEditor& E) { E.Redo(); }));
  FItems.push_back(Separator());
  FItems.push_back(Command("切り取り(&T)", "Ctrl+X", 'X', Ctrl, [](TEditor& E) { E.CutToClipboard(); }));
  FItems.push_back(Command("コピー(&C)", "Ctrl+C", 'C', Ctrl, [](TEditor& E) { E.CopyToClipboard(); }));
  FItems.push_back(Command("貼り付け(&P)", "Ctrl+V", 'V', Ctrl, [](TEditor& E) { E.PasteFromClipboard(); }));
  FItems.push_back(Command("Box貼り付け(&B)", "Ctrl+B", 'B', Ctrl, [](TEditor& E) {
    if (E.Platform().Clipboard != nullptr) E.BoxPasteText(E.Platform().Clipboard->Text());
  }));
  FItems.push_back(Command("削除(&D)", "", 0, {}, [](TEditor& E) { E.DeleteSelection(); }));
  FItems.push_back(Separator());
  FItems.push_back(Command("すべて選択(&A)", "", 0, {}, [](TEditor& E) { E.SelectAll(); }));
  FItems.push_back(Separator());
  FItems.push_back(Command("Box選択モード(&K)", "Ctrl+K", 'K', Ctrl,
                           [](TEditor& E) { E.SetSelectionMode(!E.SelectionMode()); }));
}

bool TEditorContextMenu::ClipboardHasText() const {
  const IClipboard* Clipboard = FEditor.Platform().Clipboard;
  return Clipboard != nullptr && Clipboard->HasText();
}

void TEditorContextMenu::Update() {
  const bool Writable = !FEditor.ReadOnly();
  const bool HasSelection = FEditor.GetSelLength() > 0;
  const bool Pastable = ClipboardHasText() && Writable;
  for (TEditorMenuItem* Marks : {&FItems[miPutMark], &FItems[miGotoMark]})
    for (int K = 0; K < MenuMarks; ++K) Marks->Items[static_cast<size_t>(K)].Checked = MarkPlaced(FEditor, K);
  FItems[miUndo].Enabled = FEditor.CanUndo() && Writable;
  FItems[miRedo].Enabled = FEditor.CanRedo() && Writable;
  FItems[miCut].Enabled = HasSelection && Writable;
  FItems[miCopy].Enabled = HasSelection;
  FItems[miPaste].Enabled = Pastable;
  FItems[miBoxPaste].Enabled = Pastable;
  FItems[miDelete].Enabled = HasSelection && Writable;
  // The text is empty only when its first row is and there is no other: no walk over every row.
  FItems[miSelectAll].Enabled = FEditor.RowCount() > 1 || FEditor.RowOffset(1) > 0;
  FItems[miBoxMode].Checked = FEditor.SelectionMode();
}

bool TEditorContextMenu::Execute(const TEditorMenuItem& Item) {
  if (!Item.Enabled || !Item.Command) return false;
  Item.Command(FEditor);
  return true;
}

const TEditorMenuItem* TEditorContextMenu::FindShortCut(uint16_t Key, TShiftState Shift) const {
  return FindIn(FItems, Key, ShortCutModifiers(Shift));
}

}  // namespace tesvarin
