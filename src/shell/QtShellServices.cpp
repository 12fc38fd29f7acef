#include "shell/QtShellServices.h"
#include "shell/QtText.h"
#include "app/ResultRow.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDrag>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>

namespace tesvarin::qt {

namespace {

QList<QUrl> UrlsOf(const std::vector<std::string>& Paths) {
  QList<QUrl> Urls;
  for (const std::string& P : Paths) Urls << QUrl::fromLocalFile(Q(P));
  return Urls;
}

}  // namespace

QtShellServices::TFileType& QtShellServices::TypeOf(const std::string& Path) const {
  const size_t Slash = Path.rfind('/');
  const std::string_view Name = std::string_view(Path).substr(Slash == std::string::npos ? 0 : Slash + 1);
  const std::string Suffix = LowerExtension(Name);
  auto It = FTypeOfSuffix.find(Suffix);
  if (It == FTypeOfSuffix.end()) {
    QMimeDatabase Db;
    QMimeType Mime = Db.mimeTypeForFile(Q(std::string(Name)), QMimeDatabase::MatchExtension);
    std::string Comment = Mime.comment().toUtf8().toStdString();
    It = FTypeOfSuffix.emplace(Suffix, TFileType{std::move(Mime), std::move(Comment)}).first;
  }
  return It->second;
}

std::string QtShellServices::TypeName(const std::string& Path) const { return TypeOf(Path).Name; }

int QtShellServices::IconIndex(const std::string& Path) const {
  TFileType& Type = TypeOf(Path);
  if (Type.Icon >= 0) return Type.Icon;
  const QString MimeName = Type.Mime.name();
  auto It = FIconOfType.find(MimeName);
  if (It == FIconOfType.end()) {
    QFileIconProvider Provider;
    FIcons.push_back(Provider.icon(QFileInfo(Q(Path))));
    It = FIconOfType.emplace(MimeName, static_cast<int>(FIcons.size()) - 1).first;
  }
  Type.Icon = It->second;
  return Type.Icon;
}

const QIcon& QtShellServices::Icon(int Index) const {
  static const QIcon None;
  if (Index < 0 || Index >= static_cast<int>(FIcons.size())) return None;
  return FIcons[static_cast<size_t>(Index)];
}

bool QtShellServices::StartFile(const std::string& Path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(Path)));
}

std::optional<std::string> QtShellServices::BrowseFolder(std::string_view Caption, const std::string& Initial) {
  QString Folder = QFileDialog::getExistingDirectory(FOwner, Q(Caption), Q(Initial));
  if (Folder.isEmpty()) return std::nullopt;
  return Folder.toUtf8().toStdString();
}

void QtShellServices::ContextMenu(const std::vector<std::string>& Paths, TPoint At) {
  if (Paths.empty()) return;
  QMenu Menu(FOwner);
  QAction* Open = Menu.addAction(QStringLiteral("開く(&O)"));
  QAction* OpenFolder = Menu.addAction(QStringLiteral("フォルダを開く(&F)"));
  QAction* CopyPath = Menu.addAction(QStringLiteral("パスをコピー(&C)"));
  Menu.addSeparator();
  QAction* Trash = Menu.addAction(QStringLiteral("ごみ箱へ移動(&D)"));
  QPoint Global = FOwner ? FOwner->mapToGlobal(QPoint(At.X, At.Y)) : QPoint(At.X, At.Y);
  QAction* Chosen = Menu.exec(Global);
  if (Chosen == nullptr) return;
  QStringList Names;
  for (const std::string& P : Paths) Names << Q(P);
  if (Chosen == Open) {
    for (const QString& N : Names) QDesktopServices::openUrl(QUrl::fromLocalFile(N));
  } else if (Chosen == OpenFolder) {
    for (const QString& N : Names) QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(N).absolutePath()));
  } else if (Chosen == CopyPath) {
    QApplication::clipboard()->setText(Names.join('\n'));
  } else if (Chosen == Trash) {
    for (const QString& N : Names) QFile::moveToTrash(N);
  }
}

void QtShellServices::StartDrag(const std::vector<std::string>& Paths) {
  if (Paths.empty() || !FOwner) return;
  auto* Drag = new QDrag(FOwner);
  auto* Data = new QMimeData;
  Data->setUrls(UrlsOf(Paths));
  Drag->setMimeData(Data);
  Drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
}

}  // namespace tesvarin::qt
