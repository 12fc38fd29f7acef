// The editor control with its search extension: the find string and options, searching the lines
// downwards and upwards, replacing every hit, the token under a double-click and the hit marks.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/Editor.h"
#include "editor/search/EditorExMarks.h"
#include "editor/search/EditorExSearch.h"
#include "editor/search/HitMarkPainter.h"
#include "editor/caret/EditorSelection.h"

namespace tesvarin {

class TEditorEx : public TEditor, private IRowMarkShapes {
public:
  static constexpr int MaxHitLength = TEditorExSearch::MaxHitLength;

  TEditorEx(IEditorWindow* Window, const TPlatform& Platform);
  ~TEditorEx() override;

  // ---- Search settings; a real change repaints while the hit marks are visible.
  [[nodiscard]] const std::string& FindString() const { return FSearch.FindString(); }
  void SetFindString(const std::string& Value) { FSearch.SetFindString(Value); }
  [[nodiscard]] TExSearchOptions ExSearchOptions() const { return FSearch.ExSearchOptions(); }
  void SetExSearchOptions(TExSearchOptions Value) { FSearch.SetExSearchOptions(Value); }
  [[nodiscard]] TREMatchStr& Matcher() { return FSearch.Matcher(); }
  [[nodiscard]] TEditorExSearch& Search() { return FSearch; }

  [[nodiscard]] TEditorExMarks& ExMarks() { return *FExMarks; }
  [[nodiscard]] const TEditorExMarks& ExMarks() const { return *FExMarks; }
  void SetExMarks(const TEditorExMarks& Value) { FExMarks->Assign(Value); }
  // The hit records of the row last given to GetFindHits.
  [[nodiscard]] const std::vector<TFindHit>& FindHits() const { return FFindHits; }

  // ---- Matching inside one string (1-based positions, 0: no hit)
  int StrSearch(std::string_view S, int& Len) { return FSearch.StrSearch(S, Len); }
  int StrSearchLast(std::string_view S, int& Len) { return FSearch.StrSearchLast(S, Len); }
  [[nodiscard]] static bool IsWholeWord(std::string_view S, int Pos, int Len) {
    return tesvarin::IsWholeWord(S, Pos, Len);
  }
  [[nodiscard]] static char CharKind(std::string_view S, int Index) { return tesvarin::CharKind(S, Index); }

  // The whole line that holds display row ARow; empty outside 0 .. RowCount-1.
  [[nodiscard]] std::string GetLineText(int ARow) const;

  // Search from the end of the selection (or the caret) down, or from its start up, one line at a
  // time without wrapping around; a hit is shown by HitStyle and scrolled into view.
  bool FindNext();
  bool FindPrev();
  // Shows, as FindNext does, the hit that a search begun at byte From of the text (CR LF breaks, as
  // GetSelStart counts) finds at byte Start; From lies in Start's line. False, with nothing shown,
  // when that search finds no hit right there.
  bool ShowHitFrom(int64_t From, int64_t Start);
  // Replaces every hit of the whole text; returns the number of replacements. With Spots, each
  // replacement is added to it, placed in the file's bytes as they were.
  int ReplaceAll(std::string_view Replacement, bool ExpandCrLf, TReplaceSpots* Spots = nullptr);
  // The whole text replaced as one step of the undo list.
  void SetTextUndoably(TBigString&& Text);

  // Fills FindHits with the marked parts of display row ARow; returns their number.
  int GetFindHits(int ARow);

  // Raises OnDblClick, then selects the token under the caret.
  virtual void DblClick();
  TNotifyEvent OnDblClick;

protected:
  // Makes the marks object with its change notification connected to the editor's repaint.
  [[nodiscard]] virtual std::unique_ptr<TEditorExMarks> CreateExMarks();
  // The marks over a painted row: white space, then the hits' bars (THitMarkPainter walks the row
  // and draws each mark through these hooks).
  void DrawLine(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) override;
  void DrawDBSpaceMark(int X, int Y) override;
  void DrawSpaceMark(int X, int Y) override;
  void DrawTabMark(int X, int Y) override;
  void DrawFindMark(int X1, int Y, int X2) override;

private:
  const std::vector<TFindHit>& RowHitsUpTo(int ARow, int Bytes) override;
  // GetFindHits for the row's first Bytes bytes only (a hit running past them is cut there).
  int FindHitsUpTo(int ARow, int Bytes);
  // The line that holds ARow with its hit walk, kept while the text, the rows and the search stay
  // the same, so the rows of a long line are served without finding the line or searching it again.
  struct TLineHits {
    const TEditorScreenStrings* Rows = nullptr;
    int LineRow = -1;  // -1: nothing kept
    int EndRow = -1;
    uint64_t TextVersion = 0;
    uint64_t LayoutVersion = 0;
    std::string FindString;
    TExSearchOptions Options;
    std::string Joined;  // the line when it spans rows
    THitWalk Walk;
    int KnownRow = -1;   // a row of the line whose start is known, for the next row asked
    int KnownStart = 0;  // its 0-based byte in the line
  };
  TLineHits& LineHitsOf(int ARow);
  // The 0-based byte of the line at which row ARow (of the kept line) starts.
  int RowStartInLine(TLineHits& C, int ARow) const;
  TLineHits FLineHits;
  // The line holding ARow, in place when it is one row, else joined into Buffer.
  [[nodiscard]] std::string_view LineView(int ARow, std::string& Buffer) const;
  // Drops the selection and puts the caret Offset bytes after the start of the line of ARow.
  void CaretToLinePos(int LineRow, int64_t Offset);
  // Ends the selection at its end (or leaves the caret), as a search from there begins.
  void CollapseToSelectionEnd();
  void ShowFoundHit(int LineRow, int64_t Offset, int Len);
  void SearchChanged();
  [[nodiscard]] bool TokenAt(std::string_view Line, int StartRow, int Offset, int& Start, int& Length) const;

  // What the caret and the selection look like, and which rows in which versions they are on.
  struct TEditorLook {
    const TEditorScreenStrings* Rows = nullptr;
    int Row = 0;
    int Col = 0;
    uint64_t Layout = 0;
    uint64_t Text = 0;
    TEditorSelState State = selNone;
    bool Box = false;
    TSelRange Range;
    bool operator==(const TEditorLook&) const = default;
  };
  // The last hit a search showed (a line's first row, an offset in it and a length) with the look
  // right after, so the next search can start after it without working back from the caret.
  struct TShownHit {
    bool Valid = false;
    int LineRow = 0;
    int64_t Offset = 0;
    int Len = 0;
    TEditorLook Look;
  };
  [[nodiscard]] TEditorLook Look() const;
  [[nodiscard]] bool HitStillShown() const { return FShownHit.Valid && FShownHit.Look == Look(); }
  void RememberHit(int LineRow, int64_t Offset, int Len);
  // A hit in the lines after the one that starts at LineRow, which then gets its first row.
  bool FindInLinesAfter(int& LineRow, int& Pos, int& Len);
  TShownHit FShownHit;

  std::unique_ptr<TEditorExMarks> FExMarks;
  std::unique_ptr<THitMarkPainter> FMarkPainter;
  TEditorExSearch FSearch;
  std::vector<TFindHit> FFindHits;
};

}  // namespace tesvarin
