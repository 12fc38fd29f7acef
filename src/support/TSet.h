// A small bit set over the values of an enumeration (values 0 .. 63).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace tesvarin {

template <class E>
class TSet {
  static_assert(std::is_enum_v<E>);

public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Values) {
    for (E V : Values) Include(V);
  }

  [[nodiscard]] static constexpr TSet FromBits(uint64_t Bits) {
    TSet S;
    S.FBits = Bits;
    return S;
  }
  [[nodiscard]] constexpr uint64_t Bits() const { return FBits; }

  [[nodiscard]] constexpr bool Contains(E V) const { return (FBits & Bit(V)) != 0; }
  [[nodiscard]] constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E V) {
    FBits |= Bit(V);
    return *this;
  }
  constexpr TSet& Exclude(E V) {
    FBits &= ~Bit(V);
    return *this;
  }

  [[nodiscard]] friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
  [[nodiscard]] friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
  [[nodiscard]] friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
  [[nodiscard]] friend constexpr bool operator==(TSet A, TSet B) = default;
  // A <= B: every member of A is in B.
  [[nodiscard]] friend constexpr bool operator<=(TSet A, TSet B) { return (A.FBits & ~B.FBits) == 0; }

private:
  static constexpr uint64_t Bit(E V) { return uint64_t{1} << static_cast<unsigned>(V); }
  uint64_t FBits = 0;
};

// A set of byte values, as the editor's delimiter sets.
class TByteSet {
public:
  constexpr TByteSet() = default;
  [[nodiscard]] constexpr bool Contains(unsigned char B) const { return (FWords[B >> 6] >> (B & 63)) & 1; }
  constexpr TByteSet& Include(unsigned char B) {
    FWords[B >> 6] |= uint64_t{1} << (B & 63);
    return *this;
  }
  constexpr TByteSet& Exclude(unsigned char B) {
    FWords[B >> 6] &= ~(uint64_t{1} << (B & 63));
    return *this;
  }
  constexpr TByteSet& IncludeRange(unsigned char Lo, unsigned char Hi) {
    for (unsigned B = Lo; B <= Hi; ++B) Include(static_cast<unsigned char>(B));
    return *this;
  }
  [[nodiscard]] friend constexpr bool operator==(const TByteSet&, const TByteSet&) = default;

private:
  uint64_t FWords[4] = {0, 0, 0, 0};
};

}  // namespace tesvarin
