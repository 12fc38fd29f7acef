// Reading a mapped file that another program has cut short raises SIGBUS. Inside a guarded range
// the page read is replaced by a page of zeros instead, so the program goes on with what it holds;
// the file's stamp tells of the change when the text is saved.
#pragma once

#include <cstddef>

namespace tesvarin {

class TMappingGuard {
public:
  // Guards Length bytes from Begin until destroyed. With every slot taken, the range stays
  // unguarded: Guarded() is then false.
  TMappingGuard(const void* Begin, size_t Length);
  ~TMappingGuard();
  TMappingGuard(const TMappingGuard&) = delete;
  TMappingGuard& operator=(const TMappingGuard&) = delete;

  [[nodiscard]] bool Guarded() const { return FSlot >= 0; }
  // A page of the range was read past the file's end and replaced by zeros.
  [[nodiscard]] bool Patched() const;

private:
  int FSlot = -1;
};

}  // namespace tesvarin
