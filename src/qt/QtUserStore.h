// The per-user store in a settings file the toolkit reads and writes: section "S", value "V" is the
// key "S/V". Values are held in memory from the first read; the file is written once, by Flush.
#pragma once

#include <QString>

#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"

class QSettings;

namespace tesvarin::qt {

class QtUserStore : public IUserStore {
public:
  // An empty path keeps the values in memory only. Now gives the time a file that holds no settings
  // is set aside with.
  explicit QtUserStore(QString Path, std::function<std::time_t()> Now = {});
  ~QtUserStore() override;
  QtUserStore(const QtUserStore&) = delete;
  QtUserStore& operator=(const QtUserStore&) = delete;

  [[nodiscard]] std::optional<std::string> ReadString(std::string_view Section, std::string_view Name) const override;
  void WriteString(std::string_view Section, std::string_view Name, std::string_view Value) override;
  void Flush() override;
  [[nodiscard]] std::string TakeLoadProblem() override;

  [[nodiscard]] const QString& Path() const { return FPath; }

private:
  void Open() const;

  QString FPath;
  std::function<std::time_t()> FNow;
  mutable std::unique_ptr<QSettings> FSettings;  // opened on first use
  mutable bool FOpened = false;
  mutable std::string FLoadProblem;
  // Without a file, or when the file could not be read nor set aside and so must not be overwritten.
  std::map<std::string, std::string> FMemory;
};

}  // namespace tesvarin::qt
