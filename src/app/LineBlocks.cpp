#include "app/LineBlocks.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "editor/text/LineScan.h"
#include "support/StringList.h"

namespace tesvarin {

namespace {

// Where a text that ends at the first Ctrl+Z ends within Bytes[From, Size); Size when it goes on.
size_t CtrlZFrom(const char* Bytes, size_t From, size_t Size) {
  const void* Z = From < Size ? std::memchr(Bytes + From, CtrlZ, Size - From) : nullptr;
  return Z == nullptr ? Size : static_cast<size_t>(static_cast<const char*>(Z) - Bytes);
}

const char* LastByte(const char* Bytes, size_t From, size_t Size, char B) {
  return From < Size ? static_cast<const char*>(memrchr(Bytes + From, B, Size - From)) : nullptr;
}

}  // namespace

TLineBlocks::TLineBlocks(TBigString& Buffer, size_t Filled, TRead Read, size_t BlockSize, std::string Path)
    : FBuffer(Buffer),
      FRead(std::move(Read)),
      FBlockSize(std::max<size_t>(BlockSize, 1)),
      FPath(std::move(Path)),
      FFilled(Filled) {
  const size_t Z = CtrlZFrom(FBuffer.data(), 0, FFilled);
  FEnded = Z < FFilled;
  FFilled = Z;
}

void TLineBlocks::Fill(size_t Want) {
  if (FBuffer.size() < Want) {
    RequireMemoryFor(Want, FPath);
    FBuffer.resize(Want);
  }
  while (!FEnded && FFilled < Want) {
    const size_t Got = FRead(FBuffer.data() + FFilled, Want - FFilled);
    if (Got == 0) {
      FEnded = true;
      break;
    }
    const size_t Z = CtrlZFrom(FBuffer.data(), FFilled, FFilled + Got);
    FEnded = Z < FFilled + Got;
    FFilled = Z;
  }
}

// The last break is looked for from the end: an LF, or a CR after it. A CR that is the buffer's last
// byte may be the first half of a CR LF still to come, so it cannot end a block yet.
bool TLineBlocks::FindCut(size_t& End, size_t& Next) const {
  const char* D = FBuffer.data();
  const char* Lf = LastByte(D, FScanFrom, FFilled, '\n');
  const size_t AfterLf = Lf == nullptr ? FScanFrom : static_cast<size_t>(Lf - D) + 1;
  const char* Cr = LastByte(D, AfterLf, FFilled, '\r');
  if (Cr == D + FFilled - 1) Cr = LastByte(D, AfterLf, FFilled - 1, '\r');
  if (Cr != nullptr) {
    End = static_cast<size_t>(Cr - D);
    Next = End + 1;
    return true;
  }
  if (Lf == nullptr) return false;
  Next = static_cast<size_t>(Lf - D) + 1;
  End = Next - 1;
  if (End > 0 && D[End - 1] == '\r') --End;
  return true;
}

bool TLineBlocks::Next(std::string_view& Block) {
  if (FDone) return false;
  if (FConsumed > 0) {
    std::memmove(FBuffer.data(), FBuffer.data() + FConsumed, FFilled - FConsumed);
    FFilled -= FConsumed;
    FConsumed = 0;
  }
  FScanFrom = 0;
  for (size_t Want = FBlockSize;; Want = FFilled + FBlockSize) {
    Fill(std::max(Want, FFilled));
    size_t End = 0, After = 0;
    if (FEnded) {
      // The rest is the last block, even when empty: the text's last line may be empty.
      Block = {FBuffer.data(), FFilled};
      FDone = true;
      return true;
    }
    if (FindCut(End, After)) {
      Block = {FBuffer.data(), End};
      FConsumed = After;
      return true;
    }
    // One line fills the buffer: it is read on whole, and what was looked at holds no break but
    // perhaps a CR at its end.
    FScanFrom = FFilled - 1;
  }
}

}  // namespace tesvarin
