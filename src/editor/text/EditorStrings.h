// The editor's Lines: the row store presented as a list of lines, with whole-text access, loading
// and saving.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text/EditorScreenStrings.h"
#include "editor/text/HugePages.h"
#include "editor/text/TextPieces.h"
#include "support/FileStamp.h"
#include "support/StringList.h"

namespace tesvarin {

class TEditorStrings {
public:
  // Editor may be null (no caret to move, nothing to freeze).
  TEditorStrings(TEditorScreenStrings& Rows, IEditorView* Editor) : FRows(Rows), FEditor(Editor) {}
  TEditorStrings(const TEditorStrings&) = delete;
  TEditorStrings& operator=(const TEditorStrings&) = delete;

  [[nodiscard]] int Count() const;
  // Bad line indexes raise the list error and change nothing.
  [[nodiscard]] std::string Get(int Index) const;
  void Put(int Index, std::string_view S);
  void Insert(int Index, std::string_view S);  // Index == Count appends
  int Add(std::string_view S);
  void Delete(int Index);
  void Clear();

  [[nodiscard]] std::string Text() const;  // CR LF after each line that has a break
  [[nodiscard]] TBigString BigText() const;  // the same, for a pass over a whole big text
  [[nodiscard]] size_t TextSize() const;  // of Text, without making it
  // The same bytes handed to Take in pieces of whole lines, each at least PieceBytes long but for the
  // last, with the offset of its first byte; the CR LF between two pieces is in neither. A pass over a
  // big text then never holds it twice.
  void ProduceTextPieces(size_t PieceBytes, const TTextPieceSink& Take) const;
  // The TLineBreak of each CR LF of Text, in order: the bytes that end that line in the file.
  [[nodiscard]] std::string LineBreaks() const;
  // Every line keeps the break S gives it (CR LF, CR or LF).
  void SetLinesText(std::string_view S);
  // The same, the rows viewing Text's own bytes, which the store takes over.
  void TakeLinesText(TBigString&& Text);
  void Assign(const TStringList& Source);
  void Assign(const TEditorStrings& Source);

  // The lines end at the first Ctrl+Z, NUL bytes included; the bytes from the Ctrl+Z on are kept
  // aside and written back after the lines. Each line is saved with the break it was loaded with
  // (CR LF, CR or LF), a line typed new with the break of the line it was split from, and the last
  // line without a break when it had none: a file saved unchanged is saved byte for byte. A file
  // too big for this machine's memory is refused before anything is read. Stamp (when given) gets
  // the stamp of the bytes read, for telling later whether the file changed on disk.
  void LoadFromFile(const std::string& Path, TFileStamp* Stamp = nullptr);
  // As LoadFromFile, from bytes already read (and converted) by the caller.
  void LoadFromBytes(std::string_view Bytes);
  void SaveToFile(const std::string& Path) const;
  // What SaveToFile writes.
  [[nodiscard]] std::string FileBytes() const;
  [[nodiscard]] const std::string& TailAfterCtrlZ() const { return FTail; }
  // Every byte starts a code page 932 character or is the trail byte of one, the bytes after a
  // Ctrl+Z included: a text in which a replace can tell characters apart.
  [[nodiscard]] bool WellFormed() const;
  // From this many rows WellFormed checks each half on a thread of its own.
  static constexpr int SplitWellFormedFrom = 1 << 20;

  // Form data "Strings": one string per line; read back by adding each string as a row.
  [[nodiscard]] std::vector<std::string> StoredStrings() const;
  void ReadStoredStrings(const std::vector<std::string>& Strings);
  // Stored only when the lines differ from the inherited ones, or without them when there is a line.
  [[nodiscard]] bool ShouldStoreStrings(const TEditorStrings* Inherited) const;

  void BeginUpdate();
  void EndUpdate();
  [[nodiscard]] int UpdateCount() const { return FUpdateCount; }

private:
  // First row and row count of line Index (which must be valid).
  void LineRows(int Index, int& First, int& Rows) const;
  void CheckLine(int Index) const;
  void CaretAfter(int Row, int64_t Offset);
  void FinishLoad();
  // Rows From .. To-1 (From starting a line) are well formed; Pending: a lead byte ends the last.
  [[nodiscard]] bool RowsWellFormed(int From, int To, bool& Pending) const;
  // All lines anew from Size bytes of Block, made before the rows go: a text refused for want of
  // memory is not a text lost.
  void SetLinesBlock(TTextBlock Block, size_t Size);
  // The loaded bytes become the rows, those from a Ctrl+Z on the tail.
  void AdoptLoaded(TTextBlock Block, size_t Size, const std::function<void(int64_t Rows)>& CheckRows = {});
  // Hands the bytes of FileBytes to Sink in pieces of about a megabyte.
  void ProduceFileBytes(const std::function<void(std::string_view)>& Sink) const;

  TEditorScreenStrings& FRows;
  IEditorView* FEditor;
  std::string FTail;
  int FUpdateCount = 0;
};

}  // namespace tesvarin
