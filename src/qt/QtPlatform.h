// Qt implementations of the clipboard, message boxes, event pump and cursor table.
#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <string>

#include "platform/Platform.h"

namespace tesvarin::qt {

// Text goes to the desktop clipboard as Unicode; registered formats travel as private MIME types.
class QtClipboard : public IClipboard {
public:
  int RegisterFormat(std::string_view Name) override;
  void Clear() override;
  void SetText(std::string_view Text) override;
  void SetFormatData(int Format, std::string_view Bytes) override;
  [[nodiscard]] bool HasText() const override;
  [[nodiscard]] bool HasFormat(int Format) const override;
  // Raises EConvertError when the clipboard holds text code page 932 cannot represent.
  [[nodiscard]] std::string Text() const override;

private:
  void Publish();
  std::map<int, QString> FMimeTypes;
  std::map<QString, std::string> FPending;  // MIME type -> bytes of the copy being built
  std::string FPendingText;
  bool FHasPendingText = false;
};

class QtDialogs : public IDialogs {
public:
  explicit QtDialogs(QWidget* Parent) : FParent(Parent) {}
  TMsgResult MessageBox(std::string_view Text, std::string_view Caption, TMsgButtons Buttons) override;
  void WarningBox(std::string_view Text, std::string_view Caption) override;
  size_t Ask(const TQuestion& Question) override;

private:
  QPointer<QWidget> FParent;
};

// Long loops call this between tiny steps; pending input is handled when Interval has passed since
// the last time, so a run over many small files spends its time searching, yet Abort and repaints
// are never kept waiting longer than Interval plus one step.
class QtEventPump : public IEventPump {
public:
  static constexpr int DefaultIntervalMs = 10;
  explicit QtEventPump(int IntervalMs = DefaultIntervalMs) : FIntervalMs(IntervalMs) {}
  void ProcessMessages() override;

private:
  int FIntervalMs;
  QElapsedTimer FSinceLast;
};

class QtCursorTable : public ICursorTable {
public:
  explicit QtCursorTable(QWidget* Target = nullptr) : FTarget(Target) {}
  void SetTarget(QWidget* Target) { FTarget = Target; }
  [[nodiscard]] bool IsDefaultCursor(int Slot) const override { return FLoaded.count(Slot) == 0; }
  void LoadCursor(int Slot, std::string_view ResourceName) override;
  void SetCursor(int Slot) override;

private:
  [[nodiscard]] QCursor CursorOf(int Slot) const;
  QPointer<QWidget> FTarget;
  std::map<int, QCursor> FLoaded;
};

}  // namespace tesvarin::qt
