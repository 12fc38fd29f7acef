// The most-recently-used lists behind the drop-downs, and their files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/StringList.h"

namespace tesvarin {

inline constexpr int HistoryMax = 100;

// Puts Text first, drops every other copy of it (exact bytes), keeps at most HistoryMax entries.
void UpdateHistory(TStringList& List, std::string_view Text);
// Replaces the list by the file's lines; a missing file leaves it empty.
void LoadHistory(TStringList& List, const std::string& Path);
// The non-empty entries, in order: what a drop-down shows.
[[nodiscard]] std::vector<std::string> HistoryItems(const TStringList& List);

}  // namespace tesvarin
