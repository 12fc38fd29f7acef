// The bytes of a loaded text, which rows view rather than copy; a big block is mapped on huge pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "editor/text/HugePages.h"

namespace tesvarin {

class TBlockCopier;

struct TTextBlockFree {
  size_t Mapped = 0;  // the mapping's length; 0: the block came from new[]
  // Set on a block mapped from a file: what makes it the program's own, stopped before unmapping.
  std::shared_ptr<TBlockCopier> Copier;
  // Set on a block that is a string's bytes, taken over: the string goes with the block.
  mutable std::shared_ptr<TBigString> Text;
  void operator()(char* P) const;
};

using TTextBlock = std::unique_ptr<char[], TTextBlockFree>;

// Size bytes, not zeroed; raises std::bad_alloc as new does.
[[nodiscard]] TTextBlock NewTextBlock(size_t Size);
// The bytes of Text, taken over rather than copied: a big text made anew is not held twice.
[[nodiscard]] TTextBlock TextBlockOf(TBigString&& Text);

// Files from this size are mapped rather than read: reading copies every byte into fresh memory,
// which costs seconds per gigabyte where a page cache already holds the file.
inline constexpr size_t MapFileFrom = size_t{64} << 20;

// The first Size bytes of an open regular file, mapped; empty when the file cannot be mapped. The
// block shows the file's pages until StartCopy has made them the program's own, so a later change
// of the file does not reach the text; till then a page the file no longer has reads as zeros.
[[nodiscard]] TTextBlock MapFileBlock(int Fd, size_t Size);

// Makes a mapped block the program's own in the background. It first takes the stamp hash of the
// text's Size bytes, which the load needs, beside the making of the rows; once allowed, it copies the
// block a chunk at a time, each chunk replacing the file's pages in one step, so a reader never
// sees it missing.
class TBlockCopier {
public:
  TBlockCopier(char* Block, size_t Length);
  ~TBlockCopier();
  TBlockCopier(const TBlockCopier&) = delete;
  TBlockCopier& operator=(const TBlockCopier&) = delete;

  // Starts the hash of the first Size bytes, then waits for AllowCopy.
  void Start(size_t Size);
  // The hash; nothing when the work was stopped first or never started.
  [[nodiscard]] std::optional<uint64_t> Hash();
  // Lets the copy run, at a low priority: the text is shown meanwhile.
  void AllowCopy();
  // Until every chunk is copied (or the copy stopped).
  void Wait();
  // Lets the copy run and waits for it; whether the whole block is now the program's own.
  [[nodiscard]] bool MakeOwn();
  // Stops the work under way; the block's pages stay as they are.
  void Stop();
  // A page was read past the file's end: the file was cut short while it was being read.
  [[nodiscard]] bool CutShort() const;

private:
  struct TState;
  std::unique_ptr<TState> FState;
};

}  // namespace tesvarin
