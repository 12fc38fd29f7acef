#include "qt/ViewSettingsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/text/WrapOption.h"
#include "qt/ErrorReport.h"
#include "qt/Fonts.h"
#include "qt/QtCanvas.h"
#include "shell/QtText.h"

namespace tesvarin::qt {

namespace {

constexpr int SwatchSize = 14;

struct TMarkRow {
  const char* Name;  // object name of the check box; the colour button adds "Color"
  const char* Caption;
};

// In TViewMark order.
const TMarkRow MarkRows[ViewMarkCount] = {
    {"RetMark", "改行マーク(&N)"},
    {"EofMark", "[EOF] マーク(&E)"},
    {"TabMark", "タブ(&A)"},
    {"ZenSpace", "全角スペース(&Z)"},
    {"Underline", "カーソル行の下線(&U)"},
};

QString T(const char* Utf8) { return QString::fromUtf8(Utf8); }

QGroupBox* Group(const char* Title, QLayout* Layout) {
  auto* Box = new QGroupBox(T(Title));
  Box->setLayout(Layout);
  return Box;
}

}  // namespace

ViewSettingsDialog::ViewSettingsDialog(TEditor& Editor, TEditorExMarks& ExMarks, std::string UserIniPath,
                                       std::string SharedIniPath, QWidget* Parent)
    : QDialog(Parent),
      FEditor(Editor),
      FExMarks(ExMarks),
      FUserIniPath(std::move(UserIniPath)),
      FSharedIniPath(std::move(SharedIniPath)),
      FBefore(ReadViewSettings(Editor, ExMarks)),
      FCurrent(FBefore) {
  setObjectName(QStringLiteral("ViewSettingsDialog"));
  setWindowTitle(T("表示設定"));
  ChooseColor = [](const QColor& Current, QWidget* Owner) -> std::optional<QColor> {
    QColor C = QColorDialog::getColor(Current, Owner, T("色の選択"));
    return C.isValid() ? std::optional<QColor>(C) : std::nullopt;
  };
  auto* Columns = new QHBoxLayout;
  auto* Left = new QVBoxLayout;
  Left->addWidget(BuildFontGroup());
  Left->addWidget(BuildWrapGroup());
  Left->addStretch(1);
  auto* Right = new QVBoxLayout;
  Right->addWidget(BuildBarsGroup());
  Right->addWidget(BuildMarksGroup());
  Right->addStretch(1);
  Columns->addLayout(Left);
  Columns->addLayout(Right);
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  Buttons->button(QDialogButtonBox::Cancel)->setText(T("キャンセル"));
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* Layout = new QVBoxLayout(this);
  Layout->addLayout(Columns);
  Layout->addWidget(Buttons);
  UpdateEnabling();
}

QCheckBox* ViewSettingsDialog::NewCheck(const char* Name, const QString& Text, bool TEditorViewSettings::*Field) {
  auto* Box = new QCheckBox(Text);
  Box->setObjectName(QString::fromLatin1(Name));
  Box->setChecked(FCurrent.*Field);
  connect(Box, &QCheckBox::toggled, this, [this, Field](bool On) {
    FCurrent.*Field = On;
    Preview();
  });
  return Box;
}

QWidget* ViewSettingsDialog::BuildFontGroup() {
  FFontName = new QFontComboBox;
  FFontName->setObjectName(QStringLiteral("FontName"));
  FFontName->setCurrentFont(QFont(SubstituteFamily(Q(FCurrent.FontName))));
  connect(FFontName, &QFontComboBox::currentFontChanged, this, [this](const QFont& Font) {
    FCurrent.FontName = U(Font.family());
    Preview();
  });
  FFontSize = new QSpinBox;
  FFontSize->setObjectName(QStringLiteral("FontSize"));
  FFontSize->setRange(MinFontSize, MaxFontSize);
  FFontSize->setSuffix(QStringLiteral(" pt"));
  FFontSize->setValue(FCurrent.FontSize);
  connect(FFontSize, &QSpinBox::valueChanged, this, [this](int Size) {
    FCurrent.FontSize = Size;
    Preview();
  });
  auto* Form = new QFormLayout;
  Form->addRow(T("フォント(&F):"), FFontName);
  Form->addRow(T("サイズ(&S):"), FFontSize);
  return Group("フォント", Form);
}

QWidget* ViewSettingsDialog::BuildWrapGroup() {
  FWordWrap = NewCheck("WordWrap", T("右端で折り返す(&W)"), &TEditorViewSettings::WordWrap);
  FWrapByte = new QSpinBox;
  FWrapByte->setObjectName(QStringLiteral("WrapByte"));
  FWrapByte->setRange(TEditorWrapOption::MinWrapByte, TEditorWrapOption::MaxWrapByte);
  FWrapByte->setSuffix(T(" 桁"));
  FWrapByte->setValue(FCurrent.WrapByte);
  connect(FWrapByte, &QSpinBox::valueChanged, this, [this](int Columns) {
    FCurrent.WrapByte = Columns;
    Preview();
  });
  auto* WrapLabel = new QLabel(T("折り返し位置(&C):"));
  WrapLabel->setBuddy(FWrapByte);
  auto* Width = new QHBoxLayout;
  Width->addWidget(WrapLabel);
  Width->addWidget(FWrapByte);
  Width->addStretch(1);
  auto* Layout = new QVBoxLayout;
  Layout->addWidget(FWordWrap);
  Layout->addLayout(Width);
  FWrapOptions = {WrapLabel, FWrapByte,
                  NewCheck("Leading", T("行頭・行末の禁則処理をする(&K)"), &TEditorViewSettings::Leading),
                  NewCheck("FollowPunctuation", T("句読点をぶら下げる(&P)"), &TEditorViewSettings::FollowPunctuation),
                  NewCheck("WordBreak", T("単語の途中で折り返さない(&B)"), &TEditorViewSettings::WordBreak)};
  for (size_t I = 2; I < FWrapOptions.size(); ++I) Layout->addWidget(FWrapOptions[I]);
  return Group("折り返し", Layout);
}

QWidget* ViewSettingsDialog::BuildBarsGroup() {
  FShowLeftBar = NewCheck("ShowLeftBar", T("行番号を表示する(&L)"), &TEditorViewSettings::ShowLeftBar);
  FLeftBarMode = new QComboBox;
  FLeftBarMode->setObjectName(QStringLiteral("LeftBarMode"));
  FLeftBarMode->addItems({T("表示行ごとに数える"), T("改行ごとに数える")});
  FLeftBarMode->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  FLeftBarMode->setCurrentIndex(FCurrent.LeftBarByRow ? 0 : 1);
  connect(FLeftBarMode, &QComboBox::currentIndexChanged, this, [this](int Index) {
    FCurrent.LeftBarByRow = Index == 0;
    Preview();
  });
  FTabSpaceCount = new QComboBox;
  FTabSpaceCount->setObjectName(QStringLiteral("TabSpaceCount"));
  for (int Tab = 2; Tab <= 8; Tab += 2) FTabSpaceCount->addItem(QString::number(Tab), Tab);
  FTabSpaceCount->setCurrentIndex(FTabSpaceCount->findData(FCurrent.TabSpaceCount));
  connect(FTabSpaceCount, &QComboBox::currentIndexChanged, this, [this](int Index) {
    FCurrent.TabSpaceCount = FTabSpaceCount->itemData(Index).toInt();
    Preview();
  });
  auto* Layout = new QFormLayout;
  Layout->addRow(FShowLeftBar);
  Layout->addRow(T("行番号の数え方:"), FLeftBarMode);
  Layout->addRow(NewCheck("ShowRuler", T("ルーラーを表示する(&R)"), &TEditorViewSettings::ShowRuler));
  Layout->addRow(NewCheck("ShowImageBar", T("行マーク欄を表示する(&I)"), &TEditorViewSettings::ShowImageBar));
  Layout->addRow(T("タブ幅(&T):"), FTabSpaceCount);
  return Group("表示", Layout);
}

QWidget* ViewSettingsDialog::BuildMarksGroup() {
  auto* Grid = new QGridLayout;
  for (int I = 0; I < ViewMarkCount; ++I) {
    const auto Mark = static_cast<TViewMark>(I);
    const size_t At = static_cast<size_t>(I);
    auto* Visible = new QCheckBox(T(MarkRows[I].Caption));
    Visible->setObjectName(QString::fromLatin1(MarkRows[I].Name));
    Visible->setChecked(FCurrent.Marks[At].Visible);
    connect(Visible, &QCheckBox::toggled, this, [this, At](bool On) {
      FCurrent.Marks[At].Visible = On;
      Preview();
    });
    auto* Color = new QPushButton(T("色..."));
    Color->setObjectName(QString::fromLatin1(MarkRows[I].Name) + QStringLiteral("Color"));
    connect(Color, &QPushButton::clicked, this, [this, Mark] { PickMarkColor(Mark); });
    FMarkVisible[At] = Visible;
    FMarkColor[At] = Color;
    Grid->addWidget(Visible, I, 0);
    Grid->addWidget(Color, I, 1);
    ShowMarkColor(Mark);
  }
  return Group("マーク", Grid);
}

void ViewSettingsDialog::ShowMarkColor(TViewMark Mark) {
  QPixmap Swatch(SwatchSize, SwatchSize);
  Swatch.fill(ToQColor(FCurrent.Marks[Mark].Color, palette()));
  // Framed, so a colour close to the button's own still shows where it is.
  QPainter Frame(&Swatch);
  Frame.setPen(palette().color(QPalette::WindowText));
  Frame.drawRect(0, 0, SwatchSize - 1, SwatchSize - 1);
  Frame.end();
  FMarkColor[Mark]->setIcon(QIcon(Swatch));
}

void ViewSettingsDialog::PickMarkColor(TViewMark Mark) {
  std::optional<QColor> Chosen = ChooseColor(ToQColor(FCurrent.Marks[Mark].Color, palette()), this);
  if (!Chosen) return;
  FCurrent.Marks[Mark].Color = RGBColor(Chosen->red(), Chosen->green(), Chosen->blue());
  ShowMarkColor(Mark);
  Preview();
}

void ViewSettingsDialog::UpdateEnabling() {
  for (QWidget* W : FWrapOptions) W->setEnabled(FCurrent.WordWrap);
  FLeftBarMode->setEnabled(FCurrent.ShowLeftBar);
}

void ViewSettingsDialog::Preview() {
  UpdateEnabling();
  Guarded([this] { ApplyViewSettings(FCurrent, FEditor, FExMarks); });
}

// At the window's top right, the editor's left part (numbers, marks, the start of the rows) stays in
// sight for the preview.
void ViewSettingsDialog::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  if (Event->spontaneous() || parentWidget() == nullptr) return;
  const QRect Owner = parentWidget()->window()->frameGeometry();
  move(std::max(Owner.left(), Owner.right() - frameGeometry().width()), Owner.top());
}

void ViewSettingsDialog::done(int Result) {
  if (Result == QDialog::Accepted) {
    bool Saved = false;
    Guarded([this, &Saved] {
      SaveUserViewSettings(FUserIniPath, FSharedIniPath, FBefore, FCurrent);
      Saved = true;
    });
    // The view stays as previewed and the dialog open, so the user can retry or cancel.
    if (!Saved) return;
  } else {
    Guarded([this] { ApplyViewSettings(FBefore, FEditor, FExMarks); });
  }
  QDialog::done(Result);
}

}  // namespace tesvarin::qt
