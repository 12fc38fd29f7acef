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

// Only whole huge pages inside the range go back and read as zeros; the bytes around them, in the
// huge pages the range only touches, keep their values.
TEST(HugePages, GivesBackOnlyTheWholeHugePagesInTheRange) {
  constexpr size_t Huge = size_t{2} << 20;
  const size_t Size = Huge * 4;
  auto* P = static_cast<unsigned char*>(MapWithHugePages(Size));
  for (size_t I = 0; I < Size; I += 4096) P[I] = P[I + 4095] = 7;
  GiveBackPages(P + 100, Huge * 2);  // holds one whole huge page: the second
  GiveBackPages(P + Huge * 3 + 5, Huge - 10);  // holds none
  for (size_t I = 0; I < Size; I += 4096) {
    const int Want = I >= Huge && I < Huge * 2 ? 0 : 7;
    ASSERT_EQ(P[I], Want) << I;
    ASSERT_EQ(P[I + 4095], Want) << I;
  }
  Unmap(P, Size);
}

// However far the caller gets, paced or not, the prefault lets it go, and the memory holds what
// the caller wrote and zeros beyond.
TEST(HugePages, APrefaultLetsItsCallerGoWhereverItStops) {
  const size_t Size = TPrefault::PaceLead * 3;
  auto* P = static_cast<unsigned char*>(MapWithHugePages(Size));
  const size_t Stops[] = {0, size_t{1} << 20, TPrefault::PaceLead * 2, Size};
  for (const bool Paced : {true, false}) {
    for (const size_t Stop : Stops) {
      {
        TPrefault Ahead(P, Size, Paced);
        for (size_t I = 0; I < Stop; I += 4096) {
          P[I] = static_cast<unsigned char>(I / 4096 + Stop);
          if (I % (size_t{1} << 20) == 0) Ahead.Filled(I);
        }
      }
      for (size_t I = 0; I < Size; I += 4096) {
        ASSERT_EQ(P[I], I < Stop ? static_cast<unsigned char>(I / 4096 + Stop) : 0) << Paced << " " << Stop << " " << I;
      }
      GiveBackPages(P, Size);
    }
  }
  Unmap(P, Size);

  // Appended records past the prefault's threshold are built in place as they come.
  TSplitVector<uint64_t> Split;
  const int Count = static_cast<int>(TPrefault::PaceLead / sizeof(uint64_t)) * 2 + 12345;
  Split.Append(Count, 3, [](uint64_t& Slot, int K) { Slot = static_cast<uint64_t>(K) * 7; });
  ASSERT_EQ(Split.Size(), Count);
  for (int K = 0; K < Count; K += 4099) ASSERT_EQ(Split[K], static_cast<uint64_t>(K) * 7);
  EXPECT_EQ(Split[Count - 1], static_cast<uint64_t>(Count - 1) * 7);
}

}  // namespace
}  // namespace tesvarin
