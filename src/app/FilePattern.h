// File-name patterns of the search: "*" any run of characters, "?" one character, letters without
// regard to case, and "*.*" every name, with or without a dot.
#pragma once

#include <string>
#include <string_view>

namespace tesvarin {

// A text without wildcards matches anywhere in a name: it becomes "*" + text + "*".
[[nodiscard]] std::string NormalizeFilePattern(std::string_view Text);
// Pattern and Name are native (UTF-8) bytes; "?" stands for one UTF-8 character.
[[nodiscard]] bool MatchesFilePattern(std::string_view Pattern, std::string_view Name);

}  // namespace tesvarin
