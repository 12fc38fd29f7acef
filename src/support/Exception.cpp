#include "support/Exception.h"

#include <cstring>

namespace tesvarin {

void RaiseInOutError(const std::string& What, const std::string& Path, int Err) {
  throw EInOutError(What + ": " + Path + " (" + std::strerror(Err) + ")", Err);
}

}  // namespace tesvarin
