// The journal of the replace runs in the listed files: started before a batch writes, and the runs
// taken back at the user's word.
#include <ctime>

#include "app/Form1.h"

namespace tesvarin {

namespace {

const char* const ConfirmCaption = "確認";
const char* const TakeBackCaption = "置換を元に戻す";
constexpr size_t LeftNamed = 10;

std::string OptionsText(const TExSearchOptions& O) {
  std::string Text;
  auto Add = [&](TExSearchOption Option, const char* Name) {
    if (!O.Contains(Option)) return;
    if (!Text.empty()) Text += ',';
    Text += Name;
  };
  Add(soMatchCase, "match-case");
  Add(soRegexp, "regexp");
  Add(soFuzzy, "fuzzy");
  Add(soWholeWord, "whole-word");
  return Text;
}

}  // namespace

std::string TForm1::JournalFolder() const { return FEnv.Journal ? FDataFolder + "journal/" : std::string(); }

bool TForm1::BeginJournal(std::optional<TJournalRecorder>& Journal, uint64_t Bytes) {
  FJournaledRun = 0;
  if (JournalFolder().empty()) return true;
  TReplaceJournal Book(JournalFolder(), FEnv.JournalBounds);
  if (!Book.Fits(Bytes)) {
    const std::string Question = "置換するファイルが置換の記録に残せる大きさ (" +
                                 std::to_string(FEnv.JournalBounds.MaxBytes >> 20) +
                                 " MB) を超えるため、この置換は後で元に戻せません。\r\n記録せずに置換しますか？";
    return FPlatform.Dialogs->MessageBox(Question, ConfirmCaption, mbYesNo) == idYes;
  }
  SetSearchOptions();
  TJournalRunInfo Info{static_cast<int64_t>(std::time(nullptr)), C.cFolderName.Text(), C.cFindWord.Text(),
                       C.cReplaceWord.Text(), OptionsText(Editor.ExSearchOptions())};
  Journal.emplace(Book.Begin(Info));
  return true;
}

void TForm1::TakeBackRun(int Number, const std::string* OnlyPath) {
  if (FRunning || JournalFolder().empty()) return;
  TReplaceJournal Book(JournalFolder(), FEnv.JournalBounds);
  const TTakeBackResult R = Book.TakeBack(Number, OnlyPath);
  // The current file may be one of those put back: the editor shows it as it is now.
  const std::string Current = C.fName.Caption();
  if (!Current.empty() && !Editor.Modified() && R.Restored > 0) {
    try {
      LoadCurrentFile(Current, FCurrentEncoding);
    } catch (const EInOutError&) {
      // It is shown as it was; a save asks before overwriting the newer file.
    }
  }
  std::string Text = std::to_string(R.Restored) + " 個のファイルを元に戻しました。";
  C.StatusBar1.SetPanelText(1, Text);
  if (R.Left.empty()) {
    FPlatform.Dialogs->MessageBox(Text, TakeBackCaption, mbOK);
    return;
  }
  Text += "\r\n\r\n次の " + std::to_string(R.Left.size()) + " 個のファイルはそのままにしました:";
  for (size_t I = 0; I < R.Left.size() && I < LeftNamed; ++I) Text += "\r\n" + R.Left[I];
  if (R.Left.size() > LeftNamed) Text += "\r\n...";
  FPlatform.Dialogs->WarningBox(Text, TakeBackCaption);
}

}  // namespace tesvarin
