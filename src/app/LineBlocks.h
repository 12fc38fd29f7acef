// A big file's text handed out as blocks of whole lines, read through one buffer of bounded size,
// so that a content test sees every line exactly as it would in the whole text. A block never ends
// inside a line, so no double-byte character and no CR LF is ever split; the break that ends a
// block is left out of it (a text that ends with a break has one more, empty, line), and the text
// ends at the first Ctrl+Z as the viewer's lines do.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "editor/text/HugePages.h"

namespace tesvarin {

class TLineBlocks {
public:
  // Reads at most Max bytes into Into; 0 at the end. May raise.
  using TRead = std::function<size_t(char* Into, size_t Max)>;

  // The first Filled bytes of Buffer are the text's start, already read; the rest comes from Read.
  // Blocks are about BlockSize bytes; a line longer than that makes its block as long as the line,
  // and one longer than the memory raises EInOutError naming Path.
  TLineBlocks(TBigString& Buffer, size_t Filled, TRead Read, size_t BlockSize, std::string Path = {});

  // The next block, valid until the next call; false when the text is done.
  bool Next(std::string_view& Block);

private:
  // Reads until the buffer holds Want bytes or the text ends.
  void Fill(size_t Want);
  // Where the last block's text ends and the next one's begins, each line whole; false when no
  // break in the buffer is known to be whole yet.
  bool FindCut(size_t& End, size_t& Next) const;

  TBigString& FBuffer;
  TRead FRead;
  size_t FBlockSize;
  std::string FPath;
  size_t FFilled;
  size_t FConsumed = 0;  // the front the last block took, with its break
  size_t FScanFrom = 0;  // the bytes before it hold no break
  bool FEnded = false;   // the text's end (or a Ctrl+Z) is in the buffer
  bool FDone = false;
};

}  // namespace tesvarin
