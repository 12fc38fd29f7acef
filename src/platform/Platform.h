// The desktop services the core needs, as small interfaces: the Qt layer, the command line and the
// test fakes implement them. Texts shown to the user (captions, messages, paths) pass as UTF-8; text
// that belongs to the editor (clipboard, drawn rows) passes as code page 932 bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/Color.h"

namespace tesvarin {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom are exclusive.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  [[nodiscard]] int Width() const { return Right - Left; }
  [[nodiscard]] int Height() const { return Bottom - Top; }
  [[nodiscard]] bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

[[nodiscard]] TRect IntersectRect(const TRect& A, const TRect& B);

// An off-screen image of plain colour values, row-major.
class TImage {
public:
  TImage() = default;
  TImage(int Width, int Height, TColor Fill = clBlack)
      : FWidth(Width), FHeight(Height), FPixels(static_cast<size_t>(Width) * static_cast<size_t>(Height), Fill) {}
  [[nodiscard]] int Width() const { return FWidth; }
  [[nodiscard]] int Height() const { return FHeight; }
  [[nodiscard]] TColor Pixel(int X, int Y) const { return FPixels[Index(X, Y)]; }
  void SetPixel(int X, int Y, TColor C) { FPixels[Index(X, Y)] = C; }
  void Fill(TColor C) { FPixels.assign(FPixels.size(), C); }

private:
  [[nodiscard]] size_t Index(int X, int Y) const {
    return static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X);
  }
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TColor> FPixels;
};

struct TTextMetrics {
  int Height = 0;           // cell height
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int Ascent = 0;
};

struct TFontSpec {
  std::string Name;  // UTF-8
  int Size = 9;      // points
  TColor Color = clBlack;
  TFontStyles Style;
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// Drawing on a window or an off-screen image.
class ICanvas {
public:
  virtual ~ICanvas() = default;
  virtual void FillRect(const TRect& R, TColor Color) = 0;
  virtual void FrameRect(const TRect& R, TColor Color) = 0;
  // A 1-pixel line from (X1, Y1) to (X2, Y2), the end point excluded.
  virtual void Line(int X1, int Y1, int X2, int Y2, TColor Color) = 0;
  virtual void SetFont(const TFontSpec& Font) = 0;
  // Brush for text backgrounds; clNone is a transparent brush.
  virtual void SetBrushColor(TColor Color) = 0;
  // Code page 932 text at (X, Y), every byte advancing Advance pixels (a double-byte character two),
  // clipped to Clip, the clip rectangle filled with the brush first when Opaque.
  virtual void TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) = 0;
  // Copies columns SrcX .. SrcX + Width - 1 of every row of Image to (X, Y).
  virtual void DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) = 0;
  // Copies the Source rectangle of Image (clipped to the image) with its top left corner to (X, Y).
  virtual void DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) = 0;
  [[nodiscard]] virtual TTextMetrics TextMetrics() const = 0;
};

// The clipboard. Text is code page 932; formats other than text are registered by name.
class IClipboard {
public:
  virtual ~IClipboard() = default;
  [[nodiscard]] virtual int RegisterFormat(std::string_view Name) = 0;
  virtual void Clear() = 0;
  virtual void SetText(std::string_view Text) = 0;
  virtual void SetFormatData(int Format, std::string_view Bytes) = 0;
  [[nodiscard]] virtual bool HasText() const = 0;
  [[nodiscard]] virtual bool HasFormat(int Format) const = 0;
  [[nodiscard]] virtual std::string Text() const = 0;
};

enum TMsgButtons : uint8_t { mbOK, mbYesNo, mbYesNoCancel };
enum TMsgResult : uint8_t { idOK, idYes, idNo, idCancel };

// A question whose answers a Yes/No box cannot name. Texts are UTF-8; a caption may mark its access
// key with "&".
struct TQuestion {
  std::string Text;
  std::string Caption;
  std::vector<std::string> Buttons;
  size_t Default = 0;  // what Enter chooses
  size_t Escape = 0;   // what Escape, or closing the box, chooses
};

class IDialogs {
public:
  virtual ~IDialogs() = default;
  virtual TMsgResult MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) = 0;
  // A message about something that went wrong, with OK: shown with the warning icon where there is one.
  virtual void WarningBox(std::string_view Text, std::string_view Caption) { MessageBox(Text, Caption, mbOK); }
  // Returns the index of the chosen button.
  virtual size_t Ask(const TQuestion& Question) = 0;
};

// Lets the window handle pending input during a long loop.
class IEventPump {
public:
  virtual ~IEventPump() = default;
  virtual void ProcessMessages() = 0;
};

// Per-user string values by section and name.
// Writing a value only changes the store in memory; Flush puts every value on disk in one write.
class IUserStore {
public:
  virtual ~IUserStore() = default;
  [[nodiscard]] virtual std::optional<std::string> ReadString(std::string_view Section, std::string_view Name) const = 0;
  virtual void WriteString(std::string_view Section, std::string_view Name, std::string_view Value) = 0;
  // Raises EInOutError when the values could not be stored.
  virtual void Flush() {}
  // What went wrong when the stored values were read (say, a file that held no settings was set
  // aside), for the user; empty when nothing did. Taking it clears it.
  [[nodiscard]] virtual std::string TakeLoadProblem() { return {}; }
};

// Mouse pointer shapes by slot: slot 0 is the default cursor; the editor loads its own into free slots.
class ICursorTable {
public:
  virtual ~ICursorTable() = default;
  static constexpr int MaxSlot = 32767;
  [[nodiscard]] virtual bool IsDefaultCursor(int Slot) const = 0;
  virtual void LoadCursor(int Slot, std::string_view ResourceName) = 0;
  virtual void SetCursor(int Slot) = 0;
};

// Standard cursor slots the editor asks for by meaning.
enum TCursorSlot : int { crDefault = 0, crArrow = -2, crIBeam = -4, crDrag = -12, crNoDrop = -13, crHandPoint = -21 };

class IShellServices {
public:
  virtual ~IShellServices() = default;
  [[nodiscard]] virtual std::string TypeName(const std::string& Path) const = 0;  // UTF-8
  [[nodiscard]] virtual int IconIndex(const std::string& Path) const = 0;          // -1: none
  // Opens the file with the desktop's default application; false when that failed.
  virtual bool StartFile(const std::string& Path) = 0;
  // Empty when the user cancelled.
  [[nodiscard]] virtual std::optional<std::string> BrowseFolder(std::string_view Caption,
                                                                const std::string& Initial) = 0;
  // Returns after the chosen command ran or the menu was dismissed.
  virtual void ContextMenu(const std::vector<std::string>& Paths, TPoint At) = 0;
  // Returns when the drag ends, dropped or cancelled.
  virtual void StartDrag(const std::vector<std::string>& Paths) = 0;
};

// What the editor control needs of the window it lives in. Pixels are client coordinates.
class IEditorWindow {
public:
  virtual ~IEditorWindow() = default;
  [[nodiscard]] virtual int ClientWidth() const = 0;
  [[nodiscard]] virtual int ClientHeight() const = 0;
  [[nodiscard]] virtual bool Focused() const = 0;
  virtual void SetFocus() = 0;
  [[nodiscard]] virtual TTextMetrics FontMetrics(const TFontSpec& Font) const = 0;
  // The system's horizontal scroll-bar height and vertical scroll-bar arrow height.
  [[nodiscard]] virtual int HorzScrollBarHeight() const = 0;
  [[nodiscard]] virtual int VertScrollArrowHeight() const = 0;
  // Marks an area for repainting; Update paints what is marked at once.
  virtual void Invalidate(const TRect& Area) = 0;
  virtual void Update() = 0;
  // Moves the pixels of Area by (Dx, Dy) and marks what was uncovered.
  virtual void ScrollArea(const TRect& Area, int Dx, int Dy) = 0;
  virtual void CreateCaret(int Width, int Height) = 0;
  virtual void SetCaretPos(TPoint At) = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void ShowScrollBars(bool Horizontal, bool Vertical) = 0;
  virtual void SetScrollRange(bool Vertical, int Min, int Max, int Page) = 0;
  virtual void SetScrollPos(bool Vertical, int Pos) = 0;
  // Places the input method's composition window at the caret.
  virtual void SetImePos(TPoint At) = 0;
  // Opens a popup menu at a client point (the editor's context menu model says what is in it).
  virtual void PopupContextMenu(TPoint At) = 0;
};

// Everything the core may ask of the desktop, handed over as one bundle.
struct TPlatform {
  IClipboard* Clipboard = nullptr;
  IDialogs* Dialogs = nullptr;
  IEventPump* EventPump = nullptr;
  IUserStore* UserStore = nullptr;
  ICursorTable* Cursors = nullptr;
  IShellServices* Shell = nullptr;
  int ScreenWidth = 1920;
};

}  // namespace tesvarin
