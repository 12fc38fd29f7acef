#include "FileContentEditor.h"

#include "support/Sjis.h"
#include "support/StringList.h"

namespace tesvarin::cli {

namespace {

// Line breaks become CR LF as the editor's lines hold them; Ctrl+Z ends the text.
std::string NormalizeBreaks(std::string_view Bytes) {
  std::string Out;
  Out.reserve(Bytes.size() + Bytes.size() / 32);
  for (size_t I = 0; I < Bytes.size(); ++I) {
    char Ch = Bytes[I];
    if (Ch == '\x1a') break;
    if (Ch == '\r' || Ch == '\n') {
      if (Ch == '\r' && I + 1 < Bytes.size() && Bytes[I + 1] == '\n') ++I;
      Out += "\r\n";
    } else {
      Out += Ch;
    }
  }
  return Out;
}

}  // namespace

void TFileContentEditor::LoadFromFile(const std::string& Path) {
  Clear();
  FText = NormalizeBreaks(ReadFileBytes(Path));
}

void TFileContentEditor::Clear() {
  FText.clear();
  FSelStart = FSelLength = 0;
}

void TFileContentEditor::SetSelLength(int Value) { FSelLength = Value < 0 ? 0 : static_cast<size_t>(Value); }

size_t TFileContentEditor::LineStart(size_t Pos) const {
  if (Pos == 0) return 0;
  const size_t Lf = FText.rfind('\n', Pos - 1);
  return Lf == std::string::npos ? 0 : Lf + 1;
}

size_t TFileContentEditor::LineEnd(size_t Pos) const {
  const size_t Cr = FText.find("\r\n", Pos);
  return Cr == std::string::npos ? FText.size() : Cr;
}

void TFileContentEditor::Select(size_t Pos, int Len) {
  FSelStart = Pos;
  FSelLength = static_cast<size_t>(Len);
}

// As the viewer: the rest of the line after the current hit, then each following line whole.
bool TFileContentEditor::FindNext() {
  size_t From = FSelStart + FSelLength;
  FSelStart = From;
  FSelLength = 0;
  while (From <= FText.size()) {
    const size_t End = LineEnd(From);
    int Len = 0;
    const int P = FSearch.StrSearch(std::string_view(FText).substr(From, End - From), Len);
    if (P > 0) {
      Select(From + static_cast<size_t>(P) - 1, Len);
      return true;
    }
    if (End == FText.size()) break;
    From = End + 2;
  }
  return false;
}

// The part of the line before the current hit, then each earlier line whole.
bool TFileContentEditor::FindPrev() {
  size_t Stop = FSelStart;
  FSelLength = 0;
  for (;;) {
    const size_t Start = LineStart(Stop);
    int Len = 0;
    const int P = FSearch.StrSearchLast(std::string_view(FText).substr(Start, Stop - Start), Len);
    if (P > 0) {
      Select(Start + static_cast<size_t>(P) - 1, Len);
      return true;
    }
    if (Start == 0) return false;
    Stop = Start - 2;
  }
}

int TFileContentEditor::ReplaceAll(std::string_view Replacement, bool ExpandCrLf) {
  std::string Out;
  const int N = FSearch.ReplaceAllText(FText, Replacement, ExpandCrLf, Out);
  if (N == 0) return 0;
  FText = std::move(Out);
  FSelStart = FSelLength = 0;
  return N;
}

}  // namespace tesvarin::cli
