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

std::string ExpandLineBreaks(std::string_view Replacement) {
  std::string Out;
  for (size_t I = 0; I < Replacement.size(); ++I) {
    if (I + 4 <= Replacement.size() && Replacement[I] == '\\' && (Replacement[I + 1] | 0x20) == 'r' &&
        Replacement[I + 2] == '\\' && (Replacement[I + 3] | 0x20) == 'n') {
      Out += "\r\n";
      I += 3;
    } else {
      Out += Replacement[I];
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
  FFolded.clear();
  FSelStart = FSelLength = 0;
}

void TFileContentEditor::SetExSearchOptions(TExSearchOptions Value) {
  if (Value.Contains(soMatchCase)) Value.Exclude(soRegexp).Exclude(soFuzzy);
  if (!Value.Contains(soRegexp)) Value.Exclude(soFuzzy);
  FOptions = Value;
}

void TFileContentEditor::SetSelLength(int Value) { FSelLength = Value < 0 ? 0 : static_cast<size_t>(Value); }

bool TFileContentEditor::Searchable() const {
  // A hit never spans a line break.
  return !FFind.empty() && FFind.find_first_of("\r\n") == std::string::npos;
}

bool TFileContentEditor::IsCharStart(size_t Pos) const {
  size_t LineStart = FText.rfind('\n', Pos == 0 ? 0 : Pos - 1);
  size_t I = (LineStart == std::string::npos || Pos == 0) ? 0 : LineStart + 1;
  while (I < Pos) I += CharLength(FText, I);
  return I == Pos;
}

size_t TFileContentEditor::Find(size_t From) const {
  bool Fold = !FOptions.Contains(soMatchCase);
  std::string Pattern = FFind;
  if (Fold) AsciiLowerSjis(Pattern);
  const std::string& Hay = Fold ? FFolded : FText;
  for (size_t P = Hay.find(Pattern, From); P != std::string::npos; P = Hay.find(Pattern, P + 1)) {
    if (IsCharStart(P)) return P;
  }
  return std::string::npos;
}

void TFileContentEditor::Select(size_t Pos) {
  FSelStart = Pos;
  FSelLength = FFind.size();
}

bool TFileContentEditor::FindNext() {
  if (!Searchable()) return false;
  if (!FOptions.Contains(soMatchCase) && FFolded.size() != FText.size()) {
    FFolded = FText;
    AsciiLowerSjis(FFolded);
  }
  size_t P = Find(FSelStart + FSelLength);
  if (P == std::string::npos) return false;
  Select(P);
  return true;
}

bool TFileContentEditor::FindPrev() {
  if (!Searchable()) return false;
  if (FFolded.size() != FText.size()) {
    FFolded = FText;
    AsciiLowerSjis(FFolded);
  }
  size_t Last = std::string::npos;
  for (size_t P = Find(0); P != std::string::npos && P < FSelStart; P = Find(P + 1)) Last = P;
  if (Last == std::string::npos) return false;
  Select(Last);
  return true;
}

int TFileContentEditor::ReplaceAll(std::string_view Replacement, bool ExpandCrLf) {
  if (!Searchable()) return 0;
  std::string With = ExpandCrLf ? ExpandLineBreaks(Replacement) : std::string(Replacement);
  FFolded = FText;
  AsciiLowerSjis(FFolded);
  std::string Out;
  int N = 0;
  size_t Done = 0;
  for (size_t P = Find(0); P != std::string::npos; P = Find(P + FFind.size())) {
    Out.append(FText, Done, P - Done);
    Out += With;
    Done = P + FFind.size();
    ++N;
  }
  if (N == 0) return 0;
  Out.append(FText, Done, std::string::npos);
  FText = std::move(Out);
  FFolded.clear();
  FSelStart = FSelLength = 0;
  return N;
}

}  // namespace tesvarin::cli
