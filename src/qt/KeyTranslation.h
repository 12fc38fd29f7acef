// Qt's key and mouse events as the editor control takes them: the desktop's virtual keys, the
// shift state, and the character messages a key press sends.
#pragma once

#include <QKeyEvent>

#include <cstdint>
#include <string>

#include "editor/model/EditorInput.h"

namespace tesvarin::qt {

[[nodiscard]] TShiftState ShiftOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons = Qt::NoButton);

// The desktop's virtual-key number of a Qt key; 0 for keys the editor does not know.
[[nodiscard]] uint16_t VirtualKeyOf(const QKeyEvent& E);

// Control characters as the desktop sends them, typed text in code page 932 (raising
// EConvertError for a character it cannot hold).
[[nodiscard]] std::string CharsOf(const QKeyEvent& E);

}  // namespace tesvarin::qt
