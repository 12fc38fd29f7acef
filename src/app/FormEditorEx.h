// The main window's editor over the real editor control: every search and edit is the editor's own.
#pragma once

#include "app/FormEditor.h"
#include "editor/EditorEx.h"

namespace tesvarin {

class TFormEditorEx : public IFormEditor {
public:
  // Editor is not owned and must outlive this object.
  explicit TFormEditorEx(TEditorEx& Editor) : FEditor(Editor) {}

  TFileStamp LoadFromFile(const std::string& Path) override;
  void LoadBytes(std::string_view Bytes) override;
  void SetReadOnly(bool Value) override { FEditor.SetReadOnly(Value); }
  [[nodiscard]] std::string SaveText() const override { return FEditor.Lines().FileBytes(); }
  [[nodiscard]] bool WellFormed() const override { return FEditor.Lines().WellFormed(); }
  void BeginUpdate() override { FEditor.Lines().BeginUpdate(); }
  void EndUpdate() override { FEditor.Lines().EndUpdate(); }
  void Clear() override;

  [[nodiscard]] const std::string& FindString() const override { return FEditor.FindString(); }
  void SetFindString(std::string_view Value) override { FEditor.SetFindString(std::string(Value)); }
  [[nodiscard]] TExSearchOptions ExSearchOptions() const override { return FEditor.ExSearchOptions(); }
  void SetExSearchOptions(TExSearchOptions Value) override { FEditor.SetExSearchOptions(Value); }
  bool FindNext() override { return FEditor.FindNext(); }
  bool FindPrev() override { return FEditor.FindPrev(); }
  bool ShowHitFrom(int64_t From, int64_t Start) override { return FEditor.ShowHitFrom(From, Start); }
  int ReplaceAll(std::string_view Replacement, bool ExpandCrLf, TReplaceSpots* Spots) override {
    return FEditor.ReplaceAll(Replacement, ExpandCrLf, Spots);
  }

  [[nodiscard]] TBigString WholeText() const override { return FEditor.Lines().BigText(); }
  void ProduceWholeText(const TTextPieceSink& Take) const override {
    // Big enough that a piece costs little beside its search, small enough to stay in memory once.
    FEditor.Lines().ProduceTextPieces(size_t{16} << 20, Take);
  }
  [[nodiscard]] uint64_t TextVersion() const override { return FEditor.ListRows().TextVersion(); }
  [[nodiscard]] int64_t SelStart() const override { return FEditor.GetSelStart(); }

  [[nodiscard]] bool Modified() const override { return FEditor.Modified(); }
  void SetModified(bool Value) override { FEditor.SetModified(Value); }
  void SetSelLength(int Value) override { FEditor.SetSelLength(Value); }
  void SetFocus() override;
  void RemoveDelimiters(std::string_view Chars) override;

  [[nodiscard]] TEditorEx& Editor() { return FEditor; }

private:
  void ToTop();

  TEditorEx& FEditor;
};

}  // namespace tesvarin
