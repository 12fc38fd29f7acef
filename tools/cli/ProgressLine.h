// A one-line progress indicator of a search run on a terminal: files looked at, files listed and the
// folder being walked, redrawn in place a few times a second on standard error.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace tesvarin::cli {

class TProgressLine {
public:
  using TClock = std::chrono::steady_clock;
  // Quick runs print nothing; after that the line is redrawn at most this often.
  static constexpr std::chrono::milliseconds FirstDelay{500};
  static constexpr std::chrono::milliseconds Interval{100};

  // Columns is asked at every drawing, so a resized terminal gets a fitting line.
  TProgressLine(std::ostream& Out, std::function<int()> Columns, TClock::time_point Start = TClock::now());

  void EnterFolder(std::string_view Folder, TClock::time_point Now = TClock::now());
  void FileLooked(int Listed, TClock::time_point Now = TClock::now());
  // Wipes the line so that other output starts on a clean row.
  void Clear();

  // The line for a terminal Columns wide: never wider than Columns - 1, so it cannot wrap; the
  // folder loses its beginning first, control characters show as "?".
  [[nodiscard]] static std::string Format(uint64_t Looked, int Listed, std::string_view Folder, int Columns);
  // Terminal columns the UTF-8 text takes (East Asian wide characters take two).
  [[nodiscard]] static int DisplayWidth(std::string_view Text);

private:
  void Draw(TClock::time_point Now);

  std::ostream& FOut;
  std::function<int()> FColumns;
  TClock::time_point FNextDraw;
  std::string FFolder;
  uint64_t FLooked = 0;
  int FListed = 0;
  int FShownWidth = 0;  // columns the line on screen takes; 0: nothing shown
};

// Message boxes that first wipe the progress line, so a message never shares its row.
class TProgressDialogs : public IDialogs {
public:
  TProgressDialogs(IDialogs& Inner, TProgressLine* Line) : FInner(Inner), FLine(Line) {}
  TMsgResult MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) override;
  size_t Ask(const TQuestion& Question) override;

private:
  IDialogs& FInner;
  TProgressLine* FLine;  // null: no progress shown
};

// Columns of the terminal on the descriptor, or 80 when it does not say.
[[nodiscard]] int TerminalColumns(int Fd);

}  // namespace tesvarin::cli
