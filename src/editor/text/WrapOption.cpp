#include "editor/text/WrapOption.h"

namespace tesvarin {

void TEditorWrapOption::SetWrapByte(int Value) {
  if (Value < MinWrapByte) Value = MinWrapByte;
  if (Value > MaxWrapByte) Value = MaxWrapByte;
  if (Value == FWrapByte) return;
  FWrapByte = Value;
  Changed();
}

void TEditorWrapOption::SetFlag(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TEditorWrapOption::SetText(std::string& Field, TCharSet& Set, std::string_view Value) {
  if (Field == Value) return;
  // The set first: if making it fails, the list and its set still agree.
  TCharSet NewSet(Value);
  Field.assign(Value);
  Set = std::move(NewSet);
  Changed();
}

void TEditorWrapOption::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorWrapOption*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  FWrapByte = S->FWrapByte;
  FWordBreak = S->FWordBreak;
  FFollowPunctuation = S->FFollowPunctuation;
  FLeading = S->FLeading;
  FFollowRetMark = S->FFollowRetMark;
  FFollowStr = S->FFollowStr;
  FLeadStr = S->FLeadStr;
  FPunctuationStr = S->FPunctuationStr;
  FFollowSet = S->FFollowSet;
  FLeadSet = S->FLeadSet;
  FPunctuationSet = S->FPunctuationSet;
  EndUpdate();
}

}  // namespace tesvarin
