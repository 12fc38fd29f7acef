#include "qt/EditorWidget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <exception>

#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"
#include "editor/EditorEx.h"
#include "editor/EditorMessages.h"
#include "editor/view/EditorScroll.h"
#include "qt/GlyphCache.h"
#include "qt/KeyTranslation.h"
#include "qt/QtCanvas.h"
#include "qt/QtPlatform.h"
#include "shell/QtText.h"
#include "support/SjisCodec.h"

namespace tesvarin::qt {

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }
TRect ToTRect(const QRect& R) { return TRect{R.left(), R.top(), R.left() + R.width(), R.top() + R.height()}; }

TScrollCode ScrollCodeOf(int Action) {
  switch (Action) {
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    default: return SB_THUMBTRACK;
  }
}

// An exception from a scroll-bar signal must not unwind through Qt's signal code: it is raised
// again from the event loop, where the application's error report takes it.
void RaiseLater(QObject* Context, std::exception_ptr Error) {
  QMetaObject::invokeMethod(
      Context, [Error] { std::rethrow_exception(Error); }, Qt::QueuedConnection);
}

}  // namespace

EditorWidget::EditorWidget(QWidget* Parent) : QAbstractScrollArea(Parent), FGlyphs(std::make_unique<GlyphCache>()) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setAttribute(Qt::WA_KeyCompression, false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::IBeamCursor);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int A) { ScrollBarAction(true, A); });
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this](int A) { ScrollBarAction(false, A); });
}

EditorWidget::~EditorWidget() = default;

void EditorWidget::SetEditor(TEditor* Editor) {
  FEditor = Editor;
  FMessages = Editor != nullptr ? std::make_unique<TEditorMessages>(*Editor) : nullptr;
  FCaretShown = false;
  FPreedit.clear();
  if (FEditor != nullptr) {
    FEditor->Resize();
    FEditor->RecreateCaret();
  }
  viewport()->update();
}

// ---- IEditorWindow

int EditorWidget::ClientWidth() const { return viewport()->width(); }
int EditorWidget::ClientHeight() const { return viewport()->height(); }
bool EditorWidget::Focused() const { return hasFocus(); }
void EditorWidget::SetFocus() { setFocus(Qt::OtherFocusReason); }

TTextMetrics EditorWidget::FontMetrics(const TFontSpec& Font) const { return FGlyphs->FaceOf(Font).Metrics; }

int EditorWidget::HorzScrollBarHeight() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }
int EditorWidget::VertScrollArrowHeight() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

void EditorWidget::Invalidate(const TRect& Area) {
  RetryBlank();
  MarkDirty(ToQRect(Area));
}

// A failed area is tried again when the editor changes the view (repaints, scrolls or moves the
// caret), never by its own paint event or the caret's blinking, so a paint that keeps failing does
// not become a loop of paint events.
void EditorWidget::RetryBlank() {
  if (FBlank.isEmpty()) return;
  FDirty += FBlank;
  viewport()->update(FBlank);
  FBlank = QRegion();
}

// Everything marked is known, so it can move along when pixels are scrolled.
void EditorWidget::MarkDirty(const QRect& Area) {
  const QRect R = Area.intersected(viewport()->rect());
  if (R.isEmpty()) return;
  FDirty += R;
  viewport()->update(R);
}

void EditorWidget::Update() {
  // Inside an event the editor may ask many times: it is painted once, when the event is done.
  if (FEventDepth > 0) {
    FFlushAfterEvent = true;
    return;
  }
  Flush();
}

void EditorWidget::Flush() {
  FFlushAfterEvent = false;
  if (FPainting || FDirty.isEmpty() || !viewport()->isVisible()) return;
  viewport()->repaint(FDirty);
}

template <class F>
bool EditorWidget::InEvent(F&& Handle) {
  ++FEventDepth;
  bool Result = false;
  try {
    Result = Handle();
  } catch (...) {
    --FEventDepth;
    throw;
  }
  if (--FEventDepth == 0 && FFlushAfterEvent) Flush();
  return Result;
}

void EditorWidget::ScrollArea(const TRect& Area, int Dx, int Dy) {
  const QRect R = ToQRect(Area).intersected(viewport()->rect());
  if (R.isEmpty() || (Dx == 0 && Dy == 0)) return;
  RetryBlank();
  // The editor's state has already moved on, so what is still to be painted is not painted now:
  // it moves with the pixels (a drawn caret too), and the uncovered strip joins it.
  QRegion Stale = FDirty;
  if (!CaretRect().isEmpty()) Stale += CaretRect();
  const QRegion Moved = (Stale & R).translated(Dx, Dy) & R;
  viewport()->scroll(Dx, Dy, R);
  FDirty = (Stale - R) + Moved + (QRegion(R) - QRegion(R.translated(Dx, Dy)));
  for (const QRect& D : Moved) viewport()->update(D);
}

void EditorWidget::CreateCaret(int Width, int Height) {
  InvalidateCaret();
  FCaretSize = QSize(Width, Height);
  FCaretShown = false;
}

void EditorWidget::SetCaretPos(TPoint At) {
  const QPoint P(At.X, At.Y);
  if (P == FCaretPos) return;
  RetryBlank();
  InvalidateCaret();
  FCaretPos = P;
  RestartBlink();
  InvalidateCaret();
}

void EditorWidget::ShowCaret() {
  if (FCaretShown) return;
  FCaretShown = true;
  RestartBlink();
  InvalidateCaret();
}

void EditorWidget::HideCaret() {
  if (!FCaretShown) return;
  InvalidateCaret();
  FCaretShown = false;
}

void EditorWidget::ShowScrollBars(bool Horizontal, bool Vertical) {
  setHorizontalScrollBarPolicy(Horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void EditorWidget::SetScrollRange(bool Vertical, int Min, int Max, int Page) {
  QScrollBar* Bar = Vertical ? verticalScrollBar() : horizontalScrollBar();
  // The desktop's range includes the page; Qt's maximum is the last top position.
  const bool Was = std::exchange(FSettingBars, true);
  Bar->setRange(Min, std::max(Min, Max - std::max(Page, 1) + 1));
  Bar->setPageStep(std::max(Page, 1));
  Bar->setSingleStep(1);
  FSettingBars = Was;
}

void EditorWidget::SetScrollPos(bool Vertical, int Pos) {
  QScrollBar* Bar = Vertical ? verticalScrollBar() : horizontalScrollBar();
  const bool Was = std::exchange(FSettingBars, true);
  Bar->setValue(Pos);
  FSettingBars = Was;
}

void EditorWidget::SetImePos(TPoint At) {
  FImePos = QPoint(At.X, At.Y);
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void EditorWidget::PopupContextMenu(TPoint At) {
  if (FEditor == nullptr) return;
  QMenu Menu(this);
  std::map<QAction*, const TEditorMenuItem*> Commands;
  FillMenu(Menu, FEditor->ContextMenu().Items(), Commands);
  QAction* Chosen = Menu.exec(viewport()->mapToGlobal(QPoint(At.X, At.Y)));
  // The command runs here, not in a signal, so its errors reach the application's report.
  auto It = Commands.find(Chosen);
  if (It != Commands.end()) FEditor->ContextMenu().Execute(*It->second);
}

void EditorWidget::FillMenu(QMenu& Menu, const std::vector<TEditorMenuItem>& Items,
                            std::map<QAction*, const TEditorMenuItem*>& Commands) {
  for (const TEditorMenuItem& Item : Items) {
    if (Item.IsSeparator()) {
      Menu.addSeparator();
      continue;
    }
    if (!Item.Items.empty()) {
      QMenu* Sub = Menu.addMenu(Q(Item.Caption));
      Sub->setEnabled(Item.Enabled);
      FillMenu(*Sub, Item.Items, Commands);
      continue;
    }
    QString Caption = Q(Item.Caption);
    if (!Item.ShortCutText.empty()) Caption += QLatin1Char('\t') + Q(Item.ShortCutText);
    QAction* Action = Menu.addAction(Caption);
    Action->setEnabled(Item.Enabled);
    Action->setCheckable(Item.Checked);
    Action->setChecked(Item.Checked);
    Commands.emplace(Action, &Item);
  }
}

// ---- Painting

QRect EditorWidget::CaretRect() const { return CaretDrawn() ? QRect(FCaretPos, FCaretSize) : QRect(); }

bool EditorWidget::CaretDrawn() const {
  return FEditor != nullptr && FCaretShown && FBlinkOn && hasFocus() && FPreedit.isEmpty() && !FCaretSize.isEmpty();
}

void EditorWidget::InvalidateCaret() {
  if (FPainting || FCaretSize.isEmpty()) return;
  MarkDirty(QRect(FCaretPos, FCaretSize));
}

void EditorWidget::RestartBlink() {
  FBlinkOn = true;
  const int Flash = QApplication::cursorFlashTime();
  if (Flash > 0 && hasFocus()) FBlink.start(Flash / 2, this);
  else FBlink.stop();
}

void EditorWidget::paintEvent(QPaintEvent* Event) {
  const bool Was = std::exchange(FPainting, true);
  const QRect CaretBefore = CaretRect();
  {
    QPainter Painter(viewport());
    for (const QRect& R : Event->region()) {
      if (PaintArea(Painter, R)) FBlank -= R;
      else FBlank += R;
    }
    FDirty -= Event->region();
    PaintCaret(Painter);
    PaintPreedit(Painter);
  }
  FPainting = Was;
  // The caret is drawn only inside the painted region: when the editor moved, showed or hid it
  // while painting, the rest of it is painted again.
  const QRect CaretAfter = CaretRect();
  if (CaretAfter != CaretBefore) MarkDirty(CaretBefore.united(CaretAfter));
}

bool EditorWidget::PaintArea(QPainter& Painter, const QRect& Area) {
  const QColor Background = FEditor != nullptr ? ToQColor(FEditor->Color(), palette()) : palette().color(QPalette::Base);
  if (FEditor == nullptr) {
    Painter.fillRect(Area, Background);
    return true;
  }
  // A paint event has no caller to take an error: the area is left blank and the error logged,
  // once while painting keeps failing.
  const bool WasFailing = std::exchange(FPaintFailing, true);
  try {
    QtCanvas Canvas(Painter, palette(), FGlyphs.get());
    FEditor->PaintRect(Canvas, ToTRect(Area));
    FPaintFailing = false;
    return true;
  } catch (const std::exception& E) {
    if (!WasFailing) qWarning("Painting the editor failed: %s", E.what());
  } catch (...) {
    if (!WasFailing) qWarning("Painting the editor failed");
  }
  Painter.setClipping(false);
  Painter.fillRect(Area, Background);
  return false;
}

void EditorWidget::PaintCaret(QPainter& Painter) const {
  if (!CaretDrawn()) return;
  // The desktop's caret inverts what is under it.
  Painter.setCompositionMode(QPainter::CompositionMode_Difference);
  Painter.fillRect(QRect(FCaretPos, FCaretSize), Qt::white);
  Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QRect EditorWidget::PreeditRect() const {
  if (FPreedit.isEmpty() || FEditor == nullptr) return QRect();
  const QFont Font = ToQFont(FEditor->Font());
  const QFontMetrics M(Font);
  const int Height = std::max(M.height(), FCaretSize.height());
  return QRect(FImePos, QSize(M.horizontalAdvance(FPreedit) + 2, Height + 1));
}

void EditorWidget::PaintPreedit(QPainter& Painter) const {
  const QRect R = PreeditRect();
  if (R.isEmpty()) return;
  const QFont Font = ToQFont(FEditor->Font());
  const QFontMetrics M(Font);
  Painter.fillRect(R, palette().color(QPalette::Base));
  Painter.setFont(Font);
  Painter.setPen(palette().color(QPalette::Text));
  Painter.drawText(R.left(), R.top() + M.ascent(), FPreedit);
  Painter.drawLine(R.left(), R.bottom(), R.right(), R.bottom());
  const int CursorX = R.left() + M.horizontalAdvance(FPreedit.left(FPreeditCursor));
  Painter.fillRect(QRect(CursorX, R.top(), 2, M.height()), palette().color(QPalette::Text));
}

// ---- Events

bool EditorWidget::event(QEvent* Event) {
  // The editor's shortcuts win over the window's while the editor has the focus.
  if (Event->type() == QEvent::ShortcutOverride && FEditor != nullptr) {
    auto* Key = static_cast<QKeyEvent*>(Event);
    if (FEditor->ContextMenu().FindShortCut(VirtualKeyOf(*Key), ShiftOf(Key->modifiers())) != nullptr) {
      Event->accept();
      return true;
    }
  }
  return InEvent([&] { return QAbstractScrollArea::event(Event); });
}

bool EditorWidget::viewportEvent(QEvent* Event) {
  if (Event->type() == QEvent::Paint) {
    paintEvent(static_cast<QPaintEvent*>(Event));
    return true;
  }
  return InEvent([&] { return QAbstractScrollArea::viewportEvent(Event); });
}

void EditorWidget::resizeEvent(QResizeEvent* Event) {
  QAbstractScrollArea::resizeEvent(Event);
  if (FEditor == nullptr || viewport()->size() == FClientSize) return;
  FClientSize = viewport()->size();
  FEditor->Resize();
}

void EditorWidget::keyPressEvent(QKeyEvent* Event) {
  if (FEditor == nullptr) return QAbstractScrollArea::keyPressEvent(Event);
  // Convert first: a character the editor's code page cannot hold refuses the whole key.
  const std::string Chars = CharsOf(*Event);
  const TShiftState Shift = ShiftOf(Event->modifiers());
  FEditor->KeyDown(VirtualKeyOf(*Event), Shift, Event->isAutoRepeat());
  if (!Chars.empty() && FEditor != nullptr) FEditor->KeyPress(Chars, Shift);
  Event->accept();
}

void EditorWidget::keyReleaseEvent(QKeyEvent* Event) {
  if (FEditor == nullptr || Event->isAutoRepeat()) return QAbstractScrollArea::keyReleaseEvent(Event);
  FEditor->KeyUp(VirtualKeyOf(*Event), ShiftOf(Event->modifiers()));
  Event->accept();
}

void EditorWidget::inputMethodEvent(QInputMethodEvent* Event) {
  if (FEditor == nullptr) return;
  const QRect Old = PreeditRect();
  const std::string Result = Utf8ToCp932(U(Event->commitString()));
  FPreedit = Event->preeditString();
  FPreeditCursor = static_cast<int>(FPreedit.size());
  for (const QInputMethodEvent::Attribute& A : Event->attributes()) {
    if (A.type == QInputMethodEvent::Cursor) FPreeditCursor = A.start;
  }
  MarkDirty(Old.united(PreeditRect()).united(QRect(FCaretPos, FCaretSize)));
  // The text being composed carries its own cursor; the caret comes back when it is done.
  FEditor->ImeCandidateWindow(!FPreedit.isEmpty());
  if (!Result.empty()) {
    // The desktop follows the result with its characters as messages, which the editor drops.
    FEditor->ImeComposition(Result);
    FEditor->KeyPress(Result);
  }
  Event->accept();
}

QVariant EditorWidget::inputMethodQuery(Qt::InputMethodQuery Query) const {
  switch (Query) {
    case Qt::ImEnabled: return FEditor != nullptr && !FEditor->ReadOnly();
    case Qt::ImCursorRectangle: return QRect(FImePos, FCaretSize.isEmpty() ? QSize(1, 16) : FCaretSize);
    case Qt::ImFont: return FEditor != nullptr ? ToQFont(FEditor->Font()) : font();
    case Qt::ImHints: return static_cast<int>(Qt::ImhMultiLine);
    default: return QAbstractScrollArea::inputMethodQuery(Query);
  }
}

void EditorWidget::PointTo() {
  if (FEditor == nullptr) return;
  if (auto* Cursors = dynamic_cast<QtCursorTable*>(FEditor->Platform().Cursors)) Cursors->SetTarget(viewport());
}

void EditorWidget::mousePressEvent(QMouseEvent* Event) {
  if (FEditor == nullptr) return;
  PointTo();
  const QPoint P = Event->position().toPoint();
  const TShiftState Shift = ShiftOf(Event->modifiers(), Event->buttons());
  if (Event->button() == Qt::LeftButton) FEditor->MouseDown(embLeft, Shift, P.x(), P.y());
  else if (Event->button() == Qt::RightButton) FEditor->MouseDown(embRight, Shift, P.x(), P.y());
  Event->accept();
}

void EditorWidget::mouseMoveEvent(QMouseEvent* Event) {
  if (FEditor == nullptr) return;
  PointTo();
  const QPoint P = Event->position().toPoint();
  FEditor->MouseMove(ShiftOf(Event->modifiers(), Event->buttons()), P.x(), P.y());
  Event->accept();
}

void EditorWidget::mouseReleaseEvent(QMouseEvent* Event) {
  if (FEditor == nullptr) return;
  PointTo();
  const QPoint P = Event->position().toPoint();
  const TShiftState Shift = ShiftOf(Event->modifiers(), Event->buttons());
  if (Event->button() == Qt::LeftButton) FEditor->MouseUp(embLeft, Shift, P.x(), P.y());
  else if (Event->button() == Qt::RightButton) FEditor->MouseUp(embRight, Shift, P.x(), P.y());
  Event->accept();
}

void EditorWidget::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (FEditor == nullptr) return;
  // The second press places the caret as any press does; then the token under it is selected.
  mousePressEvent(Event);
  if (Event->button() != Qt::LeftButton) return;
  if (auto* Ex = dynamic_cast<TEditorEx*>(FEditor)) Ex->DblClick();
}

void EditorWidget::wheelEvent(QWheelEvent* Event) {
  if (FEditor == nullptr) return;
  // A tilted wheel, or Shift with the wheel, scrolls sideways.
  const QPoint Delta = Event->angleDelta();
  const bool Sideways = Delta.x() != 0 || (Event->modifiers() & Qt::ShiftModifier);
  FWheelRest += Sideways ? (Delta.x() != 0 ? Delta.x() : Delta.y()) : Delta.y();
  const int Notches = FWheelRest / QWheelEvent::DefaultDeltasPerStep;
  FWheelRest -= Notches * QWheelEvent::DefaultDeltasPerStep;
  if (Notches != 0) {
    const int Lines = Notches * QApplication::wheelScrollLines();
    if (Sideways) FEditor->HScroll(SB_THUMBPOSITION, FEditor->LeftCol() - Lines);
    else FEditor->VScroll(SB_THUMBPOSITION, FEditor->TopRow() - Lines);
  }
  Event->accept();
}

void EditorWidget::contextMenuEvent(QContextMenuEvent* Event) {
  if (FEditor == nullptr) return;
  const QPoint P = Event->reason() == QContextMenuEvent::Mouse ? Event->pos() : FCaretPos;
  FEditor->ContextPopup(P.x(), P.y());
  Event->accept();
}

void EditorWidget::focusInEvent(QFocusEvent* Event) {
  QAbstractScrollArea::focusInEvent(Event);
  RestartBlink();
  InvalidateCaret();
  if (FEditor != nullptr) FEditor->UpdateCaret();
}

void EditorWidget::focusOutEvent(QFocusEvent* Event) {
  QAbstractScrollArea::focusOutEvent(Event);
  FBlink.stop();
  MarkDirty(QRect(FCaretPos, FCaretSize));
  if (FEditor != nullptr && Event->reason() != Qt::PopupFocusReason) FEditor->CancelDrag();
}

void EditorWidget::timerEvent(QTimerEvent* Event) {
  if (Event->timerId() != FBlink.timerId()) return QAbstractScrollArea::timerEvent(Event);
  FBlinkOn = !FBlinkOn;
  MarkDirty(QRect(FCaretPos, FCaretSize));
}

// The editor scrolls its own pixels when it sets the bars.
void EditorWidget::scrollContentsBy(int, int) {}

bool EditorWidget::focusNextPrevChild(bool Next) {
  // Tab is a character for an editor that wants tabs.
  if (FEditor != nullptr && FEditor->WantTabs()) return false;
  return QAbstractScrollArea::focusNextPrevChild(Next);
}

void EditorWidget::ScrollBarAction(bool Vertical, int Action) {
  if (FEditor == nullptr || FSettingBars || Action == QAbstractSlider::SliderNoAction) return;
  QScrollBar* Bar = Vertical ? verticalScrollBar() : horizontalScrollBar();
  const TScrollCode Code = ScrollCodeOf(Action);
  try {
    if (Vertical) FEditor->VScroll(Code, Bar->sliderPosition());
    else FEditor->HScroll(Code, Bar->sliderPosition());
  } catch (...) {
    RaiseLater(this, std::current_exception());
  }
  // The bar shows where the editor went, which its own step may not have reached.
  Bar->setSliderPosition(Vertical ? FEditor->TopRow() : FEditor->LeftCol());
}

}  // namespace tesvarin::qt
