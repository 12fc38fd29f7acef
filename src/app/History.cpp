#include "app/History.h"

#include <filesystem>

namespace tesvarin {

void UpdateHistory(TStringList& List, std::string_view Text) {
  List.BeginUpdate();
  if (List.Empty()) {
    List.Add(std::string(Text));
  } else {
    for (int I = List.Count() - 1; I >= 0; --I) {
      if (List[I] == Text) List.Delete(I);
    }
    List.Insert(0, std::string(Text));
  }
  while (List.Count() > HistoryMax) List.Delete(HistoryMax);
  List.EndUpdate();
}

void LoadHistory(TStringList& List, const std::string& Path) {
  List.Clear();
  std::error_code Ec;
  if (std::filesystem::exists(Path, Ec)) List.LoadFromFile(Path);
}

std::vector<std::string> HistoryItems(const TStringList& List) {
  std::vector<std::string> Items;
  for (const std::string& S : List.Items()) {
    if (!S.empty()) Items.push_back(S);
  }
  return Items;
}

}  // namespace tesvarin
