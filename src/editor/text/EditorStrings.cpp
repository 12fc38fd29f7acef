#include "editor/text/EditorStrings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>
#include <thread>
#include <memory>
#include <optional>
#include <system_error>

#include "support/Exception.h"
#include "support/Sjis.h"
#include "support/TextEncoding.h"

namespace tesvarin {

namespace {
// Length of S once every lone CR and lone LF has become CR LF, as the rows will store it.
int64_t StoredLength(std::string_view S) {
  int64_t Length = 0;
  ForEachLine(S, [&](std::string_view Line, int Kind) { Length += static_cast<int64_t>(Line.size()) + (Kind >= 0 ? 2 : 0); });
  return Length;
}

class TFile {
public:
  TFile(const std::string& Path, int Flags) : FFd(::open(Path.c_str(), Flags | O_CLOEXEC, 0666)) {}
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  ~TFile() {
    if (FFd >= 0) ::close(FFd);
  }
  [[nodiscard]] int Fd() const { return FFd; }
  // Closes now so that a failing close is seen.
  int Close() {
    int R = ::close(FFd);
    FFd = -1;
    return R;
  }

private:
  int FFd;
};
}  // namespace

int TEditorStrings::Count() const { return FRows.LineCount(); }

void TEditorStrings::CheckLine(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError();
}

void TEditorStrings::LineRows(int Index, int& First, int& Rows) const {
  if (!FRows.WordWrap()) {
    First = Index;
    Rows = 1;
    return;
  }
  First = FRows.LineToRow(Index);
  Rows = FRows.LineEndRow(First) - First + 1;
}

std::string TEditorStrings::Get(int Index) const {
  CheckLine(Index);
  int First = 0;
  int Rows = 0;
  LineRows(Index, First, Rows);
  std::string S;
  for (int I = First; I < First + Rows; ++I) S.append(FRows.RowView(I));
  return S;
}

void TEditorStrings::CaretAfter(int Row, int64_t Offset) {
  if (FEditor == nullptr) return;
  int R = 0;
  int C = 0;
  FRows.OffsetToRowCol(Row, Offset, R, C);
  FEditor->SetCaretRowCol(R, C);
}

void TEditorStrings::Put(int Index, std::string_view S) {
  CheckLine(Index);
  int First = 0;
  int Rows = 0;
  LineRows(Index, First, Rows);
  std::string Text(S);
  if (FRows.RowAttribute(First + Rows - 1) == raCrlf) Text.append("\r\n");
  FRows.UpdateRows(First, Rows, Text);
  CaretAfter(First, StoredLength(S));
}

void TEditorStrings::Insert(int Index, std::string_view S) {
  if (Index == Count()) {
    Add(S);
    return;
  }
  CheckLine(Index);
  int First = 0;
  int Rows = 0;
  LineRows(Index, First, Rows);
  std::string Text(S);
  Text.append("\r\n");
  FRows.UpdateRows(First, 0, Text);
  CaretAfter(First, StoredLength(Text));
}

int TEditorStrings::Add(std::string_view S) {
  const int Last = FRows.Count() - 1;
  if (Last >= 0 && FRows.RowAttribute(Last) != raCrlf) {
    const int Start = FRows.LineStartRow(Last);
    std::string Text(FRows.RowView(Last));
    Text.append("\r\n").append(S);
    const int64_t Before = StoredLength(FRows.LineText(Start, Last - Start).Text);
    FRows.UpdateRows(Last, 1, Text);
    CaretAfter(Start, Before + StoredLength(Text));
    return Count() - 1;
  }
  std::string Text(S);
  Text.append("\r\n");
  FRows.UpdateRows(Last + 1, 0, Text);
  CaretAfter(Last + 1, StoredLength(Text));
  return Count() - 1;
}

void TEditorStrings::Delete(int Index) {
  CheckLine(Index);
  int First = 0;
  int Rows = 0;
  LineRows(Index, First, Rows);
  FRows.UpdateRows(First, Rows, {});
  if (FEditor != nullptr) FEditor->SetCaretRowCol(std::min(First, FRows.MaxCaretRow()), 0);
}

void TEditorStrings::Clear() {
  FTail.clear();
  FRows.Clear();
}

std::string TEditorStrings::Text() const { return FRows.JoinedRows<std::string>(0, FRows.Count() - 1); }

TBigString TEditorStrings::BigText() const { return FRows.JoinedRows<TBigString>(0, FRows.Count() - 1); }

size_t TEditorStrings::TextSize() const { return FRows.JoinedSize(0, FRows.Count() - 1); }

namespace {

// One piece being gathered: a view of a loaded block while its rows lie there as read and each
// line's CR LF follows it there (an unedited file with CR LF breaks, the usual big one), so the
// pass copies nothing; from the first row or break that does not, a copy.
class TPieceGatherer {
public:
  TPieceGatherer(const TEditorScreenStrings& Rows, const TTextPieceSink& Take) : FRows(Rows), FTake(Take) {}

  void AddRow(std::string_view Row) {
    if (!FCopying && !Row.empty()) {
      if (FStart == nullptr) Anchor(Row.data());
      if (Row.data() != FEnd || Row.size() > static_cast<size_t>(FBlockEnd - FEnd)) ToCopy();
      else FEnd += Row.size();
    }
    if (FCopying) FCopy.append(Row);
  }

  void AddBreak() {
    if (!FCopying && FStart != nullptr && FBlockEnd - FEnd >= 2 && FEnd[0] == '\r' && FEnd[1] == '\n') {
      FEnd += 2;
      return;
    }
    if (!FCopying) ToCopy();
    FCopy.append("\r\n");
  }

  [[nodiscard]] size_t Size() const { return FCopying ? FCopy.size() : static_cast<size_t>(FEnd - FStart); }

  // Hands the piece over; the CR LF after it belongs to neither piece.
  void Flush() {
    // A piece with no bytes still has a place: a finder need not expect a null one.
    const std::string_view Piece = FCopying || FStart == nullptr ? std::string_view(FCopy.data(), FCopy.size())
                                                                 : std::string_view(FStart, Size());
    FTake(Piece, FOffset);
    FOffset += Piece.size() + 2;
    FCopy.clear();
    FCopying = false;
    FStart = FEnd = FBlockEnd = nullptr;
  }

private:
  void Anchor(const char* P) {
    const std::string_view Block = FRows.BlockHolding(P);
    if (Block.empty()) return;
    FStart = FEnd = P;
    FBlockEnd = Block.data() + Block.size();
  }

  void ToCopy() {
    if (FStart != nullptr) FCopy.assign(FStart, Size());
    FCopying = true;
  }

  const TEditorScreenStrings& FRows;
  const TTextPieceSink& FTake;
  TBigString FCopy;
  bool FCopying = false;
  const char* FStart = nullptr;
  const char* FEnd = nullptr;
  const char* FBlockEnd = nullptr;
  size_t FOffset = 0;
};

// Text's lines, cut into pieces as the gatherer cuts them: at the first CR LF where a piece holds
// PieceBytes or more. Every CR LF in Text is a line break.
void CutTextPieces(std::string_view Text, size_t PieceBytes, const TTextPieceSink& Take) {
  for (size_t Start = 0;;) {
    const size_t Break = PieceBytes >= Text.size() - Start ? std::string_view::npos : Text.find("\r\n", Start + PieceBytes);
    if (Break == std::string_view::npos) return Take(Text.substr(Start), Start);
    Take(Text.substr(Start, Break - Start), Start);
    Start = Break + 2;
  }
}

}  // namespace

void TEditorStrings::ProduceTextPieces(size_t PieceBytes, const TTextPieceSink& Take) const {
  if (const std::string_view Text = FRows.TextAsCut(); !Text.empty()) return CutTextPieces(Text, PieceBytes, Take);
  TPieceGatherer Piece(FRows, Take);
  for (int I = 0; I < FRows.Count();) {
    int Run = 0;
    const TheStringItem* Item = FRows.ItemRun(I, Run);
    for (const TheStringItem* End = Item + Run; Item != End; ++Item) {
      Piece.AddRow(Item->Text.View());
      if (TEditorScreenStrings::RowAttributeOf(*Item) != raCrlf) continue;
      if (Piece.Size() < PieceBytes) Piece.AddBreak();
      else Piece.Flush();
    }
    I += Run;
  }
  Piece.Flush();
}

std::string TEditorStrings::LineBreaks() const { return FRows.LineBreaksOf(0, FRows.Count()); }

// The rows were cut as they were made.
void TEditorStrings::FinishLoad() {
  FRows.RefreshAllRowStates();
}

void TEditorStrings::SetLinesText(std::string_view S) {
  TTextBlock Block;
  if (!S.empty()) {
    Block = NewTextBlock(S.size());
    std::memcpy(Block.get(), S.data(), S.size());
  }
  SetLinesBlock(std::move(Block), S.size());
}

void TEditorStrings::TakeLinesText(TBigString&& Text) {
  const size_t Size = Text.size();
  SetLinesBlock(TextBlockOf(std::move(Text)), Size);
}

void TEditorStrings::SetLinesBlock(TTextBlock Block, size_t Size) {
  BeginUpdate();
  struct TClose {
    TEditorStrings& Lines;
    ~TClose() { Lines.EndUpdate(); }
  } Close{*this};
  FRows.Clear();
  if (Size != 0) FRows.SetRowsFromBlock(std::move(Block), Size);
  FinishLoad();
  FRows.ForgetLastChange();
}

void TEditorStrings::Assign(const TStringList& Source) {
  SetLinesText(Source.Text());
  if (FEditor != nullptr) FEditor->SetCaretRowCol(FRows.MaxCaretRow(), 0);
}

void TEditorStrings::Assign(const TEditorStrings& Source) {
  if (&Source == this) return;
  SetLinesText(Source.Text());
  if (FEditor != nullptr) FEditor->SetCaretRowCol(FRows.MaxCaretRow(), 0);
}

namespace {

// Reads an open file to its end into a block sized Capacity (its size as it said), growing it only
// when the file turns out longer. A read error ends the reading: what was read is kept.
TTextBlock ReadWhole(int Fd, size_t Capacity, size_t& Size, int& ReadError) {
  // Not zeroed: every byte kept is read into it, so a plain load holds the file's bytes just once.
  TTextBlock Block = NewTextBlock(Capacity);
  Size = 0;
  ReadError = 0;
  char Probe[65536];
  for (;;) {
    const bool Full = Size == Capacity;
    char* Into = Full ? Probe : Block.get() + Size;
    ssize_t Got = ::read(Fd, Into, Full ? sizeof Probe : Capacity - Size);
    if (Got < 0 && errno == EINTR) continue;
    if (Got < 0) {
      ReadError = errno;
      break;
    }
    if (Got == 0) break;
    if (Full) {
      // The file grew or its size is unknown: read on into a bigger block.
      const size_t NewCapacity = Capacity + std::max<size_t>(Capacity / 2, sizeof Probe);
      TTextBlock Bigger = NewTextBlock(NewCapacity);
      if (Size != 0) std::memcpy(Bigger.get(), Block.get(), Size);
      std::memcpy(Bigger.get() + Size, Probe, static_cast<size_t>(Got));
      Block = std::move(Bigger);
      Capacity = NewCapacity;
    }
    Size += static_cast<size_t>(Got);
  }
  return Block;
}

// A load replaces every line inside one update bracket, closed however the load ends.
struct TFreshLoad {
  TEditorStrings& Lines;
  explicit TFreshLoad(TEditorStrings& L) : Lines(L) {
    Lines.BeginUpdate();
    Lines.Clear();
  }
  ~TFreshLoad() { Lines.EndUpdate(); }
  TFreshLoad(const TFreshLoad&) = delete;
  TFreshLoad& operator=(const TFreshLoad&) = delete;
};

// The size of an open regular file; 0 for anything else, which is read until it ends.
size_t RegularFileSize(int Fd) {
  struct stat St {};
  if (::fstat(Fd, &St) != 0 || !S_ISREG(St.st_mode) || St.st_size <= 0) return 0;
  return static_cast<size_t>(St.st_size);
}

}  // namespace

void TEditorStrings::LoadFromFile(const std::string& Path, TFileStamp* Stamp) {
  const TFreshLoad Loading(*this);
  TFile File(Path, O_RDONLY);
  if (File.Fd() < 0) RaiseInOutError("ファイルを開けません", Path, errno);
  const TStampTaker Taker(File.Fd());
  const size_t Capacity = RegularFileSize(File.Fd());
  // Counted as memory all the same: a mapped text is copied into the program's own.
  RequireMemoryFor(Capacity, Path);
  size_t Size = Capacity;
  int ReadError = 0;
  TTextBlock Block = Capacity >= MapFileFrom ? MapFileBlock(File.Fd(), Capacity) : TTextBlock();
  if (!Block) Block = ReadWhole(File.Fd(), Capacity, Size, ReadError);
  // A mapped text's stamp is hashed beside the making of its rows.
  const std::shared_ptr<TBlockCopier> Copier = Block.get_deleter().Copier;
  if (Copier) Copier->Start(Size);
  const std::string_view Text(Block.get(), Size);
  // The row records come on top of the text: refused here rather than failing half way through them.
  AdoptLoaded(std::move(Block), Size, [&](int64_t Rows) {
    RequireMemoryFor(Size + static_cast<uint64_t>(Rows) * sizeof(TheStringItem), Path);
  });
  const std::optional<uint64_t> Hash = Copier ? Copier->Hash() : std::nullopt;
  if (Copier) Copier->AllowCopy();
  // The hash read every page: one that could not be read, or that the file no longer has, came in
  // as zeros, which must not pass for the file's text.
  if (Copier && Copier->CutShort()) ReadError = EIO;
  if (Stamp != nullptr) *Stamp = Hash ? Taker.Finish(File.Fd(), *Hash, Size) : Taker.Finish(File.Fd(), Text);
  if (ReadError != 0) RaiseInOutError("ファイルを読めません", Path, ReadError);
  FinishLoad();
  FRows.ForgetLastChange();
  FRows.RefreshEditors();
}

void TEditorStrings::LoadFromBytes(std::string_view Bytes) {
  const TFreshLoad Loading(*this);
  TTextBlock Block = NewTextBlock(Bytes.size());
  if (!Bytes.empty()) std::memcpy(Block.get(), Bytes.data(), Bytes.size());
  AdoptLoaded(std::move(Block), Bytes.size());
  FinishLoad();
  FRows.ForgetLastChange();
  FRows.RefreshEditors();
}

void TEditorStrings::AdoptLoaded(TTextBlock Block, size_t Size, const std::function<void(int64_t)>& CheckRows) {
  FRows.SetRowsFromBlock(std::move(Block), Size, CheckRows, &FTail);
}

void TEditorStrings::ProduceFileBytes(const std::function<void(std::string_view)>& Sink) const {
  std::string Buffer;
  constexpr size_t Chunk = 1 << 20;
  Buffer.reserve(Chunk + 4096);
  auto Flush = [&] {
    if (!Buffer.empty()) Sink(Buffer);
    Buffer.clear();
  };
  for (int I = 0; I < FRows.Count(); ++I) {
    std::string_view Row = FRows.RowView(I);
    if (Row.size() >= Chunk) {
      Flush();
      Sink(Row);
    } else {
      Buffer.append(Row);
    }
    if (FRows.RowAttribute(I) == raCrlf) Buffer.append(LineBreakBytes(FRows.LineBreak(I)));
    if (Buffer.size() >= Chunk) Flush();
  }
  Flush();
  if (!FTail.empty()) Sink(FTail);
}

std::string TEditorStrings::FileBytes() const {
  std::string Out;
  ProduceFileBytes([&Out](std::string_view Piece) { Out.append(Piece); });
  return Out;
}

void TEditorStrings::SaveToFile(const std::string& Path) const {
  // The file may be the one the text was mapped from, which is cut to nothing below: the text
  // must not read from it any more, or is taken whole first.
  std::optional<std::string> Whole;
  if (!FRows.MakeBlocksOwn()) Whole = FileBytes();
  TFile File(Path, O_WRONLY | O_CREAT | O_TRUNC);
  if (File.Fd() < 0) RaiseInOutError("ファイルを作成できません", Path, errno);
  auto Write = [&](std::string_view Piece) {
    while (!Piece.empty()) {
      ssize_t W = ::write(File.Fd(), Piece.data(), Piece.size());
      if (W < 0 && errno == EINTR) continue;
      if (W < 0) RaiseInOutError("ファイルに書き込めません", Path, errno);
      Piece.remove_prefix(static_cast<size_t>(W));
    }
  };
  if (Whole)
    Write(*Whole);
  else
    ProduceFileBytes(Write);
  if (File.Close() != 0) RaiseInOutError("ファイルに書き込めません", Path, errno);
}

// A lead byte before a line break is out of form: a break byte is never a trail byte.
bool TEditorStrings::RowsWellFormed(int From, int To, bool& Pending) const {
  Pending = false;
  for (int I = From; I < To; ++I) {
    if (!IsWellFormedCp932Piece(FRows.RowView(I), Pending)) return false;
    if (Pending && FRows.RowAttribute(I) != raWrapped) return false;
  }
  return true;
}

// A line starts a character, so the two halves of a big text are checked on two threads.
bool TEditorStrings::WellFormed() const {
  const int N = FRows.Count();
  int Split = 0;
  std::future<bool> First;
  if (N >= SplitWellFormedFrom && std::thread::hardware_concurrency() >= 2) {
    Split = N / 2;
    while (Split < N && FRows.RowAttribute(Split - 1) == raWrapped) ++Split;
    try {
      First = std::async(std::launch::async, [this, Split] {
        bool Pending = false;
        return RowsWellFormed(0, Split, Pending);
      });
    } catch (const std::system_error&) {
      Split = 0;  // no second thread: the whole text here
    }
  }
  bool Pending = false;
  const bool Rest = RowsWellFormed(Split, N, Pending) && IsWellFormedCp932Piece(FTail, Pending) && !Pending;
  return (!First.valid() || First.get()) && Rest;
}

void TEditorStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) {
    FRows.BeginUpdate();
    if (FEditor != nullptr) FEditor->BeginLinesUpdate();
  }
}

void TEditorStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) {
    FRows.EndUpdate();
    if (FEditor != nullptr) FEditor->EndLinesUpdate();
    FRows.RefreshEditors();
  }
}

std::vector<std::string> TEditorStrings::StoredStrings() const {
  std::vector<std::string> Out;
  Out.reserve(static_cast<size_t>(Count()));
  for (int I = 0; I < Count(); ++I) Out.push_back(Get(I));
  return Out;
}

void TEditorStrings::ReadStoredStrings(const std::vector<std::string>& Strings) {
  BeginUpdate();
  for (const std::string& S : Strings) Add(S);
  EndUpdate();
}

bool TEditorStrings::ShouldStoreStrings(const TEditorStrings* Inherited) const {
  if (Inherited == nullptr) return Count() > 0;
  return StoredStrings() != Inherited->StoredStrings();
}

}  // namespace tesvarin
