// A list of code page 932 byte strings: optionally sorted, with the text forms files and settings use.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tesvarin {

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

class TStringList {
public:
  TStringList() = default;
  TStringList(const TStringList&) = default;
  TStringList& operator=(const TStringList&) = default;
  virtual ~TStringList() = default;

  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] bool Empty() const { return FItems.empty(); }
  // Index outside 0 .. Count-1 raises the list error.
  [[nodiscard]] const std::string& Get(int Index) const;
  void Put(int Index, std::string S);
  [[nodiscard]] const std::string& operator[](int Index) const { return Get(Index); }

  // In a sorted list the string goes to its place (dupIgnore returns the existing index).
  int Add(std::string S);
  void Insert(int Index, std::string S);
  void Delete(int Index);
  void Clear();
  void Exchange(int A, int B);
  void Assign(const TStringList& Source);

  [[nodiscard]] int IndexOf(std::string_view S) const;
  // Binary search of a sorted list: true when found; Index is the place either way.
  bool Find(std::string_view S, int& Index) const;
  void Sort();
  void CustomSort(const std::function<int(const TStringList&, int, int)>& Compare);

  [[nodiscard]] bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  [[nodiscard]] TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  [[nodiscard]] bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // Compares two strings by the list's case rule.
  [[nodiscard]] int CompareStrings(std::string_view A, std::string_view B) const;

  // Every line followed by CR LF.
  [[nodiscard]] std::string Text() const;
  // CR, LF and CR LF each end a line; a final break adds no empty line.
  void SetText(std::string_view Text);
  [[nodiscard]] std::string CommaText() const;
  void SetCommaText(std::string_view Text);

  void LoadFromFile(const std::string& Path);
  void SaveToFile(const std::string& Path) const;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  [[nodiscard]] int UpdateCount() const { return FUpdateCount; }
  std::function<void(TStringList&)> OnChange;

  [[nodiscard]] const std::vector<std::string>& Items() const { return FItems; }
  [[nodiscard]] bool operator==(const TStringList& Other) const { return FItems == Other.FItems; }

protected:
  virtual void Changed();

private:
  void CheckIndex(int Index) const;
  void CheckUnsorted() const;

  std::vector<std::string> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
  int FUpdateCount = 0;
};

// Reads a whole file as bytes; raises EInOutError when it cannot.
[[nodiscard]] std::string ReadFileBytes(const std::string& Path);
// Reads the file into the front of Buffer, which only grows (so one buffer serves many files
// without new pages), and returns its length; the bytes after it are left over.
size_t ReadFileInto(const std::string& Path, std::string& Buffer);
// Raises EInOutError when a file of Size bytes cannot be held in this machine's memory.
void RequireMemoryFor(uint64_t Size, const std::string& Path);
// Writes a whole file; raises EInOutError when it cannot.
void WriteFileBytes(const std::string& Path, std::string_view Bytes);

}  // namespace tesvarin
