#include "editor/settings/EditorFormDefaults.h"

namespace tesvarin {

namespace {

// Runs Apply inside one update bracket of Target, so the whole set of values is one change.
template <class T, class F>
void InOneUpdate(T& Target, F Apply) {
  Target.BeginUpdate();
  Apply(Target);
  Target.EndUpdate();
}

}  // namespace

void ApplyFormDefaults(TEditorCursors& Cursors) {
  InOneUpdate(Cursors, [](TEditorCursors& C) {
    C.SetDefaultCursor(crIBeam);
    C.SetDragSelCursor(crDrag);
    C.SetDragSelCopyCursor(FormDragSelCopyCursor);
    C.SetInSelCursor(crDefault);
    C.SetLeftMarginCursor(FormLeftMarginCursor);
    C.SetTopMarginCursor(crDefault);
  });
}

void ApplyFormDefaults(TEditorCaret& Caret) {
  InOneUpdate(Caret, [](TEditorCaret& C) {
    C.SetAutoCursor(true);
    C.SetAutoIndent(true);
    C.SetBackSpaceUnIndent(true);
    ApplyFormDefaults(C.Cursors());
    C.SetFreeCaret(true);
    C.SetFreeRow(false);
    C.SetInTab(false);
    C.SetKeepCaret(false);
    C.SetLockScroll(false);
    C.SetNextLine(false);
    C.SetPrevSpaceIndent(false);
    C.SetRowSelect(true);
    C.SetSelDragMode(dmAutomatic);
    C.SetSelMove(true);
    C.SetSoftTab(false);
    C.SetStyle(csDefault);
    C.SetTabIndent(false);
    C.SetTabSpaceCount(8);
  });
}

void ApplyFormDefaults(TEditorMargin& Margin) {
  InOneUpdate(Margin, [](TEditorMargin& M) {
    M.SetCharacter(0);
    M.SetLeft(4);
    M.SetLine(0);
    M.SetTop(2);
  });
}

void ApplyFormDefaults(TEditorMark& Mark) {
  InOneUpdate(Mark, [](TEditorMark& M) {
    M.SetColor(clGray);
    M.SetVisible(false);
  });
}

void ApplyFormDefaults(TEditorMarks& Marks) {
  InOneUpdate(Marks, [](TEditorMarks& M) {
    for (TEditorMark* Mark : {&M.EofMark(), &M.RetMark(), &M.WrapMark(), &M.HideMark(), &M.Underline()}) {
      ApplyFormDefaults(*Mark);
    }
  });
}

void ApplyFormDefaults(TEditorRuler& Ruler) {
  InOneUpdate(Ruler, [](TEditorRuler& R) {
    R.SetBkColor(clSilver);
    R.SetColor(clBlack);
    R.SetEdge(false);
    R.SetGaugeRange(10);
    R.SetMarkColor(clBlack);
    R.SetVisible(false);
  });
}

void ApplyFormDefaults(TEditorLeftbar& Leftbar) {
  InOneUpdate(Leftbar, [](TEditorLeftbar& L) {
    L.SetBkColor(clSilver);
    L.SetColor(clBlack);
    L.SetColumn(4);
    L.SetEdge(false);
    L.SetLeftMargin(8);
    L.SetRightMargin(4);
    L.SetShowNumber(true);
    L.SetShowNumberMode(nmRow);
    L.SetVisible(false);
    L.SetZeroBase(false);
    L.SetZeroLead(false);
  });
}

void ApplyFormDefaults(TEditorImagebar& Imagebar) {
  InOneUpdate(Imagebar, [](TEditorImagebar& I) {
    I.SetDigitWidth(8);
    I.SetLeftMargin(2);
    I.SetMarkWidth(0);
    I.SetRightMargin(2);
    I.SetVisible(false);
  });
}

void ApplyFormDefaults(TEditorSpeed& Speed) {
  Speed.SetCaretVerticalAc(2);
  Speed.SetInitBracketsFull(false);
  Speed.SetPageVerticalRange(2);
  Speed.SetPageVerticalRangeAc(2);
}

void ApplyFormDefaults(TEditorViewInfo& View) {
  InOneUpdate(View, [](TEditorViewInfo& V) {
    if (V.Brackets().Count() > 0) V.Brackets().Clear();
    // Every colour item is left to the editor's defaults except the selection's navy and white.
    TEditorColors Colors(nullptr);
    Colors.EnumPublished([](std::string_view, TPersistent& Item) {
      if (auto* C = dynamic_cast<THighlighterColor*>(&Item)) {
        C->SetBkColor(clNone);
        C->SetColor(clNone);
        C->SetStyle({});
      }
    });
    Colors.Select().SetBkColor(clNavy);
    Colors.Select().SetColor(clWhite);
    V.SetColors(Colors);
    V.SetCommenter("");
    V.SetControlCode(true);
    V.SetHexPrefix("");
    V.SetMail(true);
    V.SetQuotation("");
    V.SetUrl(true);
  });
}

}  // namespace tesvarin
