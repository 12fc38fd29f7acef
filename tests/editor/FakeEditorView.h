// An attached editor for row store tests: a caret, a screen, a record of what it was told.
#pragma once

#include <memory>
#include <new>
#include <vector>

#include "editor/chars/ColumnMap.h"
#include "editor/text/EditorView.h"

namespace tesvarin {

class FakeEditorView : public IEditorView {
public:
  int Row = 0;
  int Col = 0;
  int Top = 0;
  int Screen = 10;
  bool IsFocused = false;
  bool IsLoading = false;
  bool BracketsFull = true;
  IRowStateProvider* Provider = nullptr;
  int TextChanges = 0;
  int Refreshes = 0;
  int SelectionDrops = 0;
  std::vector<int> Invalidated;
  bool CaretRowFails = false;  // stands for running out of memory where the caret is asked

  [[nodiscard]] int CaretRow() const override {
    if (CaretRowFails) throw std::bad_alloc();
    return Row;
  }
  [[nodiscard]] int CaretCol() const override { return Col; }
  void SetCaretRowCol(int R, int C) override {
    Row = R;
    Col = C;
  }
  [[nodiscard]] int TopRow() const override { return Top; }
  void SetTopRow(int R) override { Top = R; }
  [[nodiscard]] int ScreenRows() const override { return Screen; }
  [[nodiscard]] bool Focused() const override { return IsFocused; }
  void CleanSelection() override { ++SelectionDrops; }
  void HideCaret() override {}
  void ShowCaret() override {}
  void InvalidateRow(int R) override { Invalidated.push_back(R); }
  void TextChanged() override { ++TextChanges; }
  void Refresh() override { ++Refreshes; }
  void BeginLinesUpdate() override {}
  void EndLinesUpdate() override {}
  [[nodiscard]] int TabSpaceCount() const override { return 8; }
  [[nodiscard]] const TByteSet& Delimiters() const override { return DefaultDelimiters(); }
  [[nodiscard]] bool InitBracketsFull() const override { return BracketsFull; }
  [[nodiscard]] bool Loading() const override { return IsLoading; }
  [[nodiscard]] bool Destroying() const override { return false; }
  [[nodiscard]] IRowStateProvider* RowStateProvider() const override { return Provider; }
};

// Counts the rows it has seen in ElementState, so each row's state says how many rows precede it
// (mod 256); every computed state is distinct from its neighbours.
class CountingParser : public IRowStateParser {
public:
  explicit CountingParser(int* Runs) : FRuns(Runs) {}
  void UpdateRowState(int, const IRowSource&, TRowAttributeData& Data) override {
    ++*FRuns;
    Data.ElementState = (Data.ElementState + 1) & 0xFF;
  }

private:
  int* FRuns;
};

class CountingProvider : public IRowStateProvider {
public:
  mutable int Runs = 0;
  [[nodiscard]] std::unique_ptr<IRowStateParser> NewRowStateParser() const override {
    return std::make_unique<CountingParser>(&Runs);
  }
};

}  // namespace tesvarin
