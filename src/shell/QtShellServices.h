// The desktop's file services for the result list: type names and icons, starting files, the folder
// browser, a context menu of file commands and dragging files out.
#pragma once

#include <QIcon>
#include <QMimeType>
#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tesvarin::qt {

class QtShellServices : public IShellServices {
public:
  explicit QtShellServices(QWidget* Owner) : FOwner(Owner) {}

  [[nodiscard]] std::string TypeName(const std::string& Path) const override;
  [[nodiscard]] int IconIndex(const std::string& Path) const override;
  bool StartFile(const std::string& Path) override;
  [[nodiscard]] std::optional<std::string> BrowseFolder(std::string_view Caption, const std::string& Initial) override;
  // At is in the owner widget's coordinates.
  void ContextMenu(const std::vector<std::string>& Paths, TPoint At) override;
  void StartDrag(const std::vector<std::string>& Paths) override;

  // The icon list that IconIndex indexes.
  [[nodiscard]] const QIcon& Icon(int Index) const;

private:
  // The type a file's name gives, as the desktop's file managers show it. Looked up once per
  // extension, name and icon included: a search lists thousands of files of a few kinds, and the
  // localized name alone costs more than the row it goes into.
  struct TFileType {
    QMimeType Mime;
    std::string Name;
    int Icon = -1;
  };
  [[nodiscard]] TFileType& TypeOf(const std::string& Path) const;

  QPointer<QWidget> FOwner;
  mutable std::map<std::string, TFileType, std::less<>> FTypeOfSuffix;
  mutable std::vector<QIcon> FIcons;
  mutable std::map<QString, int> FIconOfType;
};

}  // namespace tesvarin::qt
