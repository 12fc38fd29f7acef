// The bytes of a loaded text, which rows view rather than copy; a big block is mapped on huge pages.
#pragma once

#include <cstddef>
#include <memory>

namespace tesvarin {

struct TTextBlockFree {
  size_t Mapped = 0;  // the mapping's length; 0: the block came from new[]
  void operator()(char* P) const;
};

using TTextBlock = std::unique_ptr<char[], TTextBlockFree>;

// Size bytes, not zeroed; raises std::bad_alloc as new does.
[[nodiscard]] TTextBlock NewTextBlock(size_t Size);

}  // namespace tesvarin
