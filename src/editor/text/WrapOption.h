// The word-wrap options: wrap width and the Japanese line-breaking rules, as code page 932 lists.
#pragma once

#include <string>
#include <string_view>

#include "editor/chars/CharSet.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

// Characters that may not begin a row.
inline constexpr std::string_view DefaultFollowStr =
    "\x81" "A" "\x81" "B" "\x81" "C" "\x81" "D" "\x81" "E" "\x81" "H" "\x81" "I" "\x81" "J" "\x81" "K" "\x81" "R" "\x81" "S" "\x81" "T" "\x81" "U" "\x81" "X" "\x81" "[" "\x81" "j" "\x81" "n" "\x81" "p" "\x81" "v" "\x81" "x" "!" ")" "," "." ":" ";" "?" "]" "}" "\xA1" "\xA3" "\xA4" "\xA5" "\xB0" "\xDE" "\xDF";
// Characters that may not end a row.
inline constexpr std::string_view DefaultLeadStr = "\x81" "i" "\x81" "m" "\x81" "o" "\x81" "u" "\x81" "w" "(" "[" "{" "\xA2";
// Characters that may hang past the wrap width.
inline constexpr std::string_view DefaultPunctuationStr = "\x81" "A" "\x81" "B" "\x81" "C" "\x81" "D" "," "." "\xA1" "\xA4";

class TEditorWrapOption : public TNotifyPersistent {
public:
  static constexpr int MinWrapByte = 20;
  static constexpr int MaxWrapByte = 250;

  void Assign(const TPersistent& Source) override;

  [[nodiscard]] int WrapByte() const { return FWrapByte; }
  void SetWrapByte(int Value);  // clamped to 20 .. 250
  [[nodiscard]] bool WordBreak() const { return FWordBreak; }
  void SetWordBreak(bool Value) { SetFlag(FWordBreak, Value); }
  [[nodiscard]] bool FollowPunctuation() const { return FFollowPunctuation; }
  void SetFollowPunctuation(bool Value) { SetFlag(FFollowPunctuation, Value); }
  [[nodiscard]] bool Leading() const { return FLeading; }
  void SetLeading(bool Value) { SetFlag(FLeading, Value); }
  [[nodiscard]] bool FollowRetMark() const { return FFollowRetMark; }
  void SetFollowRetMark(bool Value) { SetFlag(FFollowRetMark, Value); }
  [[nodiscard]] const std::string& FollowStr() const { return FFollowStr; }
  void SetFollowStr(std::string_view Value) { SetText(FFollowStr, FFollowSet, Value); }
  [[nodiscard]] const std::string& LeadStr() const { return FLeadStr; }
  void SetLeadStr(std::string_view Value) { SetText(FLeadStr, FLeadSet, Value); }
  [[nodiscard]] const std::string& PunctuationStr() const { return FPunctuationStr; }
  void SetPunctuationStr(std::string_view Value) { SetText(FPunctuationStr, FPunctuationSet, Value); }
  // The three lists as sets, for the cutting.
  [[nodiscard]] const TCharSet& FollowSet() const { return FFollowSet; }
  [[nodiscard]] const TCharSet& LeadSet() const { return FLeadSet; }
  [[nodiscard]] const TCharSet& PunctuationSet() const { return FPunctuationSet; }

private:
  void SetFlag(bool& Field, bool Value);
  void SetText(std::string& Field, TCharSet& Set, std::string_view Value);

  int FWrapByte = 80;
  bool FWordBreak = false;
  bool FFollowPunctuation = false;
  bool FLeading = false;
  bool FFollowRetMark = false;
  std::string FFollowStr{DefaultFollowStr};
  std::string FLeadStr{DefaultLeadStr};
  std::string FPunctuationStr{DefaultPunctuationStr};
  TCharSet FFollowSet{DefaultFollowStr};
  TCharSet FLeadSet{DefaultLeadStr};
  TCharSet FPunctuationSet{DefaultPunctuationStr};
};

}  // namespace tesvarin
