#include "qt/KeyTranslation.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

#include "editor/model/EditorInput.h"
#include "shell/QtText.h"
#include "support/SjisCodec.h"

namespace tesvarin::qt {

namespace {

// The digit of the symbol Shift puts on a digit key: the US layout's, and the Japanese layout's
// where the two differ (the symbols both share mean the same digit).
uint16_t DigitOfShiftedSymbol(QChar Symbol) {
  static const char Us[] = ")!@#$%^&*(";
  static const char Jp[] = "\0!\"#$%&'()";
  const bool Japanese = QGuiApplication::inputMethod()->locale().language() == QLocale::Japanese;
  const char Ch = Symbol.unicode() < 0x80 ? static_cast<char>(Symbol.unicode()) : '\0';
  if (Ch == '\0') return 0;
  const char* const Layouts[] = {Japanese ? Jp : Us, Japanese ? Us : Jp};
  for (const char* Layout : Layouts) {
    for (int D = 0; D < 10; ++D) {
      if (Layout[D] == Ch) return static_cast<uint16_t>('0' + D);
    }
  }
  return 0;
}

// Shift+digit gives a symbol on most layouts, so the digit of a digit-row key (for Shift+Ctrl+digit,
// the row marks) comes from what the platform tells of the key itself: the virtual key on Windows,
// the key symbol or the key code of the digit row where keys are mapped by xkb (X11, Wayland); and
// else from the symbol typed.
uint16_t DigitRowKey(const QKeyEvent& E) {
  const QString Platform = QGuiApplication::platformName();
  const bool Xkb = Platform == QLatin1String("xcb") || Platform.startsWith(QLatin1String("wayland"));
  const quint32 Virtual = E.nativeVirtualKey();
  if ((Xkb || Platform == QLatin1String("windows")) && Virtual >= '0' && Virtual <= '9') return static_cast<uint16_t>(Virtual);
  const quint32 Code = E.nativeScanCode();
  if (Xkb && Code >= 10 && Code <= 19) return Code == 19 ? '0' : static_cast<uint16_t>('1' + (Code - 10));
  const QString Text = E.text();
  if (Text.size() == 1 && Text[0].unicode() >= 0x20) return DigitOfShiftedSymbol(Text[0]);
  // With Ctrl the text may be a control character or none: the key names the symbol then.
  return E.key() > 0x20 && E.key() < 0x7F ? DigitOfShiftedSymbol(QChar(E.key())) : 0;
}

}  // namespace

TShiftState ShiftOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
  TShiftState S;
  if (Modifiers & Qt::ShiftModifier) S.Include(ssShift);
  if (Modifiers & Qt::ControlModifier) S.Include(ssCtrl);
  if (Modifiers & Qt::AltModifier) S.Include(ssAlt);
  if (Buttons & Qt::LeftButton) S.Include(ssLeft);
  if (Buttons & Qt::RightButton) S.Include(ssRight);
  if (Buttons & Qt::MiddleButton) S.Include(ssMiddle);
  return S;
}

uint16_t VirtualKeyOf(const QKeyEvent& E) {
  const int K = E.key();
  if ((K >= Qt::Key_A && K <= Qt::Key_Z) || (K >= Qt::Key_0 && K <= Qt::Key_9)) return static_cast<uint16_t>(K);
  switch (K) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return DigitRowKey(E);
  }
}

std::string CharsOf(const QKeyEvent& E) {
  const bool Ctrl = E.modifiers() & Qt::ControlModifier;
  switch (E.key()) {
    case Qt::Key_Backspace: return Ctrl ? "\x7f" : "\b";
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return "\t";
    case Qt::Key_Return:
    case Qt::Key_Enter: return Ctrl ? "\n" : "\r";
    default: break;
  }
  const QString Text = E.text();
  // Ctrl and Alt make commands, not characters.
  if (Text.isEmpty() || Ctrl || (E.modifiers() & Qt::AltModifier)) return {};
  for (QChar C : Text) {
    if (C.unicode() < 32 || C.unicode() == 127) return {};
  }
  return Utf8ToCp932(U(Text));
}

}  // namespace tesvarin::qt
