// The editor control in a Qt window: turns Qt's paint, key, input-method, mouse, wheel and scroll-bar
// events into calls on one TEditor, and gives the editor the window services it asks for (caret,
// scroll bars, scrolling pixels, the input method's position, the context menu). Every rule of caret,
// selection, editing and painting stays in the editor.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QRect>
#include <QRegion>
#include <QString>

#include <map>
#include <memory>
#include <vector>

#include "platform/Platform.h"

class QAction;
class QMenu;
class QScrollBar;

namespace tesvarin {
class TEditor;
class TEditorMessages;
struct TEditorMenuItem;
}  // namespace tesvarin

namespace tesvarin::qt {

class GlyphCache;

class EditorWidget : public QAbstractScrollArea, public IEditorWindow {
  Q_OBJECT

public:
  explicit EditorWidget(QWidget* Parent = nullptr);
  ~EditorWidget() override;
  EditorWidget(const EditorWidget&) = delete;
  EditorWidget& operator=(const EditorWidget&) = delete;

  // Attaches an editor built with this widget as its window; null detaches. The widget does not own
  // the editor: the owner detaches it (or destroys the widget) before destroying it.
  void SetEditor(TEditor* Editor);
  [[nodiscard]] TEditor* Editor() const { return FEditor; }
  // The edit-control messages of the attached editor, for clients written for a plain edit control;
  // null without an editor.
  [[nodiscard]] TEditorMessages* Messages() const { return FMessages.get(); }

  // Where the widget draws the caret now; empty while it is hidden.
  [[nodiscard]] QRect CaretRect() const;
  // The preedit text the input method is composing, shown at the caret.
  [[nodiscard]] const QString& Preedit() const { return FPreedit; }

  [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;

  // ---- IEditorWindow
  [[nodiscard]] int ClientWidth() const override;
  [[nodiscard]] int ClientHeight() const override;
  [[nodiscard]] bool Focused() const override;
  void SetFocus() override;
  [[nodiscard]] TTextMetrics FontMetrics(const TFontSpec& Font) const override;
  [[nodiscard]] int HorzScrollBarHeight() const override;
  [[nodiscard]] int VertScrollArrowHeight() const override;
  void Invalidate(const TRect& Area) override;
  void Update() override;
  void ScrollArea(const TRect& Area, int Dx, int Dy) override;
  void CreateCaret(int Width, int Height) override;
  void SetCaretPos(TPoint At) override;
  void ShowCaret() override;
  void HideCaret() override;
  void ShowScrollBars(bool Horizontal, bool Vertical) override;
  void SetScrollRange(bool Vertical, int Min, int Max, int Page) override;
  void SetScrollPos(bool Vertical, int Pos) override;
  void SetImePos(TPoint At) override;
  void PopupContextMenu(TPoint At) override;

protected:
  bool event(QEvent* Event) override;
  bool viewportEvent(QEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void inputMethodEvent(QInputMethodEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  void timerEvent(QTimerEvent* Event) override;
  void scrollContentsBy(int Dx, int Dy) override;
  bool focusNextPrevChild(bool Next) override;

private:
  void ScrollBarAction(bool Vertical, int Action);
  // False when painting failed and the area was left blank.
  bool PaintArea(QPainter& Painter, const QRect& Area);
  void PaintCaret(QPainter& Painter) const;
  void PaintPreedit(QPainter& Painter) const;
  void MarkDirty(const QRect& Area);
  void RetryBlank();
  void Flush();
  // Runs an event's handler; what the editor asked to be painted at once is painted after it.
  template <class F>
  bool InEvent(F&& Handle);
  void InvalidateCaret();
  void RestartBlink();
  void PointTo();
  [[nodiscard]] bool CaretDrawn() const;
  [[nodiscard]] QRect PreeditRect() const;
  void FillMenu(QMenu& Menu, const std::vector<TEditorMenuItem>& Items,
                std::map<QAction*, const TEditorMenuItem*>& Commands);

  TEditor* FEditor = nullptr;
  std::unique_ptr<TEditorMessages> FMessages;
  std::unique_ptr<GlyphCache> FGlyphs;
  QRegion FDirty;  // invalidated and not yet painted
  QRegion FBlank;  // left blank by a failed paint: tried again when the editor next changes the view
  QSize FCaretSize;
  QPoint FCaretPos;
  QPoint FImePos;
  bool FCaretShown = false;
  bool FBlinkOn = true;
  QBasicTimer FBlink;
  QString FPreedit;
  int FPreeditCursor = 0;
  bool FSettingBars = false;  // the editor is setting the bars: their signals are not commands
  bool FPainting = false;
  bool FPaintFailing = false;  // the last area painted failed: the next failure is not logged again
  int FEventDepth = 0;
  bool FFlushAfterEvent = false;
  QSize FClientSize;
  int FWheelRest = 0;  // wheel movement short of a whole step
};

}  // namespace tesvarin::qt
