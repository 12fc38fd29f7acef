#include "shell/QtShellServices.h"
#include "qt/QtText.h"

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

const QMimeType& QtShellServices::TypeOf(const std::string& Path) const {
  QString Name = QFileInfo(Q(Path)).fileName();
  qsizetype Dot = Name.lastIndexOf(QLatin1Char('.'));
  QString Suffix = Dot < 0 ? QString() : Name.mid(Dot).toLower();
  auto It = FTypeOfSuffix.find(Suffix);
  if (It == FTypeOfSuffix.end()) {
    QMimeDatabase Db;
    It = FTypeOfSuffix.emplace(Suffix, Db.mimeTypeForFile(Name, QMimeDatabase::MatchExtension)).first;
  }
  return It->second;
}

std::string QtShellServices::TypeName(const std::string& Path) const { return TypeOf(Path).comment().toUtf8().toStdString(); }

int QtShellServices::IconIndex(const std::string& Path) const {
  QString Type = TypeOf(Path).name();
  auto It = FIconOfType.find(Type);
  if (It != FIconOfType.end()) return It->second;
  QFileIconProvider Provider;
  FIcons.push_back(Provider.icon(QFileInfo(Q(Path))));
  int Index = static_cast<int>(FIcons.size()) - 1;
  FIconOfType.emplace(Type, Index);
  return Index;
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
