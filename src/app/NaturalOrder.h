// Sort keys that order names as people count: a run of digits by its value (file2 before file10),
// the text between runs by the locale's collation, and a path folder by folder with a folder's own
// files before those of its subfolders. A key is made once per row and keys compare as plain bytes,
// so sorting many rows costs one key per row, not a collation per comparison.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tesvarin {

// The collation key of a text without digits: keys compare as bytes as their texts collate. A key
// holds no NUL byte.
using TCollationKey = std::function<std::string(std::string_view Text)>;

// The C library's collation of the current locale (LC_COLLATE).
[[nodiscard]] std::string LocaleCollationKey(std::string_view Text);

class TNaturalOrder {
public:
  explicit TNaturalOrder(TCollationKey Collate = LocaleCollationKey) : FCollate(std::move(Collate)) {}

  [[nodiscard]] std::string NameKey(std::string_view Name) const;
  // Folder names its parts between "/" (empty parts are ignored).
  [[nodiscard]] std::string FolderKey(std::string_view Folder) const;
  // Folder, then the name in it. The key of the last folder is kept, as rows of one folder come
  // together.
  [[nodiscard]] std::string PathKey(std::string_view Folder, std::string_view Name);

private:
  void AppendName(std::string_view Name, std::string& Key) const;

  TCollationKey FCollate;
  std::string FLastFolder;
  std::string FLastFolderKey;
  bool FHasLastFolder = false;
};

}  // namespace tesvarin
