#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "app/IniText.h"

namespace tesvarin {
namespace {

TEST(IniText, SetValueEditsOneKeyAndKeepsEveryOtherLine) {
  struct Case {
    const char* Name;
    const char* Before;
    const char* Section;
    const char* Key;
    const char* Value;
    const char* After;
  } Cases[] = {
      {"empty file", "", "Editor", "WrapByte", "100", "[Editor]\nWrapByte=100\n"},
      {"replaces in place, keeps CR LF, comments and the key's spelling",
       "; mine\r\n[editor]\r\n  wrapbyte = 80 \r\nX=1\r\n", "Editor", "WrapByte", "100",
       "; mine\r\n[editor]\r\nwrapbyte=100\r\nX=1\r\n"},
      {"adds after the section's last entry, before the next section", "[Editor]\nA=1\n\n[Font]\nName=x\n",
       "Editor", "B", "2", "[Editor]\nA=1\nB=2\n\n[Font]\nName=x\n"},
      {"a key of another section is not this one", "[Font]\nB=9\n[Editor]\nA=1\n", "Editor", "B", "2",
       "[Font]\nB=9\n[Editor]\nA=1\nB=2\n"},
      {"only the first of two lines, the one a reader takes", "[Editor]\nB=1\nB=3\n", "Editor", "B", "2",
       "[Editor]\nB=2\nB=3\n"},
      {"a key in a second block of the section", "[Editor]\nA=1\n[Font]\n[Editor]\nB=1\n", "Editor", "B", "2",
       "[Editor]\nA=1\n[Font]\n[Editor]\nB=2\n"},
      {"a commented-out key stays a comment", "[Editor]\n;B=1\n", "Editor", "B", "2", "[Editor]\n;B=1\nB=2\n"},
      {"a new section after a last line without a break", "[Font]\nName=x", "Editor", "B", "2",
       "[Font]\nName=x\n\n[Editor]\nB=2\n"},
      {"a line break in a value cannot start a line of its own", "", "Font", "Name", "a\r\n[Editor]",
       "[Font]\nName=a  [Editor]\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TIniText Text(C.Before);
    Text.SetValue(C.Section, C.Key, C.Value);
    EXPECT_EQ(Text.Text(), C.After);
  }
}

// Whatever the file held, a reader of the edited text finds the new value and the other keys unchanged.
TEST(IniText, AReaderSeesTheEditedValues) {
  const char* Before = "[Font]\r\nName=IPAGothic\r\n[Editor]\r\nWrapByte=60\r\nShowRuler=0\r\n[Other]\r\nWrapByte=7\r\n";
  TIniText Text(Before);
  Text.SetValue("Editor", "WrapByte", "100");
  Text.SetValue("Editor", "ShowLeftBar", "1");
  Text.SetValue("Font", "size", "12");
  TIniFile Ini = TIniFile::FromText(Text.Text());
  EXPECT_EQ(Ini.ReadInteger("Editor", "WrapByte", 0), 100);
  EXPECT_TRUE(Ini.ReadBool("Editor", "ShowLeftBar", false));
  EXPECT_FALSE(Ini.ReadBool("Editor", "ShowRuler", true));
  EXPECT_EQ(Ini.ReadInteger("Font", "size", 0), 12);
  EXPECT_EQ(Ini.ReadString("Font", "Name", ""), "IPAGothic");
  EXPECT_EQ(Ini.ReadInteger("Other", "WrapByte", 0), 7);
}

TEST(IniFile, MergedKeysOfTheOverlayWinAndTheOthersStay) {
  TIniFile Shared = TIniFile::FromText("[Editor]\nWrapByte=60\nNextLine=0\n[Font]\nName=A\n");
  Shared.Merge(TIniFile::FromText("[editor]\nwrapbyte=100\nShowLeftBar=1\n"));
  EXPECT_EQ(Shared.ReadInteger("Editor", "WrapByte", 0), 100);
  EXPECT_TRUE(Shared.ReadBool("Editor", "ShowLeftBar", false));
  EXPECT_FALSE(Shared.ReadBool("Editor", "NextLine", true));
  EXPECT_EQ(Shared.ReadString("Font", "Name", ""), "A");
}

}  // namespace
}  // namespace tesvarin
