// The store-and-notify step shared by the setters of the editor's settings objects.
#pragma once

#include <algorithm>

#include "support/NotifyClasses.h"

namespace tesvarin {

// Stores Value and reports the change through Owner, but only when the field really changes.
template <class T>
void SetNotifyField(TNotifyPersistent& Owner, T& Field, const T& Value) {
  if (Field == Value) return;
  Field = Value;
  Owner.Changed();
}

// Out-of-range values are pulled to the nearest bound, never rejected.
[[nodiscard]] constexpr int ClampSetting(int Value, int Lo, int Hi) { return std::clamp(Value, Lo, Hi); }

// Clamps to Lo..Hi (Lo even), then drops an odd value to the even one below it.
[[nodiscard]] constexpr int ClampEvenSetting(int Value, int Lo, int Hi) {
  int V = ClampSetting(Value, Lo, Hi);
  return V - (V % 2);
}

}  // namespace tesvarin
