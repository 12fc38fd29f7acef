// The text of an INI file edited key by key: every other line (comments, unknown keys, other
// sections, their order and line breaks) stays as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesvarin {

class TIniText {
public:
  // CR, LF and CR LF all end a line; the text is written back with CR LF when it used CR LF.
  explicit TIniText(std::string_view Text);

  // Replaces the value of the key's first line in Section (the one a reader takes), or adds the key
  // after the section's last entry, or adds the section at the end. Names compare without regard to
  // case. A line break in Value would start a new line of its own and is written as a space.
  void SetValue(std::string_view Section, std::string_view Key, std::string_view Value);
  [[nodiscard]] std::string Text() const;

private:
  std::vector<std::string> FLines;
  std::string FBreak = "\n";
};

}  // namespace tesvarin
