// The input the editor control takes from its window: keys, modifiers, mouse buttons, scroll-bar
// commands. Key codes are the desktop's virtual-key numbers, so a widget maps its own keys once.
#pragma once

#include <cstdint>

#include "support/TSet.h"

namespace tesvarin {

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };
using TShiftState = TSet<TShiftStateItem>;

enum TEditorMouseButton : uint8_t { embLeft, embRight, embMiddle };

// Virtual keys the editor handles; letters and digits are their ASCII upper-case codes.
enum TVirtualKey : uint16_t {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_ESCAPE = 27,
  VK_PRIOR = 33,  // Page Up
  VK_NEXT = 34,   // Page Down
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
};

// Scroll-bar commands, numbered as the desktop's.
enum TScrollCode : uint8_t {
  SB_LINEUP = 0,
  SB_LINEDOWN = 1,
  SB_PAGEUP = 2,
  SB_PAGEDOWN = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_BOTTOM = 7,
  SB_ENDSCROLL = 8,
};

}  // namespace tesvarin
