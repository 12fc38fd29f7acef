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
// Replaces the list by the file's first HistoryMax lines (CR, LF and CR LF end a line); the rest of
// the file is never read, so a huge file costs no more than a small one. A missing file leaves the
// list empty; one that cannot be read (a folder, a device, no permission) raises EInOutError and
// leaves it empty too.
void LoadHistory(TStringList& List, const std::string& Path);
// Writes the list as CR LF lines through the atomic save: the file holds the old entries or the new
// ones, never a cut list. Raises EInOutError.
void SaveHistory(const TStringList& List, const std::string& Path);
// The non-empty entries, in order: what a drop-down shows.
[[nodiscard]] std::vector<std::string> HistoryItems(const TStringList& List);

}  // namespace tesvarin
