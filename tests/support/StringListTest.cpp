#include <gtest/gtest.h>

#include <cstdio>

#include "support/Exception.h"
#include "support/StringList.h"
#include "testsupport/TempFolder.h"

namespace tesvarin {
namespace {

using V = std::vector<std::string>;

TEST(StringList, IndexErrorsCarryTheListMessage) {
  TStringList L;
  L.Add("a");
  try {
    (void)L.Get(1);
    FAIL();
  } catch (const EListError& E) {
    EXPECT_STREQ(E.what(), "リストのインデックスが範囲を超えています");
  }
  EXPECT_THROW(L.Delete(-1), EListError);
  EXPECT_THROW(L.Insert(2, "x"), EListError);
  EXPECT_THROW(L.Put(5, "x"), EListError);
  L.Insert(1, "b");
  EXPECT_EQ(L.Items(), (V{"a", "b"}));
}

TEST(StringList, SortedIgnoresDuplicatesWithoutCase) {
  TStringList L;
  L.SetSorted(true);
  L.Add(".htm");
  L.Add(".HTML");
  EXPECT_EQ(L.Add(".HTM"), 0);
  EXPECT_EQ(L.Items(), (V{".htm", ".HTML"}));
  int Index = -1;
  EXPECT_TRUE(L.Find(".Htm", Index));
  EXPECT_EQ(Index, 0);
  EXPECT_FALSE(L.Find(".txt", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_THROW(L.Insert(0, "x"), Exception);
}

TEST(StringList, CaseFoldingNeverTouchesTrailBytes) {
  // 0x83 0x41 (ア) and 0x83 0x61 (ャ) differ although their trail bytes are A and a.
  TStringList L;
  L.SetSorted(true);
  L.Add("\x83\x41");
  L.Add("\x83\x61");
  EXPECT_EQ(L.Count(), 2);
  EXPECT_EQ(L.IndexOf("\x83\x61"), 1);
}

TEST(StringList, SortedCaseSensitiveKeepsBoth) {
  TStringList L;
  L.SetCaseSensitive(true);
  L.SetSorted(true);
  L.Add("b");
  L.Add("B");
  L.Add("a");
  EXPECT_EQ(L.Items(), (V{"B", "a", "b"}));
}

TEST(StringList, TextForms) {
  TStringList L;
  L.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(L.Items(), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(L.Text(), "a\r\nb\r\nc\r\nd\r\n");
  L.SetText("x\n\n");
  EXPECT_EQ(L.Items(), (V{"x", ""}));
  L.SetText("");
  EXPECT_TRUE(L.Empty());
}

TEST(StringList, CommaText) {
  struct Row {
    const char* Text;
    V Items;
  };
  const Row Rows[] = {
      {"a,b,c", {"a", "b", "c"}},
      {"  a , b", {"a", "b"}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"a,", {"a", ""}},
      {"a b", {"a", "b"}},
      {"\x82\xA0,\x83\x41", {"\x82\xA0", "\x83\x41"}},
      {"\x81\x5C,x", {"\x81\x5C", "x"}},  // a trail byte equal to a backslash stays inside its character
      {"", {}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Text);
    TStringList L;
    L.SetCommaText(R.Text);
    EXPECT_EQ(L.Items(), R.Items);
  }
  TStringList L;
  L.SetCommaText("\"a b\",\"q\"\"\",c");
  TStringList Back;
  Back.SetCommaText(L.CommaText());
  EXPECT_EQ(Back.Items(), L.Items());
}

TEST(StringList, FilesRoundTripWithCrLf) {
  const test::TempFolder Folder;
  const std::string Path = Folder / "list.txt";
  TStringList L;
  L.Add("\x82\xA0");
  L.Add("");
  L.Add("b");
  L.SaveToFile(Path);
  EXPECT_EQ(ReadFileBytes(Path), "\x82\xA0\r\n\r\nb\r\n");
  WriteFileBytes(Path, "x\ry\nz");
  TStringList M;
  M.LoadFromFile(Path);
  EXPECT_EQ(M.Items(), (V{"x", "y", "z"}));
  std::remove(Path.c_str());
  EXPECT_THROW(M.LoadFromFile(Path), EInOutError);
}

TEST(StringList, UpdateBracketsFoldNotifications) {
  TStringList L;
  int Changes = 0;
  L.OnChange = [&](TStringList&) { ++Changes; };
  L.BeginUpdate();
  L.Add("a");
  L.Add("b");
  L.Delete(0);
  EXPECT_EQ(Changes, 0);
  L.EndUpdate();
  EXPECT_EQ(Changes, 1);
  L.Add("c");
  EXPECT_EQ(Changes, 2);
}

TEST(StringList, CustomSortUsesTheComparison) {
  TStringList L;
  L.SetText("10\n9\n100");
  L.CustomSort([](const TStringList& S, int A, int B) { return std::stoi(S[A]) - std::stoi(S[B]); });
  EXPECT_EQ(L.Items(), (V{"9", "10", "100"}));
}

}  // namespace
}  // namespace tesvarin
