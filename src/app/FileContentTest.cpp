#include "app/FileContentTest.h"

#include <algorithm>

#include "editor/text/LineScan.h"
#include "regexp/REMatchStr.h"
#include "support/StringList.h"

namespace tesvarin {

namespace {

// Line breaks become CR LF as the editor's lines hold them. Whole runs between breaks are copied
// at once: most files already have CR LF breaks. Out keeps its room from file to file.
void NormalizeBreaks(std::string_view Bytes, std::string& Out) {
  Out.clear();
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
}

bool HasBreakByte(std::string_view S) { return S.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

// The breaks are made CR LF only when the text is needed: most files searched hold no hit, and the
// raw bytes tell that as well.
void TFileContentTest::LoadFromFile(const std::string& Path) {
  LoadBytes({});
  const size_t Size = ReadFileInto(Path, FOwn);
  LoadBytes(std::string_view(FOwn).substr(0, Size));
}

void TFileContentTest::LoadBytes(std::string_view Bytes) {
  FText.clear();
  FSelStart = FSelLength = 0;
  FRaw = Bytes;
  FRawPending = true;
}

const std::string& TFileContentTest::Text() {
  if (FRawPending) {
    // The viewer's lines end at the first Ctrl+Z; looked for only here, since most files are ruled
    // out by their raw bytes first.
    NormalizeBreaks(FRaw.substr(0, FRaw.find(CtrlZ)), FText);
    FRawPending = false;
  }
  return FText;
}

void TFileContentTest::Clear() {
  LoadBytes({});
  FText.shrink_to_fit();
  FOwn = std::string();
}

size_t TFileContentTest::LineStart(size_t Pos) {
  if (Pos == 0) return 0;
  const size_t Lf = Text().rfind('\n', Pos - 1);
  return Lf == std::string::npos ? 0 : Lf + 1;
}

size_t TFileContentTest::LineEnd(size_t Pos) {
  const size_t Cr = Text().find("\r\n", Pos);
  return Cr == std::string::npos ? Text().size() : Cr;
}

// The lines before the first candidate cannot hold a hit.
size_t TFileContentTest::NextCandidateLine(size_t From) {
  const size_t P = FSearch.FirstCandidate(Text(), From);
  return P == std::string_view::npos ? P : std::max(From, LineStart(P));
}

// Breaks are the only bytes the CR LF form changes, so what the search looks for without them is in
// the raw bytes wherever it is in the text. The bytes after a Ctrl+Z only add candidates.
bool RawBytesRuleOut(TEditorExSearch& Search, std::string_view Raw) {
  const std::string& Find = Search.FindString();
  if (Find.empty()) return false;
  if (Search.ExSearchOptions().Contains(soRegexp)) {
    const auto& Literals = Search.PreparedMatcher().RequiredLiterals().Searched();
    if (Literals.empty() || std::any_of(Literals.begin(), Literals.end(), HasBreakByte)) return false;
  } else if (HasBreakByte(Find)) {
    return false;
  }
  return Search.FirstCandidate(Raw, 0) == std::string_view::npos;
}

// As the viewer: the rest of the line after the current hit, then each following line whole.
bool TFileContentTest::FindNext() {
  if (FRawPending && RawBytesRuleOut(FSearch, FRaw)) return false;
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
      FSelStart = From + static_cast<size_t>(P) - 1;
      FSelLength = static_cast<size_t>(Len);
      return true;
    }
    if (End == T.size()) break;
    From = NextCandidateLine(End + 2);
  }
  return false;
}

}  // namespace tesvarin
