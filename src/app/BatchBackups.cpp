#include "app/BatchBackups.h"

#include <optional>

#include "app/SafeSave.h"

namespace tesvarin {

bool TBatchBackups::Taken(const std::string& Name) const {
  if (FNames.count(Name) != 0) return true;
  const std::optional<TFileId> Id = FileIdOf(Name);
  return Id && FIds.count(*Id) != 0;
}

std::string TBatchBackups::NameFor(const std::string& Path) const {
  const std::string Usual = BackupName(Path);
  if (!Taken(Usual)) return Usual;
  if (!Taken(Path + ".bak")) return Path + ".bak";
  for (int N = 2;; ++N) {
    std::string Numbered = Path + "." + std::to_string(N) + ".bak";
    if (!Taken(Numbered)) return Numbered;
  }
}

void TBatchBackups::Note(const std::string& Name) {
  FNames.insert(Name);
  if (const std::optional<TFileId> Id = FileIdOf(Name)) FIds.insert(*Id);
}

void TBatchBackups::Written(const std::string& Path, const std::string& Backup) {
  Note(Path);
  if (Backup.empty()) return;
  Note(Backup);
  ++FCount;
  if (Backup != BackupName(Path)) FUnusual.emplace_back(Path, Backup);
}

std::string TBatchBackups::Summary() const {
  if (FCount == 0) return {};
  std::string Text = "バックアップを " + std::to_string(FCount) + " 個作成しました。";
  if (FUnusual.empty()) return Text;
  Text += "\r\n名前が重なるため、次の " + std::to_string(FUnusual.size()) + " 個は別の名前にしました:";
  for (size_t I = 0; I < FUnusual.size() && I < Named; ++I) {
    const auto& [Path, Backup] = FUnusual[I];
    Text += "\r\n" + Path + " → " + Backup.substr(Backup.rfind('/') + 1);
  }
  if (FUnusual.size() > Named) Text += "\r\n...";
  return Text;
}

}  // namespace tesvarin
