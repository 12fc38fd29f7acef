// The editor's search at string level: find string, options, first and last hit in a string, whole
// words, and the replace-all algorithms over the text of Lines.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "regexp/REMatchStr.h"
#include "support/ByteSearch.h"
#include "support/StringList.h"
#include "editor/search/ExSearchOption.h"
#include "editor/text/HugePages.h"
#include "editor/text/TextPieces.h"

namespace tesvarin {

// The single-byte and double-byte delimiter lists of CharKind, as code page 932 bytes.
[[nodiscard]] std::string_view SingleByteDelimiters();
[[nodiscard]] std::string_view DoubleByteDelimiters();

// Kind '0' .. '6' of the character that holds the 1-based byte index I of S.
[[nodiscard]] char CharKind(std::string_view S, int I);
// The kind changes at both edges of the 1-based range P .. P + L - 1.
[[nodiscard]] bool IsWholeWord(std::string_view S, int P, int L);

// One replacement of a replace-all, placed in the file's bytes as they were before it.
struct TReplaceSpot {
  uint64_t Offset = 0;     // where the replaced bytes begin
  uint64_t OldLength = 0;  // how many bytes they were
  std::string New;         // what they become
};
using TReplaceSpots = std::vector<TReplaceSpot>;

// Reduces any set to {}, {soMatchCase}, {soRegexp} or {soRegexp, soFuzzy}, soWholeWord kept.
[[nodiscard]] TExSearchOptions ReduceExSearchOptions(TExSearchOptions Value);

// Every "\r\n" (letters in either case, at character boundaries) becomes CR LF.
[[nodiscard]] std::string ExpandCrLfEscape(std::string_view S);
// 0-based index of the first "\r\n" escape at a character boundary of S, or npos.
[[nodiscard]] size_t FindCrLfEscape(std::string_view S);

class TEditorExSearch {
public:
  static constexpr int MaxHitLength = 250;

  TEditorExSearch() = default;
  TEditorExSearch(const TEditorExSearch&) = delete;
  TEditorExSearch& operator=(const TEditorExSearch&) = delete;

  // Fired after FindString or the options really changed.
  std::function<void()> OnChange;

  [[nodiscard]] const std::string& FindString() const { return FFindString; }
  void SetFindString(const std::string& Value);
  [[nodiscard]] TExSearchOptions ExSearchOptions() const { return FOptions; }
  // Stored reduced; a set equal to the stored one does nothing.
  void SetExSearchOptions(TExSearchOptions Value);
  [[nodiscard]] TREMatchStr& Matcher() { return FMatcher; }
  // The matcher set to the find string and the fuzzy option.
  TREMatchStr& PreparedMatcher();

  // True when FirstCandidate can rule out text: a plain find string, or an expression with
  // required literals.
  [[nodiscard]] bool RulesOutText();
  // The first place in Hay from From on that a line holding a hit must hold (npos when no line in
  // Hay can hold one); From itself when nothing rules text out. The place may lie before the hit or
  // inside a character: only the line it lies in counts.
  [[nodiscard]] size_t FirstCandidate(std::string_view Hay, size_t From);

  // 1-based position of the first hit in S (0 when none); Len gets its length (0 when none).
  // A NUL ends the text the engine sees, and the bytes after it are searched on as a text of their
  // own, so a NUL never hides the hits behind it.
  int StrSearch(std::string_view S, int& Len);
  // The last of the successive non-overlapping hits in S.
  int StrSearchLast(std::string_view S, int& Len);

  // Line mode runs over the lines of the text, whole-text mode (a regular expression containing
  // "\r\n") over the text itself. LinesText has CR LF after each line that has a break, and Breaks
  // the TLineBreak each of them stands for in the file. Returns the count; when it is above 0, Out
  // gets the new text with every break as Breaks says: the bytes outside the hits are the file's
  // own, and a line break in the replacement is the break of the line the hit lies in. With Spots,
  // each replacement is added to it, placed in the file's bytes.
  int ReplaceAllText(std::string_view LinesText, std::string_view Breaks, std::string_view Replacement,
                     bool ExpandCrLf, TBigString& Out, TReplaceSpots* Spots = nullptr);
  // The same over a text handed over in pieces of whole lines, TextSize bytes in all, as
  // TEditorStrings::ProduceTextPieces gives them: line mode never joins it. Whole-text mode needs
  // the text in one, and asks Whole for it (TEditorStrings::BigText).
  int ReplaceAllPieces(const TTextPieces& Pieces, const std::function<TBigString()>& Whole, size_t TextSize,
                       std::string_view Breaks, std::string_view Replacement, bool ExpandCrLf, TBigString& Out,
                       TReplaceSpots* Spots = nullptr);
  [[nodiscard]] bool IsWholeTextMode() const;
  // Replaces every hit of one string; R is inserted literally. For std::string and TBigString.
  template <class TString>
  // With Spots, each hit is added to it, T's first byte being at Base.
  int ReplaceInString(std::string_view T, std::string_view R, TString& Out, TReplaceSpots* Spots = nullptr,
                      uint64_t Base = 0);
  // Calls Hit(pos, len) with the 0-based place of each hit that replacing T replaces, searching the
  // rest of T after each hit as a string of its own. Returns the number of hits.
  template <class F>
  int ForEachReplaceHit(std::string_view T, F&& Hit);
  // Replaces the hits of each line; a line with a hit is put back.
  int ReplaceInLines(TStringList& Lines, std::string_view R);

  // Where the search after a hit at 0-based Pos of length Len starts: at least one character on.
  [[nodiscard]] static size_t NextSearchStart(std::string_view S, size_t Pos, size_t Len);

private:
  // Raw occurrence in S from From on (plain or regular expression), 0-based, or -1.
  int Occurrence(std::string_view S, size_t From, int& Len);
  int PlainOccurrence(std::string_view S, size_t From);
  // StrSearch with Nul the index of the first NUL in S (S.size() when none), which a search that
  // goes on into later parts moves on; a caller stepping through S keeps it, rather than look
  // through the whole rest of S again for every hit.
  int StrSearchKnowingNul(std::string_view S, size_t& Nul, int& Len);
  // StrSearch and StrSearchLast within one part of a string that holds no NUL.
  int FirstInPart(std::string_view S, int& Len);
  int LastInPart(std::string_view S, int& Len);
  // A plain search compares without case: not match case, and letters to fold.
  [[nodiscard]] bool Folds() const { return !FOptions.Contains(soMatchCase) && FFindHasLetter; }
  void Changed();

  // True when the lower-cased S holds the lower-cased find string at 0-based P, given that S holds
  // it there without regard to case and P starts a character.
  [[nodiscard]] bool FoldedHitAt(std::string_view S, size_t P) const;

  std::string FFindString;
  std::string FLowerFind;  // FindString lower-cased for the case-insensitive search
  TByteFinder FFinder;      // FindString as it is, and with letters folded, kept for every line
  TByteFinder FFoldFinder;
  std::vector<size_t> FTrailLetters;  // where the find string holds a letter as a trail byte
  bool FFindHasLetter = false;
  TExSearchOptions FOptions;
  TREMatchStr FMatcher;
};

}  // namespace tesvarin
