// Row marks: sixteen bookmarks per row, kept with the rows in the row store (the commands use 0 .. 9,
// each on one row at most). The store's mark set says which marks stand on some row.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "editor/text/EditorScreenStrings.h"

namespace tesvarin {

// A short-lived view over one store's marks: the store behind an editor changes when rows are shared.
class TRowMarks {
public:
  // Changed is told each row whose marks changed.
  TRowMarks(TEditorScreenStrings& Rows, std::function<void(int Row)> Changed)
      : FRows(Rows), FChanged(std::move(Changed)) {}

  // The first row carrying Mark; -1 when none does.
  [[nodiscard]] int FirstRowWith(int Mark) const;
  // 0 outside the rows.
  [[nodiscard]] uint16_t Of(int Row) const;
  void Set(int Row, uint16_t Marks);
  // A mark below 10 first leaves the row that held it.
  void Put(int Row, int Mark);
  void Delete(int Row, int Mark);

private:
  TEditorScreenStrings& FRows;
  std::function<void(int Row)> FChanged;
};

}  // namespace tesvarin
