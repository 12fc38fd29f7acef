#include "app/History.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/SafeSave.h"
#include "support/Exception.h"

namespace tesvarin {

namespace {

constexpr size_t ReadChunk = 64 * 1024;

// Splits bytes into lines as they arrive, however the chunks cut them, until Max lines are complete.
class THistoryLines {
public:
  explicit THistoryLines(size_t Max) : FMax(Max) {}
  [[nodiscard]] bool Full() const { return FLines.size() >= FMax; }
  void Feed(std::string_view Bytes) {
    for (char Ch : Bytes) {
      if (Full()) return;
      if (FAfterCr && Ch == '\n') {
        FAfterCr = false;
        continue;
      }
      FAfterCr = Ch == '\r';
      if (Ch == '\r' || Ch == '\n') {
        FLines.push_back(std::move(FLine));
        FLine.clear();
      } else {
        FLine += Ch;
      }
    }
  }
  // A last line without a break still counts; a final break adds no empty line.
  std::vector<std::string> Finish() {
    if (!Full() && !FLine.empty()) FLines.push_back(std::move(FLine));
    return std::move(FLines);
  }

private:
  size_t FMax;
  bool FAfterCr = false;
  std::string FLine;
  std::vector<std::string> FLines;
};

struct TFd {
  int Fd;
  ~TFd() { close(Fd); }
};

std::vector<std::string> ReadHistoryLines(const std::string& Path) {
  // Non-blocking: a FIFO put in a history file's place must not stall the window.
  int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (Fd < 0) {
    if (errno == ENOENT) return {};
    RaiseInOutError("履歴ファイルを開けません", Path, errno);
  }
  TFd Closer{Fd};
  struct stat St {};
  if (fstat(Fd, &St) != 0) RaiseInOutError("履歴ファイルを読めません", Path, errno);
  if (S_ISDIR(St.st_mode)) RaiseInOutError("履歴ファイルを読めません", Path, EISDIR);
  if (!S_ISREG(St.st_mode)) throw EInOutError("履歴ファイルを読めません: " + Path + " (通常のファイルではありません)", EINVAL);
  THistoryLines Lines(HistoryMax);
  std::string Buffer(ReadChunk, '\0');
  while (!Lines.Full()) {
    ssize_t N = read(Fd, Buffer.data(), Buffer.size());
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) RaiseInOutError("履歴ファイルを読めません", Path, errno);
    if (N == 0) break;
    Lines.Feed(std::string_view(Buffer.data(), static_cast<size_t>(N)));
  }
  return Lines.Finish();
}

}  // namespace

void UpdateHistory(TStringList& List, std::string_view Text) {
  // Built anew rather than by deletions: a list of any length costs one pass.
  TStringList Next;
  Next.Add(std::string(Text));
  for (const std::string& S : List.Items()) {
    if (Next.Count() >= HistoryMax) break;
    if (S != Text) Next.Add(S);
  }
  List.Assign(Next);
}

void LoadHistory(TStringList& List, const std::string& Path) {
  List.Clear();
  std::vector<std::string> Lines = ReadHistoryLines(Path);
  List.BeginUpdate();
  for (std::string& S : Lines) List.Add(std::move(S));
  List.EndUpdate();
}

void SaveHistory(const TStringList& List, const std::string& Path) { SaveFileSafely(Path, List.Text(), false); }

std::vector<std::string> HistoryItems(const TStringList& List) {
  std::vector<std::string> Items;
  for (const std::string& S : List.Items()) {
    if (!S.empty()) Items.push_back(S);
  }
  return Items;
}

}  // namespace tesvarin
