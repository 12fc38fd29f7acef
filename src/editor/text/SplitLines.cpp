#include "editor/text/SplitLines.h"

#include "editor/chars/SjisText.h"

namespace tesvarin {

void SplitLines(std::string_view Text, TStringList& Lines) {
  Lines.BeginUpdate();
  Lines.Clear();
  if (!Text.empty()) {
    int Breaks = CountChar(Text, '\n', static_cast<int>(Text.size()));
    if (Text.back() == '\n') --Breaks;
    for (int K = 0; K <= Breaks; ++K) Lines.Add(std::string());
    size_t I = 0;
    int K = 0;
    while (I < Text.size() && Text[I] != '\0') {
      size_t Start = I;
      while (I < Text.size() && Text[I] != '\0' && Text[I] != '\r' && Text[I] != '\n') ++I;
      std::string Line(Text.substr(Start, I - Start));
      if (K < Lines.Count()) {
        Lines.Put(K, std::move(Line));
      } else {
        Lines.Add(std::move(Line));
      }
      ++K;
      if (I < Text.size() && Text[I] == '\r') ++I;
      if (I < Text.size() && Text[I] == '\n') ++I;
    }
  }
  Lines.EndUpdate();
}

}  // namespace tesvarin
