// The preview of a replace in the listed files: each file with its hit count and, under it, each
// hit's line before and after with the hit marked, all ticked. "置換" replaces the ticked hits only,
// "キャンセル" changes nothing. The rows are made as they come into view, so thousands of files and
// tens of thousands of hits open at once.
#pragma once

#include <QAbstractItemModel>
#include <QDialog>

#include <functional>
#include <vector>

#include "app/ReplacePlan.h"

class QLabel;
class QTreeView;

namespace tesvarin::qt {

// Files at the top level, their hits under them; column 0 holds the tick boxes.
class ReplacePreviewModel : public QAbstractItemModel {
  Q_OBJECT

public:
  enum Column : int { NameColumn, BeforeColumn, AfterColumn, ColumnCount };
  // The text of a line cell in three pieces, before the hit, the hit, after it (a QStringList).
  static constexpr int PiecesRole = Qt::UserRole + 1;

  explicit ReplacePreviewModel(std::vector<TPlannedFile>& Files, QObject* Parent = nullptr);

  [[nodiscard]] QModelIndex index(int Row, int Column, const QModelIndex& Parent = {}) const override;
  [[nodiscard]] QModelIndex parent(const QModelIndex& Child) const override;
  [[nodiscard]] int rowCount(const QModelIndex& Parent = {}) const override;
  [[nodiscard]] int columnCount(const QModelIndex& Parent = {}) const override;
  [[nodiscard]] QVariant data(const QModelIndex& Index, int Role) const override;
  bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& Index) const override;
  [[nodiscard]] QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

  // The file and the hit (null for a file's row) an index stands for.
  [[nodiscard]] const TPlannedFile* FileAt(const QModelIndex& Index) const;
  [[nodiscard]] const TPlannedHit* HitAt(const QModelIndex& Index) const;
  [[nodiscard]] size_t TickedFiles() const;
  [[nodiscard]] size_t TickedHits() const { return FTickedHits; }

signals:
  void TicksChanged();

private:
  [[nodiscard]] Qt::CheckState FileState(size_t File) const;
  void SetHit(size_t File, size_t Hit, bool Ticked);

  std::vector<TPlannedFile>& FFiles;
  std::vector<size_t> FTicked;  // ticked hits per file
  size_t FTickedHits = 0;
};

class ReplacePreviewDialog : public QDialog {
  Q_OBJECT

public:
  explicit ReplacePreviewDialog(std::vector<TPlannedFile>& Files, QWidget* Parent = nullptr);

  // A hit opened (double-clicked, or Enter on it): shown in the main editor.
  std::function<void(const TPlannedFile& File, const TPlannedHit& Hit)> OpenHit;

  [[nodiscard]] QTreeView* View() const { return FView; }
  [[nodiscard]] ReplacePreviewModel* Model() const { return FModel; }

private:
  void ShowCounts();
  void Open(const QModelIndex& Index);

  ReplacePreviewModel* FModel;
  QTreeView* FView;
  QLabel* FCounts;
  QPushButton* FReplace;
};

}  // namespace tesvarin::qt
