#include "qt/ReplacePreviewDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include "shell/QtText.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"

namespace tesvarin::qt {

namespace {

// A file's row has no parent; a hit's row keeps its file's number + 1 in the internal id.
constexpr quintptr FileRow = 0;
// Bytes shown before and after a hit in a long line: the hit stays in view at the cell's left.
constexpr size_t ContextBefore = 40, ContextAfter = 200;

// Line breaks inside a hit that spans lines are shown, not obeyed.
QString Shown(std::string_view Sjis) {
  QString S = Q(Cp932ToUtf8Lossy(Sjis));
  S.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
  S.replace(QLatin1Char('\r'), QStringLiteral("↵"));
  S.replace(QLatin1Char('\n'), QStringLiteral("↵"));
  S.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return S;
}

// Before the hit, the hit (Old or New), after it; a long line is cut to the hit's surroundings.
QStringList Pieces(const TPlannedHit& H, bool After) {
  const std::string_view Line = H.LineText;
  const size_t Start = std::min<size_t>(H.Offset - H.LineStart, Line.size());
  const size_t End = std::min(Start + H.Old.size(), Line.size());
  size_t From = Start > ContextBefore ? Start - ContextBefore : 0;
  while (!IsCharStartFrom(Line, 0, From)) ++From;
  size_t To = std::min(End + ContextAfter, Line.size());
  if (!IsCharStartFrom(Line, End, To)) ++To;
  QString Head = Shown(Line.substr(From, Start - From));
  QString Tail = Shown(Line.substr(End, To - End));
  if (From > 0) Head.prepend(QStringLiteral("…"));
  if (To < Line.size()) Tail.append(QStringLiteral("…"));
  return {Head, Shown(After ? std::string_view(H.New) : std::string_view(H.Old)), Tail};
}

// Draws a line cell with its hit on the highlight colour, the rest as the view draws text.
class HitDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    const QStringList Parts = Index.data(ReplacePreviewModel::PiecesRole).toStringList();
    if (Parts.size() != 3) {
      QStyledItemDelegate::paint(Painter, Option, Index);
      return;
    }
    QStyleOptionViewItem O = Option;
    initStyleOption(&O, Index);
    O.text.clear();
    O.widget->style()->drawControl(QStyle::CE_ItemViewItem, &O, Painter, O.widget);
    const bool Selected = (O.state & QStyle::State_Selected) != 0;
    // A hit left out changes nothing: its line is shown plain and dimmed on both sides.
    const QModelIndex Box = Index.siblingAtColumn(ReplacePreviewModel::NameColumn);
    const bool Ticked = Box.data(Qt::CheckStateRole).toInt() != Qt::Unchecked;
    const QPalette::ColorRole Role =
        Selected ? QPalette::HighlightedText : Ticked ? QPalette::Text : QPalette::PlaceholderText;
    const QColor Text = O.palette.color(Role);
    QRect R = O.rect.adjusted(3, 0, -3, 0);
    const QFontMetrics M(O.font);
    Painter->save();
    Painter->setClipRect(O.rect);
    Painter->setFont(O.font);
    for (int I = 0; I < 3 && R.width() > 0; ++I) {
      const int W = M.horizontalAdvance(Parts[I]);
      if (I == 1 && Ticked) {
        const bool Removed = Index.column() == ReplacePreviewModel::BeforeColumn;
        // The old text on a red tint, the new one on green: which side is which shows at a glance.
        Painter->fillRect(QRect(R.left(), R.top() + 1, std::max(W, 2), R.height() - 2),
                          Removed ? QColor(255, 200, 200) : QColor(190, 240, 190));
        Painter->setPen(QColor(Qt::black));
      } else {
        Painter->setPen(Text);
      }
      Painter->drawText(R, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Parts[I]);
      R.setLeft(R.left() + W);
    }
    Painter->restore();
  }
};

}  // namespace

ReplacePreviewModel::ReplacePreviewModel(std::vector<TPlannedFile>& Files, QObject* Parent)
    : QAbstractItemModel(Parent), FFiles(Files) {
  FTicked.reserve(Files.size());
  for (const TPlannedFile& F : Files) {
    FTicked.push_back(F.Plan.TickedCount());
    FTickedHits += FTicked.back();
  }
}

QModelIndex ReplacePreviewModel::index(int Row, int Column, const QModelIndex& Parent) const {
  if (Row < 0 || Column < 0 || Column >= ColumnCount) return {};
  if (!Parent.isValid()) {
    return static_cast<size_t>(Row) < FFiles.size() ? createIndex(Row, Column, FileRow) : QModelIndex();
  }
  if (Parent.internalId() != FileRow) return {};
  const auto File = static_cast<size_t>(Parent.row());
  if (static_cast<size_t>(Row) >= FFiles[File].Plan.Hits.size()) return {};
  return createIndex(Row, Column, static_cast<quintptr>(File + 1));
}

QModelIndex ReplacePreviewModel::parent(const QModelIndex& Child) const {
  if (!Child.isValid() || Child.internalId() == FileRow) return {};
  return createIndex(static_cast<int>(Child.internalId() - 1), 0, FileRow);
}

int ReplacePreviewModel::rowCount(const QModelIndex& Parent) const {
  if (!Parent.isValid()) return static_cast<int>(FFiles.size());
  if (Parent.internalId() != FileRow || Parent.column() != 0) return 0;
  return static_cast<int>(FFiles[static_cast<size_t>(Parent.row())].Plan.Hits.size());
}

int ReplacePreviewModel::columnCount(const QModelIndex&) const { return ColumnCount; }

const TPlannedFile* ReplacePreviewModel::FileAt(const QModelIndex& Index) const {
  if (!Index.isValid()) return nullptr;
  const size_t File = Index.internalId() == FileRow ? static_cast<size_t>(Index.row()) : Index.internalId() - 1;
  return File < FFiles.size() ? &FFiles[File] : nullptr;
}

const TPlannedHit* ReplacePreviewModel::HitAt(const QModelIndex& Index) const {
  if (!Index.isValid() || Index.internalId() == FileRow) return nullptr;
  return &FileAt(Index)->Plan.Hits[static_cast<size_t>(Index.row())];
}

size_t ReplacePreviewModel::TickedFiles() const {
  return static_cast<size_t>(std::count_if(FTicked.begin(), FTicked.end(), [](size_t N) { return N > 0; }));
}

Qt::CheckState ReplacePreviewModel::FileState(size_t File) const {
  if (FTicked[File] == 0) return Qt::Unchecked;
  return FTicked[File] == FFiles[File].Plan.Hits.size() ? Qt::Checked : Qt::PartiallyChecked;
}

QVariant ReplacePreviewModel::data(const QModelIndex& Index, int Role) const {
  const TPlannedFile* F = FileAt(Index);
  if (!F) return {};
  const TPlannedHit* H = HitAt(Index);
  const int Column = Index.column();
  if (Role == Qt::CheckStateRole && Column == NameColumn) {
    return H ? (H->Ticked ? Qt::Checked : Qt::Unchecked) : FileState(static_cast<size_t>(Index.row()));
  }
  if (!H) {
    if (Role == Qt::DisplayRole && Column == NameColumn) {
      return Q(F->Path) + QStringLiteral("  (") + QString::number(F->Plan.Hits.size()) + QStringLiteral(" 件)");
    }
    if (Role == Qt::ToolTipRole) return Q(F->Path);
    return {};
  }
  if (Column == NameColumn) {
    if (Role == Qt::DisplayRole) return QString::number(H->Line) + QStringLiteral(" 行");
    if (Role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
  }
  const bool After = Column == AfterColumn && H->Ticked;
  if (Role == PiecesRole) return Pieces(*H, After);
  if (Role == Qt::DisplayRole || Role == Qt::ToolTipRole) return Pieces(*H, After).join(QString());
  return {};
}

void ReplacePreviewModel::SetHit(size_t File, size_t Hit, bool Ticked) {
  TPlannedHit& H = FFiles[File].Plan.Hits[Hit];
  if (H.Ticked == Ticked) return;
  H.Ticked = Ticked;
  if (Ticked) {
    ++FTicked[File];
    ++FTickedHits;
  } else {
    --FTicked[File];
    --FTickedHits;
  }
}

bool ReplacePreviewModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
  if (Role != Qt::CheckStateRole || Index.column() != NameColumn || !FileAt(Index)) return false;
  const bool Ticked = Value.toInt() != Qt::Unchecked;
  if (Index.internalId() == FileRow) {
    const auto File = static_cast<size_t>(Index.row());
    const size_t Hits = FFiles[File].Plan.Hits.size();
    for (size_t I = 0; I < Hits; ++I) SetHit(File, I, Ticked);
    emit dataChanged(Index, Index, {Qt::CheckStateRole});
    if (Hits > 0) {
      emit dataChanged(index(0, NameColumn, Index), index(static_cast<int>(Hits) - 1, AfterColumn, Index));
    }
  } else {
    const size_t File = Index.internalId() - 1;
    SetHit(File, static_cast<size_t>(Index.row()), Ticked);
    emit dataChanged(Index, Index.siblingAtColumn(AfterColumn));
    const QModelIndex Parent = parent(Index);
    emit dataChanged(Parent, Parent, {Qt::CheckStateRole});
  }
  emit TicksChanged();
  return true;
}

Qt::ItemFlags ReplacePreviewModel::flags(const QModelIndex& Index) const {
  if (!Index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (Index.column() == NameColumn) Flags |= Qt::ItemIsUserCheckable;
  return Flags;
}

QVariant ReplacePreviewModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
  switch (Section) {
    case NameColumn: return QStringLiteral("ファイル / 行");
    case BeforeColumn: return QStringLiteral("置換前");
    case AfterColumn: return QStringLiteral("置換後");
    default: return {};
  }
}

ReplacePreviewDialog::ReplacePreviewDialog(std::vector<TPlannedFile>& Files, QWidget* Parent)
    : QDialog(Parent), FModel(new ReplacePreviewModel(Files, this)), FView(new QTreeView), FCounts(new QLabel) {
  setObjectName(QStringLiteral("ReplacePreviewDialog"));
  setWindowTitle(QStringLiteral("置換のプレビュー"));
  FView->setObjectName(QStringLiteral("PreviewTree"));
  FView->setModel(FModel);
  // Every row one line high: the view lays out tens of thousands of them without measuring each.
  FView->setUniformRowHeights(true);
  FView->setItemDelegate(new HitDelegate(FView));
  FView->setSelectionBehavior(QAbstractItemView::SelectRows);
  FView->setAllColumnsShowFocus(true);
  FView->setTextElideMode(Qt::ElideNone);
  FView->header()->setStretchLastSection(true);
  FView->header()->resizeSection(ReplacePreviewModel::NameColumn, 260);
  FView->header()->resizeSection(ReplacePreviewModel::BeforeColumn, 330);
  FView->expandAll();
  connect(FView, &QTreeView::activated, this, &ReplacePreviewDialog::Open);
  connect(FModel, &ReplacePreviewModel::TicksChanged, this, &ReplacePreviewDialog::ShowCounts);

  auto* Buttons = new QDialogButtonBox;
  FReplace = Buttons->addButton(QStringLiteral("置換"), QDialogButtonBox::AcceptRole);
  FReplace->setObjectName(QStringLiteral("PreviewReplace"));
  QPushButton* Cancel = Buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  Cancel->setObjectName(QStringLiteral("PreviewCancel"));
  Cancel->setDefault(true);  // Enter on a hit opens it; a stray Enter elsewhere must not replace
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  FCounts->setObjectName(QStringLiteral("PreviewCounts"));
  auto* Layout = new QVBoxLayout(this);
  Layout->addWidget(FCounts);
  Layout->addWidget(FView, 1);
  Layout->addWidget(Buttons);
  resize(1000, 600);
  ShowCounts();
}

void ReplacePreviewDialog::ShowCounts() {
  FCounts->setText(QString::number(FModel->TickedFiles()) + QStringLiteral(" 個のファイルの ") +
                   QString::number(FModel->TickedHits()) +
                   QStringLiteral(" 個の置換 (チェックを外した箇所は置換しません)"));
  FReplace->setEnabled(FModel->TickedHits() > 0);
}

void ReplacePreviewDialog::Open(const QModelIndex& Index) {
  const TPlannedHit* H = FModel->HitAt(Index);
  if (H && OpenHit) OpenHit(*FModel->FileAt(Index), *H);
}

}  // namespace tesvarin::qt
