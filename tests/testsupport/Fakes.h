// In-memory stand-ins for the desktop services, for headless tests.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace tesvarin::test {

class FakeClipboard : public IClipboard {
public:
  int RegisterFormat(std::string_view Name) override;
  void Clear() override { FData.clear(); }
  void SetText(std::string_view Text) override { FData[TextFormat] = std::string(Text); }
  void SetFormatData(int Format, std::string_view Bytes) override { FData[Format] = std::string(Bytes); }
  bool HasText() const override { return FData.count(TextFormat) != 0; }
  bool HasFormat(int Format) const override { return FData.count(Format) != 0; }
  std::string Text() const override;

  static constexpr int TextFormat = 1;
  std::map<std::string, int> Registered;

private:
  std::map<int, std::string> FData;
};

struct MessageRecord {
  std::string Text;
  std::string Caption;
  TMsgButtons Buttons;
  bool Warning = false;
};

// Answers message boxes from a script; an unscripted question is answered with Default. A question
// with buttons of its own is answered from AskAnswers, and unscripted as Enter would: its default.
class FakeDialogs : public IDialogs {
public:
  TMsgResult MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) override;
  void WarningBox(std::string_view Text, std::string_view Caption) override;
  size_t Ask(const TQuestion& Question) override;
  std::deque<TMsgResult> Answers;
  TMsgResult Default = idOK;
  std::vector<MessageRecord> Shown;
  std::deque<size_t> AskAnswers;
  std::vector<TQuestion> Asked;
};

class FakeEventPump : public IEventPump {
public:
  void ProcessMessages() override;
  int Calls = 0;
  std::function<void()> OnPump;  // runs on each call, to press buttons in the middle of a loop
};

class FakeUserStore : public IUserStore {
public:
  std::optional<std::string> ReadString(std::string_view Section, std::string_view Name) const override;
  void WriteString(std::string_view Section, std::string_view Name, std::string_view Value) override;
  void Flush() override;
  std::string TakeLoadProblem() override { return std::exchange(LoadProblem, {}); }
  std::map<std::pair<std::string, std::string>, std::string> Values;
  int Flushes = 0;
  std::string FlushError;   // not empty: Flush raises EInOutError with it
  std::string LoadProblem;  // what the store met when it read its values
};

class FakeCursorTable : public ICursorTable {
public:
  bool IsDefaultCursor(int Slot) const override { return Loaded.count(Slot) == 0; }
  void LoadCursor(int Slot, std::string_view ResourceName) override { Loaded[Slot] = std::string(ResourceName); }
  void SetCursor(int Slot) override {
    Current = Slot;
    Set.push_back(Slot);
  }
  std::map<int, std::string> Loaded;
  int Current = 0;
  std::vector<int> Set;  // every SetCursor, in order
};

class FakeShell : public IShellServices {
public:
  std::string TypeName(const std::string& Path) const override;
  int IconIndex(const std::string&) const override { return 0; }
  bool StartFile(const std::string& Path) override;
  std::optional<std::string> BrowseFolder(std::string_view Caption, const std::string& Initial) override;
  void ContextMenu(const std::vector<std::string>& Paths, TPoint At) override;
  void StartDrag(const std::vector<std::string>& Paths) override;

  bool StartSucceeds = true;
  std::vector<std::string> Started;
  std::optional<std::string> BrowseAnswer;
  std::vector<std::string> MenuPaths;
  std::vector<std::string> DragPaths;
  std::function<void(const std::vector<std::string>&)> OnMenuOrDrag;  // e.g. delete a file
};

// Records every call and keeps a pixel grid for image copies and fills.
class RecordingCanvas : public ICanvas {
public:
  RecordingCanvas(int Width, int Height) : Pixels(Width, Height, clNone) {}
  void FillRect(const TRect& R, TColor Color) override;
  void FrameRect(const TRect& R, TColor Color) override;
  void Line(int X1, int Y1, int X2, int Y2, TColor Color) override;
  void SetFont(const TFontSpec& Font) override { this->Font = Font; }
  void SetBrushColor(TColor Color) override { Brush = Color; }
  void TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) override;
  void DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) override;
  void DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) override;
  TTextMetrics TextMetrics() const override { return Metrics; }

  std::vector<std::string> Calls;
  TImage Pixels;
  TFontSpec Font;
  TColor Brush = clWhite;
  TTextMetrics Metrics{12, 0, 6, 10};
  std::vector<const TImage*> ImagesDrawn;

private:
  void Plot(int X, int Y, TColor C);
};

// Every fake, wired into one platform bundle.
struct FakePlatform {
  FakeClipboard Clipboard;
  FakeDialogs Dialogs;
  FakeEventPump EventPump;
  FakeUserStore UserStore;
  FakeCursorTable Cursors;
  FakeShell Shell;
  [[nodiscard]] TPlatform Platform() {
    return TPlatform{&Clipboard, &Dialogs, &EventPump, &UserStore, &Cursors, &Shell, 640};
  }
};

}  // namespace tesvarin::test
