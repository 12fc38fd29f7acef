// A plain editor for the window's tests: lines of bytes, byte search per line, a caret and a selection.
#pragma once

#include <string>
#include <vector>

#include "app/FormEditor.h"

namespace tesvarin::test {

class FakeFormEditor : public IFormEditor {
public:
  TFileStamp LoadFromFile(const std::string& Path) override;
  void LoadBytes(std::string_view Bytes) override;
  void SetReadOnly(bool Value) override { ReadOnly = Value; }
  [[nodiscard]] std::string SaveText() const override;
  [[nodiscard]] bool WellFormed() const override { return true; }  // its tests use ASCII text
  void BeginUpdate() override { ++UpdateCount; }
  void EndUpdate() override { --UpdateCount; }
  void Clear() override;

  [[nodiscard]] const std::string& FindString() const override { return FFind; }
  void SetFindString(std::string_view Value) override { FFind = std::string(Value); }
  [[nodiscard]] TExSearchOptions ExSearchOptions() const override { return FOptions; }
  void SetExSearchOptions(TExSearchOptions Value) override;
  bool FindNext() override;
  bool FindPrev() override;
  bool ShowHitFrom(int64_t From, int64_t Start) override;
  int ReplaceAll(std::string_view Replacement, bool ExpandCrLf, TReplaceSpots* Spots) override;

  [[nodiscard]] TBigString WholeText() const override;
  // Each line a piece of its own.
  void ProduceWholeText(const TTextPieceSink& Take) const override;
  // The fake's lines are changed by hand too: the version is the text's hash.
  [[nodiscard]] uint64_t TextVersion() const override;
  [[nodiscard]] int64_t SelStart() const override;

  [[nodiscard]] bool Modified() const override { return FModified; }
  void SetModified(bool Value) override { FModified = Value; }
  void SetSelLength(int Value) override { SelLength = Value; }
  void SetFocus() override { Focused = true; }
  void RemoveDelimiters(std::string_view Chars) override { Removed += Chars; }

  std::vector<std::string> Lines;
  int Line = 0, Pos = 0, SelLength = 0;  // the caret and the selection from it
  int UpdateCount = 0, Loads = 0;
  bool Focused = false;
  bool ReadOnly = false;
  std::string Removed;

private:
  bool Select(int L, size_t P);
  std::string FFind;
  TExSearchOptions FOptions;
  bool FModified = false;
};

}  // namespace tesvarin::test
