// The text every hit holds, as each encoding would hold it: a file that lacks it in its own bytes
// need not be converted to be searched.
#pragma once

#include <array>
#include <mutex>
#include <optional>
#include <string>

#include "support/ByteSearch.h"
#include "support/TextEncoding.h"

namespace tesvarin {

// Worked out the first time a file that may not be Shift-JIS asks, then shared by every walk of a
// run: a run over a Shift-JIS tree never builds the conversion tables the forms need.
class TRequiredForms {
public:
  // Text: code page 932 bytes; Folds: ASCII letters in either case.
  TRequiredForms(std::string Text, bool Folds) : FText(std::move(Text)), FFolds(Folds) {}

  // The finder of the text's form in Encoding (Shift-JIS: the text as it is); null when it has no
  // form there, or more than one, so that a file may hold the text without holding this form.
  [[nodiscard]] const TByteFinder* In(TTextEncoding Encoding) const;

private:
  void Prepare() const;

  const std::string FText;
  const bool FFolds;
  mutable std::once_flag FPrepared;
  mutable std::array<std::optional<TByteFinder>, 6> FFinders;
};

}  // namespace tesvarin
