#include "support/Object.h"

namespace tesvarin {

void TPersistent::Assign(const TPersistent&) { throw EConvertAssign("この型の値は代入できません"); }

}  // namespace tesvarin
