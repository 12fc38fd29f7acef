#include "app/ReplaceJournal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>
#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <utility>

#include "app/SafeSave.h"
#include "support/Exception.h"
#include "support/FileStamp.h"

namespace tesvarin {

namespace {

// A run's file: the magic, then records of a kind byte, a 64-bit length and that many bytes. A
// record cut short by a crash ends the run's readable part.
constexpr std::string_view Magic = "TVJRNL1\n";
constexpr char HeaderKind = 'H', FileKind = 'F', DataKind = 'Z', DroppedKind = 'D', TakenBackKind = 'U',
               EndKind = 'E';
constexpr int CompressionLevel = 1;  // the journal must not slow the replace down much
const char* const RunPrefix = "run-";
const char* const RunSuffix = ".tvj";

class TWriter {
public:
  void U64(uint64_t V) {
    for (int I = 0; I < 8; ++I) Out.push_back(static_cast<char>((V >> (8 * I)) & 0xFF));
  }
  void Str(std::string_view S) {
    U64(S.size());
    Out.append(S);
  }
  std::string Out;
};

class TReader {
public:
  explicit TReader(std::string_view In) : FIn(In) {}
  bool U64(uint64_t& V) {
    if (FIn.size() < 8) return false;
    V = 0;
    for (int I = 0; I < 8; ++I) V |= uint64_t(static_cast<unsigned char>(FIn[static_cast<size_t>(I)])) << (8 * I);
    FIn.remove_prefix(8);
    return true;
  }
  bool Str(std::string& S) {
    uint64_t N = 0;
    if (!U64(N) || N > FIn.size()) return false;
    S = std::string(FIn.substr(0, static_cast<size_t>(N)));
    FIn.remove_prefix(static_cast<size_t>(N));
    return true;
  }

private:
  std::string_view FIn;
};

std::string MakeRecord(char Kind, std::string_view Payload) {
  TWriter W;
  W.Out.push_back(Kind);
  W.Str(Payload);
  return W.Out;
}

std::string PathRecord(char Kind, const std::string& Path) {
  TWriter W;
  W.Str(Path);
  return MakeRecord(Kind, W.Out);
}

std::string RunFileName(int Number) {
  char Name[64];
  std::snprintf(Name, sizeof Name, "%s%06d%s", RunPrefix, Number, RunSuffix);
  return Name;
}

std::optional<int> RunNumberOf(const std::string& Name) {
  const std::string Prefix = RunPrefix, Suffix = RunSuffix;
  if (Name.size() <= Prefix.size() + Suffix.size() || Name.rfind(Prefix, 0) != 0 ||
      Name.compare(Name.size() - Suffix.size(), Suffix.size(), Suffix) != 0) {
    return std::nullopt;
  }
  const std::string Digits = Name.substr(Prefix.size(), Name.size() - Prefix.size() - Suffix.size());
  if (Digits.empty() || Digits.size() > 9 || !std::all_of(Digits.begin(), Digits.end(), [](char C) { return C >= '0' && C <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(Digits);
}

// Run numbers and file names in the folder, oldest first.
std::vector<std::pair<int, std::string>> RunFiles(const std::string& Folder) {
  std::vector<std::pair<int, std::string>> Files;
  DIR* D = opendir(Folder.c_str());
  if (!D) return Files;
  while (dirent* E = readdir(D)) {
    if (std::optional<int> N = RunNumberOf(E->d_name)) Files.emplace_back(*N, Folder + E->d_name);
  }
  closedir(D);
  std::sort(Files.begin(), Files.end());
  return Files;
}

bool WriteAll(int Fd, std::string_view Bytes) {
  while (!Bytes.empty()) {
    const ssize_t N = write(Fd, Bytes.data(), Bytes.size());
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Bytes.remove_prefix(static_cast<size_t>(N));
  }
  return true;
}

bool ReadAt(int Fd, uint64_t At, size_t Size, std::string& Out) {
  Out.resize(Size);
  size_t Done = 0;
  while (Done < Size) {
    const ssize_t N = pread(Fd, Out.data() + Done, Size - Done, static_cast<off_t>(At + Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Done += static_cast<size_t>(N);
  }
  return true;
}

struct TFd {
  int Fd;
  ~TFd() {
    if (Fd >= 0) close(Fd);
  }
};

void SyncFolder(const std::string& Folder) {
  const TFd D{open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (D.Fd >= 0) fsync(D.Fd);
}

TJournalEntry* EntryFor(TJournalRun& Run, const std::string& Path) {
  for (auto It = Run.Files.rbegin(); It != Run.Files.rend(); ++It) {
    if (It->Path == Path) return &*It;
  }
  return nullptr;
}

// Reads the records of a run's file; the old bytes are only located, not read.
std::optional<TJournalRun> ReadRun(int Number, const std::string& File) {
  const TFd F{open(File.c_str(), O_RDONLY | O_CLOEXEC)};
  struct stat St {};
  if (F.Fd < 0 || fstat(F.Fd, &St) != 0) return std::nullopt;
  const auto Size = static_cast<uint64_t>(St.st_size);
  std::string Buffer;
  if (Size < Magic.size() || !ReadAt(F.Fd, 0, Magic.size(), Buffer) || Buffer != Magic) return std::nullopt;
  TJournalRun Run;
  Run.Number = Number;
  Run.File = File;
  Run.Bytes = Size;
  uint64_t At = Magic.size();
  bool HasHeader = false;
  while (At + 9 <= Size) {
    std::string Head;
    if (!ReadAt(F.Fd, At, 9, Head)) break;
    uint64_t Len = 0;
    TReader(std::string_view(Head).substr(1)).U64(Len);
    const char Kind = Head[0];
    if (Len > Size - At - 9) break;  // cut short
    const uint64_t Body = At + 9;
    if (Kind == DataKind) {
      if (!Run.Files.empty()) {
        Run.Files.back().DataAt = Body;
        Run.Files.back().DataSize = Len;
      }
    } else {
      std::string Payload;
      if (!ReadAt(F.Fd, Body, static_cast<size_t>(Len), Payload)) break;
      TReader R(Payload);
      if (Kind == HeaderKind) {
        uint64_t Time = 0;
        HasHeader = R.U64(Time) && R.Str(Run.Info.Folder) && R.Str(Run.Info.Needle) && R.Str(Run.Info.Replacement) &&
                    R.Str(Run.Info.Options);
        Run.Info.Time = static_cast<int64_t>(Time);
      } else if (Kind == FileKind) {
        TJournalEntry E;
        if (R.Str(E.Path) && R.U64(E.OldSize) && R.U64(E.OldHash) && R.U64(E.NewSize) && R.U64(E.NewHash)) {
          Run.Files.push_back(std::move(E));
        }
      } else if (Kind == DroppedKind || Kind == TakenBackKind) {
        std::string Path;
        TJournalEntry* E = R.Str(Path) ? EntryFor(Run, Path) : nullptr;
        if (E) E->State = Kind == DroppedKind ? TJournalFileState::Dropped : TJournalFileState::TakenBack;
      } else if (Kind == EndKind) {
        Run.Finished = true;
      }
    }
    At = Body + Len;
    Run.ValidEnd = At;
  }
  if (!HasHeader) return std::nullopt;
  return Run;
}

std::string ReadOldBytes(const TJournalRun& Run, const TJournalEntry& E) {
  const TFd F{open(Run.File.c_str(), O_RDONLY | O_CLOEXEC)};
  std::string Packed;
  if (F.Fd < 0 || !ReadAt(F.Fd, E.DataAt, static_cast<size_t>(E.DataSize), Packed)) {
    RaiseInOutError("記録を読めません", Run.File, errno);
  }
  std::string Old(static_cast<size_t>(E.OldSize), '\0');
  const size_t N = ZSTD_decompress(Old.data(), Old.size(), Packed.data(), Packed.size());
  if (ZSTD_isError(N) || N != Old.size() || JournalHash(Old) != E.OldHash) {
    throw EInOutError(E.Path + " (記録が壊れています)", EIO);
  }
  return Old;
}

// The marks of a take-back, appended to a run's file that a crash may have left with a piece of a
// record at its end. A mark lost to a crash costs nothing: the file then holds its old bytes, and
// the next take-back marks it without writing it.
class TMarks {
public:
  explicit TMarks(const TJournalRun& Run) : FRun(Run) {}
  ~TMarks() {
    if (FFd >= 0) close(FFd);
  }
  void Add(const std::string& Path) {
    if (FFd < 0) {
      FFd = open(FRun.File.c_str(), O_WRONLY | O_CLOEXEC);
      if (FFd < 0 || ftruncate(FFd, static_cast<off_t>(FRun.ValidEnd)) != 0 ||
          lseek(FFd, static_cast<off_t>(FRun.ValidEnd), SEEK_SET) < 0) {
        Fail();
      }
    }
    if (!WriteAll(FFd, PathRecord(TakenBackKind, Path))) Fail();
  }
  void Sync() {
    if (FFd >= 0 && fdatasync(FFd) != 0) Fail();
  }

private:
  [[noreturn]] void Fail() { RaiseInOutError("記録に書き込めません", FRun.File, errno); }
  const TJournalRun& FRun;
  int FFd = -1;
};

}  // namespace

uint64_t JournalHash(std::string_view Bytes) { return XXH3_64bits(Bytes.data(), Bytes.size()); }

uint64_t JournalHash(std::string_view Old, const TByteSplices& Splices) {
  const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> State(XXH3_createState(), &XXH3_freeState);
  if (!State || XXH3_64bits_reset(State.get()) == XXH_ERROR) throw std::bad_alloc();
  size_t At = 0;
  for (const TByteSplice& S : Splices) {
    (void)XXH3_64bits_update(State.get(), Old.data() + At, static_cast<size_t>(S.Offset) - At);
    (void)XXH3_64bits_update(State.get(), S.New.data(), S.New.size());
    At = static_cast<size_t>(S.Offset + S.Length);
  }
  (void)XXH3_64bits_update(State.get(), Old.data() + At, Old.size() - At);
  return XXH3_64bits_digest(State.get());
}

int TJournalRun::FileCount() const {
  return static_cast<int>(std::count_if(Files.begin(), Files.end(), [](const TJournalEntry& E) {
    return E.State != TJournalFileState::Dropped;
  }));
}

int TJournalRun::TakenBackCount() const {
  return static_cast<int>(std::count_if(Files.begin(), Files.end(), [](const TJournalEntry& E) {
    return E.State == TJournalFileState::TakenBack;
  }));
}

std::string TJournalRun::StateText() const {
  const int Taken = TakenBackCount();
  if (Taken > 0 && Taken == FileCount()) return "元に戻し済み";
  if (Taken > 0) return "一部を元に戻し済み";
  return Finished ? "置換済み" : "中断";
}

TReplaceJournal::TReplaceJournal(std::string Folder, TJournalBounds Bounds)
    : FFolder(std::move(Folder)), FBounds(Bounds) {
  if (!FFolder.empty() && FFolder.back() != '/') FFolder += '/';
}

std::vector<TJournalRun> TReplaceJournal::Runs() const {
  std::vector<TJournalRun> Runs;
  const auto Files = RunFiles(FFolder);
  for (auto It = Files.rbegin(); It != Files.rend(); ++It) {
    if (std::optional<TJournalRun> R = ReadRun(It->first, It->second)) Runs.push_back(std::move(*R));
  }
  return Runs;
}

std::optional<TJournalRun> TReplaceJournal::Run(int Number) const {
  return ReadRun(Number, FFolder + RunFileName(Number));
}

std::optional<TJournalRun> TReplaceJournal::NewestToTakeBack() const {
  for (TJournalRun& R : Runs()) {
    if (R.TakenBackCount() < R.FileCount()) return std::move(R);
  }
  return std::nullopt;
}

void TReplaceJournal::Prune(int Keep) const {
  auto Files = RunFiles(FFolder);
  uint64_t Total = 0;
  std::vector<uint64_t> Sizes;
  for (const auto& F : Files) {
    struct stat St {};
    Sizes.push_back(stat(F.second.c_str(), &St) == 0 ? static_cast<uint64_t>(St.st_size) : 0);
    Total += Sizes.back();
  }
  size_t Count = Files.size();
  for (size_t I = 0; I < Files.size() && (Count > FBounds.MaxRuns || Total > FBounds.MaxBytes); ++I) {
    if (Files[I].first == Keep) continue;
    if (unlink(Files[I].second.c_str()) != 0) continue;
    --Count;
    Total -= Sizes[I];
  }
}

TJournalRecorder TReplaceJournal::Begin(const TJournalRunInfo& Info) {
  std::error_code Ec;
  std::filesystem::create_directories(FFolder, Ec);
  // Room for the new run among the bounded number.
  TJournalBounds Room = FBounds;
  Room.MaxRuns = FBounds.MaxRuns > 0 ? FBounds.MaxRuns - 1 : 0;
  TReplaceJournal(FFolder, Room).Prune();
  const auto Files = RunFiles(FFolder);
  int Number = Files.empty() ? 1 : Files.back().first + 1;
  int Fd = -1;
  // Another program may be starting a run at the same moment: each takes its own number.
  for (;; ++Number) {
    Fd = open((FFolder + RunFileName(Number)).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (Fd >= 0 || errno != EEXIST) break;
  }
  const std::string Path = FFolder + RunFileName(Number);
  if (Fd < 0) RaiseInOutError("置換の記録を作れません", Path, errno);
  TJournalRecorder Recorder(*this, Number, Path, Fd);
  TWriter W;
  W.U64(static_cast<uint64_t>(Info.Time));
  W.Str(Info.Folder);
  W.Str(Info.Needle);
  W.Str(Info.Replacement);
  W.Str(Info.Options);
  Recorder.Append(std::string(Magic) + MakeRecord(HeaderKind, W.Out), false);
  SyncFolder(FFolder);
  return Recorder;
}

TTakeBackResult TReplaceJournal::TakeBack(int Number, const std::string* OnlyPath) {
  TTakeBackResult Result;
  std::optional<TJournalRun> Run = this->Run(Number);
  if (!Run) throw EInOutError("置換の記録 " + std::to_string(Number) + " はありません", ENOENT);
  TMarks Marks(*Run);
  for (const TJournalEntry& E : std::vector<TJournalEntry>(Run->Files)) {
    if (E.State != TJournalFileState::Written || (OnlyPath && E.Path != *OnlyPath)) continue;
    std::string Now;
    TFileStamp Stamp;
    try {
      Stamp = ReadFileStamped(E.Path, Now);
    } catch (const EInOutError& X) {
      Result.Left.push_back(X.ErrorCode() == ENOENT ? E.Path + " (置換の後に削除されています)" : X.what());
      continue;
    }
    const uint64_t Hash = JournalHash(Now);
    const bool StillOld = Now.size() == E.OldSize && Hash == E.OldHash;  // never replaced, or put back by hand
    if (!StillOld) {
      if (Now.size() != E.NewSize || Hash != E.NewHash) {
        Result.Left.push_back(E.Path + " (置換の後に変更されています)");
        continue;
      }
      try {
        TSaveOptions Options;
        Options.Expected = Stamp;
        SaveFileSafely(E.Path, ReadOldBytes(*Run, E), Options);
      } catch (const EFileChangedOnDisk&) {
        Result.Left.push_back(E.Path + " (置換の後に変更されています)");
        continue;
      } catch (const EInOutError& X) {
        Result.Left.push_back(X.what());
        continue;
      }
    }
    Marks.Add(E.Path);
    ++Result.Restored;
  }
  Marks.Sync();
  return Result;
}

TJournalRecorder::TJournalRecorder(const TReplaceJournal& Journal, int Number, std::string Path, int Fd)
    : FJournal(Journal), FNumber(Number), FPath(std::move(Path)), FFd(Fd), FContext(ZSTD_createCCtx()) {}

TJournalRecorder::TJournalRecorder(TJournalRecorder&& Other) noexcept
    : FJournal(std::move(Other.FJournal)),
      FNumber(Other.FNumber),
      FPath(std::move(Other.FPath)),
      FFd(std::exchange(Other.FFd, -1)),
      FEnd(Other.FEnd),
      FRecorded(Other.FRecorded),
      FContext(std::exchange(Other.FContext, nullptr)),
      FSyncing(std::move(Other.FSyncing)) {}

TJournalRecorder::~TJournalRecorder() {
  if (FSyncing.valid()) FSyncing.wait();
  ZSTD_freeCCtx(static_cast<ZSTD_CCtx*>(FContext));
  if (FFd < 0) return;
  close(FFd);
  if (FRecorded == 0) unlink(FPath.c_str());
}

// A record that could not be written whole is cut off again, so that later ones stay readable.
void TJournalRecorder::Append(std::string_view Bytes, bool Sync) {
  if (WriteAll(FFd, Bytes) && (!Sync || fdatasync(FFd) == 0)) {
    FEnd += Bytes.size();
    return;
  }
  const int Error = errno;
  if (ftruncate(FFd, static_cast<off_t>(FEnd)) == 0) lseek(FFd, static_cast<off_t>(FEnd), SEEK_SET);
  RaiseInOutError("置換の記録に書き込めません", FPath, Error);
}

// The old bytes are compressed a piece at a time straight into the run's file, so a file of any
// size is kept in bounded memory; the data record's length is filled in once it is known. Nothing
// of a record that fails stays in the file.
void TJournalRecorder::AppendCompressed(const std::string& FileRecord, std::string_view Old) {
  auto* Context = static_cast<ZSTD_CCtx*>(FContext);
  std::string Out = FileRecord + DataKind + std::string(8, '\0');
  const uint64_t LengthAt = FEnd + FileRecord.size() + 1;
  uint64_t Written = 0, Packed = 0;
  auto Undo = [&](int Error) {
    if (ftruncate(FFd, static_cast<off_t>(FEnd)) == 0) lseek(FFd, static_cast<off_t>(FEnd), SEEK_SET);
    RaiseInOutError("置換の記録に書き込めません", FPath, Error);
  };
  auto Flush = [&] {
    if (!WriteAll(FFd, Out)) Undo(errno);
    Written += Out.size();
    Out.clear();
  };
  ZSTD_CCtx_reset(Context, ZSTD_reset_session_only);
  size_t Status = ZSTD_CCtx_setParameter(Context, ZSTD_c_compressionLevel, CompressionLevel);
  if (!ZSTD_isError(Status)) Status = ZSTD_CCtx_setPledgedSrcSize(Context, Old.size());
  const size_t Room = ZSTD_CStreamOutSize();
  ZSTD_inBuffer In{Old.data(), Old.size(), 0};
  for (bool Done = ZSTD_isError(Status); !Done;) {
    // Fed a megabyte at a time, so that the pages of a mapped file are read in order.
    const size_t Feed = std::min(Old.size(), In.pos + (size_t{1} << 20));
    ZSTD_inBuffer Piece{Old.data(), Feed, In.pos};
    const bool Last = Feed == Old.size();
    const size_t Before = Out.size();
    Out.resize(Before + Room);
    ZSTD_outBuffer Into{Out.data() + Before, Room, 0};
    Status = ZSTD_compressStream2(Context, &Into, &Piece, Last ? ZSTD_e_end : ZSTD_e_continue);
    Out.resize(Before + Into.pos);
    Packed += Into.pos;
    In.pos = Piece.pos;
    if (ZSTD_isError(Status)) break;
    Done = Last && Status == 0;
    if (Out.size() >= (size_t{1} << 20) || Done) Flush();
  }
  if (ZSTD_isError(Status)) {
    if (ftruncate(FFd, static_cast<off_t>(FEnd)) == 0) lseek(FFd, static_cast<off_t>(FEnd), SEEK_SET);
    throw EInOutError(std::string("置換の記録を圧縮できません: ") + ZSTD_getErrorName(Status), EIO);
  }
  char Length[8];
  for (int I = 0; I < 8; ++I) Length[I] = static_cast<char>((Packed >> (8 * I)) & 0xFF);
  if (pwrite(FFd, Length, sizeof Length, static_cast<off_t>(LengthAt)) != static_cast<ssize_t>(sizeof Length)) Undo(errno);
  FEnd += Written;
}

void TJournalRecorder::Record(const std::string& Path, std::string_view Old, std::string_view New) {
  Record(Path, Old, New.size(), JournalHash(New));
}

void TJournalRecorder::Record(const std::string& Path, std::string_view Old, uint64_t NewSize, uint64_t NewHash) {
  TWriter W;
  W.Str(Path);
  W.U64(Old.size());
  W.U64(JournalHash(Old));
  W.U64(NewSize);
  W.U64(NewHash);
  if (FSyncing.valid()) Durable();
  AppendCompressed(MakeRecord(FileKind, W.Out), Old);
  ++FRecorded;
  // The sync runs beside the writing of the new file, whose own sync takes as long.
  FSyncing = std::async(std::launch::async, [Fd = FFd] { return fdatasync(Fd) == 0 ? 0 : errno; });
}

void TJournalRecorder::Durable() {
  if (!FSyncing.valid()) return;
  if (const int Error = FSyncing.get(); Error != 0) RaiseInOutError("置換の記録に書き込めません", FPath, Error);
}

void TJournalRecorder::Dropped(const std::string& Path) {
  if (FSyncing.valid()) FSyncing.wait();
  Append(PathRecord(DroppedKind, Path), false);
  --FRecorded;
}

void TJournalRecorder::Finish() {
  Durable();
  Append(MakeRecord(EndKind, {}), true);
  if (FRecorded > 0) FJournal.Prune(FNumber);
}

}  // namespace tesvarin
