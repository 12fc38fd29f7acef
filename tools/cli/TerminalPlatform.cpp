#include "TerminalPlatform.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/ResultRow.h"
#include "support/StringList.h"

namespace tesvarin::cli {

TMsgResult TTerminalDialogs::MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) {
  std::cerr << Text << '\n';
  if (Buttons == mbOK) return idOK;
  if (Caption == "確認" && YesToBatch) return idYes;
  if (isatty(STDIN_FILENO) == 0) return idNo;
  std::cerr << (Buttons == mbYesNoCancel ? "[y/n/c] " : "[y/n] ") << std::flush;
  std::string Answer;
  if (!std::getline(std::cin, Answer)) return idNo;
  if (!Answer.empty() && (Answer[0] == 'y' || Answer[0] == 'Y')) return idYes;
  if (Buttons == mbYesNoCancel && !Answer.empty() && (Answer[0] == 'c' || Answer[0] == 'C')) return idCancel;
  return idNo;
}

size_t TTerminalDialogs::Ask(const TQuestion& Question) {
  std::cerr << Question.Text << '\n';
  auto Plain = [](std::string Caption) {
    std::erase(Caption, '&');
    return Caption;
  };
  for (size_t I = 0; I < Question.Buttons.size(); ++I) std::cerr << "  " << I + 1 << ": " << Plain(Question.Buttons[I]) << '\n';
  if (isatty(STDIN_FILENO) == 0) return Question.Default;
  std::cerr << "[1-" << Question.Buttons.size() << ", Enter: " << Question.Default + 1 << "] " << std::flush;
  std::string Answer;
  if (!std::getline(std::cin, Answer)) return Question.Escape;
  if (Answer.empty()) return Question.Default;
  char* End = nullptr;
  const unsigned long N = std::strtoul(Answer.c_str(), &End, 10);
  if (*End != 0 || N < 1 || N > Question.Buttons.size()) return Question.Escape;
  return N - 1;
}

TFileUserStore::TFileUserStore(std::string Path) : FPath(std::move(Path)) {
  std::error_code Ec;
  if (FPath.empty() || !std::filesystem::exists(FPath, Ec)) return;
  TStringList Lines;
  Lines.LoadFromFile(FPath);
  for (const std::string& L : Lines.Items()) {
    size_t Eq = L.find('=');
    if (Eq != std::string::npos) FValues[L.substr(0, Eq)] = L.substr(Eq + 1);
  }
}

std::optional<std::string> TFileUserStore::ReadString(std::string_view Section, std::string_view Name) const {
  auto It = FValues.find(std::string(Section) + "/" + std::string(Name));
  if (It == FValues.end()) return std::nullopt;
  return It->second;
}

void TFileUserStore::WriteString(std::string_view Section, std::string_view Name, std::string_view Value) {
  std::string V(Value);
  // One value per line: line breaks cannot be stored.
  for (char& Ch : V) {
    if (Ch == '\r' || Ch == '\n') Ch = ' ';
  }
  FValues[std::string(Section) + "/" + std::string(Name)] = V;
}

void TFileUserStore::Save() const {
  if (FPath.empty()) return;
  std::filesystem::create_directories(std::filesystem::path(FPath).parent_path());
  TStringList Lines;
  for (const auto& [Key, Value] : FValues) Lines.Add(Key + "=" + Value);
  Lines.SaveToFile(FPath);
}

std::string TNoShell::TypeName(const std::string& Path) const {
  std::string Ext = LowerExtension(Path.substr(Path.rfind('/') + 1));
  return Ext.empty() ? std::string("ファイル") : Ext.substr(1) + " ファイル";
}

}  // namespace tesvarin::cli
