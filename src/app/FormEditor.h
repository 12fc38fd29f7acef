// What the main window asks of its one editor, the viewer (the search run tests content without it).
// Every text here is code page 932 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/search/EditorExSearch.h"
#include "editor/search/ExSearchOption.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/HugePages.h"
#include "support/FileStamp.h"

namespace tesvarin {

class IFormEditor {
public:
  virtual ~IFormEditor() = default;

  // Lines: replaces the text by the file's bytes, caret at the top and no selection;
  // raises EInOutError when the file cannot be read (the text is empty then). Returns the stamp of
  // the bytes read, to tell at saving whether the file changed on disk since.
  virtual TFileStamp LoadFromFile(const std::string& Path) = 0;
  // The same with a file's bytes the caller read and converted to code page 932.
  virtual void LoadBytes(std::string_view Bytes) = 0;
  // The user cannot change the text (a file that could not be written back as it was read).
  virtual void SetReadOnly(bool Value) = 0;
  // The bytes that saving the lines writes: each line with the break it had in the file (a new
  // line with that of the line it was split from), the last line without one when it had none,
  // then any bytes that followed a Ctrl+Z in the file.
  [[nodiscard]] virtual std::string SaveText() const = 0;
  // The text is code page 932 throughout: a replace can tell its characters apart.
  [[nodiscard]] virtual bool WellFormed() const = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual void Clear() = 0;

  [[nodiscard]] virtual const std::string& FindString() const = 0;
  virtual void SetFindString(std::string_view Value) = 0;
  // The setter reduces the set to an allowed combination.
  [[nodiscard]] virtual TExSearchOptions ExSearchOptions() const = 0;
  virtual void SetExSearchOptions(TExSearchOptions Value) = 0;
  // From the caret, past the current hit or selection; a hit is selected. Never wraps around.
  virtual bool FindNext() = 0;
  virtual bool FindPrev() = 0;
  // Shows the hit that a search begun at byte From of WholeText finds at byte Start, as FindNext
  // would; From lies in Start's line. False, showing nothing, when no hit starts there.
  virtual bool ShowHitFrom(int64_t From, int64_t Start) = 0;
  // Replaces every hit of FindString in the whole text; with ExpandCrLf "\r\n" in the
  // replacement (either case) stands for a line break. Returns the number of replacements. With
  // Spots, each replacement is added to it, placed in SaveText as it was before.
  virtual int ReplaceAll(std::string_view Replacement, bool ExpandCrLf, TReplaceSpots* Spots) = 0;

  // The whole text with CR LF line breaks, and a number that changes whenever the text may have.
  [[nodiscard]] virtual TBigString WholeText() const = 0;
  // WholeText in pieces of whole lines, as TEditorStrings::ProduceTextPieces gives them.
  virtual void ProduceWholeText(const TTextPieceSink& Take) const = 0;
  [[nodiscard]] virtual uint64_t TextVersion() const = 0;
  // Byte offset of the selection's start (or the caret) in WholeText.
  [[nodiscard]] virtual int64_t SelStart() const = 0;

  [[nodiscard]] virtual bool Modified() const = 0;
  virtual void SetModified(bool Value) = 0;
  // Collapses the selection to its start (and leaves box selection).
  virtual void SetSelLength(int Value) = 0;
  virtual void SetFocus() = 0;
  // These single-byte characters stop separating words.
  virtual void RemoveDelimiters(std::string_view Chars) = 0;
};

}  // namespace tesvarin
