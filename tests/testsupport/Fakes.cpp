#include "testsupport/Fakes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "support/Exception.h"

namespace tesvarin::test {

int FakeClipboard::RegisterFormat(std::string_view Name) {
  auto It = Registered.find(std::string(Name));
  if (It != Registered.end()) return It->second;
  int Id = 0xC000 + static_cast<int>(Registered.size());
  Registered.emplace(std::string(Name), Id);
  return Id;
}

std::string FakeClipboard::Text() const {
  auto It = FData.find(TextFormat);
  return It == FData.end() ? std::string() : It->second;
}

TMsgResult FakeDialogs::MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) {
  Shown.push_back({std::string(Text), std::string(Caption), Buttons});
  if (Answers.empty()) return Default;
  TMsgResult R = Answers.front();
  Answers.pop_front();
  return R;
}

void FakeDialogs::WarningBox(std::string_view Text, std::string_view Caption) {
  MessageBox(Text, Caption, mbOK);
  Shown.back().Warning = true;
}

size_t FakeDialogs::Ask(const TQuestion& Question) {
  Asked.push_back(Question);
  if (AskAnswers.empty()) return Question.Default;
  const size_t R = AskAnswers.front();
  AskAnswers.pop_front();
  return R;
}

void FakeEventPump::ProcessMessages() {
  ++Calls;
  if (OnPump) OnPump();
}

std::optional<std::string> FakeUserStore::ReadString(std::string_view Section, std::string_view Name) const {
  auto It = Values.find({std::string(Section), std::string(Name)});
  if (It == Values.end()) return std::nullopt;
  return It->second;
}

void FakeUserStore::WriteString(std::string_view Section, std::string_view Name, std::string_view Value) {
  Values[{std::string(Section), std::string(Name)}] = std::string(Value);
}

void FakeUserStore::Flush() {
  ++Flushes;
  if (!FlushError.empty()) throw EInOutError(FlushError, EIO);
}

std::string FakeShell::TypeName(const std::string& Path) const {
  auto Dot = Path.find_last_of('.');
  return Dot == std::string::npos ? std::string("ファイル") : Path.substr(Dot + 1) + " ファイル";
}

bool FakeShell::StartFile(const std::string& Path) {
  Started.push_back(Path);
  return StartSucceeds;
}

std::optional<std::string> FakeShell::BrowseFolder(std::string_view, const std::string&) { return BrowseAnswer; }

void FakeShell::ContextMenu(const std::vector<std::string>& Paths, TPoint) {
  MenuPaths = Paths;
  if (OnMenuOrDrag) OnMenuOrDrag(Paths);
}

void FakeShell::StartDrag(const std::vector<std::string>& Paths) {
  DragPaths = Paths;
  if (OnMenuOrDrag) OnMenuOrDrag(Paths);
}

void RecordingCanvas::Plot(int X, int Y, TColor C) {
  if (X >= 0 && Y >= 0 && X < Pixels.Width() && Y < Pixels.Height()) Pixels.SetPixel(X, Y, C);
}

void RecordingCanvas::FillRect(const TRect& R, TColor Color) {
  Calls.push_back("fill " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) +
                  "," + std::to_string(R.Bottom));
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) Plot(X, Y, Color);
}

void RecordingCanvas::FrameRect(const TRect& R, TColor Color) {
  Calls.push_back("frame " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) +
                  "," + std::to_string(R.Bottom));
  for (int X = R.Left; X < R.Right; ++X) {
    Plot(X, R.Top, Color);
    Plot(X, R.Bottom - 1, Color);
  }
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    Plot(R.Left, Y, Color);
    Plot(R.Right - 1, Y, Color);
  }
}

void RecordingCanvas::Line(int X1, int Y1, int X2, int Y2, TColor Color) {
  Calls.push_back("line " + std::to_string(X1) + "," + std::to_string(Y1) + "," + std::to_string(X2) + "," +
                  std::to_string(Y2));
  int Steps = std::max(std::abs(X2 - X1), std::abs(Y2 - Y1));
  for (int I = 0; I < Steps; ++I) Plot(X1 + (X2 - X1) * I / Steps, Y1 + (Y2 - Y1) * I / Steps, Color);
}

void RecordingCanvas::TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) {
  Calls.push_back("text " + std::to_string(X) + "," + std::to_string(Y) + " " + std::string(Text) + " adv " +
                  std::to_string(Advance) + (Opaque ? " opaque" : ""));
  if (Opaque) {
    for (int Yy = Clip.Top; Yy < Clip.Bottom; ++Yy)
      for (int Xx = Clip.Left; Xx < Clip.Right; ++Xx) Plot(Xx, Yy, Brush);
  }
}

void RecordingCanvas::DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) {
  Calls.push_back("image " + std::to_string(X) + "," + std::to_string(Y) + " from " + std::to_string(SrcX) +
                  " width " + std::to_string(Width));
  ImagesDrawn.push_back(&Image);
  for (int Row = 0; Row < Image.Height(); ++Row)
    for (int I = 0; I < Width && SrcX + I < Image.Width(); ++I) Plot(X + I, Y + Row, Image.Pixel(SrcX + I, Row));
}

void RecordingCanvas::DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) {
  Calls.push_back("imagerect " + std::to_string(X) + "," + std::to_string(Y) + " from " + std::to_string(Source.Left) +
                  "," + std::to_string(Source.Top) + "," + std::to_string(Source.Right) + "," +
                  std::to_string(Source.Bottom));
  ImagesDrawn.push_back(&Image);
  const TRect S = IntersectRect(Source, {0, 0, Image.Width(), Image.Height()});
  for (int Yy = S.Top; Yy < S.Bottom; ++Yy)
    for (int Xx = S.Left; Xx < S.Right; ++Xx) Plot(X + Xx - Source.Left, Y + Yy - Source.Top, Image.Pixel(Xx, Yy));
}

}  // namespace tesvarin::test
