// Shows a list model's rows in a Qt item view without copying them: the view asks for the cells it
// draws, so a sort or a new run over many rows costs one reset, not a widget per row.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <cstdint>
#include <functional>

#include "app/Controls.h"

namespace tesvarin::qt {

class ListViewAdapter : public QAbstractTableModel {
  Q_OBJECT

public:
  ListViewAdapter(TListViewModel& Model, QObject* Parent);

  [[nodiscard]] int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
  [[nodiscard]] int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
  [[nodiscard]] QVariant headerData(int Section, Qt::Orientation Orientation,
                                    int Role = Qt::DisplayRole) const override;

  // The icon of a row's image index; rows show none until this is set.
  void SetIconSource(std::function<QIcon(int ImageIndex)> Source);
  // Resets the rows when they changed since the last call; true when it did.
  bool SyncRows();

private:
  TListViewModel& FModel;
  std::function<QIcon(int)> FIcons;
  uint64_t FShownVersion = 0;
  int FShownCount = 0;
};

}  // namespace tesvarin::qt
