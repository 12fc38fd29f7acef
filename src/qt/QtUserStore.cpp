#include "qt/QtUserStore.h"

#include <QFileInfo>
#include <QSettings>

#include <unistd.h>

#include <cerrno>
#include <utility>

#include "app/UserFolders.h"
#include "shell/QtText.h"
#include "support/Exception.h"

namespace tesvarin::qt {

namespace {

QString SettingsKey(std::string_view Section, std::string_view Name) { return Q(Section) + '/' + Q(Name); }

std::string MemoryKey(std::string_view Section, std::string_view Name) {
  return std::string(Section) + '/' + std::string(Name);
}

}  // namespace

QtUserStore::QtUserStore(QString Path, std::function<std::time_t()> Now)
    : FPath(std::move(Path)), FNow(std::move(Now)) {}

QtUserStore::~QtUserStore() = default;

void QtUserStore::Open() const {
  if (FOpened) return;
  FOpened = true;
  if (FPath.isEmpty()) return;
  FSettings = std::make_unique<QSettings>(FPath, QSettings::IniFormat);
  // The toolkit reads the file on first access and each section on the first access to it: only
  // after every section was looked at does the status tell whether the file holds settings.
  (void)FSettings->allKeys();
  const std::string Path = U(FPath);
  if (FSettings->status() == QSettings::AccessError) {
    // A folder or a file this user may not read: starting with defaults must not overwrite it.
    FSettings.reset();
    FLoadProblem = "設定ファイルを読めないため、既定の設定で始めます。設定は保存されません: " + Path;
    return;
  }
  if (FSettings->status() != QSettings::FormatError) return;
  // What cannot be read as settings is kept for the user, and the window starts with defaults.
  FSettings.reset();
  std::optional<std::string> Aside = SetAside(Path, FNow ? FNow() : std::time(nullptr));
  if (!Aside) {
    FLoadProblem = "設定ファイルを設定として読めず、別の名前で残すこともできないため、既定の設定で始めます。"
                   "設定は保存されません: " + Path;
    return;
  }
  FLoadProblem = "設定ファイルを設定として読めないため、" + *Aside + " として残し、既定の設定で始めます。";
  FSettings = std::make_unique<QSettings>(FPath, QSettings::IniFormat);
}

std::optional<std::string> QtUserStore::ReadString(std::string_view Section, std::string_view Name) const {
  Open();
  if (!FSettings) {
    auto It = FMemory.find(MemoryKey(Section, Name));
    if (It == FMemory.end()) return std::nullopt;
    return It->second;
  }
  QString Key = SettingsKey(Section, Name);
  if (!FSettings->contains(Key)) return std::nullopt;
  return FSettings->value(Key).toString().toUtf8().toStdString();
}

void QtUserStore::WriteString(std::string_view Section, std::string_view Name, std::string_view Value) {
  Open();
  if (!FSettings) {
    FMemory[MemoryKey(Section, Name)] = std::string(Value);
    return;
  }
  // An unchanged value is not written again: a close that changed nothing leaves the file alone.
  const QString Key = SettingsKey(Section, Name);
  const QString Text = Q(Value);
  if (FSettings->contains(Key) && FSettings->value(Key).toString() == Text) return;
  FSettings->setValue(Key, Text);
}

void QtUserStore::Flush() {
  Open();
  // Without a file, or with one that could not be read and is kept as it is (told when it was read).
  if (!FSettings) return;
  FSettings->sync();
  if (FSettings->status() == QSettings::NoError) return;
  // The toolkit says only that it failed; the folder usually says why.
  const std::string Folder = U(QFileInfo(FPath).absolutePath());
  int Err = access(Folder.c_str(), W_OK) == 0 ? EIO : errno;
  RaiseInOutError("設定ファイルを保存できません", U(FPath), Err);
}

std::string QtUserStore::TakeLoadProblem() {
  Open();
  return std::exchange(FLoadProblem, {});
}

}  // namespace tesvarin::qt
