#include "editor/text/RowWrap.h"

#include "editor/text/AttributeArray.h"

namespace tesvarin {

namespace {

// Moves the cursor from the wrap width back or forward to the cut point.
void FindCut(TEditorAttributeArray& C, const TEditorWrapOption& O) {
  const int W = O.WrapByte();
  if (C.Current() == ckDbcs1) {
    C.Prior();
  } else if (O.WordBreak() && C.MapLength() > W) {
    while (C.Current() != ckDelimiter && C.Current() != ckTabPad && C.Current() != ckDbcs2 && C.Pos() > W / 3)
      C.PriorChar();
  }
  if (O.FollowPunctuation()) {
    while (C.Pos() < W + 2 && O.PunctuationSet().Contains(C.NextChar())) {
      bool Double = C.NextChar().size() == 2;
      C.Next();
      if (Double) C.Next();
    }
  }
  if (O.Leading() && C.Pos() < C.MapLength()) {
    const int Limit = (W / 5) * 4;
    while (C.Pos() > Limit && O.LeadSet().Contains(C.CurrentChar())) C.PriorChar();
    if (C.Pos() + 1 < C.MapLength() && O.FollowSet().Contains(C.NextChar())) {
      while (C.Pos() > Limit && (O.LeadSet().Contains(C.CurrentChar()) || O.FollowSet().Contains(C.NextChar())))
        C.PriorChar();
    }
  }
}

}  // namespace

void CutLine(std::string_view Line, const TEditorWrapOption& Options, const TColumnSettings& Settings,
             std::vector<int>& Pieces) {
  Pieces.clear();
  const int W = Options.WrapByte();
  TColumnMap Map;
  BuildColumnMap(Line, Settings, Map);
  if (static_cast<int>(Map.size()) < W) {
    Pieces.push_back(static_cast<int>(Line.size()));
    return;
  }
  TEditorAttributeArray C;
  std::string_view Rest = Line;
  for (;;) {
    C.Reset(Rest, Map);
    C.MoveTo(W);
    if (C.Current() == ckEnd) {
      if (!Rest.empty() || !Options.FollowRetMark()) Pieces.push_back(static_cast<int>(Rest.size()));
      return;
    }
    FindCut(C, Options);
    int Cut = C.Bytes();
    if (Cut > static_cast<int>(Rest.size())) Cut = static_cast<int>(Rest.size());
    if (Cut <= 0) Cut = 1;  // a row always takes a byte, so the cutting ends
    Pieces.push_back(Cut);
    Rest.remove_prefix(static_cast<size_t>(Cut));
    BuildColumnMap(Rest, Settings, Map);
  }
}

}  // namespace tesvarin
