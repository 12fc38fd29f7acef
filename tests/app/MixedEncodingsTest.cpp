// A tree holding one text in every encoding: each file is listed with its encoding, found by the
// same matching, shown converted, and replaced in its own encoding with only the hit bytes changed.
#include <gtest/gtest.h>

#include "FormTestWindow.h"
#include "app/FormEditorEx.h"
#include "app/ReplaceJournal.h"
#include "support/EncodingConverter.h"
#include "support/SjisCodec.h"

namespace tesvarin::test {
namespace {

struct RealEditor {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Adapter{Ed};
};
IFormEditor& FormEditorOf(RealEditor& E) { return E.Adapter; }

struct Window : BasicWindow<RealEditor> {
  explicit Window(const Tree& Tr) : BasicWindow<RealEditor>(Tr) {
    C.ConfirmSave.SetChecked(false);
    C.MakeBackFile.SetChecked(false);
  }
  // The encoding column of each row, by name.
  std::map<std::string, std::string> Encodings() const {
    std::map<std::string, std::string> M;
    for (const TListItem& I : C.FileList.Items()) M[I.Caption] = I.SubItems.back();
    return M;
  }
  void Show(const std::string& Name) {
    for (int I = 0; I < C.FileList.Count(); ++I) {
      if (C.FileList.Item(I).Caption != Name) continue;
      C.FileList.SetSelected(I);
      C.FileList.OnClick();
      return;
    }
    FAIL() << Name << " not listed";
  }
};

// The text of every file: half-width kana, NEC and IBM extensions, the wave dash, CR LF breaks.
const char* const Text = "東京の会議資料\r\nｶﾀｶﾅ と ①㈱髙∑ ～\r\n最後の行 東京\r\n";

std::string In(TTextEncoding E, const std::string& Utf8) {
  std::string Out(ByteOrderMark(E));
  EXPECT_TRUE(ConvertFromCp932(Utf8ToCp932(Utf8), E, Out));
  return Out;
}

const std::pair<const char*, TTextEncoding> Files[] = {
    {"sjis.txt", teShiftJis}, {"utf8.txt", teUtf8},     {"utf8bom.txt", teUtf8Bom},
    {"euc.txt", teEucJp},     {"utf16le.txt", teUtf16Le}, {"utf16be.txt", teUtf16Be},
};

void WriteTree(const Tree& Tr) {
  for (const auto& [Name, E] : Files) Tr.Write(Name, In(E, Text));
}

TEST(MixedEncodings, EveryFileIsListedWithItsEncodingAndFoundByFuzzyMatching) {
  Tree Tr;
  WriteTree(Tr);
  Window W(Tr);
  // Full-width katakana finds the half-width kana in each file.
  W.C.CheckBox2.SetChecked(true);
  W.C.CheckBox3.SetChecked(true);
  W.Search(Tr.T(), "*.txt", "カタカナ");
  EXPECT_EQ(W.Encodings(), (std::map<std::string, std::string>{{"euc.txt", "EUC-JP"},
                                                                {"sjis.txt", "シフトJIS"},
                                                                {"utf16be.txt", "UTF-16BE"},
                                                                {"utf16le.txt", "UTF-16LE"},
                                                                {"utf8.txt", "UTF-8"},
                                                                {"utf8bom.txt", "UTF-8 (BOM)"}}));
  EXPECT_EQ(W.C.FileList.Columns().back().Caption, "文字コード");
  // The extension characters and the wave dash, as a plain search.
  W.C.CheckBox2.SetChecked(false);
  W.Search(Tr.T(), "*.txt", "①㈱髙∑ ～");
  EXPECT_EQ(W.C.FileList.Count(), 6);
  W.Search(Tr.T(), "*.txt", "大阪");
  EXPECT_EQ(W.C.FileList.Count(), 0);
}

TEST(MixedEncodings, TheSwitchOffReadsEveryFileAsShiftJisAsBefore) {
  Tree Tr;
  WriteTree(Tr);
  Window W(Tr);
  W.C.OtherEncodings.SetChecked(false);
  W.Search(Tr.T(), "*.txt", "東京");
  EXPECT_EQ(W.Names(), (std::vector<std::string>{"sjis.txt"}));
  // Without a text the UTF-16 files stay binary, and nothing is told apart.
  W.Search(Tr.T(), "*.txt");
  EXPECT_EQ(W.Names(), (std::vector<std::string>{"euc.txt", "sjis.txt", "utf8.txt", "utf8bom.txt"}));
  for (const auto& [Name, Encoding] : W.Encodings()) EXPECT_EQ(Encoding, "シフトJIS") << Name;
}

TEST(MixedEncodings, TheSwitchIsOnByDefaultAndKeptWithTheOtherOptions) {
  Tree Tr;
  Window W(Tr);
  EXPECT_TRUE(W.C.OtherEncodings.Checked());
  W.C.OtherEncodings.SetChecked(false);
  W.Form->FormCloseQuery();
  EXPECT_EQ(W.P.UserStore.Values.at({"Tesvarin", "OtherEncodings"}), "0");
  Window W2(Tr);
  W2.P.UserStore.Values = W.P.UserStore.Values;
  W2.Form->FormShow();
  EXPECT_FALSE(W2.C.OtherEncodings.Checked());
}

TEST(MixedEncodings, ReplaceWritesEachFileInItsOwnEncodingAndChangesOnlyTheHits) {
  Tree Tr;
  WriteTree(Tr);
  Tr.Write("outside.txt", "東京 한\n");  // a character outside code page 932
  Window W(Tr);
  W.Search(Tr.T(), "*.txt", "東京");
  ASSERT_EQ(W.C.FileList.Count(), 7);
  W.C.cReplaceWord.SetText("大阪ｶﾅ");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  const std::string Expected = "大阪ｶﾅの会議資料\r\nｶﾀｶﾅ と ①㈱髙∑ ～\r\n最後の行 大阪ｶﾅ\r\n";
  for (const auto& [Name, E] : Files) EXPECT_EQ(Tr.Read(Name), In(E, Expected)) << Name;
  // Only the hit's bytes change: the character outside code page 932 stays as it was.
  EXPECT_EQ(Tr.Read("outside.txt"), "大阪ｶﾅ 한\n");
  EXPECT_EQ(W.Form->SkippedCount(), 0);
}

// Through the preview with one hit left out, then taken back: each file gets the ticked hit in its
// own encoding, and taking the run back gives every file its own bytes again.
TEST(MixedEncodings, APreviewedRunIsWrittenAndTakenBackInEachFilesEncoding) {
  Tree Tr;
  WriteTree(Tr);
  BasicWindow<RealEditor> W(Tr, {}, {}, true);
  W.C.ConfirmSave.SetChecked(false);
  W.C.MakeBackFile.SetChecked(false);
  W.Search(Tr.T(), "*.txt", "東京");
  ASSERT_EQ(W.C.FileList.Count(), 6);
  W.C.ReplacePreview.SetChecked(true);
  W.Form->PreviewReplace = [](std::vector<TPlannedFile>& Planned) {
    for (TPlannedFile& F : Planned) {
      EXPECT_EQ(F.Plan.Hits.size(), 2u) << F.Path;
      F.Plan.Hits.back().Ticked = false;  // the last line keeps its word
    }
    return true;
  };
  W.C.cReplaceWord.SetText("大阪ｶﾅ");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  const std::string Expected = "大阪ｶﾅの会議資料\r\nｶﾀｶﾅ と ①㈱髙∑ ～\r\n最後の行 東京\r\n";
  for (const auto& [Name, E] : Files) EXPECT_EQ(Tr.Read(Name), In(E, Expected)) << Name;
  TReplaceJournal Book(W.Form->JournalFolder());
  EXPECT_EQ(Book.TakeBack(W.Form->JournaledRun()).Restored, 6);
  for (const auto& [Name, E] : Files) EXPECT_EQ(Tr.Read(Name), In(E, Text)) << Name;
}

TEST(MixedEncodings, TheViewerShowsTheConvertedTextAndSavesItBack) {
  Tree Tr;
  WriteTree(Tr);
  Tr.Write("outside.txt", "東京 한\n");
  Window W(Tr);
  W.Search(Tr.T(), "*.txt", "東京");
  W.Show("utf16le.txt");
  EXPECT_EQ(W.C.fEncoding.Caption(), "UTF-16LE");
  EXPECT_EQ(W.E.Ed.Lines().Text(), Utf8ToCp932(Text));
  EXPECT_FALSE(W.E.Ed.ReadOnly());
  W.C.cReplaceWord.SetText("京都");
  W.C.N2.Click();
  W.Show("outside.txt");  // saves the UTF-16 file
  EXPECT_EQ(Tr.Read("utf16le.txt"), In(teUtf16Le, "京都の会議資料\r\nｶﾀｶﾅ と ①㈱髙∑ ～\r\n最後の行 京都\r\n"));
  EXPECT_TRUE(W.E.Ed.ReadOnly());
  EXPECT_EQ(W.C.StatusBar1.PanelText(1),
            "シフトJISで表せない文字か、UTF-8 として正しくないバイトがあるため、読み取り専用で開きました。");
  W.Show("sjis.txt");
  EXPECT_FALSE(W.E.Ed.ReadOnly());
  EXPECT_EQ(W.C.fEncoding.Caption(), "シフトJIS");
}

// A file with a character that code page 932 cannot hold, in each encoding that may hold one: the
// text around it, in the file's encoding, and that character's own bytes.
struct OutsideFile {
  const char* Name;
  TTextEncoding Encoding;
  std::string Outside;  // the bytes of a character outside code page 932
  [[nodiscard]] std::string Bytes(const std::string& Word) const {
    std::string Tail;
    EXPECT_TRUE(ConvertFromCp932(Utf8ToCp932(" " + Word + "\r\n"), Encoding, Tail));
    return In(Encoding, Word + " と ") + Outside + Tail;
  }
};

const OutsideFile OutsideFiles[] = {
    {"utf8.txt", teUtf8, "\xED\x95\x9C"},                    // 한
    {"utf8bom.txt", teUtf8Bom, "\xF0\x9F\x98\x80"},          // an emoji, four bytes
    {"euc.txt", teEucJp, "\x8F\xB0\xA1"},                    // 丂, of JIS X 0212
    {"utf16le.txt", teUtf16Le, std::string("\x3D\xD8\x00\xDE", 4)},  // the emoji as a surrogate pair
    {"utf16be.txt", teUtf16Be, std::string("\xD5\x5C", 2)},  // 한
};

TEST(MixedEncodings, AFileWithACharacterOutsideCodePage932IsReplacedOnlyAtTheHitBytes) {
  Tree Tr;
  for (const OutsideFile& F : OutsideFiles) Tr.Write(F.Name, F.Bytes("東京"));
  Window W(Tr);
  W.Search(Tr.T(), "*.txt", "東京");
  ASSERT_EQ(W.C.FileList.Count(), 5);
  W.C.cReplaceWord.SetText("大阪");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  for (const OutsideFile& F : OutsideFiles) EXPECT_EQ(Tr.Read(F.Name), F.Bytes("大阪")) << F.Name;
  EXPECT_EQ(W.Form->SkippedCount(), 0);
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text, "10 個の置換作業が終了しました。");
}

// A hit that takes in the character it cannot write back leaves the whole file as it is, named.
TEST(MixedEncodings, AHitOverACharacterOutsideCodePage932LeavesTheFileAndNamesIt) {
  Tree Tr;
  for (const OutsideFile& F : OutsideFiles) Tr.Write(F.Name, F.Bytes("東京"));
  Tr.Write("sjis.txt", In(teShiftJis, "東京 と x 東京\r\n"));
  Window W(Tr);
  W.C.CheckBox2.SetChecked(true);
  W.Search(Tr.T(), "*.txt", "と . 東");
  ASSERT_EQ(W.C.FileList.Count(), 6);
  W.C.cReplaceWord.SetText("-");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  for (const OutsideFile& F : OutsideFiles) EXPECT_EQ(Tr.Read(F.Name), F.Bytes("東京")) << F.Name;
  EXPECT_EQ(Tr.Read("sjis.txt"), In(teShiftJis, "東京 -京\r\n"));
  EXPECT_EQ(W.Form->SkippedCount(), 5);
  const std::string Message = W.P.Dialogs.Shown.back().Text;
  EXPECT_NE(Message.find(Tr.T() + "/euc.txt (置換する箇所に EUC-JP からシフトJISに変換すると元に戻らない文字があるため置換しませんでした)"),
            std::string::npos)
      << Message;
}

// The same through the dry run's plans: a file that would be left is not shown as changing.
TEST(MixedEncodings, APlanRunLeavesOutAFileWhoseHitCannotBeWrittenBack) {
  Tree Tr;
  Tr.Write("utf8.txt", OutsideFiles[0].Bytes("東京"));
  Window W(Tr);
  W.C.CheckBox2.SetChecked(true);
  W.Search(Tr.T(), "*.txt", "と . 東");
  ASSERT_EQ(W.C.FileList.Count(), 1);
  W.C.cReplaceWord.SetText("-");
  int Planned = 0;
  W.Form->PlanListedFiles([&](const std::string&, std::string_view, const TReplacePlan&) { ++Planned; });
  EXPECT_EQ(Planned, 0);
  EXPECT_EQ(W.Form->SkippedCount(), 1);
}

}  // namespace
}  // namespace tesvarin::test
