#include "support/FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/Exception.h"
#include "support/MappingGuard.h"

namespace tesvarin {

namespace {

struct TFdCloser {
  int Fd;
  ~TFdCloser() {
    if (Fd >= 0) close(Fd);
  }
};

}  // namespace

TFileBytes::TFileBytes(const std::string& Path, size_t MapFrom) {
  struct stat St {};
  if (stat(Path.c_str(), &St) != 0 || !S_ISREG(St.st_mode) || static_cast<uint64_t>(St.st_size) < MapFrom) {
    FStamp = ReadFileStamped(Path, FRead);
    return;
  }
  const TFdCloser File{open(Path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (File.Fd < 0) RaiseInOutError("ファイルを開けません", Path, errno);
  const TStampTaker Taker(File.Fd);
  if (fstat(File.Fd, &St) != 0) RaiseInOutError("ファイルを読めません", Path, errno);
  const auto Size = static_cast<size_t>(St.st_size);
  if (Size > 0) {
    void* Data = mmap(nullptr, Size, PROT_READ, MAP_PRIVATE, File.Fd, 0);
    if (Data == MAP_FAILED) RaiseInOutError("ファイルを読めません", Path, errno);
    FMapped = Data;
    FMappedSize = Size;
    FGuard = std::make_unique<TMappingGuard>(FMapped, FMappedSize);
    // Read front to back, once or twice.
    (void)madvise(FMapped, FMappedSize, MADV_SEQUENTIAL);
  }
  FStamp = Taker.Finish(File.Fd, Bytes());
}

TFileBytes::~TFileBytes() {
  FGuard.reset();
  if (FMapped != nullptr) munmap(FMapped, FMappedSize);
}

bool TFileBytes::Cut() const { return FGuard != nullptr && FGuard->Patched(); }

}  // namespace tesvarin
