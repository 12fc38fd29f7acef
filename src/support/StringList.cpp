#include "support/StringList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Exception.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {

bool IsBlankOrControl(unsigned char C) { return C >= 1 && C <= 32; }

std::string QuoteIfNeeded(const std::string& S) {
  bool Needs = S.empty();
  for (size_t I = 0; I < S.size(); I += CharLength(S, I)) {
    unsigned char C = static_cast<unsigned char>(S[I]);
    if (C == '"' || C == ',' || IsBlankOrControl(C)) Needs = true;
  }
  if (!Needs) return S;
  std::string Out = "\"";
  for (char C : S) {
    Out += C;
    if (C == '"') Out += '"';
  }
  return Out + "\"";
}

}  // namespace

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError();
}

void TStringList::CheckUnsorted() const {
  if (FSorted) throw Exception("ソートされたリストでは実行できない操作です");
}

const std::string& TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TStringList::Put(int Index, std::string S) {
  CheckIndex(Index);
  CheckUnsorted();
  FItems[static_cast<size_t>(Index)] = std::move(S);
  Changed();
}

int TStringList::Add(std::string S) {
  int Index = Count();
  if (FSorted) {
    if (Find(S, Index)) {
      if (FDuplicates == dupIgnore) return Index;
      if (FDuplicates == dupError) throw Exception("文字列リストは重複を許可しません");
    }
  }
  FItems.insert(FItems.begin() + Index, std::move(S));
  Changed();
  return Index;
}

void TStringList::Insert(int Index, std::string S) {
  CheckUnsorted();
  if (Index < 0 || Index > Count()) ListIndexError();
  FItems.insert(FItems.begin() + Index, std::move(S));
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TStringList::Exchange(int A, int B) {
  CheckIndex(A);
  CheckIndex(B);
  CheckUnsorted();
  std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
  Changed();
}

void TStringList::Assign(const TStringList& Source) {
  if (&Source == this) return;
  BeginUpdate();
  FItems.clear();
  for (const std::string& S : Source.FItems) Add(S);
  EndUpdate();
}

int TStringList::CompareStrings(std::string_view A, std::string_view B) const {
  if (FCaseSensitive) return A.compare(B) < 0 ? -1 : (A == B ? 0 : 1);
  return CompareTextSjis(A, B);
}

int TStringList::IndexOf(std::string_view S) const {
  if (FSorted) {
    int Index = 0;
    return Find(S, Index) ? Index : -1;
  }
  for (int I = 0; I < Count(); ++I) {
    if (CompareStrings(FItems[static_cast<size_t>(I)], S) == 0) return I;
  }
  return -1;
}

bool TStringList::Find(std::string_view S, int& Index) const {
  int Lo = 0;
  int Hi = Count() - 1;
  bool Found = false;
  while (Lo <= Hi) {
    int Mid = Lo + (Hi - Lo) / 2;
    int C = CompareStrings(FItems[static_cast<size_t>(Mid)], S);
    if (C < 0) {
      Lo = Mid + 1;
    } else {
      Hi = Mid - 1;
      if (C == 0) {
        Found = true;
        if (FDuplicates != dupAccept) Lo = Mid;
      }
    }
  }
  Index = Lo;
  return Found;
}

void TStringList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const std::string& A, const std::string& B) { return CompareStrings(A, B) < 0; });
  Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& Compare) {
  std::vector<int> Order(FItems.size());
  for (size_t I = 0; I < Order.size(); ++I) Order[I] = static_cast<int>(I);
  std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) { return Compare(*this, A, B) < 0; });
  std::vector<std::string> Sorted;
  Sorted.reserve(FItems.size());
  for (int I : Order) Sorted.push_back(std::move(FItems[static_cast<size_t>(I)]));
  FItems = std::move(Sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

std::string TStringList::Text() const {
  size_t Size = 0;
  for (const std::string& S : FItems) Size += S.size() + 2;
  std::string Out;
  Out.reserve(Size);
  for (const std::string& S : FItems) {
    Out += S;
    Out += "\r\n";
  }
  return Out;
}

void TStringList::SetText(std::string_view Text) {
  BeginUpdate();
  FItems.clear();
  size_t I = 0;
  while (I < Text.size()) {
    size_t Start = I;
    while (I < Text.size() && Text[I] != '\r' && Text[I] != '\n') ++I;
    Add(std::string(Text.substr(Start, I - Start)));
    if (I < Text.size() && Text[I] == '\r') ++I;
    if (I < Text.size() && Text[I] == '\n') ++I;
  }
  EndUpdate();
}

std::string TStringList::CommaText() const {
  std::string Out;
  for (size_t I = 0; I < FItems.size(); ++I) {
    if (I > 0) Out += ',';
    Out += QuoteIfNeeded(FItems[I]);
  }
  return Out;
}

void TStringList::SetCommaText(std::string_view Text) {
  BeginUpdate();
  FItems.clear();
  size_t I = 0;
  auto SkipBlanks = [&] {
    while (I < Text.size() && IsBlankOrControl(static_cast<unsigned char>(Text[I]))) ++I;
  };
  SkipBlanks();
  while (I < Text.size()) {
    std::string Item;
    if (Text[I] == '"') {
      ++I;
      while (I < Text.size()) {
        if (Text[I] == '"') {
          if (I + 1 < Text.size() && Text[I + 1] == '"') {
            Item += '"';
            I += 2;
            continue;
          }
          ++I;
          break;
        }
        size_t N = CharLength(Text, I);
        Item.append(Text.substr(I, N));
        I += N;
      }
    } else {
      while (I < Text.size() && Text[I] != ',' && !IsBlankOrControl(static_cast<unsigned char>(Text[I]))) {
        size_t N = CharLength(Text, I);
        Item.append(Text.substr(I, N));
        I += N;
      }
    }
    Add(std::move(Item));
    SkipBlanks();
    if (I < Text.size() && Text[I] == ',') {
      if (I + 1 == Text.size()) Add(std::string());
      ++I;
      SkipBlanks();
    }
  }
  EndUpdate();
}

void TStringList::LoadFromFile(const std::string& Path) { SetText(ReadFileBytes(Path)); }

void TStringList::SaveToFile(const std::string& Path) const { WriteFileBytes(Path, Text()); }

void TStringList::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TStringList::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(*this);
}

namespace {

// Closes the descriptor on every way out of a read.
struct TFdCloser {
  int Fd;
  ~TFdCloser() { close(Fd); }
};

// Everything left in Fd into the front of Buffer, which only grows; the count read, or nothing with
// errno set. Room is made first for SizeHint bytes and one more (64 KB when the size is unknown).
// A short read is no end (Linux reads at most about 2 GiB at a time): only 0 is, or reaching the
// size the descriptor gave; a file that grew past it is read on to 0.
std::optional<size_t> ReadToEnd(int Fd, std::string& Buffer, std::optional<size_t> SizeHint) {
  size_t Got = 0;
  size_t Room = SizeHint ? *SizeHint + 1 : 64 * 1024;
  for (;;) {
    if (Buffer.size() < Got + Room) Buffer.resize(Got + Room);
    const ssize_t N = read(Fd, Buffer.data() + Got, Room);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return std::nullopt;
    if (N == 0) break;
    Got += static_cast<size_t>(N);
    if (SizeHint && Got == *SizeHint) break;
    Room -= static_cast<size_t>(N);
    if (Room == 0) Room = Got;
  }
  return Got;
}

}  // namespace

// One open, one size query and, for a regular file, one read: the search reads every file it
// tests this way.
size_t ReadFileInto(const std::string& Path, std::string& Buffer) {
  const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) RaiseInOutError("ファイルを開けません", Path, errno);
  const TFdCloser Closer{Fd};
  struct stat St {};
  std::optional<size_t> SizeHint;
  if (fstat(Fd, &St) == 0 && S_ISREG(St.st_mode)) SizeHint = static_cast<size_t>(St.st_size);
  if (SizeHint) RequireMemoryFor(*SizeHint, Path);
  const std::optional<size_t> Got = ReadToEnd(Fd, Buffer, SizeHint);
  if (!Got) throw EInOutError("ファイルを読めません: " + Path, EIO);
  return *Got;
}

void RequireMemoryFor(uint64_t Size, const std::string& Path) {
  // Asked once: the search asks for every file it reads.
  static const uint64_t Memory = [] {
    const long Pages = sysconf(_SC_PHYS_PAGES);
    const long PageSize = sysconf(_SC_PAGESIZE);
    return Pages > 0 && PageSize > 0 ? static_cast<uint64_t>(Pages) * static_cast<uint64_t>(PageSize) : UINT64_MAX;
  }();
  if (Size >= Memory) RaiseInOutError("ファイルが大きすぎて読み込めません", Path, EFBIG);
}

std::string ReadFileBytes(const std::string& Path) {
  std::string Bytes;
  Bytes.resize(ReadFileInto(Path, Bytes));
  return Bytes;
}

void WriteFileBytes(const std::string& Path, std::string_view Bytes) {
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  if (!Out) RaiseInOutError("ファイルを作成できません", Path, errno);
  Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  Out.flush();
  if (!Out) throw EInOutError("ファイルに書き込めません: " + Path, EIO);
}

}  // namespace tesvarin
