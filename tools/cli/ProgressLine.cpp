#include "ProgressLine.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <vector>

namespace tesvarin::cli {

namespace {

// What the terminal shows for one character: its bytes (empty: a "?" stands in) and its columns.
struct TCell {
  std::string_view Bytes;
  int Width = 1;
};

bool IsWide(char32_t C) {
  static constexpr std::pair<char32_t, char32_t> Wide[] = {
      {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};
  return std::any_of(std::begin(Wide), std::end(Wide), [C](auto R) { return R.first <= C && C <= R.second; });
}

bool IsCombining(char32_t C) {
  return (C >= 0x0300 && C <= 0x036F) || (C >= 0x1AB0 && C <= 0x1AFF) || (C >= 0x1DC0 && C <= 0x1DFF) ||
         (C >= 0x20D0 && C <= 0x20FF) || (C >= 0xFE20 && C <= 0xFE2F) || C == 0x200B || C == 0x200D;
}

// Length of the well-formed UTF-8 sequence at the start of Text and its code point; 0 when malformed.
size_t DecodeUtf8(std::string_view Text, char32_t& Code) {
  auto B = [&](size_t I) { return static_cast<unsigned char>(Text[I]); };
  unsigned char Lead = B(0);
  size_t Length = Lead < 0x80 ? 1 : (Lead & 0xE0) == 0xC0 ? 2 : (Lead & 0xF0) == 0xE0 ? 3 : (Lead & 0xF8) == 0xF0 ? 4 : 0;
  if (Length == 0 || Length > Text.size()) return 0;
  Code = Length == 1 ? Lead : Lead & (0x7F >> Length);
  for (size_t I = 1; I < Length; ++I) {
    if ((B(I) & 0xC0) != 0x80) return 0;
    Code = (Code << 6) | (B(I) & 0x3F);
  }
  static constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (Code < Least[Length] || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return 0;
  return Length;
}

// Control characters and malformed bytes become "?": a name may hold a line break or an escape.
std::vector<TCell> Cells(std::string_view Text) {
  std::vector<TCell> Result;
  while (!Text.empty()) {
    char32_t Code = 0;
    size_t Length = DecodeUtf8(Text, Code);
    if (Length == 0 || Code < 0x20 || (Code >= 0x7F && Code < 0xA0)) {
      Result.push_back({{}, 1});
      Text.remove_prefix(Length == 0 ? 1 : Length);
      continue;
    }
    Result.push_back({Text.substr(0, Length), IsWide(Code) ? 2 : IsCombining(Code) ? 0 : 1});
    Text.remove_prefix(Length);
  }
  return Result;
}

void Append(std::string& Out, const TCell& Cell) {
  if (Cell.Bytes.empty()) {
    Out += '?';
  } else {
    Out += Cell.Bytes;
  }
}

}  // namespace

TProgressLine::TProgressLine(std::ostream& Out, std::function<int()> Columns, TClock::time_point Start)
    : FOut(Out), FColumns(std::move(Columns)), FNextDraw(Start + FirstDelay) {}

void TProgressLine::EnterFolder(std::string_view Folder, TClock::time_point Now) {
  FFolder = Folder;
  if (Now >= FNextDraw) Draw(Now);
}

void TProgressLine::FileLooked(int Listed, TClock::time_point Now) {
  ++FLooked;
  FListed = Listed;
  if (Now >= FNextDraw) Draw(Now);
}

void TProgressLine::Draw(TClock::time_point Now) {
  int Columns = FColumns();
  std::string Line = Format(FLooked, FListed, FFolder, Columns);
  int Width = DisplayWidth(Line);
  // Blanks over the rest of a longer previous line, never past the last usable column.
  int Pad = std::max(0, std::min(FShownWidth, Columns - 1) - Width);
  FOut << '\r' << Line << std::string(static_cast<size_t>(Pad), ' ') << std::flush;
  FShownWidth = Width;
  FNextDraw = Now + Interval;
}

void TProgressLine::Clear() {
  if (FShownWidth == 0) return;
  FOut << '\r' << std::string(static_cast<size_t>(FShownWidth), ' ') << '\r' << std::flush;
  FShownWidth = 0;
}

std::string TProgressLine::Format(uint64_t Looked, int Listed, std::string_view Folder, int Columns) {
  int Room = Columns - 1;
  if (Room <= 0) return {};
  std::string Line = std::to_string(Looked) + " looked at, " + std::to_string(Listed) + " listed";
  if (static_cast<int>(Line.size()) >= Room) return Line.substr(0, static_cast<size_t>(Room));
  static constexpr std::string_view Separator = ": ", Ellipsis = "...";
  Room -= static_cast<int>(Line.size() + Separator.size());
  std::vector<TCell> Path = Cells(Folder);
  int PathWidth = 0;
  for (const TCell& C : Path) PathWidth += C.Width;
  if (Path.empty() || (PathWidth > Room && Room <= static_cast<int>(Ellipsis.size()))) return Line;
  Line += Separator;
  size_t First = 0;
  if (PathWidth > Room) {
    // Keep the end of the path: the folder's own name says most.
    Line += Ellipsis;
    int Left = Room - static_cast<int>(Ellipsis.size());
    First = Path.size();
    while (First > 0 && Path[First - 1].Width <= Left) Left -= Path[--First].Width;
    // A combining mark is not shown without its base character.
    while (First < Path.size() && Path[First].Width == 0) ++First;
  }
  for (size_t I = First; I < Path.size(); ++I) Append(Line, Path[I]);
  return Line;
}

int TProgressLine::DisplayWidth(std::string_view Text) {
  int Width = 0;
  for (const TCell& C : Cells(Text)) Width += C.Width;
  return Width;
}

TMsgResult TProgressDialogs::MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) {
  if (FLine) FLine->Clear();
  return FInner.MessageBox(Text, Caption, Buttons);
}

size_t TProgressDialogs::Ask(const TQuestion& Question) {
  if (FLine) FLine->Clear();
  return FInner.Ask(Question);
}

int TerminalColumns(int Fd) {
  winsize Size{};
  if (ioctl(Fd, TIOCGWINSZ, &Size) == 0 && Size.ws_col > 0) return Size.ws_col;
  return 80;
}

}  // namespace tesvarin::cli
