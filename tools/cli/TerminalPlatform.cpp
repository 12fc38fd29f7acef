#include "TerminalPlatform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <utility>

#include "app/ResultRow.h"
#include "app/SafeSave.h"
#include "app/UserFolders.h"
#include "support/Exception.h"
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

namespace {

// Every line "Section/Name=Value", with no NUL byte: anything else is not this store's file.
std::optional<std::map<std::string, std::string>> ParseSettings(const std::string& Bytes) {
  if (Bytes.find('\0') != std::string::npos) return std::nullopt;
  TStringList Lines;
  Lines.SetText(Bytes);
  std::map<std::string, std::string> Values;
  for (const std::string& L : Lines.Items()) {
    if (L.empty()) continue;
    size_t Eq = L.find('=');
    size_t Slash = L.find('/');
    if (Eq == std::string::npos || Slash == std::string::npos || Slash == 0 || Slash > Eq) return std::nullopt;
    Values[L.substr(0, Eq)] = L.substr(Eq + 1);
  }
  return Values;
}

}  // namespace

TFileUserStore::TFileUserStore(std::string Path) : FPath(std::move(Path)) {
  if (!FPath.empty()) Load();
}

void TFileUserStore::Load() {
  struct stat St {};
  const bool Found = stat(FPath.c_str(), &St) == 0;
  if (!Found && errno == ENOENT) return;
  std::string Bytes;
  try {
    if (!Found) RaiseInOutError("設定ファイルを読めません", FPath, errno);
    if (!S_ISREG(St.st_mode)) RaiseInOutError("設定ファイルを読めません", FPath, S_ISDIR(St.st_mode) ? EISDIR : EINVAL);
    Bytes = ReadFileBytes(FPath);
  } catch (const std::exception& E) {
    FKeepFile = true;
    FLoadProblem = std::string(E.what()) + " 既定の設定で始めます。設定は保存されません。";
    return;
  }
  if (std::optional<std::map<std::string, std::string>> Values = ParseSettings(Bytes)) {
    FValues = std::move(*Values);
    return;
  }
  std::optional<std::string> Aside = SetAside(FPath, std::time(nullptr));
  if (!Aside) {
    FKeepFile = true;
    FLoadProblem = "設定ファイルを設定として読めず、別の名前で残すこともできないため、既定の設定で始めます。"
                   "設定は保存されません: " + FPath;
    return;
  }
  FLoadProblem = "設定ファイルを設定として読めないため、" + *Aside + " として残し、既定の設定で始めます。";
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
  const std::string Key = std::string(Section) + "/" + std::string(Name);
  auto It = FValues.find(Key);
  if (It != FValues.end() && It->second == V) return;
  FValues[Key] = std::move(V);
  FChanged = true;
}

void TFileUserStore::Flush() {
  // A file that could not be read is kept as it is; the user was told so when it was read.
  if (FPath.empty() || FKeepFile || !FChanged) return;
  std::error_code Ec;
  std::filesystem::create_directories(std::filesystem::path(FPath).parent_path(), Ec);
  TStringList Lines;
  for (const auto& [Key, Value] : FValues) Lines.Add(Key + "=" + Value);
  SaveFileSafely(FPath, Lines.Text(), false);
  FChanged = false;
}

std::string TFileUserStore::TakeLoadProblem() { return std::exchange(FLoadProblem, {}); }

std::string TNoShell::TypeName(const std::string& Path) const {
  std::string Ext = LowerExtension(Path.substr(Path.rfind('/') + 1));
  return Ext.empty() ? std::string("ファイル") : Ext.substr(1) + " ファイル";
}

}  // namespace tesvarin::cli
