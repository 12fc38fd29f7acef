#include "qt/ListViewAdapter.h"

#include "shell/QtText.h"

namespace tesvarin::qt {

ListViewAdapter::ListViewAdapter(TListViewModel& Model, QObject* Parent)
    : QAbstractTableModel(Parent), FModel(Model), FShownVersion(Model.RowsVersion()), FShownCount(Model.Count()) {}

int ListViewAdapter::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : FShownCount; }

int ListViewAdapter::columnCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(FModel.Columns().size());
}

QVariant ListViewAdapter::data(const QModelIndex& Index, int Role) const {
  if (!Index.isValid() || Index.row() >= FModel.Count()) return {};
  const TListItem& Row = FModel.Item(Index.row());
  const int Column = Index.column();
  switch (Role) {
    case Qt::DisplayRole: {
      if (Column == 0) return Q(Row.Caption);
      size_t Sub = static_cast<size_t>(Column - 1);
      return Sub < Row.SubItems.size() ? Q(Row.SubItems[Sub]) : QString();
    }
    case Qt::DecorationRole:
      if (Column == 0 && FIcons && Row.ImageIndex >= 0) return FIcons(Row.ImageIndex);
      return {};
    case Qt::TextAlignmentRole:
      return headerData(Column, Qt::Horizontal, Role);
    default:
      return {};
  }
}

QVariant ListViewAdapter::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Orientation != Qt::Horizontal || Section < 0 || Section >= columnCount()) return {};
  const TListColumn& C = FModel.Columns()[static_cast<size_t>(Section)];
  if (Role == Qt::DisplayRole) return Q(C.Caption);
  if (Role == Qt::TextAlignmentRole) {
    Qt::Alignment A = (C.Alignment == taRightJustify ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    return QVariant::fromValue(A);
  }
  return {};
}

void ListViewAdapter::SetIconSource(std::function<QIcon(int ImageIndex)> Source) {
  FIcons = std::move(Source);
  if (FShownCount > 0) emit dataChanged(index(0, 0), index(FShownCount - 1, 0), {Qt::DecorationRole});
}

bool ListViewAdapter::SyncRows() {
  if (FModel.UpdateCount() > 0) return false;
  if (FShownVersion == FModel.RowsVersion()) return false;
  beginResetModel();
  FShownVersion = FModel.RowsVersion();
  FShownCount = FModel.Count();
  endResetModel();
  return true;
}

}  // namespace tesvarin::qt
