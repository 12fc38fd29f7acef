#include "FileContentEditor.h"

#include <algorithm>
#include <cstring>

#include "regexp/REMatchStr.h"
#include "support/StringList.h"

namespace tesvarin::cli {

namespace {

// Line breaks become CR LF as the editor's lines hold them. Whole runs between breaks are copied
// at once: most files already have CR LF breaks.
std::string NormalizeBreaks(std::string_view Bytes) {
  std::string Out;
  Out.reserve(Bytes.size() + Bytes.size() / 32);
  size_t I = 0;
  while (I < Bytes.size()) {
    size_t Lf = Bytes.find('\n', I);
    std::string_view Run = Bytes.substr(I, Lf == std::string_view::npos ? std::string_view::npos : Lf - I);
    // Lone CRs inside the run are breaks of their own; a CR right before the LF belongs to it.
    const bool CrLf = Lf != std::string_view::npos && !Run.empty() && Run.back() == '\r';
    if (CrLf) Run.remove_suffix(1);
    for (size_t Cr = Run.find('\r'); Cr != std::string_view::npos; Cr = Run.find('\r')) {
      Out.append(Run.substr(0, Cr)).append("\r\n");
      Run.remove_prefix(Cr + 1);
    }
    Out.append(Run);
    if (Lf == std::string_view::npos) break;
    Out.append("\r\n");
    I = Lf + 1;
  }
  return Out;
}

bool HasBreakByte(std::string_view S) { return S.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

// The breaks are made CR LF only when the text is needed: most files searched hold no hit, and the
// raw bytes tell that as well.
void TFileContentEditor::LoadFromFile(const std::string& Path) {
  Clear();
  FRawSize = ReadFileInto(Path, FRaw);
  if (const void* Eof = std::memchr(FRaw.data(), '\x1a', FRawSize))
    FRawSize = static_cast<size_t>(static_cast<const char*>(Eof) - FRaw.data());
  FRawPending = true;
}

const std::string& TFileContentEditor::Text() const {
  if (FRawPending) {
    FText = NormalizeBreaks(RawBytes());
    FRawPending = false;
  }
  return FText;
}

void TFileContentEditor::Clear() {
  FText.clear();
  FRawSize = 0;
  FRawPending = false;
  FSelStart = FSelLength = 0;
}

void TFileContentEditor::SetSelLength(int Value) { FSelLength = Value < 0 ? 0 : static_cast<size_t>(Value); }

size_t TFileContentEditor::LineStart(size_t Pos) const {
  if (Pos == 0) return 0;
  const size_t Lf = Text().rfind('\n', Pos - 1);
  return Lf == std::string::npos ? 0 : Lf + 1;
}

size_t TFileContentEditor::LineEnd(size_t Pos) const {
  const size_t Cr = Text().find("\r\n", Pos);
  return Cr == std::string::npos ? Text().size() : Cr;
}

// The lines before the first candidate cannot hold a hit.
size_t TFileContentEditor::NextCandidateLine(size_t From) {
  const size_t P = FSearch.FirstCandidate(Text(), From);
  return P == std::string_view::npos ? P : std::max(From, LineStart(P));
}

// Breaks are the only bytes the CR LF form changes, so what the search looks for without them is in
// the raw bytes wherever it is in the text.
bool TFileContentEditor::RawBytesRuleOut() {
  const std::string& Find = FSearch.FindString();
  if (Find.empty()) return false;
  if (FSearch.ExSearchOptions().Contains(soRegexp)) {
    const auto& Literals = FSearch.PreparedMatcher().RequiredLiterals().Searched();
    if (Literals.empty() || std::any_of(Literals.begin(), Literals.end(), HasBreakByte)) return false;
  } else if (HasBreakByte(Find)) {
    return false;
  }
  return FSearch.FirstCandidate(RawBytes(), 0) == std::string_view::npos;
}

void TFileContentEditor::Select(size_t Pos, int Len) {
  FSelStart = Pos;
  FSelLength = static_cast<size_t>(Len);
}

// As the viewer: the rest of the line after the current hit, then each following line whole.
bool TFileContentEditor::FindNext() {
  if (FRawPending && RawBytesRuleOut()) return false;
  size_t From = FSelStart + FSelLength;
  FSelStart = From;
  FSelLength = 0;
  From = NextCandidateLine(From);
  const std::string& T = Text();
  while (From <= T.size()) {
    const size_t End = LineEnd(From);
    int Len = 0;
    const int P = FSearch.StrSearch(std::string_view(T).substr(From, End - From), Len);
    if (P > 0) {
      Select(From + static_cast<size_t>(P) - 1, Len);
      return true;
    }
    if (End == T.size()) break;
    From = NextCandidateLine(End + 2);
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
    const int P = FSearch.StrSearchLast(std::string_view(Text()).substr(Start, Stop - Start), Len);
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
  const int N = FSearch.ReplaceAllText(Text(), Replacement, ExpandCrLf, Out);
  if (N == 0) return 0;
  FText = std::move(Out);
  FSelStart = FSelLength = 0;
  return N;
}

}  // namespace tesvarin::cli
