// The colouring state carried from row to row, and the interfaces through which the row store asks a
// colouring parser to compute it without knowing any colouring scheme.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tesvarin {

// What follows a row.
enum TRowAttribute : uint8_t { raCrlf = 0, raWrapped = 1, raEof = 2 };

// The bytes that end a raCrlf row's line in its file, so a saved file keeps each line's own break.
enum TLineBreak : uint8_t { lbCrLf = 0, lbLf = 1, lbCr = 2 };

[[nodiscard]] constexpr std::string_view LineBreakBytes(TLineBreak Break) {
  return Break == lbLf ? std::string_view("\n") : Break == lbCr ? std::string_view("\r") : std::string_view("\r\n");
}

// One row's colouring state at its start, unpacked.
struct TRowAttributeData {
  uint8_t RowAttribute = raCrlf;
  uint8_t PrevRowAttribute = raCrlf;
  int32_t BracketIndex = -1;  // -2 in a stored row: not computed yet
  int32_t ElementState = 0;
  int32_t WrappedBytes = 0;
  int32_t ExtraState = 0;
  uint8_t WrappedKind = 0;
  uint8_t PrevToken = 0;
  std::string StateText;

  friend bool operator==(const TRowAttributeData&, const TRowAttributeData&) = default;
};

// The state used at row 0.
[[nodiscard]] inline TRowAttributeData InitialRowState() { return TRowAttributeData{}; }

// Read access to display rows, as a colouring parser needs it.
class IRowSource {
public:
  virtual ~IRowSource() = default;
  [[nodiscard]] virtual int RowCount() const = 0;
  [[nodiscard]] virtual std::string_view RowText(int Row) const = 0;
  [[nodiscard]] virtual TRowAttribute RowAttributeOf(int Row) const = 0;
};

class IRowStateParser {
public:
  virtual ~IRowStateParser() = default;
  // Turns the start state of row Row (Data also holds Row's own RowAttribute) into the start state of
  // row Row + 1. The caller stores the result and sets the next row's attributes itself.
  virtual void UpdateRowState(int Row, const IRowSource& Rows, TRowAttributeData& Data) = 0;
  // True when the start state after a row that ends its line (raCrlf) and holds more than spaces is
  // the initial state on any walk that began with it: a walk over many rows may then begin there.
  [[nodiscard]] virtual bool ForgetsAtLineEnd() const { return false; }
};

// Whatever can hand out a colouring parser for a pass over rows (a highlighter, or a test stand-in).
class IRowStateProvider {
public:
  virtual ~IRowStateProvider() = default;
  [[nodiscard]] virtual std::unique_ptr<IRowStateParser> NewRowStateParser() const = 0;
};

}  // namespace tesvarin
