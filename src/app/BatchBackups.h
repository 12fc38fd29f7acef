// The backups of one replace in the listed files, so that none of them overwrites another.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/FileSystem.h"

namespace tesvarin {

class TBatchBackups {
public:
  static constexpr size_t Named = 5;  // unusual names the summary spells out

  // The backup name for Path: the usual one (BackupName), unless this batch already wrote a file of
  // that name; then the full name plus ".bak", then the full name with a number (a.h.2.bak, ...).
  [[nodiscard]] std::string NameFor(const std::string& Path) const;
  // Notes a file the batch saved and the backup it made of it (empty: none).
  void Written(const std::string& Path, const std::string& Backup);
  [[nodiscard]] int Count() const { return FCount; }
  // Files whose backup took another name than the usual one, and that name.
  [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& Unusual() const { return FUnusual; }
  // For the end message: how many backups were written and which names differ from the usual ones;
  // empty when none was written.
  [[nodiscard]] std::string Summary() const;

private:
  [[nodiscard]] bool Taken(const std::string& Name) const;
  void Note(const std::string& Name);

  // Names and the files behind them, so that another spelling of a folder finds them too.
  std::set<std::string> FNames;
  std::set<TFileId> FIds;
  int FCount = 0;
  std::vector<std::pair<std::string, std::string>> FUnusual;
};

}  // namespace tesvarin
