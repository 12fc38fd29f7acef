#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/NaturalOrder.h"

namespace tesvarin {
namespace {

// A collation that ignores case, then puts lower case first: unlike bytes, where "B" < "a".
std::string CaseBlindKey(std::string_view Text) {
  std::string Key;
  for (char C : Text) Key += static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  Key += '\x01';
  for (char C : Text) Key += std::islower(static_cast<unsigned char>(C)) ? '\x02' : '\x03';
  return Key;
}

std::vector<std::string> SortedByName(std::vector<std::string> Names, const TNaturalOrder& Order) {
  std::stable_sort(Names.begin(), Names.end(),
                   [&](const std::string& A, const std::string& B) { return Order.NameKey(A) < Order.NameKey(B); });
  return Names;
}

TEST(NaturalOrder, NamesByTheValueOfTheirNumbersAndTheCollationOfTheirText) {
  struct TCase {
    const char* Why;
    std::vector<std::string> Expected;
  };
  const TCase Cases[] = {
      {"numbers by value", {"file1", "file2", "file10", "file100"}},
      {"leading zeros count as the value", {"f007", "f8", "f08x", "f10"}},
      {"a shorter text first", {"a", "a1", "ab", "abc"}},
      {"what stands where another has digits", {"file.txt", "file2.txt", "file10.txt", "filed.txt"}},
      {"digits before letters", {"1abc", "abc"}},
      {"every digit run on its own", {"v1.2.9", "v1.2.10", "v1.10.0", "v2.0"}},
      {"numbers longer than any integer", {"n99999999999999999999", "n100000000000000000000"}},
      {"the collation, not the bytes", {"apple", "Banana", "cherry"}},
      {"collation inside the text runs", {"x1a", "x1B", "x1c"}},
  };
  const TNaturalOrder Order(CaseBlindKey);
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.Why);
    std::vector<std::string> Reversed(K.Expected.rbegin(), K.Expected.rend());
    EXPECT_EQ(SortedByName(Reversed, Order), K.Expected);
  }
}

TEST(NaturalOrder, PathsFolderByFolderWithAFoldersOwnFilesFirst) {
  struct TRow {
    std::string Folder, Name;
    bool operator==(const TRow&) const = default;
  };
  const std::vector<TRow> Expected = {
      {"/t/", "a2.txt"},     {"/t/", "a10.txt"},   {"/t/", "z.txt"},      {"/t/a/", "b.txt"},
      {"/t/a/x/", "c.txt"},  {"/t/a b/", "a.txt"}, {"/t/a2/", "a.txt"},   {"/t/a10/", "a.txt"},
      {"/t/B/", "a.txt"},    {"/t/c/", "a.txt"},   {"/u/", "a.txt"},
  };
  std::vector<TRow> Rows(Expected.rbegin(), Expected.rend());
  TNaturalOrder Order(CaseBlindKey);
  std::vector<std::pair<std::string, TRow>> Keyed;
  for (const TRow& R : Rows) Keyed.push_back({Order.PathKey(R.Folder, R.Name), R});
  std::stable_sort(Keyed.begin(), Keyed.end(), [](const auto& A, const auto& B) { return A.first < B.first; });
  std::vector<TRow> Sorted;
  for (const auto& K : Keyed) Sorted.push_back(K.second);
  for (size_t I = 0; I < Expected.size(); ++I) {
    EXPECT_EQ(Sorted[I].Folder + Sorted[I].Name, Expected[I].Folder + Expected[I].Name) << I;
  }
  // The kept folder key is the folder's own, whatever came before.
  EXPECT_EQ(Order.PathKey("/t/a/", "b"), TNaturalOrder(CaseBlindKey).PathKey("/t/a/", "b"));
}

TEST(NaturalOrder, TheLocaleCollationKeyOfTheCLocaleIsTheBytes) {
  // The tests run in the C locale unless a program sets another.
  EXPECT_EQ(LocaleCollationKey("Banana"), "Banana");
  EXPECT_LT(LocaleCollationKey("B"), LocaleCollationKey("a"));
  EXPECT_EQ(LocaleCollationKey(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(LocaleCollationKey(std::string(300, 'x')), std::string(300, 'x'));
}

}  // namespace
}  // namespace tesvarin
