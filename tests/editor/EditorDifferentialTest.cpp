// Random editing against a plain model of the text and caret: typing, input-method strings,
// Enter, Backspace, Delete, stream and box selections, cut, paste, box paste, undo and redo.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "editor/Editor.h"
#include "editor/caret/EditorSelection.h"
#include "support/Sjis.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

// The text as bytes with CR LF breaks and the caret as a byte offset into it.
struct Model {
  std::string Text;
  size_t Caret = 0;

  [[nodiscard]] size_t CharBefore() const {
    if (Caret >= 2 && Text.compare(Caret - 2, 2, "\r\n") == 0) return 2;
    size_t LineStart = Text.rfind('\n', Caret == 0 ? 0 : Caret - 1);
    size_t I = LineStart == std::string::npos || LineStart >= Caret ? 0 : LineStart + 1;
    size_t Last = I;
    while (I < Caret) {
      Last = I;
      I += CharLength(Text, I);
    }
    return Caret - Last;
  }
  [[nodiscard]] size_t CharAt() const {
    if (Text.compare(Caret, 2, "\r\n") == 0) return 2;
    return CharLength(Text, Caret);
  }
};

int64_t CaretOffset(const TEditor& E) {
  int64_t Offset = 0;
  for (int R = 0; R < E.Row(); ++R) Offset += static_cast<int64_t>(E.RowView(R).size()) + 2;
  return Offset + E.CaretByte();
}

// Every row holds whole characters and the caret stands at a character start within its row.
void ExpectSound(const TEditor& E, int Step) {
  for (int R = 0; R < E.RowCount(); ++R) {
    const std::string_view Row = E.RowView(R);
    size_t I = 0;
    while (I < Row.size()) {
      ASSERT_FALSE(IsLeadByte(Row[I]) && I + 1 >= Row.size()) << "split character, step " << Step;
      I += CharLength(Row, I);
    }
  }
  const std::string_view Row = E.RowView(E.Row());
  const int Byte = E.CaretByte();
  ASSERT_LE(Byte, static_cast<int>(Row.size())) << "step " << Step;
  size_t I = 0;
  while (I < static_cast<size_t>(Byte)) I += CharLength(Row, I);
  ASSERT_EQ(I, static_cast<size_t>(Byte)) << "caret inside a character, step " << Step;
}

TEST(EditorDifferential, RandomEditsMatchTheModelAndUndoRestoresTheStart) {
  test::FakeClipboard Clip;
  TPlatform P;
  P.Clipboard = &Clip;
  TEditor E(nullptr, P);
  E.Caret().SetFreeCaret(false);
  E.Caret().SetAutoIndent(false);
  E.Caret().SetBackSpaceUnIndent(false);
  E.SetUndoListMax(1000000);
  const std::string Start = "first line\r\n\x82\xa0\x82\xa2 second\r\nthird";
  E.Lines().SetLinesText(Start);
  Model M{Start, 0};
  std::mt19937 Rng(20261208);
  auto Pick = [&](int N) { return static_cast<int>(Rng() % static_cast<unsigned>(N)); };
  const char* Singles[] = {"a", "Z", " ", "\xb1"};
  const char* Doubles[] = {"\x82\xa0", "\x88\xa4", "\x81\x40", "\x83\x41"};
  const char* Ime[] = {"\x93\xfa\x96\x7b", "x\x82\xa0y"};
  int Checked = 0;
  for (int Step = 0; Step < 3000; ++Step) {
    bool Predicted = true;
    const int Kind = Pick(20);
    if (Kind < 5) {
      const char* S = Kind < 3 ? Singles[Pick(4)] : Doubles[Pick(4)];
      E.KeyPress(S);
      M.Text.insert(M.Caret, S);
      M.Caret += std::strlen(S);
    } else if (Kind == 5) {
      const char* S = Ime[Pick(2)];
      E.ImeComposition(S);
      E.KeyPress(S);  // the echo of the same string as character messages is dropped
      M.Text.insert(M.Caret, S);
      M.Caret += std::strlen(S);
    } else if (Kind == 6) {
      E.KeyPress("\r");
      M.Text.insert(M.Caret, "\r\n");
      M.Caret += 2;
    } else if (Kind == 7) {
      E.KeyPress("\b");
      if (M.Caret > 0) {
        const size_t N = M.CharBefore();
        M.Caret -= N;
        M.Text.erase(M.Caret, N);
      }
    } else if (Kind == 8) {
      E.DeleteKey();
      if (M.Caret < M.Text.size()) M.Text.erase(M.Caret, M.CharAt());
    } else if (Kind <= 11) {
      E.SetRowCol(Pick(E.RowCount() + 1), Pick(30));
      Predicted = false;
    } else if (Kind <= 14) {
      E.SetSelectionMode(Kind == 14);
      E.SetRowCol(Pick(E.RowCount() + 1), Pick(30));
      E.Selection().Start();
      E.SetRowCol(Pick(E.RowCount() + 1), Pick(30));
      E.Selection().Extend();
      if (Kind == 12 && E.SelState() == selSelected) {
        const auto From = static_cast<size_t>(E.GetSelStart());
        const auto Len = static_cast<size_t>(E.GetSelLength());
        ASSERT_EQ(E.GetSelText(), E.Lines().Text().substr(From, Len)) << Step;
        E.CutToClipboard();
        M.Text.erase(From, Len);
        M.Caret = From;
      } else {
        Pick(2) == 0 ? E.CutToClipboard() : E.CopyToClipboard();
        Predicted = false;
      }
      E.SetSelectionMode(false);
      E.CleanSelection();
    } else if (Kind == 15) {
      if (Clip.HasText()) {
        const std::string S = Clip.Text();
        E.PasteText(S);
        M.Text.insert(M.Caret, S);
        M.Caret += S.size();
      }
    } else if (Kind == 16) {
      E.PasteFromClipboard();
      Predicted = false;
    } else if (Kind == 17) {
      E.BoxPasteText(Pick(2) == 0 ? "ab\r\n\x82\xa0" : "x");
      Predicted = false;
    } else if (Kind == 18) {
      E.Undo();
      Predicted = false;
    } else {
      E.Redo();
      Predicted = false;
    }
    ExpectSound(E, Step);
    if (Predicted) {
      ++Checked;
      ASSERT_EQ(E.Lines().Text(), M.Text) << "step " << Step << " kind " << Kind;
      ASSERT_EQ(CaretOffset(E), static_cast<int64_t>(M.Caret)) << "step " << Step << " kind " << Kind;
    } else {
      M.Text = E.Lines().Text();
      M.Caret = static_cast<size_t>(CaretOffset(E));
    }
  }
  EXPECT_NE(E.Lines().Text(), Start);
  EXPECT_GT(Checked, 1000);
  while (E.CanUndo()) E.Undo();
  EXPECT_EQ(E.Lines().Text(), Start);
}

}  // namespace
}  // namespace tesvarin
