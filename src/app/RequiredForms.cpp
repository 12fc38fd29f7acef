#include "app/RequiredForms.h"

#include "support/EncodingConverter.h"

namespace tesvarin {

const TByteFinder* TRequiredForms::In(TTextEncoding Encoding) const {
  std::call_once(FPrepared, [this] { Prepare(); });
  const std::optional<TByteFinder>& Finder = FFinders.at(Encoding);
  return Finder ? &*Finder : nullptr;
}

void TRequiredForms::Prepare() const {
  for (TTextEncoding E : {teShiftJis, teUtf8, teUtf8Bom, teEucJp, teUtf16Le, teUtf16Be}) {
    std::string Form;
    if (OnlyFormIn(FText, E, Form)) FFinders.at(E).emplace(Form, FFolds);
  }
}

}  // namespace tesvarin
