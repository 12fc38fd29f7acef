// The watchers a progress display hangs on a search run.
#include <gtest/gtest.h>

#include "FakeFormEditor.h"
#include "FormTestWindow.h"

namespace tesvarin {
namespace {

using Window = test::BasicWindow<test::FakeFormEditor>;

TEST(SearchProgressTest, EveryFolderAndEveryCandidateIsReportedWithTheListSoFar) {
  test::Tree Tr;
  Tr.Write("a.txt", "x");
  Tr.Write("b.txt", std::string("\0\0\0x", 4));  // a candidate the non-text test refuses is still looked at
  Tr.Write("notes.md", "x");                       // not a candidate of "?.*"
  Tr.Write("sub/d.txt", "x");
  Tr.Write("sub/deeper/e.txt", "x");
  Window W(Tr);
  std::vector<std::string> Folders;
  std::vector<int> ListedBefore;
  W.Form->OnSearchFolder = [&](const std::string& F) { Folders.push_back(F.substr(Tr.T().size())); };
  W.Form->OnFileLooked = [&] { ListedBefore.push_back(W.C.FileList.Count()); };
  W.Search(Tr.T(), "?.*");
  EXPECT_EQ(Folders, (std::vector<std::string>{"/", "/sub/", "/sub/deeper/"}));
  ASSERT_EQ(ListedBefore.size(), 4u);  // a and b in either order, then d, then e
  EXPECT_EQ(ListedBefore[2], 1);
  EXPECT_EQ(ListedBefore[3], 2);
  EXPECT_EQ(W.Names(), (std::vector<std::string>{"a.txt", "d.txt", "e.txt"}));

  // Without watchers the run is the same.
  W.Form->OnSearchFolder = nullptr;
  W.Form->OnFileLooked = nullptr;
  W.Search(Tr.T(), "*.txt");
  EXPECT_EQ(W.Names(), (std::vector<std::string>{"a.txt", "d.txt", "e.txt"}));
}

}  // namespace
}  // namespace tesvarin
