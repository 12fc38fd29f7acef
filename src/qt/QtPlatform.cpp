#include "qt/QtPlatform.h"
#include "shell/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <cctype>
#include <vector>

#include "support/SjisCodec.h"

namespace tesvarin::qt {

namespace {

QString MimeTypeFor(std::string_view Name) {
  QString Type = QStringLiteral("application/x-tesvarin-");
  for (char C : Name) Type += (std::isalnum(static_cast<unsigned char>(C)) ? QChar::fromLatin1(C) : QChar('-'));
  return Type.toLower();
}

// The editor's own text as code page 932 bytes, so text copied from an editor pastes into one
// byte for byte, even bytes that have no Unicode form.
QString Cp932TextType() { return QStringLiteral("application/x-tesvarin-cp932-text"); }

// An arrow that points up and to the right, for selecting rows in the left margin.
QCursor RightArrowCursor() {
  QPixmap Pix(16, 16);
  Pix.fill(Qt::transparent);
  QPainter P(&Pix);
  QPolygon Arrow({QPoint(15, 0), QPoint(15, 11), QPoint(11, 8), QPoint(7, 13), QPoint(5, 11), QPoint(9, 6),
                  QPoint(5, 3)});
  P.setPen(Qt::black);
  P.setBrush(Qt::white);
  P.drawPolygon(Arrow);
  return QCursor(Pix, 15, 0);
}

}  // namespace

int QtClipboard::RegisterFormat(std::string_view Name) {
  QString Type = MimeTypeFor(Name);
  for (const auto& [Id, T] : FMimeTypes) {
    if (T == Type) return Id;
  }
  int Id = 0xC000 + static_cast<int>(FMimeTypes.size());
  FMimeTypes.emplace(Id, Type);
  return Id;
}

void QtClipboard::Clear() {
  FPending.clear();
  FPendingText.clear();
  FHasPendingText = false;
  QApplication::clipboard()->clear();
}

void QtClipboard::SetText(std::string_view Text) {
  FPendingText = std::string(Text);
  FHasPendingText = true;
  Publish();
}

void QtClipboard::SetFormatData(int Format, std::string_view Bytes) {
  auto It = FMimeTypes.find(Format);
  if (It == FMimeTypes.end()) return;
  FPending[It->second] = std::string(Bytes);
  Publish();
}

void QtClipboard::Publish() {
  auto* Data = new QMimeData;
  if (FHasPendingText) {
    Data->setText(Q(Cp932ToUtf8Lossy(FPendingText)));
    Data->setData(Cp932TextType(), QByteArray(FPendingText.data(), static_cast<qsizetype>(FPendingText.size())));
  }
  for (const auto& [Type, Bytes] : FPending) {
    Data->setData(Type, QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
  }
  QApplication::clipboard()->setMimeData(Data);
}

bool QtClipboard::HasText() const {
  const QMimeData* Data = QApplication::clipboard()->mimeData();
  return Data != nullptr && Data->hasText();
}

bool QtClipboard::HasFormat(int Format) const {
  auto It = FMimeTypes.find(Format);
  const QMimeData* Data = QApplication::clipboard()->mimeData();
  return It != FMimeTypes.end() && Data != nullptr && Data->hasFormat(It->second);
}

std::string QtClipboard::Text() const {
  const QMimeData* Data = QApplication::clipboard()->mimeData();
  if (Data != nullptr && Data->hasFormat(Cp932TextType())) return Data->data(Cp932TextType()).toStdString();
  return Utf8ToCp932(QApplication::clipboard()->text().toUtf8().toStdString());
}

TMsgResult QtDialogs::MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) {
  QMessageBox::StandardButtons Set = QMessageBox::Ok;
  QMessageBox::Icon Icon = QMessageBox::Information;
  if (Buttons == mbYesNo) Set = QMessageBox::Yes | QMessageBox::No;
  if (Buttons == mbYesNoCancel) Set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  if (Buttons != mbOK) Icon = QMessageBox::Question;
  QMessageBox Box(Icon, Q(Caption), Q(Text), Set, FParent);
  switch (Box.exec()) {
    case QMessageBox::Yes: return idYes;
    case QMessageBox::No: return idNo;
    case QMessageBox::Cancel: return idCancel;
    default: return Buttons == mbOK ? idOK : idCancel;
  }
}

void QtDialogs::WarningBox(std::string_view Text, std::string_view Caption) {
  QMessageBox Box(QMessageBox::Warning, Q(Caption), Q(Text), QMessageBox::Ok, FParent);
  Box.exec();
}

size_t QtDialogs::Ask(const TQuestion& Question) {
  QMessageBox Box(QMessageBox::Question, Q(Question.Caption), Q(Question.Text), QMessageBox::NoButton, FParent);
  std::vector<QPushButton*> Buttons;
  for (size_t I = 0; I < Question.Buttons.size(); ++I) {
    Buttons.push_back(Box.addButton(Q(Question.Buttons[I]), I == Question.Escape ? QMessageBox::RejectRole
                                                                                  : QMessageBox::AcceptRole));
  }
  if (Question.Default < Buttons.size()) Box.setDefaultButton(Buttons[Question.Default]);
  if (Question.Escape < Buttons.size()) Box.setEscapeButton(Buttons[Question.Escape]);
  Box.exec();
  for (size_t I = 0; I < Buttons.size(); ++I) {
    if (Box.clickedButton() == Buttons[I]) return I;
  }
  return Question.Escape;
}

void QtEventPump::ProcessMessages() {
  if (FSinceLast.isValid() && FSinceLast.elapsed() < FIntervalMs) return;
  QCoreApplication::processEvents();
  FSinceLast.start();
}

void QtCursorTable::LoadCursor(int Slot, std::string_view ResourceName) {
  if (ResourceName == "RightArrow") {
    FLoaded[Slot] = RightArrowCursor();
  } else if (ResourceName == "DragSelCopy") {
    FLoaded[Slot] = QCursor(Qt::DragCopyCursor);
  } else {
    FLoaded[Slot] = QCursor(Qt::ArrowCursor);
  }
}

QCursor QtCursorTable::CursorOf(int Slot) const {
  auto It = FLoaded.find(Slot);
  if (It != FLoaded.end()) return It->second;
  switch (Slot) {
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    case crNoDrop: return QCursor(Qt::ForbiddenCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}

void QtCursorTable::SetCursor(int Slot) {
  if (FTarget) FTarget->setCursor(CursorOf(Slot));
}

}  // namespace tesvarin::qt
