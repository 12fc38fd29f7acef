// The window's editor for the command line: the file's bytes with CR LF breaks, searched by plain
// byte comparison that respects double-byte characters, with or without regard to case.
#pragma once

#include <string>

#include "app/FormEditor.h"

namespace tesvarin::cli {

class TFileContentEditor : public IFormEditor {
public:
  void LoadFromFile(const std::string& Path) override;
  [[nodiscard]] std::string SaveText() const override { return FText; }
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Clear() override;

  [[nodiscard]] const std::string& FindString() const override { return FFind; }
  void SetFindString(std::string_view Value) override { FFind = std::string(Value); }
  [[nodiscard]] TExSearchOptions ExSearchOptions() const override { return FOptions; }
  void SetExSearchOptions(TExSearchOptions Value) override;
  bool FindNext() override;
  bool FindPrev() override;
  int ReplaceAll(std::string_view Replacement, bool ExpandCrLf) override;

  [[nodiscard]] bool Modified() const override { return FModified; }
  void SetModified(bool Value) override { FModified = Value; }
  void SetSelLength(int Value) override;
  void SetFocus() override {}
  void RemoveDelimiters(std::string_view) override {}

private:
  [[nodiscard]] size_t Find(size_t From) const;
  [[nodiscard]] bool IsCharStart(size_t Pos) const;
  [[nodiscard]] bool Searchable() const;
  void Select(size_t Pos);

  std::string FText;
  std::string FFolded;  // FText with ASCII letters lower-cased, when case does not matter
  std::string FFind;
  TExSearchOptions FOptions;
  size_t FSelStart = 0;
  size_t FSelLength = 0;
  bool FModified = false;
};

}  // namespace tesvarin::cli
