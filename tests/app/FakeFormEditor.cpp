#include "FakeFormEditor.h"

#include <functional>

#include "editor/search/EditorExSearch.h"
#include "support/StringList.h"

namespace tesvarin::test {

TFileStamp FakeFormEditor::LoadFromFile(const std::string& Path) {
  Clear();
  ++Loads;
  std::string Bytes;
  const TFileStamp Stamp = ReadFileStamped(Path, Bytes);
  TStringList L;
  L.SetText(Bytes);
  Lines = L.Items();
  return Stamp;
}

void FakeFormEditor::LoadBytes(std::string_view Bytes) {
  Clear();
  ++Loads;
  TStringList L;
  L.SetText(std::string(Bytes));
  Lines = L.Items();
}

std::string FakeFormEditor::SaveText() const {
  std::string S;
  for (const std::string& L : Lines) S += L + "\r\n";
  return S;
}

void FakeFormEditor::ProduceWholeText(const TTextPieceSink& Take) const {
  size_t Offset = 0;
  for (const std::string& Line : Lines) {
    Take(Line, Offset);
    Offset += Line.size() + 2;
  }
  if (Lines.empty()) Take({}, 0);
}

TBigString FakeFormEditor::WholeText() const {
  TBigString S;
  for (size_t I = 0; I < Lines.size(); ++I) {
    if (I > 0) S += "\r\n";
    S.append(Lines[I]);
  }
  return S;
}

uint64_t FakeFormEditor::TextVersion() const {
  const TBigString S = WholeText();
  return std::hash<std::string_view>{}(std::string_view(S.data(), S.size())) + Lines.size();
}

int64_t FakeFormEditor::SelStart() const {
  int64_t Offset = Pos;
  for (int L = 0; L < Line && L < static_cast<int>(Lines.size()); ++L) Offset += static_cast<int64_t>(Lines[static_cast<size_t>(L)].size()) + 2;
  return Offset;
}

void FakeFormEditor::Clear() {
  Lines.clear();
  Line = Pos = SelLength = 0;
}

void FakeFormEditor::SetExSearchOptions(TExSearchOptions Value) { FOptions = ReduceExSearchOptions(Value); }

bool FakeFormEditor::Select(int L, size_t P) {
  Line = L;
  Pos = static_cast<int>(P);
  SelLength = static_cast<int>(FFind.size());
  return true;
}

bool FakeFormEditor::FindNext() {
  if (FFind.empty()) return false;
  int From = Pos + SelLength;
  for (int L = Line; L < static_cast<int>(Lines.size()); ++L, From = 0) {
    size_t P = Lines[static_cast<size_t>(L)].find(FFind, static_cast<size_t>(From));
    if (P != std::string::npos) return Select(L, P);
  }
  return false;
}

bool FakeFormEditor::ShowHitFrom(int64_t From, int64_t Start) {
  for (int L = 0; L < static_cast<int>(Lines.size()); ++L) {
    const std::string& S = Lines[static_cast<size_t>(L)];
    if (From <= static_cast<int64_t>(S.size())) {
      const size_t P = S.find(FFind, static_cast<size_t>(From));
      return P != std::string::npos && static_cast<int64_t>(P) == Start && Select(L, P);
    }
    From -= static_cast<int64_t>(S.size()) + 2;
    Start -= static_cast<int64_t>(S.size()) + 2;
  }
  return false;
}

bool FakeFormEditor::FindPrev() {
  if (FFind.empty() || Lines.empty()) return false;
  for (int L = Line; L >= 0; --L) {
    const std::string& S = Lines[static_cast<size_t>(L)];
    if (L == Line && Pos == 0) continue;
    size_t Start = L == Line ? static_cast<size_t>(Pos - 1) : std::string::npos;
    size_t P = S.rfind(FFind, Start);
    if (P != std::string::npos) return Select(L, P);
  }
  return false;
}

// Spots are placed in SaveText: every line ends with CR LF there.
int FakeFormEditor::ReplaceAll(std::string_view Replacement, bool ExpandCrLf, TReplaceSpots* Spots) {
  const std::string R = ExpandCrLf ? ExpandCrLfEscape(Replacement) : std::string(Replacement);
  if (FFind.empty()) return 0;
  int N = 0;
  std::string Text;
  uint64_t LineStart = 0;
  for (size_t I = 0; I < Lines.size(); ++I) {
    std::string S = Lines[I];
    size_t Grown = 0;
    for (size_t P = 0; (P = S.find(FFind, P)) != std::string::npos; P += R.size(), ++N) {
      if (Spots) Spots->push_back({LineStart + P - Grown, FFind.size(), R});
      S.replace(P, FFind.size(), R);
      Grown += R.size() - FFind.size();
    }
    LineStart += Lines[I].size() + 2;
    Text += S + (I + 1 < Lines.size() ? "\r\n" : "");
  }
  TStringList L;
  L.SetText(Text);
  Lines = L.Items();
  return N;
}

}  // namespace tesvarin::test
