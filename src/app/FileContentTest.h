// The content test of a search run: a file's bytes searched by the editor's own string search one
// line at a time, every line break taken as the CR LF the viewer's lines hold, so a file passes
// exactly when the viewer would find the text in it. It never builds the viewer's rows, and most
// files, which hold no hit, are ruled out on their raw bytes without even making the breaks CR LF.
#pragma once

#include <string>
#include <string_view>

#include "editor/search/EditorExSearch.h"

namespace tesvarin {

// True when no line of Raw (bytes whose breaks may be CR, LF or CR LF) can hold a hit of Search.
[[nodiscard]] bool RawBytesRuleOut(TEditorExSearch& Search, std::string_view Raw);

class TFileContentTest {
public:
  // Raises EInOutError when the file cannot be read. The search starts at the top.
  void LoadFromFile(const std::string& Path);
  // Bytes already read by the caller, who keeps them alive until the next load.
  void LoadBytes(std::string_view Bytes);
  // Empties the text and gives back the memory kept for the next file.
  void Clear();

  [[nodiscard]] const std::string& FindString() const { return FSearch.FindString(); }
  void SetFindString(std::string_view Value) { FSearch.SetFindString(std::string(Value)); }
  // Reduced by the editor's own rules.
  [[nodiscard]] TExSearchOptions ExSearchOptions() const { return FSearch.ExSearchOptions(); }
  void SetExSearchOptions(TExSearchOptions Value) { FSearch.SetExSearchOptions(Value); }
  // As the viewer's FindNext: from the end of the last hit on, never wrapping; a hit is selected.
  // Raises ERegExpParser for a bad expression.
  bool FindNext();

  // The selection as byte offsets into the text with CR LF breaks.
  [[nodiscard]] size_t SelStart() const { return FSelStart; }
  [[nodiscard]] size_t SelLength() const { return FSelLength; }

private:
  // The text with CR LF breaks, made from the raw bytes on first use.
  [[nodiscard]] const std::string& Text();
  // Start and end (before its break) of the line that holds byte Pos.
  [[nodiscard]] size_t LineStart(size_t Pos);
  [[nodiscard]] size_t LineEnd(size_t Pos);
  // Start of the first line from From on that may hold a hit; npos when none may.
  [[nodiscard]] size_t NextCandidateLine(size_t From);

  std::string FText;
  // The file's bytes, those after a Ctrl+Z included; FOwn holds them when this object read them, and
  // is kept from file to file so that a run does not allocate per candidate.
  std::string_view FRaw;
  std::string FOwn;
  bool FRawPending = false;
  TEditorExSearch FSearch;
  size_t FSelStart = 0;
  size_t FSelLength = 0;
};

}  // namespace tesvarin
