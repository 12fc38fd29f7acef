#include "editor/text/TextBlock.h"

#include "editor/text/HugePages.h"

namespace tesvarin {

void TTextBlockFree::operator()(char* P) const {
  if (Mapped != 0)
    Unmap(P, Mapped);
  else
    delete[] P;
}

TTextBlock NewTextBlock(size_t Size) {
  if (Size < HugeMappingFrom) return TTextBlock(new char[Size], TTextBlockFree{});
  return TTextBlock(static_cast<char*>(MapWithHugePages(Size)), TTextBlockFree{Size});
}

}  // namespace tesvarin
