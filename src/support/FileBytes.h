// A file's bytes as one view, stamped: a small file read into memory, a big one mapped read-only,
// so that a batch reads files of any size without holding big ones in the process's own memory.
// Another program may shorten a mapped file at any time; reading past its new end then finds zeros
// instead of ending the process, and Cut() says so.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "support/FileStamp.h"
#include "support/MappingGuard.h"

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
  // Whether the mapped file was cut short under the mapping: the pages past its new end read as
  // zeros, so the bytes are not the file's and nothing may be written from them.
  [[nodiscard]] bool Cut() const;

private:
  std::string FRead;
  void* FMapped = nullptr;
  size_t FMappedSize = 0;
  std::unique_ptr<TMappingGuard> FGuard;  // keeps a bus error in the mapping from ending the process
  TFileStamp FStamp;
};

}  // namespace tesvarin
