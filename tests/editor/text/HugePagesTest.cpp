#include "editor/text/HugePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editor/text/SplitVector.h"

namespace tesvarin {
namespace {

// A vector crosses from the heap to a mapping of its own and back as it grows and shrinks, and
// keeps every element on the way; a gap buffer moving its hole through a mapped body as well.
TEST(HugePages, ArraysKeepTheirElementsAcrossTheMappingBound) {
  std::vector<int, THugePageAllocator<int>> V;
  const int Many = static_cast<int>(HugeMappingFrom / sizeof(int)) * 2;
  for (int I = 0; I < Many; ++I) V.push_back(I * 3);
  for (int I = 0; I < Many; I += 997) ASSERT_EQ(V[static_cast<size_t>(I)], I * 3);
  V.resize(10);
  V.shrink_to_fit();
  EXPECT_EQ(V.back(), 27);

  TSplitVector<int> Split;
  Split.InsertEmpty(0, Many);
  for (int I = 0; I < Many; ++I) Split[I] = I;
  Split.InsertEmpty(Many / 2, 3);
  Split.Delete(10, 5);
  EXPECT_EQ(Split.Size(), Many - 2);
  EXPECT_EQ(Split[9], 9);
  EXPECT_EQ(Split[10], 15);
  EXPECT_EQ(Split[Many - 3], Many - 1);
}

// A mapped block starts on a huge page boundary and holds exactly what was asked; unmapping it
// leaves nothing behind that a next block would collide with.
TEST(HugePages, MappedBlocksStartOnAHugePage) {
  for (const size_t Size : {HugeMappingFrom, HugeMappingFrom + 12345, HugeMappingFrom * 3 + 4096}) {
    SCOPED_TRACE(Size);
    auto* P = static_cast<unsigned char*>(MapWithHugePages(Size));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(P) % (size_t{2} << 20), 0u);
    P[0] = 1;
    P[Size / 2] = 2;
    P[Size - 1] = 3;
    EXPECT_EQ(P[0] + P[Size / 2] + P[Size - 1], 6);
    Unmap(P, Size);
  }
}

}  // namespace
}  // namespace tesvarin
