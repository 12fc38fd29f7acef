// The desktop services on a terminal: messages on stderr, questions answered on the terminal (No
// without one), a per-user store in a plain file or in memory, and no shell.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace tesvarin::cli {

class TTerminalDialogs : public IDialogs {
public:
  TMsgResult MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) override;
  // The buttons as numbered choices; without a terminal, or on an empty answer, the default.
  size_t Ask(const TQuestion& Question) override;
  bool YesToBatch = false;  // answers the batch-replace question
};

class TNoEventPump : public IEventPump {
public:
  void ProcessMessages() override {}
};

// "Section/Name=Value" lines; an empty path keeps the values in memory only. A file that holds
// other lines is set aside under a dated name and the store starts empty; one that cannot be read
// (a folder, no permission) is left alone and never overwritten.
class TFileUserStore : public IUserStore {
public:
  explicit TFileUserStore(std::string Path);
  std::optional<std::string> ReadString(std::string_view Section, std::string_view Name) const override;
  void WriteString(std::string_view Section, std::string_view Name, std::string_view Value) override;
  // One atomic write of every value, when any changed.
  void Flush() override;
  std::string TakeLoadProblem() override;

private:
  void Load();

  std::string FPath;
  bool FKeepFile = false;  // the file could not be read: saving would lose it
  bool FChanged = false;
  std::string FLoadProblem;
  std::map<std::string, std::string> FValues;
};

class TNoShell : public IShellServices {
public:
  std::string TypeName(const std::string& Path) const override;
  int IconIndex(const std::string&) const override { return -1; }
  bool StartFile(const std::string&) override { return false; }
  std::optional<std::string> BrowseFolder(std::string_view, const std::string&) override { return std::nullopt; }
  void ContextMenu(const std::vector<std::string>&, TPoint) override {}
  void StartDrag(const std::vector<std::string>&) override {}
};

}  // namespace tesvarin::cli
