// The window's editor for the command line: the file's bytes with CR LF breaks, searched by the
// editor's own string search one line at a time, so every option behaves as in the viewer.
#pragma once

#include <string>

#include "app/FormEditor.h"
#include "editor/EditorExSearch.h"

namespace tesvarin::cli {

class TFileContentEditor : public IFormEditor {
public:
  void LoadFromFile(const std::string& Path) override;
  [[nodiscard]] std::string SaveText() const override { return Text(); }
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override;

  [[nodiscard]] const std::string& FindString() const override { return FSearch.FindString(); }
  void SetFindString(std::string_view Value) override { FSearch.SetFindString(std::string(Value)); }
  [[nodiscard]] TExSearchOptions ExSearchOptions() const override { return FSearch.ExSearchOptions(); }
  void SetExSearchOptions(TExSearchOptions Value) override { FSearch.SetExSearchOptions(Value); }
  bool FindNext() override;
  bool FindPrev() override;
  int ReplaceAll(std::string_view Replacement, bool ExpandCrLf) override;

  [[nodiscard]] bool Modified() const override { return FModified; }
  void SetModified(bool Value) override { FModified = Value; }
  void SetSelLength(int Value) override;
  void SetFocus() override {}
  void RemoveDelimiters(std::string_view) override {}

  // The selection as byte offsets into the text with CR LF breaks.
  [[nodiscard]] size_t SelStart() const { return FSelStart; }
  [[nodiscard]] size_t SelLength() const { return FSelLength; }

private:
  // The text with CR LF breaks, made from the raw bytes on first use.
  [[nodiscard]] const std::string& Text() const;
  // Start and end (before its break) of the line that holds byte Pos.
  [[nodiscard]] size_t LineStart(size_t Pos) const;
  [[nodiscard]] size_t LineEnd(size_t Pos) const;
  // Start of the first line from From on that may hold a hit; npos when none may.
  [[nodiscard]] size_t NextCandidateLine(size_t From);
  // True when the loaded bytes, before their breaks are made CR LF, cannot hold a hit.
  [[nodiscard]] bool RawBytesRuleOut();
  void Select(size_t Pos, int Len);

  mutable std::string FText;
  [[nodiscard]] std::string_view RawBytes() const { return {FRaw.data(), FRawSize}; }
  // The file's bytes up to Ctrl+Z while FRawPending, in a buffer kept from file to file.
  std::string FRaw;
  size_t FRawSize = 0;
  mutable bool FRawPending = false;
  TEditorExSearch FSearch;
  size_t FSelStart = 0;
  size_t FSelLength = 0;
  bool FModified = false;
};

}  // namespace tesvarin::cli
