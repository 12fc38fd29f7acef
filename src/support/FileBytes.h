// A file's bytes as one view, stamped: a small file read into memory, a big one mapped read-only,
// so that a batch reads files of any size without holding big ones in the process's own memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/FileStamp.h"

namespace tesvarin {

class TFileBytes {
public:
  // Files of MapFrom bytes and more are mapped rather than read.
  static constexpr size_t DefaultMapFrom = size_t{8} << 20;

  // Raises EInOutError when the file cannot be opened or read.
  explicit TFileBytes(const std::string& Path, size_t MapFrom = DefaultMapFrom);
  TFileBytes(const TFileBytes&) = delete;
  TFileBytes& operator=(const TFileBytes&) = delete;
  ~TFileBytes();

  [[nodiscard]] std::string_view Bytes() const {
    return FMapped != nullptr ? std::string_view(static_cast<const char*>(FMapped), FMappedSize) : std::string_view(FRead);
  }
  [[nodiscard]] const TFileStamp& Stamp() const { return FStamp; }

private:
  std::string FRead;
  void* FMapped = nullptr;
  size_t FMappedSize = 0;
  TFileStamp FStamp;
};

}  // namespace tesvarin
